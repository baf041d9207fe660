#pragma once

#include "FaultPlan.h"
#include "Firmware.h"
#include "LoopbackPort.h"
#include "PacedChannel.h"
#include "UsbAdapter.h"

#include <QObject>

#include <chrono>
#include <memory>

namespace kvr::sim {

// The programmer hardware: the firmware behind a line in each direction. It
// is the peer of a LoopbackPort as it is; the pseudo-terminal server sets the
// same two callbacks (sendToPc, unplug).
class Programmer : public QObject, public LinkPeer {
  Q_OBJECT
public:
  explicit Programmer(QObject *parent = nullptr);
  ~Programmer() override;

  FaultPlan &faults() { return faults_; }
  Firmware &firmware() { return firmware_; }
  SimChip *chip() { return firmware_.chip(); }
  void seat(std::unique_ptr<SimChip> chip) { firmware_.seat(std::move(chip)); }

  // Both directions of the line; 0 turns pacing off.
  void setLineRate(int baud);
  void setOperationTime(std::chrono::milliseconds time) { firmware_.setOperationTime(time); }
  // Replies pass a USB-serial adapter with this latency timer; 0: a plain line.
  void setAdapterLatency(std::chrono::milliseconds latency) { adapter_.setLatency(latency); }

  void receiveFromPc(const QByteArray &bytes) override { fromPc_.send(bytes); }

  // Nothing on its way in either direction.
  bool idle() const { return fromPc_.idle() && toPc_.idle() && adapter_.idle(); }

private:
  FaultPlan faults_;
  PacedChannel toPc_;
  PacedChannel fromPc_;
  UsbAdapter adapter_;
  Firmware firmware_;
};

} // namespace kvr::sim
