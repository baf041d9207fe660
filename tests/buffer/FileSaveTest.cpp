// Saving the buffer: what is written, under which name, the overwrite
// questions, failures that must not lose the old file, and round trips.
#include "BufferFixture.h"
#include "FileSizeLimit.h"

#include <QFileInfo>

#include <sys/stat.h>

using namespace kvr;

namespace {

using Save = test::BufferFixture;

QString OverwriteQuestion(const char *reason) {
  return QString(reason) + "\r\rShould KVR 1.04 overwrite it?";
}

TEST_F(Save, SeventeenBytesInTwoRowsGiveASeventeenByteFile) {
  QByteArray bytes;
  for (int i = 0; i < 17; ++i)
    bytes.append(static_cast<char>(i * 7));
  OpenByName(Write("17.bin", bytes));
  ui.saveChoices = {PathOf("copy.bin")};
  ASSERT_TRUE(files.MnuSaveAs_Click());

  ASSERT_EQ(ui.fileDialogs.size(), 1);
  EXPECT_EQ(ui.fileDialogs[0].filter, QString("Bin Files (*.Bin)|*.Bin"));
  EXPECT_EQ(ui.fileDialogs[0].folder + "/" + ui.fileDialogs[0].fileName, PathOf("17.bin"))
      << "the current file is offered";
  EXPECT_TRUE(ui.messages.isEmpty()) << "a new name needs no question";
  EXPECT_EQ(Read(PathOf("copy.bin")), bytes);
  EXPECT_EQ(buffer.CurrentFilePath, PathOf("copy.bin"));
  EXPECT_EQ(buffer.CurrentFileLength, 17);
  EXPECT_EQ(ui.panelText(Panel::SbrFile), QString("File : copy.bin (0.0K)"));
  EXPECT_EQ(files.RecentFiles()[0], PathOf("copy.bin"));
  EXPECT_EQ(Row(1), "70 " + Repeat("XX", 15)) << "saving never changes the grid";
}

// A compiler's HEX file has other extensions than .hex; Save once wrote the
// binary image over it.
TEST_F(Save, HexBufferIsWrittenBesideItAsBinNeverOverItAndTheBinBecomesCurrent) {
  const QByteArray text(":02001000AABB89\n:00000001FF\n");
  const QString hex = Write("prog.IHEX", text);
  Write("prog.bin", "precious");
  ASSERT_TRUE(files.FileOpenHex_1(hex));
  session.BufferModified = true;
  ui.saveChoices = {hex, hex};
  ui.answers = {Answer::Cancel};
  EXPECT_FALSE(files.MnuSave_Click());
  EXPECT_EQ(ui.messages.last().text, OverwriteQuestion("The selected file already exists."));
  EXPECT_EQ(Read(PathOf("prog.bin")), QByteArray("precious"));
  EXPECT_EQ(buffer.CurrentFilePath, hex);

  ASSERT_TRUE(QFile::remove(PathOf("prog.bin")));
  ASSERT_TRUE(files.MnuSave_Click());
  EXPECT_EQ(ui.fileDialogs[1].filter, QString("Bin Files (*.Bin)"));
  EXPECT_EQ(ui.fileDialogs[1].folder + "/" + ui.fileDialogs[1].fileName, PathOf("prog.bin"));
  EXPECT_EQ(ui.messages.size(), 1) << "prog.bin is gone now; prog.hex is not touched";
  EXPECT_EQ(Read(PathOf("prog.bin")), QByteArray(16, '\0') + "\xAA\xBB");
  EXPECT_EQ(Read(hex), text);
  EXPECT_EQ(buffer.CurrentFilePath, PathOf("prog.bin"));
  EXPECT_FALSE(session.BufferModified);

  buffer.setByte(0, 0x42);
  ASSERT_TRUE(files.MnuSave_Click());
  EXPECT_EQ(ui.fileDialogs.size(), 2) << "the current .bin file is written at once";
  EXPECT_EQ(Read(PathOf("prog.bin")).left(1), QByteArray("\x42"));
}

TEST_F(Save, TheTwoOverwriteQuestionsAndOverwritingALongerFile) {
  const QString current = Write("cur.bin", "abc");
  OpenByName(current);
  session.BufferModified = true;

  ui.saveChoices = {current};
  ui.answers = {Answer::Cancel};
  EXPECT_FALSE(files.MnuSaveAs_Click());
  ASSERT_EQ(ui.messages.size(), 1);
  EXPECT_EQ(ui.messages[0].text,
            OverwriteQuestion("The path and file name you have selected is the same as the one "
                              "currently open."));
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
  EXPECT_TRUE(session.BufferModified) << "Cancel writes nothing and changes nothing";

  const QString longer = Write("long.bin", QByteArray(100, 'z'));
  ui.saveChoices = {longer};
  ui.answers = {Answer::Ok};
  ASSERT_TRUE(files.MnuSaveAs_Click());
  EXPECT_EQ(ui.messages[1].text, OverwriteQuestion("The selected file already exists."));
  EXPECT_EQ(Read(longer), QByteArray("abc"));
  EXPECT_FALSE(session.BufferModified);
}

TEST_F(Save, AfterAReadSaveAsksForANameAndTheTemporaryImageStaysOutOfTheList) {
  const QString temp = Write("Data/$KVR104Temp.Bin", "\x01\x02\x03\x04");
  ASSERT_TRUE(files.FileOpen(temp));
  buffer.CurrentFilePath.clear(); // as the read operation leaves it
  EXPECT_TRUE(files.RecentFiles()[0].isEmpty());
  ui.saveChoices = {PathOf("read.BIN")};
  ASSERT_TRUE(files.MnuSave_Click());
  EXPECT_EQ(Read(PathOf("read.BIN")), QByteArray("\x01\x02\x03\x04"));
  EXPECT_EQ(files.RecentFiles()[0], PathOf("read.BIN"));
}

TEST_F(Save, AFailedSaveNamesTheFileAndKeepsTheBufferModified) {
  const QString current = Write("cur.bin", "abc");
  OpenByName(current);
  session.BufferModified = true;
  const QString nowhere = PathOf("gone/x.bin");
  ui.saveChoices = {nowhere};
  EXPECT_FALSE(files.MnuSaveAs_Click());
  ASSERT_EQ(ui.messages.size(), 1);
  EXPECT_TRUE(ui.messages[0].text.startsWith("The file " + nowhere + " could not be saved: "))
      << ui.messages[0].text.toStdString();
  EXPECT_TRUE(ui.messages[0].text.endsWith("."));
  EXPECT_TRUE(session.BufferModified);
  EXPECT_EQ(buffer.CurrentFilePath, current);
  EXPECT_EQ(files.RecentFiles()[1], QString());

  const QString fifo = PathOf("fifo.bin"); // never replaced by a regular file
  ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
  ui.saveChoices = {fifo};
  ui.answers = {Answer::Ok}; // overwrite it
  EXPECT_FALSE(files.MnuSaveAs_Click());
  EXPECT_TRUE(ui.messages.last().text.endsWith("could not be saved: Not a regular file."));
  EXPECT_FALSE(QFileInfo(fifo).isFile());
}

// A file-size limit makes the write fail part way, as a full disk would.
TEST_F(Save, AWriteThatFailsPartWayLeavesTheOldFileWholeThenAllOf64KbIsSaved) {
  QByteArray all;
  for (int i = 0; i < 0x10000; ++i)
    all.append(static_cast<char>((i * 31 + i / 256) & 0xFF));
  OpenByName(Write("big.bin", all));
  const QString target = Write("small.bin", "old contents");
  session.BufferModified = true;

  ui.saveChoices = {target};
  ui.answers = {Answer::Ok};
  bool saved64k = true;
  {
    test::FileSizeLimit fullAfter4K(4096);
    ASSERT_TRUE(fullAfter4K.inForce());
    saved64k = files.MnuSaveAs_Click();
  }

  EXPECT_FALSE(saved64k);
  EXPECT_TRUE(ui.messages.last().text.startsWith("The file " + target + " could not be saved: "));
  EXPECT_EQ(Read(target), QByteArray("old contents"));
  EXPECT_TRUE(session.BufferModified);
  EXPECT_EQ(buffer.CurrentFilePath, PathOf("big.bin"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2) << "no temporary file is left";

  buffer.setByte(0xFFFF, 0x00);
  all[0xFFFF] = '\0';
  ASSERT_TRUE(files.MnuSave_Click());
  OpenByName(PathOf("big.bin"));
  EXPECT_EQ(Image(), all);
}

} // namespace
