#pragma once

namespace kvr::BaseModule {

// Control characters of the link.
constexpr char NUL = 0x00;
constexpr char STX = 0x02;
constexpr char ETX = 0x03;
constexpr char EOT = 0x04;
constexpr char ENQ = 0x05;
constexpr char ACK = 0x06;
constexpr char CR = 0x0D;
constexpr char DC2 = 0x12;
constexpr char NAK = 0x15;
constexpr char SYN = 0x16;
constexpr char ETB = 0x17;

// Command letters: the first payload character after ENQ.
constexpr char CmdPresence = 'Q';
constexpr char CmdSignature = 'S';
constexpr char CmdBlankCheck = 'B';
constexpr char CmdEraseWithSignature = 'E';
constexpr char CmdErase12V = 'O';
constexpr char CmdErase5V = 'C';
constexpr char CmdWrite = 'W';
constexpr char CmdRead = 'R';
constexpr char CmdLock = 'L';
constexpr char CmdSpecial = 'P';
// Not a command letter: the "set" mode handed to SpecialCommand. Same
// character as CmdSignature, different role; keep the two apart.
constexpr char SpecialModeSet = 'S';

constexpr int CommandRetries = 5;

} // namespace kvr::BaseModule
