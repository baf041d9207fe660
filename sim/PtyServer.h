#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QString>

#include <memory>

namespace kvr::sim {

class Programmer;

// Serves a programmer on the master side of a pseudo-terminal: the PC opens
// the slave path through QSerialPort like any serial port. POSIX only.
class PtyServer : public QObject {
  Q_OBJECT
public:
  explicit PtyServer(Programmer &programmer, QObject *parent = nullptr);
  ~PtyServer() override;

  bool open(QString *error);
  QString slavePath() const { return slavePath_; }

  // A symbolic link to the slave, replacing a stale link but never a file.
  bool makeLink(const QString &path, QString *error);
  // Removes the link if it still points at this server's terminal.
  void removeLink();

  void close();

signals:
  // The fault plan unplugged the line.
  void lineClosed();

private:
  void readMaster();
  void unplugLater();
  void queueForPc(const QByteArray &bytes);
  void writePending();

  Programmer &programmer_;
  int master_ = -1;
  int slaveKeeper_ = -1;
  QString slavePath_;
  QString linkPath_;
  QByteArray pendingOut_;
  bool unplugged_ = false;
  std::unique_ptr<QSocketNotifier> readNotifier_;
  std::unique_ptr<QSocketNotifier> writeNotifier_;
};

} // namespace kvr::sim
