#pragma once

#include "CliOptions.h"
#include "ExitStatus.h"

#include <QStringList>

#include <vector>

namespace kvr::cli {

class CliContext;

// One command of kvr-cli: how it is called, what it does, and the function
// that does it. The table is the one place that lists them.
struct CliCommand {
  const char *name;
  const char *synopsis; // the arguments and the command's own options
  const char *summary;
  int minArguments;
  int maxArguments;
  QStringList ownOptions; // options only this command takes
  ExitStatus (*run)(CliContext &context, const QStringList &arguments);
};

const std::vector<CliCommand> &Commands();
const CliCommand *FindCliCommand(const QString &name);

// Runs the command the options name; a question left unanswered ends it with UsageError.
ExitStatus RunCommand(const CliOptions &options, QTextStream &out, QTextStream &err);

} // namespace kvr::cli
