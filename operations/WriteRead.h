#pragma once

#include "OperationContext.h"

#include <QByteArray>
#include <QString>

class QIODevice;

namespace kvr {

class SpecialSet;

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

// The number of bytes a write sends: from FileEnd, or the grid rows for a
// HEX image or an image without a file, in whole blocks, capped at the device.
int WriteLength(int fileEnd, int gridRows, const QString &currentFile, int deviceSize);

// 32 bytes from an address as they travel: two characters a byte; "XX" and
// empty cells go out as FFh.
QByteArray EncodeBlock(const ImageBuffer &buffer, int address);

// 64 data characters of a read back to 32 bytes.
QByteArray DecodeBlock(const QByteArray &characters);

// Programming the chip from the buffer, and reading it into the buffer.
class WriteRead {
public:
  WriteRead(OperationContext &context, SpecialSet &special) : c_(context), special_(special) {}

  bool WriteMCU(bool showMessages);
  void MnuWrite_Click();
  // True when the chip's image was read whole and loaded into the buffer.
  bool ReadMCU();
  void MnuRead_Click();

  // Selects the block LstCurrentBlock shows on a two-block device, with the
  // size the operation then uses. False when the block-1 warning was declined.
  bool SelectShownBlock(bool warnBeforeBlock1);

private:
  bool SendBlock(const QByteArray &payload);
  void SwitchToSixClock();
  bool ReadBlocks(QIODevice &image, int &bytesRead);

  OperationContext &c_;
  SpecialSet &special_;
};

} // namespace kvr
