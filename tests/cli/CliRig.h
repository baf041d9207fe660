#pragma once

#include "ProgramFolder.h"
#include "QtPrinters.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kvr::test {

// kvr-cli's exit statuses, and the PC's ACK that closes an exchange.
constexpr int kSuccess = 0, kDeviceFailure = 1, kUsageError = 2, kLinkFailure = 3,
              kInterrupted = 130;
inline const QByteArray kClosingAck("\x06\x0d", 2);

// kvr-cli and kvr-sim as a user runs them: programs beside the test, with a
// program folder, settings and data folders of the test's own.
class CliRig : public ::testing::Test {
protected:
  struct Result {
    int status = -1;
    QString out;
    QString err;
  };

  void TearDown() override;

  // Starts a kvr-sim with a chip and more options; the path of its terminal,
  // which becomes the port of the runs that follow.
  QString StartSim(const QString &seated, const QStringList &options = {});
  // Ends the last kvr-sim as Ctrl-C would, so that its state file is written.
  void StopSim();
  // The chip's state as kvr-sim saved it: one store, or the lock bits.
  QByteArray SavedStore(const QString &store) const;
  int SavedLockBits() const;

  // Runs kvr-cli to its end, with input on its stdin; inChild runs in the
  // child process before kvr-cli starts (limits, signal dispositions).
  Result Cli(const QStringList &arguments, const QByteArray &input = {},
             const std::function<void()> &inChild = {});
  // Runs kvr-cli while the test's event loop runs (a LineTap needs it);
  // presses Ctrl-C once interruptWhen holds for what it has written on
  // stderr so far. Its input is left open, unless given.
  Result CliLive(const QStringList &arguments,
                 const std::function<bool(const QString &err)> &interruptWhen = {},
                 const std::optional<QByteArray> &input = std::nullopt);

  // kvr-cli's arguments: the command's words, "@name" standing for the test's
  // file name; then, unless the words name them, the port, the chip as the
  // device and a time-out of 2 s.
  QStringList Args(const QString &command) const;
  // Runs Args(command) and expects its exit status and text on stderr ("@name"
  // as in Args). A usage error is found before any port is opened.
  Result Expect(const QString &command, int status, const QString &text,
                const QByteArray &input = {});

  QString File(const QString &name) const { return files.filePath(name); }
  void WriteFile(const QString &name, const QByteArray &contents) const;
  QByteArray ReadFile(const QString &name) const;
  QString State() const { return File(QStringLiteral("chip.json")); }
  // Writes a key of the programs' settings, as the window saves them.
  void Save(const QString &group, const QString &key, const QString &value) const;

  ProgramFolder folder;
  QTemporaryDir files;
  std::vector<std::unique_ptr<QProcess>> sims;
  // Where runs go unless they name a port: the programmer started last, else
  // a port that does not exist; the chip seated there.
  QString port, chip = QStringLiteral("017");

private:
  Result Run(const QStringList &arguments, const std::optional<QByteArray> &input,
             const std::function<bool(const QString &err)> &interruptWhen,
             const std::function<void()> &inChild, bool live);
};

// Bytes with a pattern that has no FFh in it.
QByteArray CodePattern(int count, int seed = 3);

// Whether the PC, since its command letter, has closed acks exchanges with the
// ACK and sent `after` characters more: it waits for the programmer's answer.
bool WaitsForAnswer(const QByteArray &sent, char letter, int acks, int after);

// The end-of-file record of Intel HEX.
inline const QByteArray kHexEnd(":00000001FF\n");

} // namespace kvr::test
