// Special areas written from the buffer and read back into it, with the
// questions that guard the buffer and the area's size.
#include "SpecialRig.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace kvr;
using kvr::sim::Store;
using kvr::test::Pattern;
using kvr::test::SpecialFrame;

namespace {

struct AreaCase {
  const char *chip;
  const char *write;
  const char *read;
  Store store;
  int size;
  const char *device; // as the success message names it
  int shownAfterRead;
};

void PrintTo(const AreaCase &c, std::ostream *os) { *os << c.write << " on " << c.chip; }

class SpecialArea : public ::testing::TestWithParam<AreaCase> {};

TEST_P(SpecialArea, WrittenFromTheBufferAndReadBackIntoIt) {
  const AreaCase &c = GetParam();
  test::SimRig rig;
  test::StartOn(rig, c.chip);
  const QByteArray image = Pattern(c.size);
  rig.Load(image);
  rig.ui.answers = {Answer::Ok}; // the unlock reminder, where the family has one
  rig.core.Trigger(c.write);
  EXPECT_EQ(rig.programmer.chip()->read(c.store, 0, c.size), image);
  ASSERT_FALSE(rig.ui.texts().isEmpty());
  EXPECT_EQ(rig.ui.texts().last(),
            QString("Data written successfully to %1\r\rNumber of bytes written : %2")
                .arg(c.device)
                .arg(c.size));
  EXPECT_EQ(rig.ui.panelText(Panel::SbrActivity), QString("Special Command Successful"));
  EXPECT_TRUE(rig.programmer.chip()->readsBlank(Store::Code)) << "the code memory is not touched";

  rig.core.buffer().clear();
  rig.session.BufferModified = false;
  rig.ui.messages.clear();
  rig.core.Trigger(c.read);
  EXPECT_EQ(rig.ui.texts(),
            QStringList{QString("End of Read.\r\rTotal  %1 bytes read.").arg(c.shownAfterRead)});
  const ImageBuffer &buffer = rig.core.buffer();
  ASSERT_EQ(buffer.rowCount(), c.size / 16);
  for (int a = 0; a < c.size; ++a)
    ASSERT_EQ(buffer.byte(a), static_cast<unsigned char>(image[a])) << a;
  EXPECT_TRUE(rig.session.BufferModified) << "read from the chip, not from a file";
  EXPECT_TRUE(buffer.CurrentFilePath.isEmpty());
  EXPECT_EQ(rig.ui.panelText(Panel::SbrActivity), QString("Read"));
  EXPECT_TRUE(QDir(rig.folder.path() + "/Data").entryList({"$KVR104Temp*"}).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryArea, SpecialArea,
    ::testing::Values(AreaCase{"017", "MnuWrite2kEEPROM", "MnuRead2kEEPROM", Store::Eeprom, 2048,
                               "ATMEL - AT89S8252", 2048},
                      AreaCase{"064", "MnuWrite4kLDROM", "BMnu_ReadLDROM", Store::LdRom, 4096,
                               "WINBOND - W78E58B", 4096},
                      AreaCase{"04C", "mnuWrite4kDataBlock", "BMnu_Read4kDataBlock",
                               Store::DataBlock, 4096, "PHILIPS - P89C51RA2xx", 4095},
                      AreaCase{"039", "BMnu_Write8kDataBlock", "mnuRead8kDataBlock",
                               Store::DataBlock, 8192, "PHILIPS - P89C669", 8192},
                      AreaCase{"0A3", "MnuWriteSecFlashBlock1_Cxx", "BMnu_ReadSecFlashBlock1",
                               Store::Block1, 4096, "SST - SST89C54", 4096},
                      AreaCase{"072", "BMnu_Write8kSecondaryFlashBlock1",
                               "MnuRead8kSecondaryFlashBlock1", Store::Block1, 8192,
                               "SST - SST89E554RC", 8192},
                      AreaCase{"08B", "BMnu_Write32ByteUserP", "MnuRead32byteUsersParameter",
                               Store::UserParams, 32, "PHILIPS - P87LPC760", 32}));

struct AreaQuestions : ::testing::Test {
  test::SimRig rig;
  test::ScriptedUi &ui = rig.ui;
  void SetUp() override { test::StartOn(rig, "017"); }
};

TEST_F(AreaQuestions, UnsavedBufferIsOfferedForSavingAndKeptWhenTheUserDeclines) {
  rig.Load(Pattern(64));
  rig.session.BufferModified = true;
  int saves = 0;
  rig.core.context().files.save = [&] { ++saves; };
  ui.answers = {Answer::Yes, Answer::No};
  rig.core.Trigger("MnuRead2kEEPROM");
  EXPECT_EQ(ui.texts(), (QStringList{"Current file not saved. Save?",
                                     "Read will clear the current contents of the screen.\r\n\r\n"
                                     "Do you wish to continue?"}));
  EXPECT_EQ(saves, 1);
  EXPECT_TRUE(rig.Wire().isEmpty());
  EXPECT_EQ(rig.core.buffer().rowCount(), 4);
  EXPECT_TRUE(rig.core.panel().isEnabled("TbnRead")) << "menus back";
}

TEST_F(AreaQuestions, FailedReadLeavesTheBufferAsItWas) {
  rig.Load(Pattern(64));
  rig.programmer.faults().add("fail=V@P1/blk2");
  ui.answers = {Answer::Yes};
  rig.core.Trigger("BMnu_ReadEEPROM");
  EXPECT_EQ(ui.texts().last(), QString("Read failed due to failure of Verification."));
  EXPECT_EQ(ui.panelText(Panel::SbrActivity), QString("Read Failed"));
  ASSERT_EQ(rig.core.buffer().rowCount(), 4);
  EXPECT_EQ(rig.core.buffer().byte(33), static_cast<unsigned char>(Pattern(64)[33]));
  EXPECT_FALSE(rig.session.SpecialCommandOk);

  // Nowhere to keep the image: the read the programmer accepted is closed with its ACK.
  rig.session.TempImagePath = rig.folder.path() + "/no/such/folder/image.bin";
  const qsizetype before = rig.Wire().size();
  ui.answers = {Answer::Yes};
  rig.core.Trigger("BMnu_ReadEEPROM");
  EXPECT_TRUE(ui.texts().last().contains(" could not be saved: "))
      << ui.texts().last().toStdString();
  EXPECT_TRUE(rig.Wire().mid(before).endsWith(QByteArray("\x06\r", 2)));
  EXPECT_EQ(rig.core.buffer().byte(33), static_cast<unsigned char>(Pattern(64)[33]));
}

TEST_F(AreaQuestions, FileLargerThanTheAreaAsksAndWritesOnlyTheArea) {
  rig.Load(Pattern(4096), "big.bin");
  ui.answers = {Answer::No};
  rig.core.Trigger("MnuWrite2kEEPROM");
  EXPECT_EQ(ui.texts(),
            (QStringList{"The size of the file big.bin is more than the size of the Special "
                         "Memory.\r\rSize of File : 4096 Bytes\rSize of Special Memory  : 2048 "
                         "Bytes\r\rOnly the initial 2048 Bytes will be Written into the MCU. "
                         "Continue?",
                         "Write Aborted!"}));
  EXPECT_TRUE(rig.Wire().isEmpty());

  ui.answers = {Answer::Yes};
  rig.core.Trigger("MnuWrite2kEEPROM");
  EXPECT_TRUE(rig.Wire().startsWith(SpecialFrame("09W02048")));
  EXPECT_EQ(rig.programmer.chip()->read(Store::Eeprom, 0, 2048), Pattern(2048));
}

TEST_F(AreaQuestions, ShortImageGrowsTheGridAndTheRestGoesOutBlank) {
  rig.Load(Pattern(40));
  QList<int> resized;
  rig.core.context().files.resizeGrid = [&](int size) { resized.append(size); };
  rig.core.Trigger("MnuWrite2kEEPROM");
  EXPECT_EQ(resized, QList<int>{2048});
  const QByteArray eeprom = rig.programmer.chip()->read(Store::Eeprom, 0, 2048);
  EXPECT_EQ(eeprom.left(40), Pattern(40));
  EXPECT_EQ(eeprom.mid(40), QByteArray(2048 - 40, '\xFF'));
}

TEST_F(AreaQuestions, NothingToWriteWithoutAnImage) {
  rig.core.Trigger("BMnu_WriteEEPROM");
  EXPECT_EQ(ui.texts(), QStringList{"Open a File before Writing"});
  EXPECT_TRUE(rig.Wire().isEmpty());
}

TEST(AreaUnlockReminder, CancelSendsNothing) {
  test::SimRig rig;
  test::StartOn(rig, "04C"); // PHILIPSRx2XX
  rig.Load(Pattern(4096));
  rig.ui.answers = {Answer::Cancel};
  rig.core.Trigger("mnuWrite4kDataBlock");
  EXPECT_EQ(rig.ui.texts(), QStringList{"Ensure MCU is Unlocked before Writing."});
  EXPECT_EQ(rig.ui.messages[0].icon, MessageIcon::Information);
  EXPECT_TRUE(rig.Wire().isEmpty());
}

} // namespace
