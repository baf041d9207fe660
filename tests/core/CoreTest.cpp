#include "FileDate.h"
#include "Hex.h"
#include "Session.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kvr;
using namespace kvr::BaseModule;

TEST(HexHelpers, IsHexByteTakesTwoAsciiDigitsOfEitherCase) {
  EXPECT_TRUE(IsHexByte("0f"));
  EXPECT_TRUE(IsHexByte("A9"));
  EXPECT_FALSE(IsHexByte("F"));
  EXPECT_FALSE(IsHexByte("FFF"));
  EXPECT_FALSE(IsHexByte("G0"));
  // Digits of other scripts count as digits to QChar, not to the programmer.
  EXPECT_FALSE(IsHexByte(QString::fromUtf8("\u0663\u0663")));
}

TEST(FileDate, ChangeIsSeenToTheSecond) {
  QTemporaryDir dir;
  const QString path = dir.filePath("prog.hex");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(":00000001FF\n");
  const QDateTime loaded = QDateTime::currentDateTime().addSecs(-100);
  ASSERT_TRUE(file.setFileTime(loaded, QFileDevice::FileModificationTime));
  file.close();

  Session session;
  RememberFileDate(session, path);
  EXPECT_FALSE(FileChangedOnDisk(session, path));

  QFile again(path);
  ASSERT_TRUE(again.open(QIODevice::Append));
  ASSERT_TRUE(again.setFileTime(loaded.addSecs(1), QFileDevice::FileModificationTime));
  again.close();
  EXPECT_TRUE(FileChangedOnDisk(session, path));
}

TEST(FileDate, MissingFileKeepsStoredTimeAndCountsAsChanged) {
  Session session;
  const QDateTime stored = QDateTime::fromSecsSinceEpoch(1'700'000'000);
  session.LoadedFileDate = stored;
  RememberFileDate(session, "/nonexistent/prog.bin");
  EXPECT_EQ(session.LoadedFileDate, stored);
  EXPECT_TRUE(FileChangedOnDisk(session, "/nonexistent/prog.bin"));
}
