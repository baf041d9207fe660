#include "SimOptions.h"

#include "FaultPlan.h"

#include <QCommandLineParser>

namespace kvr::sim {

namespace {

bool ParseCount(const QCommandLineParser &parser, const QString &name, int &out, QString &why) {
  if (!parser.isSet(name))
    return true;
  bool ok = false;
  out = parser.value(name).toInt(&ok);
  if (!ok || out < 0) {
    why = QStringLiteral("--%1 takes a whole number, not \"%2\"").arg(name, parser.value(name));
    return false;
  }
  return true;
}

} // namespace

bool ParseSimOptions(const QStringList &arguments, SimOptions &options, QString *error) {
  QCommandLineParser parser;
  parser.addOptions({
      {QStringLiteral("chip"), QString(), QStringLiteral("ID")},
      {QStringLiteral("catalogue"), QString(), QStringLiteral("FILE")},
      {QStringLiteral("link"), QString(), QStringLiteral("PATH")},
      {QStringLiteral("state"), QString(), QStringLiteral("FILE")},
      {QStringLiteral("fault"), QString(), QStringLiteral("FAULT")},
      {QStringLiteral("line-rate"), QString(), QStringLiteral("BAUD")},
      {QStringLiteral("op-time"), QString(), QStringLiteral("MS")},
      {QStringLiteral("adapter-latency"), QString(), QStringLiteral("MS")},
      {QStringLiteral("empty-socket"), QString()},
      {{QStringLiteral("h"), QStringLiteral("help")}, QString()},
  });
  QString why;
  const auto fail = [&](const QString &reason) {
    if (error)
      *error = reason;
    return false;
  };
  if (!parser.parse(QStringList{QStringLiteral("kvr-sim")} + arguments))
    return fail(parser.errorText());
  if (!parser.positionalArguments().isEmpty())
    return fail(QStringLiteral("unexpected \"%1\"").arg(parser.positionalArguments().first()));
  options.help = parser.isSet(QStringLiteral("help"));
  if (options.help)
    return true;
  options.chip = parser.value(QStringLiteral("chip"));
  options.catalogue = parser.value(QStringLiteral("catalogue"));
  options.link = parser.value(QStringLiteral("link"));
  options.state = parser.value(QStringLiteral("state"));
  options.faults = parser.values(QStringLiteral("fault"));
  options.emptySocket = parser.isSet(QStringLiteral("empty-socket"));
  if (!ParseCount(parser, QStringLiteral("line-rate"), options.lineRate, why) ||
      !ParseCount(parser, QStringLiteral("op-time"), options.operationMs, why) ||
      !ParseCount(parser, QStringLiteral("adapter-latency"), options.adapterLatencyMs, why))
    return fail(why);
  if (options.emptySocket && !options.state.isEmpty())
    return fail(QStringLiteral("an empty socket has no chip to keep in --state"));
  if (!options.emptySocket && options.chip.isEmpty() && options.state.isEmpty())
    return fail(QStringLiteral("say which chip is seated: --chip ID (or --empty-socket)"));
  FaultPlan check;
  for (const QString &fault : options.faults)
    if (!check.add(fault, &why))
      return fail(why);
  return true;
}

QString SimHelpText() {
  QString faults;
  for (const QString &line : FaultPlan::syntax().split('\n', Qt::SkipEmptyParts))
    faults += QStringLiteral("    ") + line + '\n';
  return QStringLiteral(
             "Usage: kvr-sim --chip ID [--catalogue FILE] [--link PATH] [--state FILE]\n"
             "               [--fault FAULT]... [--line-rate BAUD] [--op-time MS]\n"
             "               [--adapter-latency MS]\n"
             "       kvr-sim --empty-socket [...]\n"
             "\n"
             "Emulates the KVR programmer and its firmware on a pseudo-terminal, with a chip\n"
             "in its socket. Prints the terminal's path on stdout; open it as a serial port.\n"
             "Ctrl+C (or SIGTERM) ends it: the link is removed, the chip state saved.\n"
             "\n"
             "  --chip ID          catalogue identifier of the seated chip (017, 039, 071...)\n"
             "  --catalogue FILE   SQLite catalogue to seat the chip from; default:\n"
             "                     Data/KVR104.sqlite beside the programs, else the\n"
             "                     catalogue script built into kvr-sim\n"
             "  --link PATH        also make PATH a symbolic link to the terminal\n"
             "  --state FILE       load the chip from FILE at start, save it there at the end;\n"
             "                     without --chip, seat the chip FILE holds\n"
             "  --empty-socket     no chip: chip commands answer \"F\" + \"S\"\n"
             "  --line-rate BAUD   carry each character no faster than a line of BAUD with\n"
             "                     10 bits a character (19200 for the real programmer)\n"
             "  --op-time MS       each erase and each programming step takes MS ms\n"
             "  --adapter-latency MS\n"
             "                     replies pass a USB-serial adapter whose latency timer\n"
             "                     fires every MS ms (16 for FTDI, 1 in low-latency mode):\n"
             "                     they reach the PC in bursts of up to 62 characters\n"
             "  --fault FAULT      misbehave on purpose; repeatable:\n") +
         faults +
         QStringLiteral(
             "Examples: --fault nak=SYN@1   --fault fail=V@W1/blk3   --fault drop@R1/data2\n"
             "          --fault unplug@W1/blk10   --fault id=KVR1.03\n"
             "Reply formats and faults in full: sim/README.md\n");
}

} // namespace kvr::sim
