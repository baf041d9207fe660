// The four recent-file entries of the File menu: order, letter case, the
// reader an entry opens with, and the captions.
#include "BufferFixture.h"

using namespace kvr;

namespace {

using Recent = test::BufferFixture;

TEST_F(Recent, NewestFirstNeverReorderedFifthDropsTheOldest) {
  for (const char *name : {"a.bin", "b.bin", "c.bin", "d.bin"})
    OpenByName(Write(name, "x"));
  EXPECT_EQ(files.RecentFiles()[0], PathOf("d.bin"));
  EXPECT_EQ(files.RecentFiles()[3], PathOf("a.bin"));

  OpenByName(PathOf("b.bin")); // slot 3 stays where it is
  EXPECT_EQ(files.RecentFiles()[2], PathOf("b.bin"));
  EXPECT_EQ(files.RecentFiles()[0], PathOf("d.bin"));

  OpenByName(Write("B.BIN", "x")); // another letter case is another file
  EXPECT_EQ(files.RecentFiles()[0], PathOf("B.BIN"));
  EXPECT_EQ(files.RecentFiles()[3], PathOf("b.bin")) << "a.bin was the oldest and is gone";
  EXPECT_EQ(panel.text("MnuFileLastFile1"), "&1 " + PathOf("B.BIN"));
  EXPECT_EQ(panel.text("MnuFileLastFile4"), "&4 " + PathOf("b.bin"));
  EXPECT_TRUE(panel.isVisible("MnuFileLine1"));

  files.SetLastUsedFiles("/tmp/R&D/prog.bin"); // the path's ampersand shows as itself
  EXPECT_EQ(panel.text("MnuFileLastFile1"), QString("&1 /tmp/R&&D/prog.bin"));
  EXPECT_EQ(files.RecentFiles()[0], QString("/tmp/R&D/prog.bin"));
}

TEST_F(Recent, EntriesChooseTheReaderByTheirExtension) {
  const QString hexText(":02001000AABB89\n:00000001FF\n");
  const QString lower = Write("PROG.hex", hexText.toLatin1());
  const QString backup = Write("PROG.HEX.bak", hexText.toLatin1());
  const QString compiled = Write("blink.ihx", hexText.toLatin1()); // as SDCC names it
  files.ShowRecentFiles({lower, backup, compiled, QString()});
  EXPECT_EQ(panel.text("MnuFileLastFile1"), "&1." + lower) << "start-up captions";
  EXPECT_TRUE(panel.isVisible("MnuFileLastFile3"));
  EXPECT_FALSE(panel.isVisible("MnuFileLastFile4"));

  for (const int slot : {1, 3}) {
    files.MnuFileLastFile_Click(slot);
    EXPECT_EQ(buffer.FileEnd, 19) << "HEX reader for slot " << slot;
  }
  files.MnuFileLastFile_Click(2);
  EXPECT_EQ(Image(), hexText.toLatin1()) << "binary reader";
  EXPECT_EQ(panel.text("MnuFileLastFile1"), "&1 " + lower) << "refreshed after a load";

  files.MnuFileLastFile_Click(4); // empty slot
  EXPECT_TRUE(ui.messages.isEmpty());
  QFile::remove(lower);
  files.MnuFileLastFile_Click(1);
  EXPECT_EQ(ui.texts(), QStringList{"File not found."});
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(Image(), hexText.toLatin1());
}

} // namespace
