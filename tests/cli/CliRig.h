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
#include <optional>

namespace kvr::test {

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

  // Starts kvr-sim with a chip and more options; the path of its terminal.
  QString StartSim(const QString &chip, const QStringList &options = {});
  // Ends kvr-sim as Ctrl-C would, so that its state file is written.
  void StopSim();
  // The chip's state as kvr-sim saved it: one store, or the lock bits.
  QByteArray SavedStore(const QString &store) const;
  int SavedLockBits() const;
  // A state file that seats chip with these code bytes.
  void SeedCode(const QString &chip, const QByteArray &code) const;

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
  Result CliInterruptedWhen(const QStringList &arguments, const std::function<bool()> &ready) {
    return CliLive(arguments, [&](const QString &) { return ready(); });
  }

  QString File(const QString &name) const { return files.filePath(name); }
  void WriteFile(const QString &name, const QByteArray &contents) const;
  QByteArray ReadFile(const QString &name) const;
  QString State() const { return File(QStringLiteral("chip.json")); }
  // Writes a key of the programs' settings, as the window saves them.
  void Save(const QString &group, const QString &key, const QString &value) const;

  ProgramFolder folder;
  QTemporaryDir files;
  QProcess sim;

private:
  Result RunInLoop(const QStringList &arguments, const QByteArray &input,
                   const std::function<bool()> &ready);
};

// Bytes with a pattern that has no FFh in it.
QByteArray CodePattern(int count, int seed = 3);

// An Intel HEX data record, with its checksum, and the end-of-file record.
QByteArray HexRecord(int address, const QByteArray &data);
inline const QByteArray kHexEnd(":00000001FF\n");

} // namespace kvr::test
