#include "WriteRead.h"

#include "BaseModule.h"
#include "BufferFiles.h"
#include "CommandSet.h"
#include "ControlPanel.h"
#include "DeviceTraits.h"
#include "FamilyCodes.h"
#include "FileDate.h"
#include "FileFilters.h"
#include "Frame.h"
#include "Globals.h"
#include "ImageBuffer.h"
#include "Link.h"
#include "OperationSupport.h"
#include "SerialPort.h"
#include "Session.h"
#include "SetCommands.h"
#include "Ui.h"

#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QTimer>

namespace kvr {

using namespace BaseModule;

namespace {
const QString kCr = QStringLiteral("\r");

QString Kb(double bytes) { return QString::number(bytes / 1024.0, 'f', 2); }

} // namespace

QString WriteText::SizeWarning(const QString &file, int fileEnd, int deviceSize) {
  return QStringLiteral("The size of the file ") + file +
         QStringLiteral(" is more than the size of the selected MCU's memory.") + kCr + kCr +
         QStringLiteral("Size of File : ") + Kb(fileEnd - 1) + QStringLiteral(" Kb") + kCr +
         QStringLiteral("Size of MCU  : ") + Kb(deviceSize) + QStringLiteral(" Kb") + kCr + kCr +
         QStringLiteral("Only the initial ") + Kb(deviceSize) +
         QStringLiteral(" Kb will be Written into the MCU. Continue?");
}

FailureTexts WriteText::BlockFailures() {
  return {BlockSignatureFailed, BlockEraseFailed, BlockVerifyFailed};
}

QString WriteText::Written(const QString &brand, const QString &model, int bytes) {
  return QStringLiteral("File written successfully to ") + brand + QStringLiteral("  ") + model +
         kCr + kCr + OperationText::BytesWritten(bytes);
}

QString ReadText::Unexpected() {
  return QStringLiteral("Read failed due to unexpected command received by ") + kAppTitle +
         QStringLiteral(".");
}

QString ReadText::EndOfRead(int bytes) {
  return QStringLiteral("End of Read.") + kCr + kCr + QStringLiteral("Total ") +
         QStringLiteral(" ") + QString::number(bytes) + QStringLiteral(" bytes read.");
}

QString ReadText::ClearQuestion() {
  return QStringLiteral("Read will clear the current contents of the screen.\r\n\r\n"
                        "Do you wish to continue?");
}

bool ImageExceedsDevice(const ImageBuffer &buffer, int deviceSize) {
  return buffer.FileEnd - 2 > deviceSize;
}

int WriteLength(int fileEnd, int gridRows, const QString &currentFile, int deviceSize) {
  int length = fileEnd - 1 < deviceSize ? fileEnd - 1 : deviceSize;
  length = (qMax(0, length) + kBlockSize - 1) / kBlockSize * kBlockSize;
  if (currentFile.isEmpty() || IsHexFileName(currentFile))
    length = gridRows * ImageBuffer::kBytesPerRow;
  return qMin(length, deviceSize);
}

QByteArray EncodeBlock(const ImageBuffer &buffer, int address) {
  QByteArray block;
  block.reserve(2 * kBlockSize + 1);
  for (int i = 0; i < kBlockSize; ++i) {
    const int at = address + i;
    block.append(EncodeByte(buffer.hasValue(at) ? buffer.byte(at) : 0xFF));
  }
  return block;
}

QByteArray DecodeBlock(const QByteArray &characters) {
  QByteArray bytes;
  bytes.reserve(characters.size() / 2);
  for (qsizetype i = 0; i + 1 < characters.size(); i += 2)
    bytes.append(static_cast<char>(((characters[i] ^ 0x20) << 4) + (characters[i + 1] ^ 0x20)));
  return bytes;
}

bool WriteRead::SendBlock(const QByteArray &payload) {
  // Blocks carry no elapsed time: the status shows the bytes written.
  return c_.link.CommandHandshake(payload, 2, false);
}

void WriteRead::SwitchToSixClockWhenTicked() {
  if (!c_.panel.sixClockTicked())
    return;
  // The chip takes the mode switch from the next whole second on.
  const QDateTime now = QDateTime::currentDateTime();
  const int toNextSecond = 1000 - now.time().msec();
  QEventLoop wait;
  QTimer::singleShot(toNextSecond, &wait, &QEventLoop::quit);
  wait.exec();
  if (Traits(c_.session.Mcu).sixClockAfterWrite)
    special_.SetSpecial(QStringLiteral("15"), false);
}

BlockWriteOutcome WriteRead::WriteBlocks(const BlockWritePlan &plan, OperationEnd &end) {
  Session &s = c_.session;
  BlockWriteOutcome outcome;
  {
    BusyPointer busy(c_.ui);
    outcome.accepted = c_.link.CommandHandshake(plan.command);
  }
  if (!outcome.accepted || s.StopRequested()) {
    // Refused or stopped before the first block: the programmer still gets
    // its acknowledgement.
    c_.link.SendClosingAck();
    return outcome;
  }

  BusyPointer busy(c_.ui);
  c_.ui.setProgressRange(0, plan.length);
  c_.ui.setProgressValue(0);
  c_.ui.showFloatingMessage(plan.waitText);
  int &address = outcome.written;
  bool lastAccepted = true;
  while (address < plan.length && lastAccepted && !s.StopRequested()) {
    QByteArray payload = EncodeBlock(c_.buffer, address);
    address += kBlockSize;
    if (address < plan.length)
      payload.append(ETB);
    c_.ui.setProgressValue(address);
    const QString written = QStringLiteral("Writing - %1 Bytes").arg(address);
    if (address > kBlockSize) {
      c_.ui.hideFloatingMessage();
      c_.ui.setActivity(written);
    }
    lastAccepted = SendBlock(payload);
    if (lastAccepted) {
      if (!c_.link.SendAndReceive(QByteArray(), false, false, plan.blockResultLength, true,
                                  false)) {
        lastAccepted = false;
      } else if (s.LastReply.startsWith('F')) {
        lastAccepted = false;
        c_.ui.setActivity(OperationText::Write + OperationText::FailedSuffix);
        end.ReportFailure(s.LastReply, WriteText::BlockFailures());
      } else {
        c_.ui.setActivity(written);
      }
    }
    c_.link.SendClosingAck();
  }
  if (address == plan.length && lastAccepted)
    c_.link.SendClosingAck();
  c_.ui.hideFloatingMessage();
  outcome.complete = lastAccepted && address >= plan.length;
  return outcome;
}

bool WriteRead::WriteMCU(bool showMessages) {
  Session &s = c_.session;
  ImageBuffer &buffer = c_.buffer;
  // The new file the user asked for, or nothing: never the old image in its place.
  const bool reloadFailed =
      !buffer.OpenedFilePath.isEmpty() && FileChangedOnDisk(s, buffer.OpenedFilePath) &&
      c_.ui.ask(WriteText::FileChanged, Buttons::YesNo, MessageIcon::Question) == Answer::Yes &&
      c_.files.reloadChangedFile && !c_.files.reloadChangedFile(buffer.OpenedFilePath);

  OperationEnd end(c_);
  if (reloadFailed) {
    end.FinishWith(QStringLiteral("Write Aborted"));
    return false;
  }
  c_.panel.SetMenuOptions(true);
  c_.port.clearReceiveBuffer();
  c_.ui.setActivity(OperationText::Write);

  const int deviceSize = s.Mcu.MCUCodeROMSize;
  const int length =
      WriteLength(buffer.FileEnd, buffer.rowCount(), buffer.CurrentFilePath, deviceSize);
  if (ImageExceedsDevice(buffer, deviceSize) &&
      c_.ui.ask(WriteText::SizeWarning(buffer.CurrentFilePath, buffer.FileEnd, deviceSize),
                Buttons::YesNo, MessageIcon::Exclamation) != Answer::Yes) {
    c_.port.clearReceiveBuffer();
    end.FinishWith(QStringLiteral("Write Aborted"));
    return false;
  }

  const bool sst = s.Mcu.FamilyCode == SSTCXX || s.Mcu.FamilyCode == SSTFXX;
  const BlockWriteOutcome outcome =
      WriteBlocks({CommandPayload(CmdWrite, D5(length)), length,
                   sst ? WriteText::ErasingSst : WriteText::Erasing, 16},
                  end);

  bool success = false;
  if (!s.StopRequested()) {
    if (outcome.accepted && outcome.complete) {
      success = true;
      SwitchToSixClockWhenTicked();
      if (showMessages)
        c_.ui.message(WriteText::Written(s.Mcu.BrandName, s.Mcu.MCUModel, outcome.written),
                      MessageIcon::Information);
    } else {
      c_.ui.message(WriteText::Failed, MessageIcon::Exclamation);
    }
  }
  c_.port.clearReceiveBuffer();
  c_.ui.setProgressValue(0);
  end.Finish(OperationText::Write, !success);
  return success;
}

bool WriteRead::SelectShownBlock(bool warnBeforeBlock1) {
  SelectedMcu &mcu = c_.session.Mcu;
  if (c_.panel.currentBlock() == 0) {
    special_.SelectBlock(0);
    mcu.MCUCodeROMSize = SixtyFourKB;
    return true;
  }
  if (warnBeforeBlock1 && !WarningAccepted(c_, WarningWindow::Auto))
    return false;
  special_.SelectBlock(1);
  mcu.MCUCodeROMSize = EightKB;
  return true;
}

void WriteRead::MnuWrite_Click() {
  c_.port.clearReceiveBuffer();
  const bool twoBlocks = Traits(c_.session.Mcu).twoFlashBlocks && c_.panel.blockListShown();
  if (twoBlocks && !SelectShownBlock(true))
    return;
  if (!twoBlocks || c_.session.SpecialCommandOk)
    WriteMCU(true);
  else
    c_.ui.message(OperationText::BlockSignatureFailed, MessageIcon::Exclamation);
}

BlockReadOutcome WriteRead::ReadBlocks(QIODevice &image, OperationEnd &end) {
  Session &s = c_.session;
  BlockReadOutcome outcome;
  bool good = true;
  while (!outcome.complete && good && !s.StopRequested()) {
    bool blockGood = false;
    if (!c_.link.SendAndReceive(QByteArray(), false, false, 6, true, false) || s.StopRequested()) {
      good = false;
    } else if (s.LastReply.startsWith('P')) {
      blockGood = true;
      outcome.statusPassed = true;
    } else if (s.LastReply.startsWith('F')) {
      good = false;
      end.ReportFailure(s.LastReply, {ReadText::SignatureFailed, {}, ReadText::VerifyFailed});
    } else {
      good = false;
      outcome.statusPassed = false;
      c_.ui.message(ReadText::Unexpected(), MessageIcon::Exclamation);
    }
    c_.port.clearReceiveBuffer();

    if (blockGood && !s.StopRequested()) {
      if (c_.link.SendAndReceive(QByteArray(1, ACK), true, false, 68, true, false) &&
          !s.StopRequested()) {
        if (image.write(DecodeBlock(s.LastReply.left(2 * kBlockSize))) != kBlockSize) {
          good = false;
          ReportImageNotSaved(image);
        } else {
          outcome.complete = s.ReplyEndedWithEtx;
          outcome.bytesRead += kBlockSize;
          c_.ui.setProgressValue(outcome.bytesRead);
          c_.ui.setPanelText(Panel::SbrActivity,
                             c_.ui.activityTag() +
                                 QStringLiteral(" (%1 Bytes)").arg(outcome.bytesRead));
        }
      } else {
        good = false;
      }
    }
    c_.link.SendClosingAck();
  }
  outcome.complete = outcome.complete && good;
  return outcome;
}

void WriteRead::ReportImageNotSaved(const QIODevice &image) {
  const auto *file = qobject_cast<const QTemporaryFile *>(&image);
  c_.ui.message(
      BufferText::CouldNotSave(file ? file->fileTemplate() : QString(), image.errorString()),
      MessageIcon::Exclamation);
}

std::unique_ptr<QTemporaryFile> WriteRead::OpenTemporaryImage() {
  auto image = std::make_unique<QTemporaryFile>(TemporaryImageTemplate(c_.session));
  // Unbuffered: a full disk fails the block's own write, before anything is claimed.
  if (static_cast<QFile &>(*image).open(QIODevice::ReadWrite | QIODevice::Unbuffered))
    return image;
  ReportImageNotSaved(*image);
  return nullptr;
}

bool WriteRead::LoadReadImage(QTemporaryFile &image) {
  image.flush();
  const bool loaded = c_.files.loadImageFile && c_.files.loadImageFile(image.fileName());
  c_.buffer.CurrentFilePath.clear();
  c_.ui.setPanelText(Panel::SbrFile, BufferText::FilePanelPrefix);
  c_.ui.setPanelText(Panel::SbrActivity, c_.ui.activityTag());
  return loaded;
}

bool WriteRead::ReadMCU() {
  Session &s = c_.session;
  OperationEnd end(c_);
  c_.panel.SetMenuOptions(true);
  BusyPointer busy(c_.ui);
  c_.port.clearReceiveBuffer();
  const int size = s.Mcu.MCUCodeROMSize;
  c_.ui.setProgressRange(0, size);
  c_.ui.setProgressValue(0);
  c_.ui.setActivity(OperationText::Read);

  bool complete = false;
  if (!c_.link.CommandHandshake(CommandPayload(CmdRead, D5(size)))) {
    c_.link.SendClosingAck();
  } else if (const std::unique_ptr<QTemporaryFile> image = OpenTemporaryImage(); !image) {
    c_.link.SendClosingAck();
  } else {
    const BlockReadOutcome read = ReadBlocks(*image, end);
    if (read.complete && !s.StopRequested()) {
      c_.ui.message(ReadText::EndOfRead(read.bytesRead), MessageIcon::Information);
      complete = LoadReadImage(*image);
    }
  }
  c_.ui.setProgressValue(0);
  end.Finish(OperationText::Read, !complete);
  return complete;
}

bool WriteRead::ConfirmBufferReplacement() {
  Answer answer = Answer::Yes;
  if (c_.session.BufferModified) {
    answer = c_.ui.ask(BufferText::SaveQuestion, Buttons::YesNo, MessageIcon::Exclamation);
    if (answer == Answer::Yes && c_.files.save)
      c_.files.save();
  }
  if (c_.buffer.rowCount() > 0)
    answer = c_.ui.ask(ReadText::ClearQuestion(), Buttons::YesNo, MessageIcon::Exclamation);
  return answer == Answer::Yes;
}

void WriteRead::MnuRead_Click() {
  Session &s = c_.session;
  if (!ConfirmBufferReplacement())
    return;

  // The buffer is replaced only by a complete read: a failed one leaves it as it was.
  const bool twoBlocks = c_.panel.blockListShown();
  if (twoBlocks)
    SelectShownBlock(false);
  c_.port.clearReceiveBuffer();
  if (twoBlocks && !s.SpecialCommandOk) {
    c_.ui.message(OperationText::BlockSignatureFailed, MessageIcon::Exclamation);
    return;
  }
  // The image came from the chip, not from a file: it is unsaved.
  if (ReadMCU())
    s.BufferModified = c_.buffer.rowCount() > 0;
}

} // namespace kvr
