// The PC's reading of the programmer's replies on any characters: the data
// never holds a control character, a frame built from any payload reads back
// as that payload and is known to be short until its CR, one changed
// character is always caught by the BCC, and data bytes decode to what was
// encoded.
#include "BaseModule.h"
#include "Frame.h"
#include "FuzzCheck.h"
#include "WriteRead.h"

using namespace kvr;

namespace {

bool IsFrameControl(char c) {
  using namespace BaseModule;
  return c == CR || c == STX || c == EOT || c == ETX || c == ETB;
}

void CheckPlain(const QByteArray &raw) {
  const ParsedReply reply = ParseReply(raw, true);
  FUZZ_CHECK(!reply.data.contains(BaseModule::CR));
  FUZZ_CHECK(raw.startsWith(reply.data));
  FUZZ_CHECK(reply.data.size() == raw.size() || raw[reply.data.size()] == BaseModule::CR);
}

void CheckFramed(const QByteArray &raw) {
  const ParsedReply reply = ParseReply(raw, false);
  FUZZ_CHECK(std::none_of(reply.data.begin(), reply.data.end(), IsFrameControl));
  FUZZ_CHECK(reply.data.size() <= raw.size());
  if (reply.bccRead)
    FUZZ_CHECK(reply.endedWithEtx || reply.endedWithEtb);
  else
    FUZZ_CHECK(reply.bccMatches);
}

void CheckRoundTrip(const QByteArray &raw) {
  QByteArray payload = raw;
  payload.removeIf(IsFrameControl);
  for (const bool moreBlocks : {false, true}) {
    const QByteArray sent = moreBlocks ? payload + BaseModule::ETB : payload;
    const QByteArray frame = BuildFrame(sent, false);
    const ParsedReply reply = ParseReply(frame, false);
    FUZZ_CHECK(reply.data == payload);
    FUZZ_CHECK(reply.bccRead && reply.bccMatches);
    FUZZ_CHECK(moreBlocks ? reply.endedWithEtb : reply.endedWithEtx);
    // Read short, a frame is known to go on until its CR.
    FUZZ_CHECK(FrameEndRead(frame));
    const qsizetype shortRead =
        static_cast<unsigned char>(raw.isEmpty() ? 0 : raw[0]) % frame.size();
    FUZZ_CHECK(!FrameEndRead(frame.left(shortRead)));
    if (payload.isEmpty())
      continue;
    // One data character changed into another plain one.
    QByteArray damaged = frame;
    const qsizetype at = 1 + static_cast<unsigned char>(raw[0]) % payload.size();
    damaged[at] = static_cast<char>(damaged[at] ^ 0x40);
    if (!IsFrameControl(damaged[at]))
      FUZZ_CHECK(!ParseReply(damaged, false).bccMatches);
  }
}

void CheckDataBytes(const QByteArray &bytes) {
  QByteArray characters;
  for (const char b : bytes)
    characters += EncodeByte(static_cast<unsigned char>(b));
  FUZZ_CHECK(std::none_of(characters.begin(), characters.end(), IsFrameControl));
  FUZZ_CHECK(DecodeBlock(characters) == bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray raw(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
  CheckPlain(raw);
  CheckFramed(raw);
  CheckRoundTrip(raw);
  CheckDataBytes(raw);
  return 0;
}
