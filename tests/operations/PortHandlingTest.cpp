// Opening the port, the presence check, autodetect, the port numbers and the
// signature verification against the shipped catalogue.
#include "PortHandling.h"
#include "Autodetect.h"
#include "BaseModule.h"
#include "ControlPanel.h"
#include "DatabaseHandlers.h"
#include "FamilyCodes.h"
#include "Frame.h"
#include "Globals.h"
#include "ImageBuffer.h"
#include "Link.h"
#include "LoopbackPort.h"
#include "PortMap.h"
#include "ProgramFolder.h"
#include "RoutedLoopbackPort.h"
#include "ScriptedPeer.h"
#include "ScriptedUi.h"
#include "Session.h"
#include "SignatureVerification.h"

#include <QSettings>
#include <QTimer>

#include <gtest/gtest.h>

using namespace kvr;
using namespace kvr::BaseModule;
using kvr::test::ProgrammerFrame;
using namespace std::chrono_literals;

namespace {

const QByteArray kAck("\x06\x0d", 2);

// A machine's ports as its directory lists them, in no particular order.
class FixedDirectory : public PortDirectory {
public:
  explicit FixedDirectory(QList<PortInfo> ports) : ports_(std::move(ports)) {}
  QList<PortInfo> ports() const override { return ports_; }

private:
  QList<PortInfo> ports_;
};

struct Bench {
  test::ProgramFolder folder;
  Session session;
  test::ScriptedUi ui;
  test::ScriptedPeer programmer;
  test::RoutedLoopbackPort port{&programmer};
  Link link{port, session, ui};
  ControlPanel panel{session};
  PortMap ports;
  DatabaseHandlers catalogue{session, ui, CatalogueOptions{folder.userFolder(), "QSQLITE"}};
  ImageBuffer buffer;
  OperationContext context{session, ui, port, link, panel, ports, catalogue, buffer};
  PortHandling handling{context};
  Autodetect autodetect{context, handling};
  SignatureVerifier verifier{context, handling};

  Bench() {
    link.setReplyTimeout(150ms);
    for (int n = 1; n <= 16; ++n)
      ports.setOverride(n, QStringLiteral("/dev/kvr%1").arg(n));
    port.present.insert("/dev/kvr3");
    port.programmerPath = "/dev/kvr3";
    session.PortNumber = 3;
  }

