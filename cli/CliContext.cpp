#include "CliContext.h"

#include "BaseModule.h"
#include "BufferFiles.h"
#include "ControlPanel.h"
#include "DatabaseHandlers.h"
#include "FileFilters.h"
#include "Globals.h"
#include "ImageBuffer.h"
#include "PortMap.h"
#include "Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>
#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace kvr::cli {

namespace {
const QString kStartupSection = QStringLiteral("Startup");

bool StderrIsTerminal() {
#ifdef Q_OS_WIN
  return _isatty(_fileno(stderr));
#else
  return isatty(fileno(stderr));
#endif
}
} // namespace

bool ActivityReportsFailure(const QString &activity) {
  for (const char *ending : {" Failed", " Interrupted", " Aborted"})
    if (activity.endsWith(QLatin1String(ending), Qt::CaseInsensitive))
      return true;
  return false;
}

CliContext::CliContext(const CliOptions &options, QTextStream &out, QTextStream &err)
    : options_(options), out_(out), ui_(err, options.verbosity, options.yes, StderrIsTerminal()),
      core_(session_, ui_, port_), ctrlC_(session_) {
  BaseModule::InitGlobals(session_);
  if (!options_.dataDir.isEmpty()) {
    const QDir folder(options_.dataDir);
    session_.DatabasePath = folder.absoluteFilePath(QStringLiteral("KVR104.sqlite"));
    session_.TempImagePath = folder.absoluteFilePath(QStringLiteral("$KVR104Temp.Bin"));
  }
  core_.ports().refresh();
  core_.link().setReplyTimeout(options_.timeout);
}

CliContext::~CliContext() { core_.portHandling().PortClose(); }

ExitStatus CliContext::ReachDevice(SignatureNeed need,
                                   const std::function<ExitStatus()> &checkDevice) {
  const ExitStatus reached = ReachProgrammer(checkDevice);
  return reached == ExitStatus::Success ? VerifySignature(need) : reached;
}

ExitStatus CliContext::ReachProgrammer(const std::function<ExitStatus()> &checkDevice) {
  ExitStatus status = OpenCatalogue();
  if (status == ExitStatus::Success)
    status = SelectDevice(ChosenDevice());
  if (status == ExitStatus::Success && checkDevice)
    status = checkDevice();
  if (status == ExitStatus::Success)
    status = FindProgrammer();
  return status;
}

ExitStatus CliContext::OpenCatalogue() {
  if (!QFileInfo::exists(session_.DatabasePath)) {
    ui_.note(
        QStringLiteral("Cannot find the MCU DataBase file %1. Name its folder with --data-dir.")
            .arg(QDir::toNativeSeparators(session_.DatabasePath)));
    return ExitStatus::UsageError;
  }
  // A damaged catalogue has been reported by the catalogue itself.
  return core_.catalogue().OpenCatalogue() == DatabaseHandlers::OpenOutcome::Opened
             ? ExitStatus::Success
             : ExitStatus::UsageError;
}

QString CliContext::ChosenDevice() const {
  const QString id = options_.device.trimmed();
  return id.isEmpty() ? Settings::Value(kStartupSection, QStringLiteral("LastMCU")).trimmed() : id;
}

ExitStatus CliContext::SelectDevice(const QString &id) {
  if (id.isEmpty()) {
    ui_.note(QStringLiteral("no device chosen: name one with --device ID (kvr-cli devices lists "
                            "them)."));
    return ExitStatus::UsageError;
  }
  if (!core_.catalogue().SelectMcu(id)) {
    ui_.note(
        QStringLiteral("the catalogue has no device %1 (kvr-cli devices lists them).").arg(id));
    return ExitStatus::UsageError;
  }
  return ExitStatus::Success;
}

