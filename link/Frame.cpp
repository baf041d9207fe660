#include "Frame.h"

#include "BaseModule.h"
#include "Hex.h"

namespace kvr {

using namespace BaseModule;

QByteArray BuildFrame(const QByteArray &payload, bool raw) {
  if (raw)
    return payload + CR;
  char bcc = 0;
  for (const char c : payload)
    bcc ^= c;
  QByteArray frame;
  frame.reserve(payload.size() + 4);
  frame.append(STX).append(payload);
  if (!payload.endsWith(ETB)) {
    frame.append(ETX);
    bcc ^= ETX;
  }
  frame.append(bcc).append(CR);
  return frame;
}

QByteArray EncodeByte(unsigned char value) {
  QByteArray pair(2, 0);
  pair[0] = static_cast<char>(0x20 + (value >> 4));
  pair[1] = static_cast<char>(0x20 + (value & 0x0F));
  return pair;
}

QByteArray MakeString(const QString &hexByte) {
  const QByteArray bytes = HexToBytes(hexByte);
  return EncodeByte(bytes.isEmpty() ? 0 : static_cast<unsigned char>(bytes[0]));
}

ParsedReply ParseReply(const QByteArray &raw, bool plain) {
  ParsedReply reply;
  if (plain) {
    const qsizetype end = raw.indexOf(CR);
    reply.data = end < 0 ? raw : raw.left(end);
    return reply;
  }
  char running = 0;
  for (qsizetype i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (c == CR)
      break;
    if (c == STX || c == EOT)
      continue;
    if (c == ETX || c == ETB) {
      (c == ETX ? reply.endedWithEtx : reply.endedWithEtb) = true;
      running ^= c;
      if (i + 1 < raw.size()) {
        reply.bccRead = true;
        reply.bccMatches = raw[i + 1] == running;
        ++i;
      }
      continue;
    }
    running ^= c;
    reply.data.append(c);
  }
  return reply;
}

bool FrameEndRead(const QByteArray &raw) {
  for (qsizetype i = 0; i < raw.size(); ++i) {
    if (raw[i] == CR)
      return true;
    if (raw[i] == ETX || raw[i] == ETB)
      ++i; // the BCC may be any character, a CR too
  }
  return false;
}

} // namespace kvr
