// kvr-sim: the programmer and its firmware on a pseudo-terminal.
#include "Programmer.h"
#include "PtyServer.h"
#include "SimOptions.h"
#include "StateFile.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

using namespace kvr::sim;

namespace {

int gSignalPipe[2] = {-1, -1};

void OnTerminationSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(gSignalPipe[1], &byte, 1);
}

// SIGINT and SIGTERM end the event loop, so that the program ends cleanly.
bool QuitOnTerminationSignals(QCoreApplication &app) {
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, gSignalPipe) != 0)
    return false;
  auto *notifier = new QSocketNotifier(gSignalPipe[0], QSocketNotifier::Read, &app);
  QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
    char byte;
    [[maybe_unused]] const ssize_t n = ::read(gSignalPipe[0], &byte, 1);
    app.quit();
  });
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  return ::sigaction(SIGINT, &action, nullptr) == 0 && ::sigaction(SIGTERM, &action, nullptr) == 0;
}

} // namespace

int main(int argc, char *argv[]) {
  QCoreApplication app(argc, argv);
  QTextStream out(stdout);
  QTextStream err(stderr);

  SimOptions options;
  QString error;
  if (!ParseSimOptions(app.arguments().mid(1), options, &error)) {
    err << "kvr-sim: " << error << "\nTry kvr-sim --help.\n";
    return 2;
  }
  if (options.help) {
    out << SimHelpText();
    return 0;
  }

  Programmer programmer;
  for (const QString &fault : options.faults)
    programmer.faults().add(fault);
  programmer.setLineRate(options.lineRate);
  programmer.setOperationTime(std::chrono::milliseconds(options.operationMs));
  programmer.setAdapterLatency(std::chrono::milliseconds(options.adapterLatencyMs));
  if (!options.emptySocket) {
    std::unique_ptr<SimChip> chip = LoadSeatedChip(options, &error);
    if (!chip) {
      err << "kvr-sim: " << error << '\n';
      return 2;
    }
    err << "kvr-sim: " << chip->model().model << " (" << chip->model().id << ", "
        << chip->model().family << ") seated\n";
    err.flush(); // said now, not when kvr-sim ends
    programmer.seat(std::move(chip));
  }

  PtyServer server(programmer);
  if (!server.open(&error) || (!options.link.isEmpty() && !server.makeLink(options.link, &error)) ||
      !QuitOnTerminationSignals(app)) {
    err << "kvr-sim: " << (error.isEmpty() ? QStringLiteral("no signal handling") : error) << '\n';
    return 1;
  }
  QObject::connect(&server, &PtyServer::lineClosed, &app, [&] {
    err << "kvr-sim: the line was closed, as the fault plan asked\n";
    err.flush();
    app.quit();
  });
  out << server.slavePath() << '\n';
  out.flush();

  app.exec();

  server.removeLink();
  server.close();
  if (programmer.chip() && !options.state.isEmpty() &&
      !SaveChipState(*programmer.chip(), options.state, &error)) {
    err << "kvr-sim: " << error << '\n';
    return 1;
  }
  return 0;
}
