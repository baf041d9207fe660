#include "ImageBuffer.h"

#include "Hex.h"

#include <algorithm>
#include <array>

namespace kvr {

void ImageBuffer::setRowCount(int rows) {
  rows = qMax(0, rows);
  rows_ = rows;
  bytes_.resize(rows * kBytesPerRow, 0);
  cells_.resize(rows * kBytesPerRow, Cell::Empty);
  textView_.resize(rows);
}

void ImageBuffer::clear() {
  rows_ = 0;
  bytes_.clear();
  cells_.clear();
  textView_.clear();
}

ImageBuffer::Cell ImageBuffer::state(int address) const {
  return address >= 0 && address < cells_.size() ? cells_[address] : Cell::Empty;
}

QString ImageBuffer::AddressText(int row) {
  return QStringLiteral("%1").arg(row * kBytesPerRow, 8, 16, QLatin1Char('0')).toUpper();
}

QString ImageBuffer::cellText(int row, int column) const {
  if (row < 0 || row >= rows_)
    return QString();
  if (column == 0)
    return AddressText(row);
  if (column == kTextColumn)
    return textView_[row];
  if (column < 1 || column > kBytesPerRow)
    return QString();
  const int address = row * kBytesPerRow + column - 1;
  switch (cells_[address]) {
  case Cell::Empty: return QString();
  case Cell::NoData: return QStringLiteral("XX");
  case Cell::Value:
    return QStringLiteral("%1")
        .arg(static_cast<unsigned char>(bytes_[address]), 2, 16, QLatin1Char('0'))
        .toUpper();
  }
  return QString();
}

void ImageBuffer::setCellText(int row, int column, const QString &text) {
  if (row < 0 || row >= rows_)
    return;
  if (column == kTextColumn) {
    textView_[row] = text;
    return;
  }
  if (column < 1 || column > kBytesPerRow)
    return;
  const int address = row * kBytesPerRow + column - 1;
  if (text.isEmpty()) {
    cells_[address] = Cell::Empty;
    bytes_[address] = 0;
  } else if (text.compare(QLatin1String("XX"), Qt::CaseInsensitive) == 0) {
    setNoData(address);
  } else {
    setByte(address, static_cast<unsigned char>(BaseModule::HexToBytes(text.toUpper()).at(0)));
  }
}

unsigned char ImageBuffer::byte(int address) const {
  return state(address) == Cell::Value ? static_cast<unsigned char>(bytes_[address]) : 0;
}

void ImageBuffer::setByte(int address, unsigned char value) {
  if (address < 0 || address >= cells_.size())
    return;
  bytes_[address] = static_cast<char>(value);
  cells_[address] = Cell::Value;
}

void ImageBuffer::setNoData(int address) {
  if (address < 0 || address >= cells_.size())
    return;
  bytes_[address] = 0;
  cells_[address] = Cell::NoData;
}

QByteArray ImageBuffer::imageBytes(int count) const {
  return bytes_.left(qBound(0, count, static_cast<int>(bytes_.size())));
}

void ImageBuffer::FillFdgFileZero(int lastRow) {
  const int last = qMin(lastRow, rows_ - 1);
  for (int address = 0; address < (last + 1) * kBytesPerRow; ++address)
    if (cells_[address] == Cell::Empty)
      setByte(address, 0);
}

namespace {
// The Latin-1 codes that have a glyph of their own: not the control codes
// (below 20h, 7Fh to 9Fh) nor the invisible soft hyphen.
const std::array<bool, 256> kPrintable = [] {
  std::array<bool, 256> printable{};
  for (int code = 0; code < 256; ++code)
    printable[code] = QChar::fromLatin1(static_cast<char>(code)).isPrint();
  return printable;
}();
} // namespace

// Five blanks, then a character per byte: a blank for "XX", for codes below
// the given limit and for codes that have no glyph.
QString ImageBuffer::TextView(int row, int below) const {
  char text[5 + kBytesPerRow];
  std::fill(text, text + 5, ' ');
  const int first = row * kBytesPerRow;
  for (int column = 0; column < kBytesPerRow; ++column) {
    const Cell cell = cells_[first + column];
    const auto value = static_cast<unsigned char>(bytes_[first + column]);
    // An empty cell reads as 00h, below every limit.
    const bool shown = cell == Cell::Value && value >= below && kPrintable[value];
    text[5 + column] = shown ? static_cast<char>(value) : ' ';
  }
  return QString::fromLatin1(text, sizeof text);
}

void ImageBuffer::FillAsciiChar(int lastRow) {
  const int last = qMin(lastRow, rows_ - 1);
  for (int row = 0; row <= last; ++row)
    textView_[row] = TextView(row, 32);
}

void ImageBuffer::UpdateGridRow(int row) {
  if (row < 0 || row >= rows_)
    return;
  textView_[row] = TextView(row, 33);
}

void ImageBuffer::ResetGrid_Special() {
  if (rows_ == 4095 || rows_ % 2 == 0)
    return;
  setRowCount(rows_ + 1);
  for (int column = 0; column < kBytesPerRow; ++column)
    setNoData((rows_ - 1) * kBytesPerRow + column);
}

void ImageBuffer::announceRows(int first, int last) { emit rowsChanged(first, last); }

void ImageBuffer::announceReset() { emit layoutReset(); }

} // namespace kvr
