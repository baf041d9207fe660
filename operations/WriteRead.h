#pragma once

#include "OperationContext.h"
#include "OperationSupport.h"

#include <QByteArray>
#include <QString>

#include <memory>

class QIODevice;
class QTemporaryFile;

namespace kvr {

class OperationEnd;
class SetCommands;

namespace WriteText {
inline const QString FileChanged = QStringLiteral(
    "File has been changed by the other source. Do you want to open new file and write.");
QString SizeWarning(const QString &file, int fileEnd, int deviceSize);
inline const QString ErasingSst =
    QStringLiteral("Wait . . .  Erasing (Block 0 Only) and Blank Checking the MCU.");
inline const QString Erasing = QStringLiteral("Wait . . .  Erasing and Blank Checking the MCU.");
inline const QString BlockSignatureFailed =
    QStringLiteral("Block write failed due to failure of Signature Verification.");
inline const QString BlockEraseFailed = QStringLiteral("Block write failed due to Erase failure.");
inline const QString BlockVerifyFailed =
    QStringLiteral("Block write failed due to failure of Write Verification.");
inline const QString Failed = QStringLiteral("Write failed.");
// What a block result "F" + reason says.
FailureTexts BlockFailures();
QString Written(const QString &brand, const QString &model, int bytes);
} // namespace WriteText

namespace ReadText {
inline const QString SignatureFailed =
    QStringLiteral("Read failed due to failure of Signature Verification.");
inline const QString VerifyFailed = QStringLiteral("Read failed due to failure of Verification.");
QString Unexpected();
QString EndOfRead(int bytes);
QString ClearQuestion();
} // namespace ReadText

// The write asks whether to go on with the image cut to the device's size.
bool ImageExceedsDevice(const ImageBuffer &buffer, int deviceSize);

// The number of bytes a write sends: from FileEnd, or the grid rows for a
// HEX image or an image without a file, in whole blocks, capped at the device.
int WriteLength(int fileEnd, int gridRows, const QString &currentFile, int deviceSize);

// 32 bytes from an address as they travel: two characters a byte; "XX" and
// empty cells go out as FFh.
QByteArray EncodeBlock(const ImageBuffer &buffer, int address);

// 64 data characters of a read back to 32 bytes.
QByteArray DecodeBlock(const QByteArray &characters);

// A write in 32-byte blocks from the buffer: the command that starts it, the
// bytes it sends from address 0, the wait text while the programmer erases,
// and the length of the result frame each block is answered with.
struct BlockWritePlan {
  QByteArray command;
  int length = 0;
  QString waitText;
  int blockResultLength = 0;
};

struct BlockWriteOutcome {
  bool accepted = false; // the programmer took the command
  bool complete = false; // and every block
  int written = 0;       // bytes sent
};

struct BlockReadOutcome {
  bool complete = false; // the last data frame arrived
  int bytesRead = 0;
  // The programmer passed a status frame and sent nothing unexpected after it.
  bool statusPassed = false;
};

// Programming the chip from the buffer, and reading it into the buffer.
class WriteRead {
public:
  WriteRead(OperationContext &context, SetCommands &special) : c_(context), special_(special) {}

  bool WriteMCU(bool showMessages);
  void MnuWrite_Click();
  // True when the chip's image was read whole and loaded into the buffer.
  bool ReadMCU();
  void MnuRead_Click();

  // Selects the block the block list shows on a two-block device, with the
  // size the operation then uses. False when the block-1 warning was declined.
  bool SelectShownBlock(bool warnBeforeBlock1);

  // The parts the special area transfers share with the code memory's.
  // The command, then the blocks, each closed with an ACK.
  BlockWriteOutcome WriteBlocks(const BlockWritePlan &plan, OperationEnd &end);
  // After a write: to 6-clock mode when "6x Clock" is ticked and the chip takes it.
  void SwitchToSixClockWhenTicked();
  // The unsaved-changes and clear-the-screen questions before a read replaces
  // the buffer; true when the read may go on.
  bool ConfirmBufferReplacement();
  // The status and data frames after an accepted read command, into image.
  BlockReadOutcome ReadBlocks(QIODevice &image, OperationEnd &end);
  // A fresh temporary image beside TempImagePath; null (the user told why)
  // when none can be made. A stale or foreign image can never be loaded instead.
  std::unique_ptr<QTemporaryFile> OpenTemporaryImage();
  // A complete read becomes the buffer, belonging to no file.
  bool LoadReadImage(QTemporaryFile &image);

private:
  bool SendBlock(const QByteArray &payload);
  void ReportImageNotSaved(const QIODevice &image);

  OperationContext &c_;
  SetCommands &special_;
};

} // namespace kvr
