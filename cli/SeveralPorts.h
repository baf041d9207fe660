#pragma once

#include "CliOptions.h"
#include "ExitStatus.h"

#include <QTextStream>

namespace kvr::cli {

// auto on every --port at once: one kvr-cli of its own per port, each running
// the single-port auto, so that each port's exchange waits in an event loop
// of its own. Each port programs one chip a round; Enter starts the next
// round on every port still going. Each chip's line comes out tagged with its
// port as the chip is done; a port whose link fails ends alone; Ctrl-C stops
// every port, each with its closing ACK, before the run ends.
ExitStatus AutoOnSeveralPorts(const CliOptions &options, QTextStream &out, QTextStream &err);

} // namespace kvr::cli
