#pragma once

#include <QString>

namespace kvr {

namespace SpecialText {
// Status texts.
inline const QString Running = QStringLiteral("Special Command");
inline const QString Successful = QStringLiteral("Special Command Successful");
inline const QString PassedStatus = QStringLiteral("Special Command Passed");
inline const QString FailedStatus = QStringLiteral("Special Command failed");
inline const QString InterruptedStatus = QStringLiteral("Special Command Interrupted");

// Message boxes.
inline const QString Passed = QStringLiteral("Special command passed.");
inline const QString SignatureFailed =
    QStringLiteral("Special command failed due to failure of Signature Verification.");
inline const QString CheckFailed =
    QStringLiteral("Special command failed due to failure of Check Verification.");
inline const QString UnlockBeforeWriting = QStringLiteral("Ensure MCU is Unlocked before Writing.");
inline const QString OpenAFile = QStringLiteral("Open a File before Writing");
inline const QString WriteAborted = QStringLiteral("Write Aborted!");
QString SizeQuestion(const QString &file, int fileEnd, int areaSize);
QString AreaWritten(const QString &brand, const QString &model, int bytes);
QString BytesWritten(const QString &brand, const QString &model, int bytes);
} // namespace SpecialText

} // namespace kvr
