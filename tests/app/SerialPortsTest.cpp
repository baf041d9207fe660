// The serial ports of a made-up machine, as the program meets real ones: a
// UART with nothing attached and two USB-serial adapters, the programmer
// behind the second. Device files and by-id names are symbolic links to
// pseudo-terminals, listed with made-up descriptions in the file
// KVR_SERIAL_PORTS names.
#include "AppCore.h"
#include "Autodetect.h"
#include "ChipSource.h"
#include "FrmPortSelect.h"
#include "ProgramFolder.h"
#include "Programmer.h"
#include "PtyPeer.h"
#include "PtyServer.h"
#include "QtSerialPort.h"
#include "ScriptedUi.h"
#include "Session.h"
#include "SimChip.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace kvr;

namespace {

const QString kFtdiById = "serial/by-id/usb-FTDI_FT232R_USB_UART_A10K3B2C-if00-port0";
const QString kProlificById =
    "serial/by-id/usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0";

class SerialPorts : public ::testing::Test {
protected:
  void SetUp() override {
    QString error;
    const auto chip = sim::LoadCatalogueChip(folder.catalogue(), "017", &error);
    ASSERT_TRUE(chip) << error.toStdString();
    programmer.seat(std::make_unique<sim::SimChip>(*chip));
    ASSERT_TRUE(server.open(&error)) << error.toStdString();
    ASSERT_TRUE(QDir().mkpath(Machine("serial/by-id")) && QDir().mkpath(Machine("dev")));
    Plug("dev/ttyS0", uart.slavePath());
    Plug("dev/ttyUSB0", silentAdapter.slavePath());
    Plug(kProlificById, Machine("dev/ttyUSB0"));
    PlugProgrammerAdapter("dev/ttyUSB1");
    qputenv(kPortListVariable, Machine("ports.ini").toLocal8Bit());
    // Pinned by an earlier set-up, as COM1 always was.
    QSettings().setValue("Ports/COM1", Machine("dev/ttyS0"));
  }
  void TearDown() override { qputenv(kPortListVariable, "/dev/null"); }

  QString Machine(const QString &name) const { return machine.filePath(name); }

  void Plug(const QString &name, const QString &target) {
    QFile::remove(Machine(name));
    ASSERT_TRUE(QFile::link(target, Machine(name)));
  }

  // The adapter with the programmer, plugged in as device: the system lists it there.
  void PlugProgrammerAdapter(const QString &device) {
    Plug(device, server.slavePath());
    Plug(kFtdiById, Machine(device));
    // path, description, manufacturer, serial number, USB ids, by-id name
    const QList<PortInfo> listed{
        {Machine("dev/ttyS0"), "", "", "", false, 0, 0, ""},
        {Machine("dev/ttyUSB0"), "USB-Serial Controller", "", "", true, 0x067b, 0x2303,
         Machine(kProlificById)},
        {Machine(device), "FT232R USB UART", "", "", true, 0x0403, 0x6001, Machine(kFtdiById)}};
    ASSERT_TRUE(ListedPortDirectory::Write(Machine("ports.ini"), listed));
  }

  // One run of the program without its window, on real serial ports.
  struct Run {
    Session session;
    test::ScriptedUi ui;
    QtSerialPort port;
    AppCore core{session, ui, port};
  };