  // The programmer accepts the query and sends its identification at once.
  void ProgrammerAnswers(const QByteArray &identification) {
    programmer.queueReply(kAck + ProgrammerFrame(identification));
  }
};

TEST(PortOpen, OpensTheMappedPathAndSaysSo) {
  Bench b;
  b.port.heldOpenings = 1; // the other program lets go while the user reads the question
  b.ui.answers = {Answer::Yes};
  EXPECT_TRUE(b.handling.PortOpen(true, true));
  EXPECT_EQ(b.ui.messages.size(), 1);
  EXPECT_TRUE(b.port.isOpen());
  EXPECT_EQ(b.port.portName(), QString("/dev/kvr3"));
  EXPECT_EQ(b.ui.panelText(Panel::SbrPort), QString("Port : COM3"));
  EXPECT_EQ(b.ui.panelText(Panel::SbrActivity), QString("Port Opened"));
  EXPECT_FALSE(b.panel.isEnabled("TbnStop"));
  EXPECT_EQ(b.ui.busyDepth, 0);
}

TEST(PortOpen, HeldPortAsksTwiceThenFailsOnNo) {
  Bench b;
  b.session.PortNumber = 9;
  b.port.present.insert("/dev/kvr9");
  b.port.setOpenFails(true, OpenFailure::InUse);
  b.ui.answers = {Answer::Yes, Answer::No};
  EXPECT_FALSE(b.handling.PortOpen(true, true));
  ASSERT_EQ(b.ui.messages.size(), 2);
  EXPECT_EQ(b.ui.messages[0].text,
            QString("The COM9 Port is already open and may be in use by another application.\r\r"
                    "Should KVR 1.04 try to close it and open again?"));
  EXPECT_EQ(b.ui.messages[1].text,
            QString("KVR could not close and reopen the COM9 port.\r"
                    "It may be in use by an active peripheral device (like the Mouse).\r\r"
                    "Should KVR 1.04 try to close it and open again?"));
  EXPECT_EQ(b.ui.messages[1].icon, MessageIcon::Exclamation);
  EXPECT_EQ(b.ui.panelText(Panel::SbrActivity), QString("Port Open Failed"));
  EXPECT_EQ(b.port.openings, 2);
}

TEST(PortOpen, PermissionMissingDeviceAndStopSayWhy) {
  Bench b;
  b.port.setOpenFails(true, OpenFailure::NoPermission);
  EXPECT_FALSE(b.handling.PortOpen(false, true));
  ASSERT_EQ(b.ui.messages.size(), 1);
  EXPECT_TRUE(b.ui.messages[0].text.startsWith(
      "The COM3 Port is already open and may be in use by another application."));
  EXPECT_TRUE(b.ui.messages[0].text.contains("dialout group"));

  b.ui.messages.clear();
  b.session.PortNumber = 5; // not present
  EXPECT_FALSE(b.handling.PortOpen(false, true));
  ASSERT_EQ(b.ui.messages.size(), 1);
  EXPECT_TRUE(b.ui.messages[0].text.contains("There is no device /dev/kvr5."));

  b.ui.messages.clear(); // silent: only the status says so
  EXPECT_FALSE(b.handling.PortOpen(false, false));
  EXPECT_TRUE(b.ui.messages.isEmpty());
  EXPECT_EQ(b.ui.panelText(Panel::SbrActivity), QString("Port Open Failed"));

  b.session.PortNumber = 3; // Stop while it opens: interrupted, the flag kept
  b.port.setOpenFails(false, OpenFailure::None);
  b.ui.onProcessEvents = [&] { b.session.requestStop(); };
  EXPECT_FALSE(b.handling.PortOpen(true, true));
  EXPECT_TRUE(b.ui.messages.isEmpty());
  EXPECT_EQ(b.ui.panelText(Panel::SbrActivity), QString("Port Open Interrupted"));
  EXPECT_TRUE(b.session.StopRequested());
}

TEST(CheckPresence, PaddedIdentificationIsAcceptedAfterWhatWasLeftOnTheLine) {
  Bench b;
  ASSERT_TRUE(b.handling.PortOpen(false, false));
  b.programmer.send("F\r"); // the end of an earlier exchange
  b.ProgrammerAnswers("  KVR1.04 ");
  b.handling.CheckPresence(false);
  EXPECT_TRUE(b.session.ProgrammerPresent);
  EXPECT_EQ(b.ui.texts(),
            QStringList{"Hardware detected on COM3!\r\rWelcome to TORVANE Flash MCU Programmer\r"
                        "Version :   KVR1.04 "});
  EXPECT_EQ(b.ui.panelText(Panel::SbrActivity), QString("Presence Check Passed"));
  // The presence query is not closed with an ACK.
  EXPECT_EQ(b.programmer.framesFromPc().size(), 1);
}

TEST(CheckPresence, WrongModelLeavesOnlyTheDeviceCommandsOff) {
  Bench b;
  b.session.DatabaseAvailable = true;
  b.session.SignatureVerified = true;
  b.session.Mcu.FamilyCode = "ATMEL89S";
  b.session.Mcu.MCUIDNumber = "017";
  ASSERT_TRUE(b.handling.PortOpen(false, false));
  b.ProgrammerAnswers("KVR2.00");
  b.handling.CheckPresence(false);
  EXPECT_FALSE(b.session.ProgrammerPresent);
  EXPECT_EQ(b.ui.texts(), QStringList{"Incorrect model!"});
  EXPECT_EQ(b.ui.panelText(Panel::SbrActivity), QString("Presence Check Failed"));
  // So too after a later command, such as opening a file, sets the menus idle.
  for (const char *when : {"after the check", "after another command"}) {
    for (const char *usable : {"MnuFile", "MnuSelectDevice", "MnuTool", "MnuHelp", "TbnFileOpen"})
      EXPECT_TRUE(b.panel.isEnabled(usable)) << when << ": " << usable;
    for (const char *off : {"TbnStop", "TbnVerifySignature", "TbnRead", "MnuRead", "MnuErase"})
      EXPECT_FALSE(b.panel.isEnabled(off)) << when << ": " << off;
    b.panel.SetMenuOptions(false);
  }
  b.ProgrammerAnswers("KVR1.04");
  b.handling.CheckPresence(false);
  EXPECT_TRUE(b.panel.isEnabled("TbnRead")) << "the right programmer found again";
}

TEST(CheckPresence, NoAnswerNamesThePortOnlyWhenAskedAndIsBusyForTheWholeWait) {
  Bench b;
  b.session.DatabaseAvailable = true;
  ASSERT_TRUE(b.handling.PortOpen(false, false));
  int liveWhileWaiting = 0;
  b.ui.onProcessEvents = [&] {
    liveWhileWaiting += b.panel.isEnabled("MnuSelectDevice") || !b.panel.isEnabled("TbnStop");
  };
  b.handling.CheckPresence(true);
  EXPECT_GT(b.ui.processEventsCalls, 0);
  EXPECT_EQ(liveWhileWaiting, 0) << "another port could be chosen meanwhile";
  EXPECT_TRUE(b.panel.isEnabled("MnuSelectDevice"));
  EXPECT_FALSE(b.panel.isEnabled("TbnStop"));
  EXPECT_EQ(b.ui.texts(), (QStringList{"The requested operation has timed out.",
                                       "KVR 1.04 Unit not attached to COM3."}));
  b.ui.messages.clear();
  b.handling.CheckPresence(false);
  EXPECT_TRUE(b.ui.messages.isEmpty());
  EXPECT_EQ(b.ui.panelText(Panel::SbrActivity), QString("Presence Check Failed"));
}

TEST(Autodetect, FindsTheProgrammerOnCom3AndStopsThere) {
  Bench b;
  for (int n : {1, 2, 4})
    b.port.present.insert(QStringLiteral("/dev/kvr%1").arg(n));
  b.ProgrammerAnswers("KVR1.04");
  b.autodetect.MnuAutodetect_Click();
  EXPECT_EQ(b.session.PortNumber, 3);
  EXPECT_TRUE(b.session.Autodetected);
  EXPECT_EQ(b.port.openings, 3);
  EXPECT_EQ(b.ui.panelText(Panel::SbrPort), QString("Port : COM3"));
  EXPECT_EQ(b.ui.panelText(Panel::SbrActivity), QString("Autodetect Passed"));
  // Silent on COM1 and COM2; the welcome appears anyway.
  ASSERT_EQ(b.ui.messages.size(), 1);
  EXPECT_TRUE(b.ui.messages[0].text.startsWith("Hardware detected on COM3!"));

  // The saved port at start-up (one that fails is named by the startup tests).
  b.session.Autodetected = false;
  b.ui.setActivity("");
  b.ProgrammerAnswers("KVR1.04");
  b.autodetect.detect(true, 3);
  EXPECT_TRUE(b.session.Autodetected);
  EXPECT_EQ(b.ui.panelText(Panel::SbrActivity), QString("Autodetect Passed"));
}

// Every number with a port is tried, and only those; with none at all the
// search ends at once.
TEST(Autodetect, NoProgrammerOnAnyPortThereIs) {
  Bench b;
  b.port.programmerPath.clear();
  b.autodetect.MnuAutodetect_Click();
  EXPECT_EQ(b.port.openings, 16);
  ASSERT_EQ(b.ui.messages.size(), 1);
  EXPECT_EQ(b.ui.messages[0].title, QString("Autodetect"));
  EXPECT_EQ(b.ui.messages[0].text,
            QString("KVR 1.04 failed to detect compatible hardware on any of the COM Ports.\r"
                    "If you have not connected the KVR hardware, please do so now and select the "
                    "COM Port manually."));
  EXPECT_EQ(b.ui.panelText(Panel::SbrPort), QString("Port: COM16"));
  EXPECT_EQ(b.ui.panelText(Panel::SbrActivity), QString("Autodetect Failed"));
  EXPECT_FALSE(b.session.Autodetected);

  b.ports = PortMap(std::make_unique<FixedDirectory>(QList<PortInfo>{}));
  b.ports.setOverride(5, "/dev/kvr5");
  b.ports.setOverride(9, "/dev/kvr9");
  b.autodetect.MnuAutodetect_Click();
  EXPECT_EQ(b.port.openings, 16 + 2);
  EXPECT_EQ(b.ui.panelText(Panel::SbrPort), QString("Port: COM9"));

  b.ports = PortMap(std::make_unique<FixedDirectory>(QList<PortInfo>{}));
  b.autodetect.MnuAutodetect_Click();
  EXPECT_EQ(b.port.openings, 16 + 2);
  EXPECT_EQ(b.ui.texts(), QStringList(3, b.ui.messages[0].text)) << "one message each time";
  EXPECT_FALSE(b.handling.PortOpen(false, true));
  EXPECT_TRUE(b.ui.texts().last().endsWith("No serial port is behind COM9 now."));
}

TEST(Autodetect, StopOnCom1EndsWithoutMessage) {
  Bench b;
  b.port.present.insert("/dev/kvr1");
  b.ui.onProcessEvents = [&] { b.session.requestStop(); };
  b.autodetect.MnuAutodetect_Click();
  EXPECT_TRUE(b.ui.messages.isEmpty());
  EXPECT_EQ(b.ui.panelText(Panel::SbrActivity), QString("Port Open Interrupted"));
  EXPECT_EQ(b.session.PortNumber, 1);
}

TEST(PortSelect, OkTakesTheChosenPortAndChecksPresence) {
  Bench b;
  b.session.PortNumber = 9;
  b.ui.portChoices = {3};
  b.ProgrammerAnswers("KVR1.04");
  b.handling.MnuSelect_Click();
  EXPECT_EQ(b.ui.dialogsShown, QStringList{"FrmPortSelect COM9"});
  EXPECT_EQ(b.session.PortNumber, 3);
  EXPECT_TRUE(b.session.PortIsOpen);
  EXPECT_TRUE(b.session.ProgrammerPresent);

  b.ui.portChoices = {std::nullopt};
  b.handling.MnuSelect_Click();
  EXPECT_EQ(b.session.PortNumber, 3);
  EXPECT_TRUE(b.port.isOpen()) << "Cancel changes nothing";
}

PortInfo Port(const QString &path, const QString &byIdName = {}) {
  PortInfo port;
  port.path = path;
  port.hasUsbIds = !byIdName.isEmpty();
  if (port.hasUsbIds)
    port.byIdPath = "/dev/serial/by-id/" + byIdName;
  return port;
}

TEST(PortMap, AdaptersFirstByStableNameAroundPinnedAndOverriddenNumbers) {
  Bench b;
  QSettings().setValue("ports/COM1", "/nonexistent/ttyUSB7"); // pinned, unplugged
  PortMap map(std::make_unique<FixedDirectory>(
      QList<PortInfo>{Port("/dev/ttyS10"), Port("/dev/ttyS2"),
                      Port("/dev/ttyUSB0", "usb-Prolific_USB-Serial_Controller-if00-port0"),
                      Port("/dev/ttyUSB1", "usb-FTDI_FT232R_USB_UART_A10K3B2C-if00-port0")}));
  ASSERT_TRUE(map.addOverride("com3=/dev/pts/9"));
  EXPECT_FALSE(map.addOverride("COM17=/dev/x"));
  EXPECT_FALSE(map.addOverride("COM2"));
  map.refresh();

  const QStringList expected{"/nonexistent/ttyUSB7",
                             "/dev/ttyUSB1",
                             "/dev/pts/9",
                             "/dev/ttyUSB0",
                             "/dev/ttyS2",
                             "/dev/ttyS10",
                             ""};
  for (int n = 1; n <= expected.size(); ++n)
    EXPECT_EQ(map.pathFor(n), expected[n - 1]) << "COM" << n;
  EXPECT_EQ(map.presentNumbers(), (QList<int>{2, 3, 4, 5, 6}));

  // Only found ports are pinned: an adapter under its by-id name, a UART under its path.
  for (int n : {2, 3, 5})
    map.pin(n);
  QSettings saved;
  EXPECT_EQ(saved.value("ports/COM2").toString(),
            "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K3B2C-if00-port0");
  EXPECT_FALSE(saved.contains("ports/COM3"));
  EXPECT_EQ(saved.value("ports/COM5").toString(), "/dev/ttyS2");
  EXPECT_EQ(map.entry(5).source, PortSource::Pinned);
}

QByteArray Encoded(std::initializer_list<unsigned char> bytes) {
  QByteArray out;
  for (unsigned char b : bytes)
    out.append(EncodeByte(b));
  return out;
}

struct Verification : ::testing::Test, Bench {
  void SetUp() override {
    InitGlobals(session, folder.path());
    ASSERT_EQ(catalogue.OpenCatalogue(), DatabaseHandlers::OpenOutcome::Opened);
    port.setPortName("/dev/kvr3");
    ASSERT_TRUE(port.open());
    session.PortIsOpen = true;
    session.ProgrammerPresent = true;
  }

