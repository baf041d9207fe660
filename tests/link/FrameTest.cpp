#include "Frame.h"
#include "BaseModule.h"
#include "CommandSet.h"

#include <gtest/gtest.h>

using namespace kvr;
using namespace kvr::BaseModule;

TEST(BuildFrame, PresenceQueryBytes) {
  EXPECT_EQ(BuildFrame(CommandPayload(CmdPresence), false), QByteArray::fromHex("0205510357"
                                                                                "0d"));
}

TEST(BuildFrame, EtbBlockHasNoEtxAndCountsEtbInBcc) {
  const QByteArray payload = QByteArray("\x05W") + EncodeByte(0x3F) + ETB;
  const QByteArray frame = BuildFrame(payload, false);
  ASSERT_EQ(frame.size(), payload.size() + 3);
  EXPECT_EQ(frame.front(), STX);
  EXPECT_EQ(frame.indexOf(ETX), -1);
  char bcc = 0;
  for (char c : payload)
    bcc ^= c;
  EXPECT_EQ(frame[frame.size() - 2], bcc);
  EXPECT_EQ(frame.back(), CR);
}

TEST(BuildFrame, RawAckIsAckAndCr) {
  EXPECT_EQ(BuildFrame(QByteArray(1, ACK), true), QByteArray::fromHex("060d"));
}

TEST(MakeString, NibblesOffsetBy20h) {
  EXPECT_EQ(MakeString("3F"), QByteArray("\x23\x2F"));
  EXPECT_EQ(MakeString("00"), QByteArray("  "));
  EXPECT_EQ(MakeString("FF12"), QByteArray("//"));
  EXPECT_EQ(D5(128), QByteArray("00128"));
  EXPECT_EQ(D5(65536), QByteArray("65536"));
}

TEST(ParseReply, PlainStopsAtCr) {
  const ParsedReply r = ParseReply(QByteArray("\x06\x0d"), true);
  EXPECT_EQ(r.data, QByteArray(1, ACK));
  EXPECT_EQ(ParseReply(QByteArray("\x15\x16\x0d"), true).data, QByteArray("\x15\x16"));
}

TEST(ParseReply, FramedSkipsStxAndEotAndFlagsEnd) {
  QByteArray raw;
  raw.append(STX).append("a").append(EOT).append("bc").append(ETX);
  raw.append(static_cast<char>('a' ^ 'b' ^ 'c' ^ ETX)).append(CR);
  const ParsedReply r = ParseReply(raw, false);
  EXPECT_EQ(r.data, QByteArray("abc"));
  EXPECT_TRUE(r.endedWithEtx);
  EXPECT_FALSE(r.endedWithEtb);
  EXPECT_TRUE(r.bccRead);
  EXPECT_TRUE(r.bccMatches);
}

TEST(ParseReply, FramedEtbAndWrongBcc) {
  QByteArray raw;
  raw.append(STX).append("P").append(ETB).append(static_cast<char>('P' ^ ETB ^ 1)).append(CR);
  const ParsedReply r = ParseReply(raw, false);
  EXPECT_TRUE(r.endedWithEtb);
  EXPECT_FALSE(r.endedWithEtx);
  EXPECT_FALSE(r.bccMatches);
}

TEST(ParseReply, BccEqualToCrIsNotTakenAsTheEnd) {
  // 'N' ^ ETX ^ 'P' ^ ... chosen so that the BCC is 0Dh.
  const char data = static_cast<char>(0x0D ^ ETX);
  QByteArray raw;
  raw.append(STX).append(data).append(ETX).append(CR).append(CR);
  const ParsedReply r = ParseReply(raw, false);
  EXPECT_EQ(r.data, QByteArray(1, data));
  EXPECT_TRUE(r.bccRead);
  EXPECT_TRUE(r.bccMatches);
}

TEST(ParseReply, CutShortFrameHasNoBccToCheck) {
  QByteArray raw;
  raw.append(STX).append("PB").append(ETX); // 4 of 6 characters, as the lock result is read
  const ParsedReply r = ParseReply(raw, false);
  EXPECT_EQ(r.data, QByteArray("PB"));
  EXPECT_FALSE(r.bccRead);
  EXPECT_TRUE(r.bccMatches);
}
