#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QString>

#include <memory>

namespace kvr::test {

// A pseudo-terminal of its own between the PC and kvr-sim's terminal: every
// character passes both ways unchanged, and what the PC sent is kept.
class LineTap : public QObject {
  Q_OBJECT
public:
  explicit LineTap(const QString &programmerPath);
  ~LineTap() override;

  // The path the PC opens in place of the programmer's.
  QString pcPath() const { return pcPath_; }
  const QByteArray &fromPc() const { return fromPc_; }

private:
  void Forward(int from, int to, bool fromPc);

  int pcSide_ = -1;
  int pcKeeper_ = -1;
  int programmerSide_ = -1;
  QString pcPath_;
  QByteArray fromPc_;
  std::unique_ptr<QSocketNotifier> pcNotifier_;
  std::unique_ptr<QSocketNotifier> programmerNotifier_;
};

} // namespace kvr::test
