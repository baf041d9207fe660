// Signature verification against the shipped catalogue: what goes out on the
// line, what the user is told, and what it enables.
#include "Autodetect.h"
#include "BaseModule.h"
#include "ControlPanel.h"
#include "DatabaseHandlers.h"
#include "Frame.h"
#include "Globals.h"
#include "ImageBuffer.h"
#include "Link.h"
#include "LoopbackPort.h"
#include "PortHandling.h"
#include "PortMap.h"
#include "ProgramFolder.h"
#include "ScriptedPeer.h"
#include "ScriptedUi.h"
#include "Session.h"
#include "SignatureVerification.h"

#include <QTimer>

#include <gtest/gtest.h>

using namespace kvr;
using namespace kvr::BaseModule;
using kvr::test::ProgrammerFrame;
using namespace std::chrono_literals;

namespace {

const QByteArray kAck("\x06\x0d", 2);

QByteArray Encoded(std::initializer_list<unsigned char> bytes) {
  QByteArray out;
  for (unsigned char b : bytes)
    out.append(EncodeByte(b));
  return out;
}

struct Verification : ::testing::Test {
  test::ProgramFolder folder;
  Session session;
  test::ScriptedUi ui;
  test::ScriptedPeer programmer;
  LoopbackPort port{&programmer};
  Link link{port, session, ui};
  ControlPanel panel{session};
  PortMap ports;
  DatabaseHandlers catalogue{session, ui, CatalogueOptions{folder.userFolder(), "QSQLITE"}};
  ImageBuffer buffer;
  OperationContext context{session, ui, port, link, panel, ports, catalogue, buffer};
  PortHandling handling{context};
  SignatureVerifier verifier{context, handling};

  void SetUp() override {
    InitGlobals(session, folder.path());
    ASSERT_EQ(catalogue.OpenCatalogue(), DatabaseHandlers::OpenOutcome::Opened);
    link.setReplyTimeout(150ms);
    ports.setOverride(3, "/dev/kvr3");
    session.PortNumber = 3;
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
    programmer.queueReply(kAck + ProgrammerFrame(verdict + Encoded(signature)));
  }
};

TEST_F(Verification, SendsTheCatalogueIdentityAndClosesWithAck) {
  Select("017"); // AT89S8252: 8 KB, two signature bytes compared
  ChipAnswers("P ", {0x1E, 0x72, 0x06});
  verifier.SignatureVerification();
  test::Settle();
  const QByteArray payload = QByteArray("\x05S") +
                             Encoded({0x03, 0x04, 0x01, 0x03, 0x00, 0x01, 0x0B, 0x00}) + "08192" +
                             "2" + Encoded({0x1E, 0x72, 0x00});
  ASSERT_EQ(programmer.framesFromPc().size(), 2);
  EXPECT_EQ(programmer.framesFromPc()[0], BuildFrame(payload, false));
  EXPECT_EQ(programmer.framesFromPc()[1], QByteArray("\x06\x0d"));
}

TEST_F(Verification, PassShowsTheBytesAndOpensTheFamilyCommands) {
  Select("017");
  ChipAnswers("P ", {0x1E, 0x51, 0xFF});
  verifier.SignatureVerification();
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

TEST_F(Verification, RefusedCommandKeepsTheFlagButStillClosesWithAck) {
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
}

TEST_F(Verification, StopClearsTheFlagAndStillClosesWithAck) {
  Select("017");
  session.SignatureVerified = true;
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

TEST_F(Verification, ClickOffersRetryUntilNo) {
  Select("017");
  ChipAnswers("F ", {0x1E, 0x52, 0x06});
  ChipAnswers("F ", {0x1E, 0x52, 0x06});
  ui.answers = {Answer::Yes, Answer::No};
  verifier.MnuVerifySignature_Click();
  EXPECT_EQ(ui.texts().count("Would you like to retry Signature Verification?"), 2);
  EXPECT_TRUE(panel.isEnabled("TbnErase_12v"));
  EXPECT_TRUE(panel.isEnabled("TbnErase_5v"));
  EXPECT_FALSE(panel.isVisible("chkClkSpeed"));
}

TEST_F(Verification, ClickDoesNothingWithoutAProgrammer) {
  Select("017");
  session.ProgrammerPresent = false;
  verifier.MnuVerifySignature_Click();
  EXPECT_TRUE(programmer.framesFromPc().isEmpty());
  EXPECT_FALSE(panel.isEnabled("TbnErase_12v"));
}

TEST_F(Verification, ClickWithoutADeviceOnlyEnablesTheEraseButtons) {
  verifier.MnuVerifySignature_Click();
  EXPECT_TRUE(programmer.framesFromPc().isEmpty());
  EXPECT_TRUE(ui.messages.isEmpty());
  EXPECT_TRUE(panel.isEnabled("TbnErase_12v"));
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