  void Select(const QString &id) {
    ASSERT_TRUE(catalogue.SelectMcu(id));
    ui.messages.clear();
  }

  // ACK, then the result frame at once, as the programmer answers "S".
  void ChipAnswers(const QByteArray &verdict, std::initializer_list<unsigned char> signature) {
    ProgrammerAnswers(verdict + Encoded(signature));
  }
};

TEST_F(Verification, SendsTheCatalogueIdentityAndAPassOpensTheFamilyCommands) {
  Select("017"); // AT89S8252: 8 KB, two signature bytes compared
  ChipAnswers("P ", {0x1E, 0x51, 0xFF});
  verifier.SignatureVerification();
  test::Settle();
  const QByteArray payload = QByteArray("\x05S") +
                             Encoded({0x03, 0x04, 0x01, 0x03, 0x00, 0x01, 0x0B, 0x00}) + "08192" +
                             "2" + Encoded({0x1E, 0x72, 0x00});
  EXPECT_EQ(programmer.framesFromPc(),
            (QList<QByteArray>{BuildFrame(payload, false), QByteArray("\x06\x0d")}));
  EXPECT_TRUE(session.SignatureVerified);
  ASSERT_EQ(ui.messages.size(), 1);
  EXPECT_EQ(ui.messages[0].text,
            QString("Signature verification passed.\r\rSignature Bytes :   1E  51  FF"));
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(ui.panelText(Panel::SbrActivity), QString("Signature Verified"));
  EXPECT_TRUE(panel.isVisible("BMnu_ReadEEPROM"));
  EXPECT_TRUE(panel.isEnabled("Mnu89S"));
  EXPECT_EQ(ui.popUps, QStringList{"Special Commands Available With The Selected MCU"});
  EXPECT_FALSE(panel.isEnabled("TbnStop"));
}

TEST_F(Verification, FailureAndUnsupportedDevice) {
  Select("017");
  session.SignatureVerified = true;
  ChipAnswers("FN", {0x1E, 0x52, 0x06});
  verifier.SignatureVerification();
  EXPECT_FALSE(session.SignatureVerified);
  EXPECT_EQ(ui.texts(),
            (QStringList{"Signature verification failed.\r\rSignature Bytes :   1E  52  06",
                         "Incorrect KVR Model."}));
  EXPECT_EQ(ui.panelText(Panel::SbrActivity), QString("Signature Verification Failed"));
  EXPECT_TRUE(ui.popUps.isEmpty());
}

TEST_F(Verification, RefusedKeepsTheFlagStoppedClearsItBothCloseWithAck) {
  Select("017");
  session.SignatureVerified = true; // from an earlier verification
  for (int i = 0; i < CommandRetries; ++i)
    programmer.queueReply(QByteArray("\x15\x00\x0d", 3));
  verifier.SignatureVerification();
  test::Settle();
  EXPECT_TRUE(session.SignatureVerified) << "a link failure leaves the flag as it was";
  EXPECT_EQ(ui.texts(), QStringList{"Error at Slave : Unknown Command."});
  EXPECT_EQ(programmer.framesFromPc().size(), CommandRetries + 1);
  EXPECT_EQ(programmer.framesFromPc().back(), QByteArray("\x06\x0d"));
  EXPECT_EQ(ui.panelText(Panel::SbrActivity), QString("Signature Verification Failed"));

  // Stopped: the flag is cleared.
  programmer.queueReply(kAck); // accepted, then the result never comes
  link.setReplyTimeout(10s);
  QTimer::singleShot(60, [&] { session.requestStop(); });
  verifier.SignatureVerification();
  test::Settle();
  EXPECT_FALSE(session.SignatureVerified);
  EXPECT_EQ(ui.panelText(Panel::SbrActivity), QString("Signature Verification Interrupted"));
  EXPECT_EQ(programmer.framesFromPc().back(), QByteArray("\x06\x0d"));
  EXPECT_FALSE(session.StopRequested());
}

TEST_F(Verification, SmallLpcChipsAskHowTheyAreSeatedFirst) {
  Select("08B");
  ui.tipConfirmations = {false};
  verifier.SignatureVerification();
  EXPECT_EQ(ui.dialogsShown, QStringList{"FrmSpecialTip 08B 0"});
  EXPECT_TRUE(programmer.framesFromPc().isEmpty()) << "Exit sends nothing";
  EXPECT_EQ(ui.busyDepth, 0);

  ui.tipConfirmations = {true};
  ChipAnswers("P ", {0x15, 0x00, 0x00});
  verifier.SignatureVerification();
  EXPECT_TRUE(session.SignatureVerified);
}

// Without a programmer nothing happens; without a device nothing goes out,
// yet the erase buttons come on. A failure offers a retry until No.
TEST_F(Verification, ClickSendsNothingWithoutAProgrammerOrADeviceAndRetriesUntilNo) {
  session.ProgrammerPresent = false;
  verifier.MnuVerifySignature_Click();
  EXPECT_FALSE(panel.isEnabled("TbnErase_12v"));
  session.ProgrammerPresent = true;
  verifier.MnuVerifySignature_Click();
  EXPECT_TRUE(programmer.framesFromPc().isEmpty());
  EXPECT_TRUE(ui.messages.isEmpty());
  EXPECT_TRUE(panel.isEnabled("TbnErase_12v"));

  Select("017");
  panel.setEnabled("TbnErase_12v", false);
  ChipAnswers("F ", {0x1E, 0x52, 0x06});
  ChipAnswers("F ", {0x1E, 0x52, 0x06});
  ui.answers = {Answer::Yes, Answer::No};
  verifier.MnuVerifySignature_Click();
  EXPECT_EQ(ui.texts().count("Would you like to retry Signature Verification?"), 2);
  EXPECT_TRUE(panel.isEnabled("TbnErase_12v"));
  EXPECT_TRUE(panel.isEnabled("TbnErase_5v"));
  EXPECT_FALSE(panel.isVisible("chkClkSpeed"));
}

TEST_F(Verification, BlockListAndClockBoxFollowTheVerifiedDevice) {
  const struct {
    const char *id;
    bool blocks;
    bool clock;
  } cases[] = {{"75", true, false},   {"071", true, false}, {"76", true, false},
               {"072", false, false}, {"05A", false, true}, {"039", false, true},
               {"035", false, false}, {"048", false, true}};
  for (const auto &c : cases) {
    Select(c.id);
    ChipAnswers("P ", {0x00, 0x00, 0x00});
    verifier.MnuVerifySignature_Click();
    ASSERT_TRUE(session.SignatureVerified) << c.id;
    EXPECT_EQ(panel.isVisible("LstCurrentBlock"), c.blocks) << c.id;
    EXPECT_EQ(panel.isVisible("LstCurrentBlockCaption"), c.blocks) << c.id;
    EXPECT_EQ(panel.isVisible("chkClkSpeed"), c.clock) << c.id;
    if (c.blocks) {
      EXPECT_EQ(panel.value("LstCurrentBlock"), 0);
    }
  }
}

} // namespace
