#pragma once

#include "ConsoleUi.h"
#include "ExitStatus.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <chrono>
#include <optional>

namespace kvr::cli {

// What the command line asks for.
struct CliOptions {
  QString command;
  QStringList arguments;
  QString port;      // COMn or a device path; empty: the saved port, else autodetect
  QStringList ports; // every --port given; auto runs on all of them at once
  QString device;    // catalogue identifier; empty: the saved device
  QString dataDir;   // the folder of KVR104.sqlite; empty: as the window finds it
  bool yes = false;
  Verbosity verbosity = Verbosity::Normal;
  std::chrono::milliseconds timeout{40000};
  bool erase5v = false;
  bool erase12v = false;
  int count = 1;       // chips in a row for auto
  bool binary = false; // read FILE with the binary reader, whatever it holds
  QString log;         // auto's production log, a JSON line per chip; empty: none
};

// The command line read, or the status to end with at once: after --help,
// or with the reason on err when the line is refused.
struct ParsedCommandLine {
  CliOptions options;
  std::optional<ExitStatus> endNow;
};
ParsedCommandLine ParseCommandLine(const QStringList &arguments, QTextStream &out,
                                   QTextStream &err);

} // namespace kvr::cli
