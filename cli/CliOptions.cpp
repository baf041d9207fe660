#include "CliOptions.h"

#include "Commands.h"

#include <QCommandLineParser>

#include <algorithm>

namespace kvr::cli {

namespace {

QString CommandsHelp() {
  QStringList calls;
  int width = 0;
  for (const CliCommand &command : Commands()) {
    calls.append(QStringLiteral("%1 %2")
                     .arg(QLatin1String(command.name), QLatin1String(command.synopsis))
                     .trimmed());
    width = std::max(width, static_cast<int>(calls.last().size()));
  }
  QString text = QStringLiteral("Commands:\n");
  for (size_t i = 0; i < Commands().size(); ++i)
    text += QStringLiteral("  %1  %2\n")
                .arg(calls[static_cast<int>(i)], -width)
                .arg(QLatin1String(Commands()[i].summary));
  return text;
}

const char *const kExitHelp =
    "Device commands first check the programmer's presence and the chip's signature.\n"
    "\n"
    "Exit status:\n"
    "  0    success\n"
    "  1    the programmer reported a failure, or verify found differences\n"
    "  2    usage or input error: bad option, bad or damaged file, unknown device,\n"
    "       a question left unanswered (--yes answers it)\n"
    "  3    link failure: no programmer, time-out, command refused, port busy, missing or lost\n"
    "  130  interrupted: Ctrl-C stops the running exchange, which still closes with the\n"
    "       programmer's ACK\n";

ParsedCommandLine Refuse(QTextStream &err, const QString &reason) {
  err << "kvr-cli: " << reason << "\nRun kvr-cli --help for the commands and options.\n";
  err.flush();
  return {CliOptions{}, ExitStatus::UsageError};
}

} // namespace

ParsedCommandLine ParseCommandLine(const QStringList &arguments, QTextStream &out,
                                   QTextStream &err) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("KVR 1.04 device programmer from the command line: the window's device "
                     "operations, one command each."));
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Show this help."));
  const QCommandLineOption port(
      QStringLiteral("port"),
      QStringLiteral("The programmer's port: COM1..COM16 (mapped as in the window) or a device "
                     "path. Default: the saved port, else autodetect over COM1..COM16. auto "
                     "takes several, one chip on each at once."),
      QStringLiteral("COMn|PATH"));
  const QCommandLineOption device(
      QStringLiteral("device"),
      QStringLiteral("Catalogue identifier of the device (MCUIDNumber). Default: the saved "
                     "device."),
      QStringLiteral("ID"));
  const QCommandLineOption dataDir(
      QStringLiteral("data-dir"),
      QStringLiteral("The folder of KVR104.sqlite. Default: Data/ beside the program."),
      QStringLiteral("DIR"));
  const QCommandLineOption yes(
      QStringLiteral("yes"),
      QStringLiteral("Answer Yes to the program's questions. Without it a question ends the run "
                     "with status 2."));
  const QCommandLineOption quiet(QStringLiteral("quiet"),
                                 QStringLiteral("Show warnings and failures only."));
  const QCommandLineOption verbose(QStringLiteral("verbose"),
                                   QStringLiteral("Also show the status texts and the port path."));
  const QCommandLineOption timeout(
      QStringLiteral("timeout"),
      QStringLiteral("Seconds to wait for each reply of the programmer (default 40)."),
      QStringLiteral("S"));
  const QCommandLineOption erase5v(QStringLiteral("5v"),
                                   QStringLiteral("erase: at 5 V, without signature check."));
  const QCommandLineOption erase12v(QStringLiteral("12v"),
                                    QStringLiteral("erase: at 12 V, without signature check."));
  const QCommandLineOption count(QStringLiteral("count"),
                                 QStringLiteral("auto: the number of chips (default 1)."),
                                 QStringLiteral("N"));
  const QCommandLineOption log(
      QStringLiteral("log"),
      QStringLiteral("auto: append a JSON line for every chip to FILE (production log)."),
      QStringLiteral("FILE"));
  const QCommandLineOption binary(
      QStringLiteral("binary"),
      QStringLiteral("Read FILE with the binary reader even when its name or contents are Intel "
                     "HEX."));
  parser.addOptions({help, port, device, dataDir, yes, quiet, verbose, timeout, erase5v, erase12v,
                     count, binary, log});
  parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("One of the commands."),
                               QStringLiteral("COMMAND"));
  parser.addPositionalArgument(QStringLiteral("arguments"),
                               QStringLiteral("The command's arguments."),
                               QStringLiteral("[arguments]"));

  if (!parser.parse(arguments))
    return Refuse(err, parser.errorText());
  if (parser.isSet(help)) {
    out << parser.helpText() << '\n' << CommandsHelp() << '\n' << kExitHelp;
    out.flush();
    return {CliOptions{}, ExitStatus::Success};
  }

  CliOptions options;
  const QStringList positional = parser.positionalArguments();
  if (positional.isEmpty())
    return Refuse(err, QStringLiteral("no command given."));
  options.command = positional.first();
  options.arguments = positional.mid(1);
  const CliCommand *command = FindCliCommand(options.command);
  if (!command)
    return Refuse(err, QStringLiteral("unknown command \"%1\".").arg(options.command));
  const int given = static_cast<int>(options.arguments.size());
  if (given < command->minArguments || given > command->maxArguments)
    return Refuse(err, QStringLiteral("usage: kvr-cli [options] %1 %2")
                           .arg(options.command, QLatin1String(command->synopsis))
                           .trimmed());
  for (const QCommandLineOption *own : {&erase5v, &erase12v, &count, &binary, &log})
    if (parser.isSet(*own) && !command->ownOptions.contains(own->names().first()))
      return Refuse(
          err,
          QStringLiteral("--%1 does not go with %2.").arg(own->names().first(), options.command));

  options.ports = parser.values(port);
  options.port = options.ports.value(0);
  if (options.ports.size() > 1 && options.command != QLatin1String("auto"))
    return Refuse(err, QStringLiteral("several --port go with auto only."));
  options.log = parser.value(log);
  if (parser.isSet(log) && options.log.isEmpty())
    return Refuse(err, QStringLiteral("--log takes a file name."));
  options.device = parser.value(device);
  options.dataDir = parser.value(dataDir);
  options.yes = parser.isSet(yes);
  if (parser.isSet(quiet) && parser.isSet(verbose))
    return Refuse(err, QStringLiteral("--quiet and --verbose exclude each other."));
  if (parser.isSet(quiet))
    options.verbosity = Verbosity::Quiet;
  if (parser.isSet(verbose))
    options.verbosity = Verbosity::Verbose;
  if (parser.isSet(timeout)) {
    bool ok = false;
    const double seconds = parser.value(timeout).toDouble(&ok);
    if (!ok || seconds <= 0 || seconds > 3600)
      return Refuse(err, QStringLiteral("--timeout takes seconds, more than 0 and up to 3600."));
    options.timeout = std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
  }
  options.binary = parser.isSet(binary);
  options.erase5v = parser.isSet(erase5v);
  options.erase12v = parser.isSet(erase12v);
  if (options.erase5v && options.erase12v)
    return Refuse(err, QStringLiteral("--5v and --12v exclude each other."));
  if (parser.isSet(count)) {
    bool ok = false;
    options.count = parser.value(count).toInt(&ok);
    if (!ok || options.count < 1)
      return Refuse(err, QStringLiteral("--count takes a number of chips, 1 or more."));
  }
  return {options, std::nullopt};
}

} // namespace kvr::cli
