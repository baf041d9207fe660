#include "CtrlC.h"

#include "Session.h"

#include <csignal>
#include <cstdlib>
#ifndef _WIN32
#include <unistd.h>
#endif

namespace kvr::cli {

namespace {
volatile std::sig_atomic_t pressed = 0;
volatile std::sig_atomic_t stoppable = 0;

// Only async-signal-safe work here: a flag, or a line and _Exit.
extern "C" void OnInterrupt(int) {
  if (pressed || !stoppable) {
#ifndef _WIN32
    static const char kLine[] = "\nkvr-cli: interrupted.\n";
    [[maybe_unused]] const auto written = ::write(STDERR_FILENO, kLine, sizeof kLine - 1);
#endif
    std::_Exit(130);
  }
  pressed = 1;
}

// The handler cannot wake an event loop itself; the exchange waits in one,
// and this poll hands the press to it as the Stop button would.
constexpr int kPollMs = 50;
} // namespace

CtrlC::CtrlC(Session &session) : session_(session) {
  pressed = 0;
  stoppable = 1;
  std::signal(SIGINT, OnInterrupt);
  poll_.setInterval(kPollMs);
  connect(&poll_, &QTimer::timeout, this, &CtrlC::Deliver);
  poll_.start();
}

CtrlC::~CtrlC() {
  std::signal(SIGINT, SIG_DFL);
  stoppable = 0;
}

bool CtrlC::Pressed() { return pressed != 0; }

void CtrlC::Deliver() {
  if (!pressed || delivered_)
    return;
  delivered_ = true;
  session_.requestStop();
}

// A press that came after the last exchange ended has nothing left to stop.
CtrlC::WaitingForUser::WaitingForUser() {
  stoppable = 0;
  if (pressed)
    std::_Exit(130);
}
CtrlC::WaitingForUser::~WaitingForUser() { stoppable = 1; }

} // namespace kvr::cli
