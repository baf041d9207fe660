#include "ProductionLog.h"

#include "ImageBuffer.h"
#include "PortMap.h"
#include "Session.h"
#include "Ui.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace kvr {

QString ProductionLogText::CannotWrite(const QString &path, const QString &reason) {
  return QStringLiteral("The production log %1 cannot be written: %2")
      .arg(QDir::toNativeSeparators(path), reason);
}

QString ProductionLogText::StopQuestion(const QString &path) {
  return QStringLiteral("Every chip of Auto is logged to %1.\r\rStop the production log?")
      .arg(QDir::toNativeSeparators(path));
}

QString ProductionLogText::Started(const QString &path) {
  return QStringLiteral("Every chip of Auto is now logged to %1.")
      .arg(QDir::toNativeSeparators(path));
}

namespace {
QString Hex(quint32 value, int digits) {
  return QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}
} // namespace

QByteArray JsonLine(const ChipRecord &record) {
  QJsonObject line{
      {QStringLiteral("time"), record.time.toUTC().toString(Qt::ISODateWithMs)},
      {QStringLiteral("port"), record.portName},
      {QStringLiteral("path"), record.portPath},
      {QStringLiteral("device"), record.deviceId},
      {QStringLiteral("model"), record.deviceModel},
      {QStringLiteral("file"), record.filePath},
      {QStringLiteral("sum"), Hex(record.checksum.sum, 4)},
      {QStringLiteral("crc32"), Hex(record.checksum.crc32, 8)},
      {QStringLiteral("operation"), record.operation},
      {QStringLiteral("result"),
       record.passed ? QStringLiteral("passed") : QStringLiteral("failed")},
      {QStringLiteral("seconds"), record.seconds},
  };
  if (!record.passed)
    line.insert(QStringLiteral("message"), record.message);
  return QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n';
}

bool ProductionLog::open(const QString &path) {
  file_.close();
  file_.setFileName(path);
  if (QFileInfo(path).isDir() ||
      !file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
    errorText_ = ProductionLogText::CannotWrite(
        path, QFileInfo(path).isDir() ? QStringLiteral("it is a folder.") : file_.errorString());
    file_.close();
    return false;
  }
  return true;
}

bool ProductionLog::append(const ChipRecord &record) {
  const QByteArray line = JsonLine(record);
  // Unbuffered: this is one write to the system, at the file's end.
  if (!file_.isOpen() || file_.write(line) != line.size()) {
    errorText_ = ProductionLogText::CannotWrite(file_.fileName(), file_.errorString());
    return false;
  }
  return true;
}

ChipRun::ChipRun(OperationContext &context)
    : c_(context), started_(std::chrono::steady_clock::now()),
      startedUtc_(QDateTime::currentDateTimeUtc()), warningsBefore_(context.ui.warningCount()) {}

ChipRecord ChipRun::Finish(const QString &operation, bool passed) const {
  const Session &s = c_.session;
  const Ui &ui = c_.ui;
  const auto ended =
      ui.firstWarningAfter(warningsBefore_)
          .value_or(ui.lastMessageAt() > started_ ? ui.lastMessageAt()
                                                  : std::chrono::steady_clock::now());
  const auto taken = std::chrono::duration_cast<std::chrono::milliseconds>(ended - started_);
  ChipRecord record;
  record.time = startedUtc_.addMSecs(taken.count());
  record.seconds = static_cast<double>(taken.count()) / 1000;
  record.portName = QStringLiteral("COM%1").arg(s.PortNumber);
  record.portPath = c_.ports.pathFor(s.PortNumber);
  record.deviceId = s.Mcu.MCUIDNumber;
  record.deviceModel = QStringLiteral("%1 %2").arg(s.Mcu.BrandName, s.Mcu.MCUModel).simplified();
  const QString file = c_.buffer.CurrentFilePath;
  record.filePath = file.isEmpty() ? QString() : QFileInfo(file).absoluteFilePath();
  record.checksum = ChecksumOf(c_.buffer.savedBytes());
  record.operation = operation;
  record.passed = passed;
  if (!passed) {
    // Where no warning was shown, the status bar said what happened.
    const QStringList shown = ui.warningsSince(warningsBefore_);
    record.message =
        (shown.isEmpty() ? ui.panelText(Panel::SbrActivity) : shown.join(QLatin1Char(' ')))
            .simplified();
  }
  return record;
}

} // namespace kvr
