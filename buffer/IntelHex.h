#pragma once

#include <QByteArray>

#include <vector>

namespace kvr {

// An Intel HEX file read into a 64 KB image, before anything in the buffer
// changes. Only data records place bytes, at their load address counted from
// the last extended segment or linear address record.
struct HexImage {
  enum class Outcome {
    Loaded,
    NotHex,     // the first character is not ":" or the file is shorter than 11 characters
    Damaged,    // a record is malformed, or the end-of-file record is missing;
                // damagedLine names the first bad line
    BeyondFFFF, // data would land past FFFFh
  };
  static constexpr int kAddressSpace = 0x10000;

  Outcome outcome = Outcome::Loaded;
  int damagedLine = 0;       // 1-based line of the first damaged record
  QByteArray bytes;          // kAddressSpace bytes, 00h where no record wrote
  std::vector<bool> written; // kAddressSpace marks: a record placed this byte
  int highestRow = -1;       // greatest 16-byte row a record wrote into
  int imageLength = 0;       // bytes that belong to the image, from address 0
  int placedBytes = 0;
};

// How far a damaged record is tolerated. Strict stops at the first record
// whose checksum, length or digits are wrong; Tolerant places what such
// records carry, the way the user asked for after "Load it anyway?".
enum class HexReading { Strict, Tolerant };

// The beginning of a file reads as Intel HEX: its first character that is not
// blank is ":" and the record it starts is well formed.
bool StartsAsIntelHex(const QByteArray &head);

// Reads the records of a HEX file. Gaps between records read as 00h. The
// image runs to the end of the record with the greatest load address, or to
// the end of its 16-byte row when that record ends on a row boundary or
// starts at 0; it never cuts off bytes a record placed.
HexImage ReadIntelHex(const QByteArray &file, HexReading reading);

} // namespace kvr
