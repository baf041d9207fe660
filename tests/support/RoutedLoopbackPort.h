#pragma once

#include "LoopbackPort.h"

#include <QSet>
#include <QString>

namespace kvr::test {

// Serial lines where some device paths exist and the programmer sits on one
// of them; the others are missing, or open but silent.
class RoutedLoopbackPort : public LoopbackPort {
public:
  using LoopbackPort::LoopbackPort;

  QSet<QString> present;  // paths that exist
  QString programmerPath; // the path whose line reaches the peer
  int openings = 0;
  int heldOpenings = 0; // openings that find the port held by another program

  bool open() override;
  bool write(const QByteArray &bytes) override;

private:
  bool FailOpening(OpenFailure why);
};

} // namespace kvr::test
