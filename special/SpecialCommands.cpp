#include "SpecialCommands.h"

#include "BaseModule.h"
#include "CommandSet.h"
#include "ControlPanel.h"
#include "FamilyCodes.h"
#include "Frame.h"
#include "Hex.h"
#include "ImageBuffer.h"
#include "Link.h"
#include "OperationSupport.h"
#include "SerialPort.h"
#include "Session.h"
#include "SpecialByteForm.h"
#include "SpecialSet.h"
#include "Ui.h"
#include "WriteRead.h"

#include <QTemporaryFile>

namespace kvr {

using namespace BaseModule;

namespace {

const QString kCr = QStringLiteral("\r");
const QString kErasingBlock =
    QStringLiteral("Wait . . .  Erasing Block and Blank Checking the MCU.");
constexpr int kSpecialBytesInBlock = 16;

// "ENQ P nn <mode> <length>", the frame every special command starts with.
QByteArray SpecialPayload(const QString &number, char mode, int length) {
  return CommandPayload(CmdSpecial, number.trimmed().toLatin1() + mode + D5(length));
}

// The data block of the Rx2XX is announced as 4095 bytes, as its menu entry reads.
int BytesShownAfterRead(const SelectedMcu &mcu, int bytesRead) {
  return mcu.FamilyCode == PHILIPSRx2XX ? 4095 : bytesRead;
}

} // namespace

QString SpecialText::SizeQuestion(const QString &file, int fileEnd, int areaSize) {
  const QString size = QString::number(areaSize);
  return QStringLiteral("The size of the file ") + file +
         QStringLiteral(" is more than the size of the Special Memory.") + kCr + kCr +
         QStringLiteral("Size of File : ") + QString::number(fileEnd - 1) +
         QStringLiteral(" Bytes") + kCr + QStringLiteral("Size of Special Memory  : ") + size +
         QStringLiteral(" Bytes") + kCr + kCr + QStringLiteral("Only the initial ") + size +
         QStringLiteral(" Bytes will be Written into the MCU. Continue?");
}

QString SpecialText::AreaWritten(const QString &brand, const QString &model, int bytes) {
  return QStringLiteral("Data written successfully to ") + brand + QStringLiteral(" - ") + model +
         kCr + kCr + OperationText::BytesWritten(bytes);
}

QString SpecialText::BytesWritten(const QString &brand, const QString &model, int bytes) {
  return QStringLiteral("Data written successfully to ") + brand + QStringLiteral("  ") + model +
         kCr + kCr + OperationText::BytesWritten(bytes);
}

QByteArray EncodeSpecialBytes(const QString &hexText) {
  QByteArray block;
  block.reserve(2 * kSpecialBytesInBlock);
  for (int i = 0; i < kSpecialBytesInBlock; ++i) {
    const QString pair = hexText.mid(2 * i, 2);
    const unsigned value = IsHexByte(pair) ? pair.toUInt(nullptr, 16) : 0xFF;
    block.append(EncodeByte(static_cast<unsigned char>(value)));
  }
  return block;
}

void SpecialCommands::SpecialCommand(const QString &number, char mode) {
  const SpecialNumber &row = FindSpecialNumber(number);
  if (mode == SpecialModeSet && row.onSet != OnSet::ReadThenDialog) {
    // Block selection and erase: busy, the set command, idle.
    set_.SpecialCommand(number);
    return;
  }

  c_.panel.SetMenuOptions(true);
  bool showDialog = false;
  {
    BusyPointer busy(c_.ui);
    c_.ui.setActivity(SpecialText::Running);
    if (mode == SpecialModeSet) {
      ReadSpecial(number, false);
      showDialog = c_.session.SpecialCommandOk;
    } else if (mode == CmdWrite) {
      WriteSpecial(number, true);
    } else if (mode == CmdRead) {
      switch (row.onRead) {
      case OnRead::IntoBuffer: ReadSpecial(number, true); break;
      case OnRead::ReadThenDialog:
        ReadSpecial(number, false);
        showDialog = c_.session.SpecialCommandOk;
        break;
      case OnRead::DialogOnly: showDialog = true; break;
      case OnRead::Nothing: break;
      }
    }
  }
  if (showDialog)
    ShowSpecialByteDialog(number);
  c_.session.clearStop();
  c_.panel.SetMenuOptions(false);
}

void SpecialCommands::ShowSpecialByteDialog(const QString &number) {
  SpecialByteForm form(c_.session.Mcu, slots_);
  form.LStrCommandNumber(number);
  form.Load();
  std::optional<SpecialByteForm::Send> send;
  const auto takeOk = [&] {
    send = form.Ok();
    // Refused: said over the dialog, which keeps the text as typed.
    if (!send)
      c_.ui.message(SpecialByteText::InvalidHex, MessageIcon::Exclamation);
    return send.has_value();
  };
  if (!c_.ui.specialByteDialog(form, takeOk) || !send)
    return;
  if (send->kind == SpecialByteForm::Send::Kind::SetCommand)
    set_.SetSpecial(send->number, true);
  else if (send->kind == SpecialByteForm::Send::Kind::WriteBytes)
    write_spcl_1(send->number, send->hexText, true);
}

void SpecialCommands::ReadSpecial(const QString &number, bool toBuffer) {
  Session &s = c_.session;
  OperationEnd end(c_);
  c_.panel.SetMenuOptions(true);
  BusyPointer busy(c_.ui);
  c_.ui.setActivity(OperationText::Read);
  c_.port.clearReceiveBuffer();
  s.SpecialCommandOk = false;
  const int length = SpecialReadLength(number, s.Mcu);
  // Whatever reaches the buffer replaces it: the user is asked first.
  if (toBuffer && !writeRead_.ConfirmBufferReplacement()) {
    end.FinishWith(QString());
    return;
  }
  c_.ui.setProgressRange(0, qMax(kBlockSize, length));
  c_.ui.setProgressValue(0);

  bool complete = false;
  if (!c_.link.CommandHandshake(SpecialPayload(number, CmdRead, length))) {
    c_.link.SendClosingAck();
  } else if (const std::unique_ptr<QTemporaryFile> image = writeRead_.OpenTemporaryImage();
             !image) {
    c_.link.SendClosingAck();
  } else {
    const BlockReadOutcome read = writeRead_.ReadBlocks(*image, end);
    complete = read.complete && !s.StopRequested();
    // Bytes half read are neither shown nor written back.
    s.SpecialCommandOk = read.statusPassed && complete;
    if (complete) {
      c_.ui.setPanelText(Panel::SbrActivity, SpecialText::Successful);
      if (toBuffer) {
        c_.ui.message(ReadText::EndOfRead(BytesShownAfterRead(s.Mcu, read.bytesRead)),
                      MessageIcon::Information);
        complete = writeRead_.LoadReadImage(*image);
        if (complete)
          s.BufferModified = c_.buffer.rowCount() > 0;
      } else {
        image->seek(0);
        FillSlots(slots_, number, image->read(3));
      }
    }
  }
  c_.ui.setProgressRange(0, 0);
  c_.ui.setProgressValue(0);
  if (s.StopRequested())
    end.FinishWith(OperationText::Read + OperationText::InterruptedSuffix);
  else
    end.FinishWith(complete ? QString() : OperationText::Read + OperationText::FailedSuffix);
}

bool SpecialCommands::AskAboutAreaSize(int length) {
  const ImageBuffer &buffer = c_.buffer;
  if (c_.ui.ask(SpecialText::SizeQuestion(buffer.CurrentFilePath, buffer.FileEnd, length),
                Buttons::YesNo, MessageIcon::Exclamation) == Answer::Yes)
    return true;
  c_.ui.message(SpecialText::WriteAborted, MessageIcon::Exclamation);
  return false;
}

bool SpecialCommands::WriteSpecial(const QString &number, bool showMessages) {
  Session &s = c_.session;
  ImageBuffer &buffer = c_.buffer;
  const QString &family = s.Mcu.FamilyCode;
  if ((family == PHILIPS5xX2 || family == PHILIPS6xX2 || family == PHILIPSRx2XX) &&
      c_.ui.ask(SpecialText::UnlockBeforeWriting, Buttons::OkCancel, MessageIcon::Information) !=
          Answer::Ok)
    return false;
  if (buffer.rowCount() == 0) {
    c_.ui.message(SpecialText::OpenAFile, MessageIcon::Exclamation);
    return false;
  }
  const int length = SpecialWriteLength(number, s.Mcu);
  if (buffer.rowCount() < length / ImageBuffer::kBytesPerRow) {
    buffer.ResetGrid_Special();
    if (c_.files.resizeGrid)
      c_.files.resizeGrid(length);
  }
  if (length < buffer.FileEnd - 1 && !AskAboutAreaSize(length))
    return false;

  OperationEnd end(c_);
  c_.panel.SetMenuOptions(true);
  c_.port.clearReceiveBuffer();
  const BlockWriteOutcome outcome = writeRead_.WriteBlocks(
      {SpecialPayload(number, CmdWrite, length), length, kErasingBlock, 3}, end);
  bool success = false;
  if (!s.StopRequested()) {
    if (outcome.accepted && outcome.complete) {
      success = true;
      writeRead_.SwitchToSixClockWhenTicked();
      if (showMessages) {
        c_.ui.setPanelText(Panel::SbrActivity, SpecialText::Successful);
        c_.ui.message(SpecialText::AreaWritten(s.Mcu.BrandName, s.Mcu.MCUModel, outcome.written),
                      MessageIcon::Information);
      }
    } else {
      c_.ui.message(WriteText::Failed, MessageIcon::Exclamation);
    }
  }
  c_.port.clearReceiveBuffer();
  c_.ui.setProgressRange(0, 0);
  c_.ui.setProgressValue(0);
  end.Finish(OperationText::Write, !success);
  return success;
}

bool SpecialCommands::SendSpecialBytes(const QByteArray &block, OperationEnd &end) {
  Session &s = c_.session;
  if (!c_.link.CommandHandshake(block, 2, false) ||
      !c_.link.SendAndReceive(QByteArray(), false, false, 3, true, false))
    return false;
  if (!s.LastReply.startsWith('F'))
    return true;
  c_.ui.setActivity(OperationText::Write + OperationText::FailedSuffix);
  end.ReportFailure(s.LastReply, WriteText::BlockFailures());
  return false;
}

bool SpecialCommands::write_spcl_1(const QString &number, const QString &hexText,
                                   bool showMessages) {
  Session &s = c_.session;
  OperationEnd end(c_);
  c_.panel.SetMenuOptions(true);
  c_.ui.setActivity(OperationText::Write);
  c_.ui.setProgressRange(0, kBlockSize);
  const int length = SpecialByteWriteLength(number);

  bool written = false;
  if (c_.link.CommandHandshake(SpecialPayload(number, CmdWrite, length)) && !s.StopRequested())
    written = SendSpecialBytes(EncodeSpecialBytes(hexText), end);
  c_.link.SendClosingAck();

  if (!s.StopRequested()) {
    if (!written) {
      c_.ui.message(WriteText::Failed, MessageIcon::Exclamation);
    } else if (showMessages) {
      c_.ui.setPanelText(Panel::SbrActivity, SpecialText::Successful);
      c_.ui.message(SpecialText::BytesWritten(s.Mcu.BrandName, s.Mcu.MCUModel, length),
                    MessageIcon::Information);
    }
  }
  c_.port.clearReceiveBuffer();
  c_.ui.setProgressRange(0, 0);
  c_.ui.setProgressValue(0);
  end.Finish(OperationText::Write, !written);
  return written;
}

} // namespace kvr
