#pragma once

#include <QProcess>
#include <QString>

namespace kvr {

// kvr-sim as a child of the window: started on a pseudo-terminal with a chip
// seated, ended when the window closes.
class SimulatorProcess {
public:
  ~SimulatorProcess();

  // Starts the simulator beside this program; the path of its port, or empty.
  QString Start(const QString &chip);
  QString ErrorText() const { return error_; }

private:
  QProcess process_;
  QString error_;
};

} // namespace kvr
