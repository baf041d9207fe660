#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace kvr::BaseModule {

// Hex digit pairs to bytes; an odd last digit counts as a high nibble.
// Callers pass upper-case hex; any other character counts as 0.
QByteArray HexToBytes(const QString &hex);

// Exactly two hex digits, either letter case.
bool IsHexByte(const QString &text);

// Two hex digits to eight "0"/"1" characters, most significant bit first.
QString HexToBinary(const QString &hex);

} // namespace kvr::BaseModule
