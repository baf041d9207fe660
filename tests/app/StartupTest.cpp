// Start-up and closing of the program, without its window: the catalogue,
// the saved port and device, the autodetect question, the tips and the
// settings written at a confirmed close.
#include "AppCore.h"
#include "FamilyCodes.h"
#include "ProgramFolder.h"
#include "RoutedLoopbackPort.h"
#include "ScriptedPeer.h"
#include "ScriptedUi.h"
#include "Session.h"
#include "Settings.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <memory>

using namespace kvr;
using kvr::test::ProgrammerFrame;
using namespace std::chrono_literals;

namespace {

const QByteArray kAck("\x06\x0d", 2);
const QString kAutodetectQuestion = StartupText::AutodetectQuestion();

class Startup : public ::testing::Test {
protected:
  void SetUp() override { Restart(); }

  // A new run of the program on the same folder and settings.
  void Restart() {
    core.reset();
    port = std::make_unique<test::RoutedLoopbackPort>(&programmer);
    session = std::make_unique<Session>();
    ui = std::make_unique<test::ScriptedUi>();
    core = std::make_unique<AppCore>(
        *session, *ui, *port, CatalogueOptions{folder.userFolder(), QStringLiteral("QSQLITE")});
    core->link().setReplyTimeout(100ms);
    for (int n = 1; n <= 16; ++n)
      core->ports().setOverride(n, QStringLiteral("/dev/kvr%1").arg(n));
    port->present = {"/dev/kvr1", "/dev/kvr3"};
    port->programmerPath = "/dev/kvr3";
  }

  void ProgrammerAnswers() { programmer.queueReply(kAck + ProgrammerFrame("KVR1.04")); }

  static QString Saved(const QString &key) { return Settings::Value("Startup", key); }