  test::ProgramFolder folder;
  QTemporaryDir machine;
  test::PtyPeer uart;
  test::PtyPeer silentAdapter;
  sim::Programmer programmer;
  sim::PtyServer server{programmer};
};

TEST_F(SerialPorts, AutodetectPassesOverTheSilentUartAndTheAdapterKeepsItsNumber) {
  auto first = std::make_unique<Run>();
  // The reply time-out in force while each port is asked for the programmer.
  QMap<int, std::chrono::milliseconds> presenceLimits;
  first->ui.onProcessEvents = [&] {
    if (first->ui.activityTag() == "Checking Presence")
      presenceLimits[first->session.PortNumber] = first->core.link().replyTimeout();
  };
  first->ui.answers = {Answer::Yes, Answer::Yes}; // autodetect, then quit
  ASSERT_TRUE(first->core.Startup());
  EXPECT_EQ(first->session.PortNumber, 2);
  EXPECT_TRUE(first->session.ProgrammerPresent);
  EXPECT_EQ(presenceLimits.value(1), Autodetect::kPresenceLimit) << "the silent UART";
  EXPECT_FALSE(presenceLimits.contains(3)) << "the first port that answers wins";
  EXPECT_EQ(first->core.link().replyTimeout(), Link::kReplyTimeout) << "for every other exchange";
  EXPECT_EQ(QSettings().value("Ports/COM2").toString(), Machine(kFtdiById));
  ASSERT_TRUE(first->core.QueryClose());
  first.reset();

  // Plugged in again, the adapter gets another device file; its by-id name stays.
  QFile::remove(Machine("dev/ttyUSB1"));
  PlugProgrammerAdapter("dev/ttyUSB2");
  Run second;
  ASSERT_TRUE(second.core.Startup());
  EXPECT_FALSE(second.ui.texts().contains(StartupText::AutodetectQuestion()));
  EXPECT_TRUE(second.session.ProgrammerPresent);
  EXPECT_EQ(second.session.PortNumber, 2);
  EXPECT_EQ(second.port.portName(), Machine(kFtdiById));
  EXPECT_EQ(DeviceText(second.core.ports().entry(2)), Machine("dev/ttyUSB2"));
}

TEST_F(SerialPorts, PortDialogShowsEachPortAndRefreshes) {
  PortMap ports;
  ports.refresh();
  FrmPortSelect dialog(2, ports);
  const auto row = [&](int n) {
    const auto *option = dialog.findChild<QRadioButton *>(QString("ObnCom%1").arg(n));
    return QStringList{option->text(),
                       dialog.findChild<QLabel *>(QString("LblDevice%1").arg(n))->text(),
                       dialog.findChild<QLabel *>(QString("LblDescription%1").arg(n))->text(),
                       option->isEnabled() ? "enabled" : "disabled"};
  };
  EXPECT_EQ(row(1), (QStringList{"COM1", Machine("dev/ttyS0"), "", "enabled"}));
  EXPECT_EQ(row(2), (QStringList{"COM2", Machine("dev/ttyUSB1"), "FT232R USB UART (0403:6001)",
                                 "enabled"}));
  EXPECT_EQ(row(3), (QStringList{"COM3", Machine("dev/ttyUSB0"),
                                 "USB-Serial Controller (067b:2303)", "enabled"}));
  EXPECT_EQ(row(4), (QStringList{"COM4", "", "", "disabled"}));
  EXPECT_TRUE(dialog.findChild<QRadioButton *>("ObnCom2")->isChecked());

  // Unplugged while the dialog is open: Refresh takes the adapter's number away.
  ASSERT_TRUE(ListedPortDirectory::Write(Machine("ports.ini"),
                                         {{Machine("dev/ttyS0"), "", "", "", false, 0, 0, ""}}));
  dialog.findChild<QPushButton *>("CmdRefresh")->click();
  EXPECT_EQ(row(2), (QStringList{"COM2", "", "", "disabled"}));
  EXPECT_EQ(row(1), (QStringList{"COM1", Machine("dev/ttyS0"), "", "enabled"})) << "pinned";
  QFile::remove(Machine("ports.ini")); // no port left at all
  dialog.findChild<QPushButton *>("CmdRefresh")->click();
  EXPECT_EQ(row(3), (QStringList{"COM3", "", "", "disabled"}));

  // OK answers the port chosen; until then the dialog counts as cancelled.
  EXPECT_TRUE(dialog.Cancelled());
  dialog.findChild<QRadioButton *>("ObnCom1")->click();
  dialog.findChild<QPushButton *>("CmdOk")->click();
  EXPECT_FALSE(dialog.Cancelled());
  EXPECT_EQ(dialog.SelectedPort(), 1);
}

TEST_F(SerialPorts, KvrCliListsThePortsAndTakesARelativePath) {
  // The programmer answers from this process: its event loop runs while kvr-cli does.
  const auto cli = [&](const QStringList &arguments) {
    QProcess process;
    process.setProcessEnvironment(folder.environment());
    process.setWorkingDirectory(machine.path());
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    process.start(QCoreApplication::applicationDirPath() + "/kvr-cli", arguments);
    loop.exec();
    return std::pair(process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()));
  };
  const auto [listed, ports] = cli({"ports"});
  EXPECT_EQ(listed, 0);
  QStringList lines;
  for (const QString &line : ports.split('\n', Qt::SkipEmptyParts))
    lines.append(line.simplified());
  EXPECT_EQ(lines, (QStringList{
                       "COM1 " + Machine("dev/ttyS0") + " - - pinned",
                       "COM2 " + Machine("dev/ttyUSB1") + " FT232R USB UART 0403:6001 found",
                       "COM3 " + Machine("dev/ttyUSB0") + " USB-Serial Controller 067b:2303 found",
                   }));

  const auto [detected, found] = cli({"--port", "dev/ttyUSB1", "detect"});
  EXPECT_EQ(detected, 0);
  EXPECT_EQ(found, "COM1 " + Machine("dev/ttyUSB1") + "\n");
}

} // namespace
