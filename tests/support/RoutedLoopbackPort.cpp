#include "RoutedLoopbackPort.h"

namespace kvr::test {

bool RoutedLoopbackPort::FailOpening(OpenFailure why) {
  setOpenFails(true, why);
  const bool ok = LoopbackPort::open();
  setOpenFails(false);
  return ok;
}

bool RoutedLoopbackPort::open() {
  ++openings;
  if (heldOpenings > 0) {
    --heldOpenings;
    return FailOpening(OpenFailure::InUse);
  }
  if (!present.contains(portName()))
    return FailOpening(OpenFailure::NoSuchDevice);
  return LoopbackPort::open();
}

bool RoutedLoopbackPort::write(const QByteArray &bytes) {
  return portName() == programmerPath ? LoopbackPort::write(bytes) : isOpen();
}

} // namespace kvr::test