  test::ProgramFolder folder;
  test::ScriptedPeer programmer;
  std::unique_ptr<test::RoutedLoopbackPort> port;
  std::unique_ptr<Session> session;
  std::unique_ptr<test::ScriptedUi> ui;
  std::unique_ptr<AppCore> core;
};

TEST_F(Startup, FirstRunAsksForAutodetectAndNoLeavesTheDefaultPort) {
  ui->answers = {Answer::No};
  ui->startTipAnswers = {true}; // "Don't display this message again"
  ASSERT_TRUE(core->Startup());
  EXPECT_EQ(ui->texts(), (QStringList{kAutodetectQuestion}));
  EXPECT_EQ(ui->messages[0].icon, MessageIcon::Question);
  EXPECT_EQ(ui->panelText(Panel::SbrPort), QString("Port : COM2 (Def)"));
  EXPECT_EQ(session->PortNumber, 2) << "no saved port is no COM0";
  EXPECT_EQ(ui->panelText(Panel::SbrActivity), QString("Ready"));
  EXPECT_TRUE(session->DatabaseAvailable);
  EXPECT_EQ(port->openings, 0);
  EXPECT_EQ(ui->dialogsShown, QStringList{"FrmTip"}) << "the start tip is on in a new catalogue";
  ui->answers = {Answer::Yes};
  ASSERT_TRUE(core->QueryClose());
  EXPECT_EQ(ui->dialogsShown, QStringList{"FrmTip"}) << "ticked: not shown again at exit";

  Restart();
  ui->answers = {Answer::No};
  ASSERT_TRUE(core->Startup());
  EXPECT_TRUE(ui->dialogsShown.isEmpty());
}

TEST_F(Startup, AutodetectFindsTheProgrammerAndTheNextRunUsesTheSavedPort) {
  ui->answers = {Answer::Yes, Answer::Yes};
  ProgrammerAnswers();
  ASSERT_TRUE(core->Startup());
  EXPECT_EQ(session->PortNumber, 3);
  EXPECT_TRUE(session->ProgrammerPresent);
  ASSERT_TRUE(core->catalogue().SelectMcu("017"));
  EXPECT_TRUE(core->QueryClose());
  EXPECT_EQ(Saved("LastCOMPort"), QString("3"));
  EXPECT_EQ(Saved("LastMCU"), QString("017"));

  Restart();
  ProgrammerAnswers();
  ASSERT_TRUE(core->Startup());
  EXPECT_FALSE(ui->texts().contains(kAutodetectQuestion)) << "the saved port answered";
  EXPECT_TRUE(session->Autodetected);
  EXPECT_EQ(session->Mcu.MCUIDNumber, QString("017"));
  EXPECT_EQ(session->Mcu.FamilyCode, QString("ATMEL89S"));
  EXPECT_TRUE(core->panel().isEnabled("TbnVerifySignature"));
  EXPECT_FALSE(core->panel().isEnabled("TbnWrite"));
}

TEST_F(Startup, SavedPortThatIsGoneIsNamedThenAutodetectIsOffered) {
  Settings::SetValue("StartUp", "LastCOMPort", "5");
  ui->answers = {Answer::No};
  ASSERT_TRUE(core->Startup());
  EXPECT_EQ(ui->texts(),
            (QStringList{"KVR 1.04 failed to detect compatible hardware on previously used Port "
                         "COM5.",
                         kAutodetectQuestion}));
  EXPECT_EQ(ui->panelText(Panel::SbrActivity), QString("Autodetect Failed"));
}

TEST_F(Startup, ProgrammerMissingAtCloseSavesPortZeroSoTheNextRunAsks) {
  Settings::SetValue("StartUp", "LastCOMPort", "1"); // opens, but nothing answers there
  ui->answers = {Answer::No, Answer::Yes};
  ASSERT_TRUE(core->Startup());
  EXPECT_FALSE(session->ProgrammerPresent);
  EXPECT_TRUE(core->QueryClose());
  EXPECT_EQ(Saved("LastCOMPort"), QString("0"));

  Restart();
  ui->answers = {Answer::No};
  ASSERT_TRUE(core->Startup());
  EXPECT_EQ(ui->texts(), QStringList{kAutodetectQuestion});
}

TEST_F(Startup, SectionNamesIgnoreLetterCase) {
  QSettings raw;
  raw.setValue("STARTUP/LastMCU", "039");
  raw.sync();
  ui->answers = {Answer::No};
  ASSERT_TRUE(core->Startup());
  EXPECT_EQ(session->Mcu.MCUIDNumber, QString("039"));
  ui->answers = {Answer::Yes};
  ASSERT_TRUE(core->QueryClose());
  QSettings after;
  EXPECT_EQ(after.childGroups(), QStringList{"STARTUP"}) << "written into the same section";
}

TEST_F(Startup, MissingCatalogueAsksTwiceAndLeavesOnlyEditing) {
  folder.removeCatalogue();
  ui->answers = {Answer::Yes, Answer::Yes};
  ASSERT_TRUE(core->Startup());
  ASSERT_EQ(ui->messages.size(), 2);
  EXPECT_EQ(ui->messages[0].text, ui->messages[1].text);
  EXPECT_FALSE(session->DatabaseAvailable);
  EXPECT_FALSE(core->panel().isEnabled("MnuSelectDevice"));
  EXPECT_FALSE(core->panel().isEnabled("MnuOperations"));
  EXPECT_TRUE(core->panel().isEnabled("MnuFile"));

  Restart();
  ui->answers = {Answer::Yes, Answer::No};
  EXPECT_FALSE(core->Startup()) << "No to the second question ends the program";
}

TEST_F(Startup, QuitQuestionAndTheSaveQuestionAskedTwiceFromExit) {
  ui->answers = {Answer::No};
  ASSERT_TRUE(core->Startup());
  ui->messages.clear();
  session->BufferModified = true;
  int saves = 0;
  core->saveBuffer = [&] { ++saves; };
  bool closed = false;
  core->closeWindow = [&] { closed = core->QueryClose(); };
  ui->answers = {Answer::No, Answer::No, Answer::No};
  core->Trigger("MnuExit");
  EXPECT_EQ(ui->texts(),
            (QStringList{"Current file not saved. Save?", "Current file not saved. Save?",
                         "Are you sure you want to quit KVR 1.04 ?"}));
  EXPECT_FALSE(closed);
  EXPECT_EQ(saves, 0);
  EXPECT_TRUE(Saved("LastCOMPort").isEmpty()) << "nothing is saved when the user stays";
}

} // namespace
