#pragma once

#include "AppCore.h"
#include "CliOptions.h"
#include "ConsoleUi.h"
#include "CtrlC.h"
#include "ExitStatus.h"
#include "ProductionLog.h"
#include "QtSerialPort.h"
#include "Session.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <optional>

namespace kvr::cli {

// Whether a command needs the seated chip's signature to pass. The erases
// without signature check stay possible after a failed verification, as the
// window then enables their buttons.
enum class SignatureNeed { MustPass, MayFail };

// One run of kvr-cli: the program without its window, driven by the command
// line, with the console as its Ui. Device commands take the steps below in
// order, as the window requires before it enables them.
class CliContext {
public:
  CliContext(const CliOptions &options, QTextStream &out, QTextStream &err);
  // Closes the port: the programmer's last closing ACK goes out first.
  ~CliContext();
  CliContext(const CliContext &) = delete;
  CliContext &operator=(const CliContext &) = delete;

  const CliOptions &options() const { return options_; }
  ConsoleUi &ui() { return ui_; }
  AppCore &core() { return core_; }
  Session &session() { return session_; }
  QTextStream &out() { return out_; }

  // Catalogue, device, programmer and signature. Success, or the status
  // the run ends with. checkDevice looks at the command's arguments once the
  // device is known, before the port is touched.
  ExitStatus ReachDevice(SignatureNeed need = SignatureNeed::MustPass,
                         const std::function<ExitStatus()> &checkDevice = {});
  // The same without the signature, which auto checks for each chip.
  ExitStatus ReachProgrammer(const std::function<ExitStatus()> &checkDevice = {});
  ExitStatus OpenCatalogue();
  // --device, else the window's saved device.
  QString ChosenDevice() const;
  ExitStatus SelectDevice(const QString &id);
  // --port, else the window's saved port, else autodetect over COM1..COM16.
  ExitStatus FindProgrammer();
  // The port FindProgrammer takes, in place of --port.
  void usePort(const QString &port) { options_.port = port; }
  ExitStatus VerifySignature(SignatureNeed need);

  // Runs the first of the controls the window offers for the selected
  // device (enabled and shown, and its menus too), as a click on it.
  ExitStatus RunControl(const QStringList &controls);
  // How an operation ended: interrupted, passed, or failed at the
  // programmer or on the link.
  ExitStatus Outcome(bool failed) const;
  // Every failed run says why on stderr: when no line told of a failure
  // since failureLinesBefore, one line made of the status and the last
  // reply does, even where the window shows nothing.
  void ExplainIfSilent(ExitStatus status, int failureLinesBefore);

  // A read hands its image file to this instead of loading it into the
  // buffer; false tells the read it could not be taken.
  void onReadImage(std::function<bool(const QString &path)> take);

  // Loads a file into the buffer: the HEX reader for a HEX file name (as the
  // window opens a recent file) or Intel HEX contents, unless --binary; else
  // the binary reader.
  ExitStatus LoadImageFile(const QString &path);
  // Saves the buffer's image as a binary file with the window's writer.
  ExitStatus SaveImageFile(const QString &path);

  // The production log of --log, opened before the first chip: success, or
  // UsageError when it cannot be written (the user is told why).
  ExitStatus OpenProductionLog();
  // A chip of auto starts; LogChip writes its line to the production log
  // when it is done. UsageError when the line could not be written.
  void StartChip();
  ExitStatus LogChip(ExitStatus status);

  // A port given as a device path stands as COM1 for this run.
  static constexpr int kPathPort = 1;
  // "the ATMEL AT89S8252", for kvr-cli's own lines.
  QString DeviceName() const;

private:
  CliOptions options_;
  QTextStream &out_;
  Session session_;
  ConsoleUi ui_;
  QtSerialPort port_;
  AppCore core_;
  CtrlC ctrlC_;
  ProductionLog log_;
  std::optional<ChipRun> chip_;
};

// "Failed", "Interrupted" or "Aborted" at the end of the activity panel: the
// operation did not complete.
bool ActivityReportsFailure(const QString &activity);

} // namespace kvr::cli
