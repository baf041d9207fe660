#pragma once

#include "BaseModule.h"
#include "CommandSet.h"
#include "Frame.h"
#include "Link.h"
#include "SerialPort.h"
#include "Session.h"

#include <optional>

namespace kvr::sim::bench {

// The PC's half of each operation, driven through the link's exchange with
// the lengths of the command table, as the device operations run it.
class PcSide {
public:
  PcSide(Link &link, SerialPort &port, Session &session)
      : link_(link), port_(port), session_(session) {}

  const QByteArray &reply() const { return session_.LastReply; }

  bool command(char letter, const QByteArray &fields = QByteArray()) {
    return link_.CommandHandshake(CommandPayload(letter, fields));
  }
  // The lock command's handshake is read as three characters.
  bool lockCommand(const QByteArray &digits) {
    port_.clearReceiveBuffer();
    return link_.SendAndReceive(CommandPayload(BaseModule::CmdLock, digits), false, true,
                                FindCommand(BaseModule::CmdLock)->handshakeLength, true, true) &&
           reply().startsWith(BaseModule::ACK);
  }
  bool result(int length) {
    return link_.SendAndReceive(QByteArray(), false, false, length, true, false);
  }
  void closingAck() { link_.SendClosingAck(); }

  // Command, then 32-byte blocks each with its ACK, result and closing ACK,
  // then the final ACK. resultLength: 16 for code, 3 for special areas.
  bool writeImage(const QByteArray &command, const QByteArray &image, int resultLength) {
    if (!link_.CommandHandshake(command))
      return false;
    const int blocks = static_cast<int>(image.size() / kBlockSize);
    for (int block = 0; block < blocks; ++block) {
      QByteArray payload;
      for (int i = 0; i < kBlockSize; ++i)
        payload.append(EncodeByte(static_cast<unsigned char>(image[block * kBlockSize + i])));
      if (block + 1 < blocks)
        payload.append(BaseModule::ETB);
      port_.clearReceiveBuffer();
      const bool accepted = link_.SendAndReceive(payload, false, true, 2, true, false) &&
                            reply().startsWith(BaseModule::ACK);
      const bool passed = accepted && result(resultLength) && !reply().startsWith('F');
      closingAck();
      if (!passed)
        return false;
    }
    closingAck();
    return true;
  }

  // Command, then per block a status frame, ACK, data frame, ACK, until ETX.
  std::optional<QByteArray> readImage(const QByteArray &command) {
    QByteArray image;
    if (!link_.CommandHandshake(command)) {
      closingAck();
      return std::nullopt;
    }
    for (;;) {
      if (!result(6) || !reply().startsWith('P'))
        return std::nullopt;
      port_.clearReceiveBuffer();
      if (!link_.SendAndReceive(QByteArray(1, BaseModule::ACK), true, false, 68, true, false))
        return std::nullopt;
      const QByteArray chars = reply();
      const bool last = session_.ReplyEndedWithEtx;
      for (qsizetype i = 0; i + 1 < chars.size(); i += 2)
        image.append(static_cast<char>(((chars[i] ^ 0x20) << 4) | (chars[i + 1] ^ 0x20)));
      closingAck();
      if (last)
        return image;
    }
  }

private:
  Link &link_;
  SerialPort &port_;
  Session &session_;
};

} // namespace kvr::sim::bench
