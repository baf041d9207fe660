#include "AppCore.h"
#include "FgdFileView.h"
#include "FrmMainMenu.h"
#include "FrmSplash.h"
#include "QtSerialPort.h"
#include "Session.h"
#include "Settings.h"
#include "SimulatorProcess.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

using namespace kvr;

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  Settings::UseApplicationStore();

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("KVR 1.04 flash MCU programmer"));
  parser.addHelpOption();
  const QCommandLineOption sim(
      QStringLiteral("sim"),
      QStringLiteral("Run on the programmer simulator, seated with CHIP (a catalogue identifier, "
                     "default 017); COM1 is mapped to it for this run."),
      QStringLiteral("CHIP"));
  const QCommandLineOption portMap(
      QStringLiteral("port-map"),
      QStringLiteral("Map a port for this run, e.g. COM3=/dev/ttyUSB0."),
      QStringLiteral("COMn=PATH"));
  const QCommandLineOption noSplash(QStringLiteral("no-splash"),
                                    QStringLiteral("Start without waiting for the splash window."));
  parser.addOptions({sim, portMap, noSplash});
  // "--sim" alone seats the default chip.
  QStringList arguments = app.arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i)
    if (arguments[i] == QLatin1String("--sim") &&
        (i + 1 == arguments.size() || arguments[i + 1].startsWith(QLatin1Char('-'))))
      arguments.insert(i + 1, QStringLiteral("017"));
  parser.process(arguments);

  Session session;
  FrmMainMenu window;
  QtSerialPort port;
  AppCore core(session, window, port);
  window.attach(core.panel());
  window.attachCatalogue(core.catalogue());
  new FgdFileView(window.grid(), core.buffer(), core.editor()); // owned by the grid
  core.chooseDevice = [&] { return window.chooseDevice(session.Mcu.MCUIDNumber); };
  core.closeWindow = [&] { window.close(); };
  window.queryClose = [&] {
    if (!core.QueryClose())
      return false;
    window.SaveGeometry();
    return true;
  };
  QObject::connect(&window, &FrmMainMenu::commandTriggered, &window,
                   [&](const QString &name) { core.Trigger(name); });
  QObject::connect(&window, &FrmMainMenu::stopPressed, &window, [&] { session.requestStop(); });

  for (const QString &mapping : parser.values(portMap))
    if (!core.ports().addOverride(mapping)) {
      static_cast<Ui &>(window).message(
          QStringLiteral("The port mapping \"%1\" is not of the form COMn=PATH.").arg(mapping),
          MessageIcon::Exclamation);
      return 2;
    }

  SimulatorProcess simulator;
  if (parser.isSet(sim)) {
    const QString path = simulator.Start(parser.value(sim));
    if (path.isEmpty()) {
      static_cast<Ui &>(window).message(
          QStringLiteral("The programmer simulator could not be started: ") + simulator.ErrorText(),
          MessageIcon::Exclamation);
      return 1;
    }
    core.ports().setOverride(1, path);
  }

  if (!parser.isSet(noSplash))
    FrmSplash::WaitFor(std::chrono::seconds(10));
  window.show();
  if (!core.Startup())
    return 0;
  return app.exec();
}
