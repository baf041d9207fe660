#pragma once

#include <QByteArray>

#include <array>

namespace kvr {

// One command of the programmer, as the PC uses it. Lengths are the numbers
// of characters the PC waits for and reads, STX included.
struct CommandSpec {
  char letter;
  const char *fields;    // what follows the letter in the payload
  int handshakeLength;   // the plain ACK / NAK reply
  int resultLength;      // the result frame; 0 when the operation reads it in parts
  int blockResultLength; // per 32-byte block for transfers, else 0
  bool closedWithAck;    // the PC ends the exchange with a raw ACK
};

// D5: a decimal number of five digits with leading zeros.
inline constexpr std::array<CommandSpec, 10> kCommandSet{{
    {'Q', "", 2, 11, 0, false},
    {'S', "type bytes (16 chars), code size D5, signature byte count, 3 signature bytes (6 chars)",
     2, 9, 0, true},
    {'B', "", 2, 6, 0, true},
    {'E', "", 2, 6, 0, true},
    {'O', "", 2, 6, 0, true},
    {'C', "", 2, 6, 0, true},
    {'W', "length D5", 2, 0, 16, true},
    {'R', "length D5", 2, 6, 68, true}, // status frame, then a data frame per block
    {'L', "four lock-bit digits", 3, 4, 0, true},
    {'P', "number (2 digits), mode S/R/W, length D5", 2, 3, 3, true},
}};

// The entry of a command letter; nullptr for a letter the programmer does not know.
const CommandSpec *FindCommand(char letter);

// Bytes per block of a write or read.
constexpr int kBlockSize = 32;

// "ENQ letter fields" — the payload of a command.
QByteArray CommandPayload(char letter, const QByteArray &fields = QByteArray());

// A decimal number as the five digits the commands carry ("00128").
QByteArray D5(int value);

} // namespace kvr
