#pragma once

namespace kvr::cli {

// How a kvr-cli run ends, for the calling script.
enum class ExitStatus {
  Success = 0,
  DeviceFailure = 1, // the programmer reported a failure ("F"), or verify found differences
  UsageError = 2,    // bad option or argument, bad or damaged file, unknown device, no answer
  LinkFailure = 3,   // no programmer, time-out, command refused, port busy, missing or lost
  Interrupted = 130, // Ctrl-C
};

} // namespace kvr::cli
