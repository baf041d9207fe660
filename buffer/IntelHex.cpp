#include "IntelHex.h"

#include <QByteArrayView>

#include <algorithm>
#include <array>

namespace kvr {

namespace {

constexpr int kBytesPerRow = 16;
constexpr int kDataRecord = 0x00;
constexpr int kEndOfFileRecord = 0x01;
constexpr int kSegmentAddressRecord = 0x02;
constexpr int kLinearAddressRecord = 0x04;
// Count, address, type and checksum: the digits of a record without data.
constexpr int kFixedDigits = 10;

// Hex digit values by character, -1 for a character that is not one: the
// reader looks up every character of a 64 KB file several times.
constexpr std::array<signed char, 256> kDigitValues = [] {
  std::array<signed char, 256> values{};
  for (int c = 0; c < 256; ++c)
    values[c] = c >= '0' && c <= '9'   ? static_cast<signed char>(c - '0')
                : c >= 'A' && c <= 'F' ? static_cast<signed char>(c - 'A' + 10)
                : c >= 'a' && c <= 'f' ? static_cast<signed char>(c - 'a' + 10)
                                       : -1;
  return values;
}();

int DigitValue(char c) { return kDigitValues[static_cast<unsigned char>(c)]; }

// Two digits from offset; a character that is not a hex digit counts as 0.
int ByteAt(QByteArrayView digits, qsizetype offset) {
  return 16 * std::max(0, DigitValue(digits[offset])) + std::max(0, DigitValue(digits[offset + 1]));
}

bool IsLineSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0x1A; }

// One record between its ":" and the next ":" (or the end of the file), line end removed.
struct Record {
  int count = 0;
  int address = 0;
  int type = -1;
  QByteArray data;
};

bool WellFormed(QByteArrayView body) {
  if (body.size() < kFixedDigits || body.size() % 2 != 0)
    return false;
  int sum = 0;
  for (qsizetype i = 0; i < body.size(); i += 2) {
    if (DigitValue(body[i]) < 0 || DigitValue(body[i + 1]) < 0)
      return false;
    sum += ByteAt(body, i);
  }
  return body.size() == kFixedDigits + 2 * ByteAt(body, 0) && (sum & 0xFF) == 0;
}

// The fields as they stand; a data field cut short places nothing. The data
// buffer is reused from record to record.
bool Fields(QByteArrayView body, Record &record) {
  if (body.size() < 8)
    return false;
  record.count = ByteAt(body, 0);
  record.address = 0;
  for (int i = 2; i < 6 && DigitValue(body[i]) >= 0; ++i)
    record.address = record.address * 16 + DigitValue(body[i]);
  record.type = ByteAt(body, 6);
  if (DigitValue(body[6]) < 0 || DigitValue(body[7]) < 0)
    record.type = -1;
  const bool whole = body.size() >= 8 + 2 * record.count;
  record.data.resize(whole ? record.count : 0);
  char *data = record.data.data();
  for (int i = 0; i < record.data.size(); ++i)
    data[i] = static_cast<char>(ByteAt(body, 8 + 2 * i));
  return true;
}

// Where the load addresses of the data records that follow count from: an
// extended segment address (type 02) moves them by its paragraph times 16, an
// extended linear address (type 04) by its upper 16 bits.
qint64 AddressBase(const Record &record) {
  qint64 value = 0;
  for (qsizetype i = 0; i < std::min<qsizetype>(record.data.size(), 2); ++i)
    value = value * 256 + static_cast<unsigned char>(record.data[i]);
  return record.type == kSegmentAddressRecord ? value * 16 : value << 16;
}

} // namespace

bool StartsAsIntelHex(const QByteArray &head) {
  qsizetype start = 0;
  while (start < head.size() && IsLineSpace(head[start]))
    ++start;
  if (start == head.size() || head[start] != ':')
    return false;
  qsizetype end = start + 1;
  while (end < head.size() && head[end] != ':' && !IsLineSpace(head[end]))
    ++end;
  return WellFormed(QByteArrayView(head.constData() + start + 1, end - start - 1));
}

HexImage ReadIntelHex(const QByteArray &file, HexReading reading) {
  HexImage image;
  if (file.size() < 11 || file.at(0) != ':') {
    image.outcome = HexImage::Outcome::NotHex;
    return image;
  }
  image.bytes = QByteArray(HexImage::kAddressSpace, '\0');
  image.written.assign(HexImage::kAddressSpace, false);

  int highestStart = 0;
  int endColumn = 0;
  int furthestEnd = 0;
  qint64 base = 0;
  bool endOfFileSeen = false;
  int lastRecordLine = 0;
  int line = 1;
  Record record;
  for (qsizetype start = 0; start < file.size();) {
    qsizetype next = file.indexOf(':', start + 1);
    if (next < 0)
      next = file.size();
    qsizetype end = next;
    while (end > start + 1 && IsLineSpace(file[end - 1]))
      --end;
    const QByteArrayView body(file.constData() + start + 1, end - start - 1);
    const int recordLine = line;
    line += static_cast<int>(std::count(file.begin() + start, file.begin() + next, '\n'));
    start = next;

    if (reading == HexReading::Strict && !WellFormed(body)) {
      image.outcome = HexImage::Outcome::Damaged;
      image.damagedLine = recordLine;
      return image;
    }
    if (!Fields(body, record))
      continue;
    lastRecordLine = recordLine;
    endOfFileSeen = endOfFileSeen || record.type == kEndOfFileRecord;
    if (record.type == kSegmentAddressRecord || record.type == kLinearAddressRecord) {
      base = AddressBase(record);
      continue;
    }
    if (record.type != kDataRecord)
      continue;
    if (base + record.address + record.data.size() > HexImage::kAddressSpace) {
      image.outcome = HexImage::Outcome::BeyondFFFF;
      return image;
    }
    record.address += static_cast<int>(base);

    image.highestRow = std::max(image.highestRow, record.address / kBytesPerRow);
    if (record.address > highestStart) {
      highestStart = record.address;
      endColumn = (record.address + record.count) % kBytesPerRow;
    }
    const int recordEnd = record.address + static_cast<int>(record.data.size());
    std::copy(record.data.begin(), record.data.end(), image.bytes.begin() + record.address);
    std::fill(image.written.begin() + record.address, image.written.begin() + recordEnd, true);
    if (!record.data.isEmpty())
      image.highestRow = std::max(image.highestRow, (recordEnd - 1) / kBytesPerRow);
    furthestEnd = std::max(furthestEnd, recordEnd);
    image.placedBytes += static_cast<int>(record.data.size());
  }

  // A file cut off at a line boundary reads like a whole one but for its
  // missing end-of-file record, which belongs on the line after the last.
  if (reading == HexReading::Strict && !endOfFileSeen) {
    image.outcome = HexImage::Outcome::Damaged;
    image.damagedLine = lastRecordLine + 1;
    return image;
  }

  const int rows = image.highestRow + 1;
  image.imageLength =
      endColumn == 0 ? kBytesPerRow * rows : kBytesPerRow * image.highestRow + endColumn;
  image.imageLength = std::max(image.imageLength, furthestEnd);
  return image;
}

} // namespace kvr
