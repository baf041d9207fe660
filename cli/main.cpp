#include "CliOptions.h"
#include "Commands.h"
#include "Settings.h"
#include "SeveralPorts.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace kvr;

int main(int argc, char *argv[]) {
  QCoreApplication app(argc, argv);
  Settings::UseApplicationStore();
  QTextStream out(stdout);
  QTextStream err(stderr);
  const cli::ParsedCommandLine parsed = cli::ParseCommandLine(app.arguments(), out, err);
  if (parsed.endNow)
    return static_cast<int>(*parsed.endNow);
  if (parsed.options.ports.size() > 1)
    return static_cast<int>(cli::AutoOnSeveralPorts(parsed.options, out, err));
  return static_cast<int>(cli::RunCommand(parsed.options, out, err));
}
