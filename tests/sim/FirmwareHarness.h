#pragma once

#include "BaseModule.h"
#include "ChipSource.h"
#include "CommandSet.h"
#include "Firmware.h"
#include "Frame.h"
#include "PacedChannel.h"
#include "ScriptedPeer.h"

#include <optional>

namespace kvr::sim::test {

// The firmware fed byte by byte, with everything it answers collected.
class FirmwareHarness {
public:
  explicit FirmwareHarness(const QString &chipId = QStringLiteral("017")) {
    toPc.setSink([this](const QByteArray &bytes) { answered.append(bytes); });
    toPc.setCloseHandler([this] { lineClosed = true; });
    if (!chipId.isEmpty())
      firmware.seat(std::make_unique<SimChip>(*FindBuiltInChip(chipId)));
  }

  QByteArray send(const QByteArray &bytes) {
    answered.clear();
    for (const char c : bytes)
      firmware.feed(QByteArray(1, c));
    return answered;
  }
  QByteArray command(char letter, const QByteArray &fields = QByteArray()) {
    return send(BuildFrame(CommandPayload(letter, fields), false));
  }
  QByteArray ack() { return send(BuildFrame(QByteArray(1, BaseModule::ACK), true)); }
  // One 32-byte block as the PC sends it.
  QByteArray block(const QByteArray &bytes, bool more) {
    QByteArray payload;
    for (const char b : bytes)
      payload.append(EncodeByte(static_cast<unsigned char>(b)));
    if (more)
      payload.append(BaseModule::ETB);
    return send(BuildFrame(payload, false));
  }
  // The signature command's fields for a chip as the catalogue describes it.
  static QByteArray SignatureFields(const ChipModel &model) {
    return SignatureFields(model, QByteArray::number(model.signatureCount));
  }
  static QByteArray SignatureFields(const ChipModel &model, const QByteArray &count) {
    QByteArray fields;
    for (const std::uint8_t b : model.typeBytes)
      fields.append(EncodeByte(b));
    fields.append(D5(model.codeSize)).append(count);
    for (const std::uint8_t b : model.signature)
      fields.append(EncodeByte(b));
    return fields;
  }
  QByteArray verifySignature() {
    return command(BaseModule::CmdSignature, SignatureFields(firmware.chip()->model()));
  }

  SimChip &chip() { return *firmware.chip(); }

  FaultPlan plan;
  PacedChannel toPc;
  Firmware firmware{plan, toPc};
  QByteArray answered;
  bool lineClosed = false;
};

inline const QByteArray kAck("\x06\x0d", 2);
inline QByteArray Nak(char code) { return QByteArray(1, BaseModule::NAK) + code + '\r'; }
using kvr::test::ProgrammerFrame;

inline QByteArray Pattern(int size, int seed = 0) {
  QByteArray bytes(size, 0);
  for (int i = 0; i < size; ++i)
    bytes[i] = static_cast<char>((i * 7 + seed) & 0xFF);
  return bytes;
}

inline QByteArray EncodeAll(const QByteArray &bytes) {
  QByteArray chars;
  for (const char b : bytes)
    chars.append(EncodeByte(static_cast<unsigned char>(b)));
  return chars;
}

} // namespace kvr::sim::test
