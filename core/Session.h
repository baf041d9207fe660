#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>

#include <array>

namespace kvr {

// The device chosen from the catalogue.
struct SelectedMcu {
  QString MCUIDNumber;
  QString MCUModel;
  QString BrandName;
  QString FamilyCode;
  int MCUCodeROMSize = 0; // bytes
  int MCULockBits = 0;
};

// The state every operation shares: the link, the device selection, the
// buffer and special-command flags. One instance, owned by the program and
// passed by reference.
class Session : public QObject {
  Q_OBJECT
public:
  explicit Session(QObject *parent = nullptr) : QObject(parent) {}

  // Link
  int PortNumber = 2; // n of COMn
  bool PortIsOpen = false;
  bool ProgrammerPresent = false;
  // The programmer on the port answered with another identification: no
  // device command until a presence check passes.
  bool IncorrectModel = false;
  bool SignatureVerified = false;
  bool Autodetected = false; // the last autodetect found the programmer
  QString DatabasePath;
  QString TempImagePath;
  QDateTime LoadedFileDate;
  std::array<QString, 4> LockBitSelection{QStringLiteral("0"), QStringLiteral("0"),
                                          QStringLiteral("0"), QStringLiteral("0")};

  // Last exchange
  QByteArray LastReply;
  bool ReplyEndedWithEtx = false;
  bool ReplyEndedWithEtb = false;

  // Catalogue, buffer, special commands
  bool DatabaseAvailable = false;
  bool BufferModified = false;
  bool SpecialCommandOk = false;
  SelectedMcu Mcu;

  // The Stop button. A waiting exchange wakes on stopRequested().
  bool StopRequested() const { return stopRequested_; }
  void requestStop() {
    stopRequested_ = true;
    emit stopRequestedSignal();
  }
  void clearStop() { stopRequested_ = false; }

signals:
  void stopRequestedSignal();

private:
  bool stopRequested_ = false;
};

} // namespace kvr
