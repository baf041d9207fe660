#pragma once

#include "Checksum.h"
#include "OperationContext.h"

#include <QDateTime>
#include <QFile>
#include <QString>

#include <chrono>

namespace kvr {

namespace ProductionLogText {
QString CannotWrite(const QString &path, const QString &reason);
inline const QString DialogTitle = QStringLiteral("Production log");
inline const QString DialogFilter =
    QStringLiteral("Production log (*.jsonl)|*.jsonl|All Files (*.*)|*.*");
QString StopQuestion(const QString &path);
QString Started(const QString &path);
} // namespace ProductionLogText

// One chip as the production log keeps it.
struct ChipRecord {
  QDateTime time; // when the chip was done, UTC
  QString portName;
  QString portPath;
  QString deviceId;
  QString deviceModel;
  QString filePath;
  ImageChecksum checksum;
  QString operation;
  bool passed = false;
  QString message; // what the user was shown when the chip failed
  double seconds = 0;
};

// The record as one line of JSON, with its line feed.
QByteArray JsonLine(const ChipRecord &record);

// A file that gets one JSON line per chip. Lines are only ever appended, each
// in one write to a file opened for appending, so that several programs
// logging to the same file never cut into each other's lines, and each is
// handed to the system as soon as the chip is done.
class ProductionLog {
public:
  // Opens the file for appending, creating it; false, with the reason in
  // errorText(), when it cannot be written.
  bool open(const QString &path);
  void close() { file_.close(); }
  bool isOpen() const { return file_.isOpen(); }
  QString path() const { return file_.fileName(); }
  // False, with the reason in errorText(), when the line did not go whole.
  bool append(const ChipRecord &record);
  QString errorText() const { return errorText_; }

private:
  QFile file_;
  QString errorText_;
};

// One chip from its start: the time it takes, and the warnings the user was
// shown meanwhile, which say why it failed.
class ChipRun {
public:
  explicit ChipRun(OperationContext &context);
  // The record of the chip: port, device, the buffer's file and the
  // checksum of what a save of it writes. The chip was done when its first
  // warning, else its last message, came up: the time a window's box waits
  // for the user is not the chip's.
  ChipRecord Finish(const QString &operation, bool passed) const;

private:
  OperationContext &c_;
  std::chrono::steady_clock::time_point started_;
  QDateTime startedUtc_;
  int warningsBefore_ = 0;
};

} // namespace kvr
