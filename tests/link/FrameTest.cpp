#include "Frame.h"
#include "BaseModule.h"

#include <gtest/gtest.h>

using namespace kvr;
using namespace kvr::BaseModule;

// Each row: the characters read, then what the reply carries.
TEST(ParseReply, PlainAndFramedReplies) {
  const auto framed = [](const QByteArray &inner, char end, char bcc) {
    return QByteArray(1, STX) + inner + end + bcc + CR;
  };
  const char crData = static_cast<char>(0x0D ^ ETX); // makes the BCC 0Dh
  const struct {
    QByteArray raw;
    bool plain;
    QByteArray data;
    bool etx, etb, bccRead, bccMatches;
  } cases[] = {
      {"\x06\x0d", true, "\x06", false, false, false, true},
      {"\x15\x16\x0d", true, "\x15\x16", false, false, false, true},
      // STX and EOT are skipped.
      {framed(QByteArray("a") + EOT + "bc", ETX, 'a' ^ 'b' ^ 'c' ^ ETX), false, "abc", true, false,
       true, true},
      {framed("P", ETB, 'P' ^ ETB ^ 1), false, "P", false, true, true, false},
      // A BCC equal to CR is not taken as the end.
      {framed(QByteArray(1, crData), ETX, CR), false, QByteArray(1, crData), true, false, true,
       true},
      // Cut short, as the lock result is read: 4 of 6 characters.
      {QByteArray(1, STX) + "PB" + ETX, false, "PB", true, false, false, true},
  };
  for (const auto &c : cases) {
    const ParsedReply r = ParseReply(c.raw, c.plain);
    const std::string row = c.raw.toHex().toStdString();
    EXPECT_EQ(r.data, c.data) << row;
    EXPECT_EQ(r.endedWithEtx, c.etx) << row;
    EXPECT_EQ(r.endedWithEtb, c.etb) << row;
    EXPECT_EQ(r.bccRead, c.bccRead) << row;
    EXPECT_EQ(r.bccMatches, c.bccMatches) << row;
  }
}
