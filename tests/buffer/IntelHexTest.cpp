// Reading Intel HEX records into a 64 KB image: where bytes land, how long
// the image is, and which files are damaged or reach past FFFFh.
#include "IntelHex.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace kvr;
using Outcome = HexImage::Outcome;

namespace {

HexImage Strict(const char *text) { return ReadIntelHex(QByteArray(text), HexReading::Strict); }

// A damaged file names its first damaged line, a loaded one its image length
// (0: not looked at).
TEST(IntelHex, EachKindOfFileGetsItsOutcome) {
  const struct {
    const char *what, *file;
    Outcome outcome;
    int lineOrLength;
  } cases[] = {
      {"checksum", ":0400000001020304F2\n\n:02001000AABB88\n:00000001FF\n", Outcome::Damaged, 3},
      {"cut short by the end", ":0400000001020304F2\r\n:04000400050607", Outcome::Damaged, 2},
      {"odd length", ":0400000001020304F\n:00000001FF\n", Outcome::Damaged, 1},
      {"not a hex digit", ":0400000001020G04F2\n", Outcome::Damaged, 1},
      {"count larger than the data", ":0500000001020304F1\n", Outcome::Damaged, 1},
      {"garbage line", ":0400000001020304F2\nhello\n:00000001FF\n", Outcome::Damaged, 1},
      // Cut off at a line boundary: the end-of-file record belongs on the line after the last.
      {"no end record", ":0400000001020304F2\r\n:02001000AABB89\r\n\n", Outcome::Damaged, 3},
      {"no end record nor line end", ":0400000001020304F2", Outcome::Damaged, 2},
      // 32 bytes from 0, then two at 5: the image still holds all 32.
      {"overlap",
       ":20000000000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1FF0\n"
       ":02000500AABB94\n:00000001FF\n",
       Outcome::Loaded, 32},
      {"segment 0100h", ":020000020100FB\n:0400000001020304F2\n:00000001FF\n", Outcome::Loaded,
       0x1004},
      {"segment 0FFFh past FFFFh", ":020000020FFFEE\n:0400100001020304E2\n", Outcome::BeyondFFFF,
       0},
      {"extended 0", ":020000040000FA\n:0400000001020304F2\n:00000001FF\n", Outcome::Loaded, 0},
      {"segment 0", ":020000020000FC\n:0400000001020304F2\n:00000001FF\n", Outcome::Loaded, 0},
      {"extended 1", ":020000040001F9\n:0400000001020304F2\n:00000001FF\n", Outcome::BeyondFFFF, 0},
      {"segment 1000h", ":020000021000EC\n:0400000001020304F2\n:00000001FF\n", Outcome::BeyondFFFF,
       0},
      {"back to the lower 64 KB before any data",
       ":020000040001F9\n:020000040000FA\n:0400000001020304F2\n:00000001FF\n", Outcome::Loaded, 0},
      {"record past FFFFh", ":04FFFE0001020304F5\n:00000001FF\n", Outcome::BeyondFFFF, 0}};
  for (const auto &c : cases) {
    const HexImage image = Strict(c.file);
    EXPECT_EQ(image.outcome, c.outcome) << c.what;
    if (c.lineOrLength != 0) {
      EXPECT_EQ(c.outcome == Outcome::Damaged ? image.damagedLine : image.imageLength,
                c.lineOrLength)
          << c.what;
    }
  }
  EXPECT_EQ(Strict(":00000001FF").outcome, Outcome::Loaded) << "an end record with no line end";
}

TEST(IntelHex, TolerantReadingPlacesWhatDamagedRecordsCarry) {
  const QByteArray file(":0400000001020304F2\n:02001000AABB88\n:04002000050607\n");
  const HexImage image = ReadIntelHex(file, HexReading::Tolerant);
  ASSERT_EQ(image.outcome, Outcome::Loaded);
  EXPECT_EQ(image.bytes.mid(0x10, 2), QByteArray("\xAA\xBB")) << "wrong checksum, data kept";
  EXPECT_FALSE(image.written[0x20]) << "a data field cut short places nothing";
}

TEST(IntelHex, ContentsStartAsIntelHexWithAWellFormedFirstRecord) {
  for (const char *hex : {":0400000001020304F2\n", "\r\n  :00000001FF", ":00000001FF\x1A"})
    EXPECT_TRUE(StartsAsIntelHex(hex)) << hex;
  for (const char *other :
       {"", "  \n", "x:00000001FF", ":0400000001020304F3\n", ":0400000001020\n", ":00000001FFx"})
    EXPECT_FALSE(StartsAsIntelHex(other)) << other;
}

} // namespace
