#pragma once

#include <QByteArray>
#include <QString>

namespace kvr {

// Wraps a payload for the line. Raw: payload + CR. Framed: STX, payload,
// ETX unless the payload ends with ETB (more blocks follow), BCC, CR. The
// BCC is the xor of the payload and the added ETX; STX is not counted.
QByteArray BuildFrame(const QByteArray &payload, bool raw);

// One data byte as it travels: two characters, 20h + high nibble then
// 20h + low nibble. Only the first byte of the hex text counts.
QByteArray MakeString(const QString &hexByte);
QByteArray EncodeByte(unsigned char value);

// A reply as the PC reads it.
struct ParsedReply {
  QByteArray data;
  bool endedWithEtx = false;
  bool endedWithEtb = false;
  // Framed replies: whether the programmer's BCC was among the characters
  // read, and whether it agreed with the data.
  bool bccRead = false;
  bool bccMatches = true;
};

// Plain: characters up to the first CR. Framed: STX and EOT skipped, data up
// to ETX or ETB, the next character is the programmer's BCC, CR ends it.
ParsedReply ParseReply(const QByteArray &raw, bool plain);

// Whether a framed reply's characters reach its final CR. The PC reads some
// replies short (a signature result: 9 of 12 characters); the rest, with the
// BCC, is still on its way.
bool FrameEndRead(const QByteArray &raw);

} // namespace kvr