ExitStatus CliContext::FindProgrammer() {
  int port = 0;
  const QString named = options_.port.trimmed();
  if (!named.isEmpty()) {
    port = ParsePortName(named);
    static const QRegularExpression portName(QStringLiteral("^COM\\d+$"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (!port && portName.match(named).hasMatch()) {
      ui_.note(QStringLiteral("--port takes COM1 to COM16, or a device path."));
      return ExitStatus::UsageError;
    }
    if (!port) {
      core_.ports().setOverride(kPathPort, named);
      port = kPathPort;
    }
  } else {
    port = ParsePortName(QStringLiteral("COM") +
                         Settings::Value(kStartupSection, QStringLiteral("LastCOMPort")).trimmed());
  }

  const int failureLines = ui_.failureLines();
  if (port) {
    session_.PortNumber = port;
    session_.PortIsOpen = core_.portHandling().PortOpen(false, true);
    if (session_.PortIsOpen)
      core_.portHandling().CheckPresence(true);
  } else {
    core_.Trigger(QStringLiteral("MnuAutodetect"));
  }
  if (CtrlC::Pressed())
    return ExitStatus::Interrupted;
  if (!session_.ProgrammerPresent) {
    ExplainIfSilent(ExitStatus::LinkFailure, failureLines);
    return ExitStatus::LinkFailure;
  }
  ui_.detail(QStringLiteral("COM%1 is %2")
                 .arg(session_.PortNumber)
                 .arg(core_.ports().pathFor(session_.PortNumber)));
  return ExitStatus::Success;
}

ExitStatus CliContext::VerifySignature(SignatureNeed need) {
  const int failureLines = ui_.failureLines();
  core_.Trigger(QStringLiteral("TbnVerifySignature"));
  if (CtrlC::Pressed())
    return ExitStatus::Interrupted;
  if (session_.SignatureVerified)
    return ExitStatus::Success;
  const ExitStatus failure = Outcome(true);
  if (need == SignatureNeed::MayFail && failure == ExitStatus::DeviceFailure)
    return ExitStatus::Success;
  ExplainIfSilent(failure, failureLines);
  return failure;
}

ExitStatus CliContext::RunControl(const QStringList &controls) {
  for (const QString &control : controls) {
    if (!core_.panel().isOffered(control))
      continue;
    // A status left by an earlier step must not be read as this operation's.
    ui_.setActivity(QString());
    const int failureLines = ui_.failureLines();
    core_.Trigger(control);
    const QString activity = ui_.panelText(Panel::SbrActivity);
    ExitStatus status = Outcome(ActivityReportsFailure(activity));
    // Aborted before anything was sent: a changed file that could not be reloaded.
    if (status == ExitStatus::LinkFailure && activity.endsWith(QLatin1String(" Aborted")))
      status = ExitStatus::UsageError;
    ExplainIfSilent(status, failureLines);
    return status;
  }
  ui_.note(QStringLiteral("%1 is not available for %2.").arg(options_.command, DeviceName()));
  return ExitStatus::UsageError;
}

ExitStatus CliContext::Outcome(bool failed) const {
  if (CtrlC::Pressed())
    return ExitStatus::Interrupted;
  if (!failed)
    return ExitStatus::Success;
  // The programmer's verdict ("F" and its reason) stays the last reply: the
  // closing ACK waits for none.
  return session_.LastReply.startsWith('F') ? ExitStatus::DeviceFailure : ExitStatus::LinkFailure;
}

namespace {
// A reply as text: printable characters as they are, the others as hex.
QString ReplyText(const QByteArray &reply) {
  QString text;
  for (const char c : reply)
    text += c >= 0x20 && c < 0x7F
                ? QString(QLatin1Char(c))
                : QStringLiteral("<%1h>").arg(QString::number(static_cast<unsigned char>(c), 16)
                                                  .rightJustified(2, '0')
                                                  .toUpper());
  return text;
}
} // namespace

void CliContext::ExplainIfSilent(ExitStatus status, int failureLinesBefore) {
  if (status == ExitStatus::Success || ui_.failureLines() != failureLinesBefore)
    return;
  const QByteArray &reply = session_.LastReply;
  QString why;
  switch (status) {
  case ExitStatus::Interrupted: why = QStringLiteral("interrupted."); break;
  case ExitStatus::DeviceFailure:
    why = QStringLiteral("the programmer reported a failure (%1).").arg(ReplyText(reply));
    break;
  case ExitStatus::LinkFailure:
    why = reply.isEmpty() ? QStringLiteral("the programmer did not answer.")
          : reply.startsWith(BaseModule::NAK)
              ? QStringLiteral("the programmer refused the command on every attempt (%1).")
                    .arg(ReplyText(reply))
              : QStringLiteral("the programmer's reply was not understood (%1).")
                    .arg(ReplyText(reply));
    break;
  default: why = QStringLiteral("the command could not be carried out."); break;
  }
  const QString activity = ui_.panelText(Panel::SbrActivity);
  ui_.note(activity.isEmpty() ? why : activity + QStringLiteral(": ") + why);
}

void CliContext::onReadImage(std::function<bool(const QString &path)> take) {
  core_.context().files.loadImageFile = std::move(take);
}

ExitStatus CliContext::LoadImageFile(const QString &path) {
  ImageBuffer &buffer = core_.buffer();
  BufferFiles &files = core_.files();
  files.OpenFilterIndex = !options_.binary && IsHexFile(path) ? BufferFiles::kHexFilter : 0;
  buffer.OpenedFilePath.clear();
  // The readers have told the user why a file was refused.
  files.FileOpenPrompt(path, false);
  if (CtrlC::Pressed())
    return ExitStatus::Interrupted;
  return buffer.OpenedFilePath == path ? ExitStatus::Success : ExitStatus::UsageError;
}

ExitStatus CliContext::SaveImageFile(const QString &path) {
  core_.buffer().CurrentFilePath = path;
  return core_.files().FileSave() ? ExitStatus::Success : ExitStatus::UsageError;
}

ExitStatus CliContext::OpenProductionLog() {
  if (options_.log.isEmpty() || log_.open(options_.log))
    return ExitStatus::Success;
  ui_.note(log_.errorText());
  return ExitStatus::UsageError;
}

void CliContext::StartChip() { chip_.emplace(core_.context()); }

ExitStatus CliContext::LogChip(ExitStatus status) {
  if (!log_.isOpen() || !chip_)
    return ExitStatus::Success;
  ChipRecord record = chip_->Finish(QStringLiteral("auto"), status == ExitStatus::Success);
  // A port named by its path has no COM number of its own.
  const QString named = options_.port.trimmed();
  if (!named.isEmpty() && !ParsePortName(named))
    record.portName = named;
  if (log_.append(record))
    return ExitStatus::Success;
  ui_.note(log_.errorText());
  return ExitStatus::UsageError;
}

QString CliContext::DeviceName() const {
  return QStringLiteral("the %1 %2").arg(session_.Mcu.BrandName, session_.Mcu.MCUModel);
}

} // namespace kvr::cli
