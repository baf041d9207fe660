#pragma once

#include <QString>
#include <QStringList>

namespace kvr::sim {

// The command line of kvr-sim.
struct SimOptions {
  QString chip;
  QString catalogue;
  QString link;
  QString state;
  QStringList faults;
  int lineRate = 0;         // baud; 0: no pacing
  int operationMs = 0;      // per erase or programming step
  int adapterLatencyMs = 0; // a USB-serial adapter's latency timer; 0: none
  bool emptySocket = false;
  bool help = false;
};

// arguments without the program name. False, with the reason, when they do
// not make a run (help alone always does).
bool ParseSimOptions(const QStringList &arguments, SimOptions &options, QString *error);

QString SimHelpText();

} // namespace kvr::sim
