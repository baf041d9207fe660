// The buffer inside the program: the File menu by name, the recent files
// across a restart, a pending edit taken when a menu opens, and the save
// offered at closing.
#include "AppCore.h"
#include "ProgramFolder.h"
#include "QtPrinters.h"
#include "RoutedLoopbackPort.h"
#include "ScriptedPeer.h"
#include "ScriptedUi.h"
#include "Session.h"
#include "Settings.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace kvr;

namespace {

TEST(AppFiles, RecentFileMenuEditAndSaveAtClosing) {
  test::ProgramFolder folder;
  const QString image = folder.path() + "/prog.bin";
  {
    QFile file(image);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(20, '\x22'));
  }
  Settings::SetValue("StartUp", "LastUsedFile1", image);

  test::ScriptedPeer programmer;
  test::RoutedLoopbackPort port(&programmer);
  Session session;
  test::ScriptedUi ui;
  AppCore core(session, ui, port, CatalogueOptions{folder.userFolder(), QStringLiteral("QSQLITE")});
  ui.answers = {Answer::No}; // no autodetect
  ASSERT_TRUE(core.Startup());
  EXPECT_EQ(core.panel().text("MnuFileLastFile1"), "&1." + image);
  EXPECT_TRUE(core.panel().isVisible("MnuFileLine1"));
  EXPECT_FALSE(core.panel().isEnabled("MnuSave"));

  core.Trigger("MnuFileLastFile1");
  EXPECT_EQ(core.buffer().rowCount(), 2);
  EXPECT_TRUE(core.panel().isEnabled("MnuSave")) << "the menus know the current file";

  core.editor().setCurrentCell(0, 1);
  core.Trigger("mnuEditCell");
  ASSERT_TRUE(core.editor().editorVisible());
  core.editor().setEditorText("7");
  core.Trigger("MnuOperations"); // opening a menu commits the pending byte, saved below

  ui.answers = {Answer::Yes, Answer::Yes}; // save; quit
  EXPECT_TRUE(core.QueryClose());
  QFile saved(image);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), QByteArray(1, '\x07') + QByteArray(19, '\x22'));
  EXPECT_EQ(Settings::Value("Startup", "LastUsedFile1"), image);
  EXPECT_EQ(Settings::Value("Startup", "LastUsedFile2"), QString());
}

} // namespace
