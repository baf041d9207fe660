#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

namespace kvr {
class Session;

namespace BaseModule {

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

// Device families, in catalogue order. The family of a device is brand name
// followed by range name; it is compared with these exactly, letter case included.
inline const QString ATMEL89C = QStringLiteral("ATMEL89C");
inline const QString ATMEL89L = QStringLiteral("ATMEL89L");
inline const QString ATMEL89S = QStringLiteral("ATMEL89S");
inline const QString ATMELT89C51xx = QStringLiteral("ATMELT89C51xx");
inline const QString PHILIPS87C = QStringLiteral("PHILIPS87C");
inline const QString PHILIPS89C = QStringLiteral("PHILIPS89C");
inline const QString PHILIPS66X = QStringLiteral("PHILIPS66X");
inline const QString PHILIPSRXPlus = QStringLiteral("PHILIPSRX+");
inline const QString PHILIPSRX2 = QStringLiteral("PHILIPSRX2");
inline const QString PHILIPS5xX2 = QStringLiteral("PHILIPS5xX2");
inline const QString PHILIPS6xX2 = QStringLiteral("PHILIPS6xX2");
inline const QString PHILIPSRx2XX = QStringLiteral("PHILIPSRx2XX");
inline const QString PHILIPSVRx2XX = QStringLiteral("PHILIPSVRx2XX");
inline const QString PHILIPSLPC = QStringLiteral("PHILIPSLPC");
inline const QString SSTFXX = QStringLiteral("SSTFXX");
inline const QString SSTCXX = QStringLiteral("SSTCXX");
inline const QString SST89x5xxRx = QStringLiteral("SST89x5xxRx");
inline const QString WINBOND78E = QStringLiteral("WINBOND78E");
inline const QString WINBOND78LE = QStringLiteral("WINBOND78LE");
inline const QString DALLASDS89C = QStringLiteral("DALLASDS89C");
inline const QString EEPROM24Cxx = QStringLiteral("EEPROM24Cxx");

inline const std::array<QString, 21> FamilyCodes{
    ATMEL89C,      ATMEL89L,      ATMEL89S,   ATMELT89C51xx, PHILIPS87C,  PHILIPS89C,
    PHILIPS66X,    PHILIPSRXPlus, PHILIPSRX2, PHILIPS5xX2,   PHILIPS6xX2, PHILIPSRx2XX,
    PHILIPSVRx2XX, PHILIPSLPC,    SSTFXX,     SSTCXX,        SST89x5xxRx, WINBOND78E,
    WINBOND78LE,   DALLASDS89C,   EEPROM24Cxx};

// True when code is one of the 21 families (exact, case-sensitive).
bool IsFamilyCode(const QString &code);

constexpr int OneKB = 1024;
constexpr int EightKB = 8192;
constexpr int SixtyFourKB = 65536; // the programmer's largest code memory
constexpr char BlankByte = static_cast<char>(0xFF);
constexpr int CommandRetries = 5;

// Folder that holds Data/ and Bmps/: KVR_HOME when set, else the programs'
// folder, else prefix/share/kvr of an installed program.
QString ApplicationFolder();

// Sets every shared value to its start value and forms the two data paths
// from the application folder.
void InitGlobals(Session &session, const QString &applicationFolder = ApplicationFolder());

// Hex digit pairs to bytes; an odd last digit counts as a high nibble.
// Callers pass upper-case hex; any other character counts as 0.
QByteArray HexToBytes(const QString &hex);

// Hex text to its unsigned value (FFFF is 65535). Reading stops at the first
// character that is not a hex digit.
std::int32_t convertToDecimal(const QString &hex);

// Two hex digits to eight "0"/"1" characters, most significant bit first.
QString HexToBinary(const QString &hex);

// The images read from a chip go through fresh files beside TempImagePath,
// named after it; none of them is a file of the user's.
QString TemporaryImageTemplate(const Session &session);
bool IsTemporaryImage(const Session &session, const QString &path);

// File times of the loaded file. A file whose time cannot be read keeps the
// stored time and counts as changed: better one needless question than a
// chip programmed from a file that is not what the buffer shows.
void RememberFileDate(Session &session, const QString &path);
bool FileChangedOnDisk(const Session &session, const QString &path);

} // namespace BaseModule
} // namespace kvr
