// Reading Intel HEX records into a 64 KB image: where bytes land, how long
// the image is, and which files are damaged or reach past FFFFh.
#include "IntelHex.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace kvr;
using Outcome = HexImage::Outcome;

namespace {

HexImage Strict(const char *text) { return ReadIntelHex(QByteArray(text), HexReading::Strict); }

TEST(IntelHex, AnOverlappingRecordIsNeverCutOff) {
  // 32 bytes from 0, then two bytes at 5: the image still holds all 32.
  const HexImage image =
      Strict(":20000000000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1FF0\n"
             ":02000500AABB94\n:00000001FF\n");
  ASSERT_EQ(image.outcome, Outcome::Loaded);
  EXPECT_EQ(image.imageLength, 32);
  EXPECT_EQ(image.bytes[0x1F], '\x1F');
}

TEST(IntelHex, NotHexWhenTheFirstCharacterIsNoColonOrTheFileIsTooShort) {
  EXPECT_EQ(Strict(" :0400000001020304F2").outcome, Outcome::NotHex);
  EXPECT_EQ(Strict(":00000001F").outcome, Outcome::NotHex);
  EXPECT_EQ(Strict(":00000001FF").outcome, Outcome::Loaded);
}

struct DamagedCase {
  const char *what;
  const char *file;
  int line;
};

class IntelHexDamage : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(IntelHexDamage, StopsAtTheFirstDamagedRecordWithItsLine) {
  const HexImage image = Strict(GetParam().file);
  EXPECT_EQ(image.outcome, Outcome::Damaged);
  EXPECT_EQ(image.damagedLine, GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Records, IntelHexDamage,
    ::testing::Values(
        DamagedCase{"checksum", ":0400000001020304F2\n\n:02001000AABB88\n:00000001FF\n", 3},
        DamagedCase{"cut short by the end", ":0400000001020304F2\r\n:04000400050607", 2},
        DamagedCase{"odd length", ":0400000001020304F\n:00000001FF\n", 1},
        DamagedCase{"not a hex digit", ":0400000001020G04F2\n", 1},
        DamagedCase{"count larger than the data", ":0500000001020304F1\n", 1},
        DamagedCase{"garbage line", ":0400000001020304F2\nhello\n:00000001FF\n", 1},
        // Cut off at a line boundary: the end-of-file record belongs on the line after the last.
        DamagedCase{"no end of file record", ":0400000001020304F2\r\n:02001000AABB89\r\n\n", 3},
        DamagedCase{"no end of file record nor line end", ":0400000001020304F2", 2}),
    [](const auto &info) {
      std::string name = info.param.what;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

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

TEST(IntelHex, ASegmentAddressPlacesDataWithinTheLower64KB) {
  // Segment 0100h: offset 0 is address 1000h.
  const HexImage image = Strict(":020000020100FB\n:0400000001020304F2\n:00000001FF\n");
  ASSERT_EQ(image.outcome, Outcome::Loaded);
  EXPECT_EQ(image.bytes.mid(0x1000, 4), QByteArray("\x01\x02\x03\x04"));
  EXPECT_FALSE(image.written[0]);
  EXPECT_EQ(image.imageLength, 0x1004);
  // Segment 0FFFh: FFF0h + 10h runs past FFFFh.
  EXPECT_EQ(Strict(":020000020FFFEE\n:0400100001020304E2\n").outcome, Outcome::BeyondFFFF);
}

TEST(IntelHex, ExtendedAddressesLoadOnlyWhenTheirUpperPartIsZero) {
  const auto outcome = [](const char *records) {
    return ReadIntelHex(QByteArray(records) + ":00000001FF\n", HexReading::Strict).outcome;
  };
  EXPECT_EQ(outcome(":020000040000FA\n:0400000001020304F2\n"), Outcome::Loaded);
  EXPECT_EQ(outcome(":020000020000FC\n:0400000001020304F2\n"), Outcome::Loaded);
  EXPECT_EQ(outcome(":020000040001F9\n:0400000001020304F2\n"), Outcome::BeyondFFFF);
  EXPECT_EQ(outcome(":020000021000EC\n:0400000001020304F2\n"), Outcome::BeyondFFFF);
  EXPECT_EQ(outcome(":020000040001F9\n:020000040000FA\n:0400000001020304F2\n"), Outcome::Loaded)
      << "back to the lower 64 KB before any data";
  EXPECT_EQ(outcome(":04FFFE0001020304F5\n"), Outcome::BeyondFFFF)
      << "a record that runs past FFFFh";
}

} // namespace
