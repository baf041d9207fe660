#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVector>

namespace kvr {

// The memory image, 16 bytes a row, as the grid shows it: column 0 the
// address, columns 1..16 the bytes ("00".."FF", "XX" where the image has no
// data, empty only while a HEX file loads), column 17 the text view. Readers,
// writers, the editor and the device operations work on it; the grid is a view.
class ImageBuffer : public QObject {
  Q_OBJECT
public:
  static constexpr int kBytesPerRow = 16;
  static constexpr int kTextColumn = 17;
  static constexpr int kColumnCount = 18;

  explicit ImageBuffer(QObject *parent = nullptr) : QObject(parent) {}

  int rowCount() const { return rows_; }
  // New rows start with empty cells and an empty text view; rows beyond the
  // count are dropped.
  void setRowCount(int rows);
  // All cells emptied, no rows.
  void clear();

  QString cellText(int row, int column) const;
  // Columns 1..16 take two hex digits (stored upper case), "XX" or "".
  void setCellText(int row, int column, const QString &text);

  // Byte at an address, as the cell's hex text converts: "XX" and empty give 00h.
  unsigned char byte(int address) const;
  bool hasValue(int address) const { return state(address) == Cell::Value; }
  bool isNoData(int address) const { return state(address) == Cell::NoData; }
  void setByte(int address, unsigned char value);
  void setNoData(int address);
  // The bytes from address 0 up to count (at most the grid's size), as a file
  // holds them: "XX" and empty give 00h.
  QByteArray imageBytes(int count) const;
  // The FileEnd - 1 bytes a save writes.
  QByteArray savedBytes() const { return imageBytes(FileEnd - 1); }

  static QString AddressText(int row);

  // Grid routines of the main window.
  void FillFdgFileZero(int lastRow);
  void FillAsciiChar(int lastRow);
  void UpdateGridRow(int row);
  void ResetGrid_Special();

  // Tell the views that rows first..last changed, or that everything did.
  void announceRows(int first, int last);
  void announceReset();

  // Buffer state.
  int FileEnd = 0; // one more than the number of image bytes
  QString CurrentFilePath;
  QString OpenedFilePath;
  QString LastFileFolder;
  int CurrentFileLength = 0;
  QString FileCaption;

signals:
  void rowsChanged(int first, int last);
  void layoutReset();

private:
  enum class Cell : unsigned char { Empty, Value, NoData };
  Cell state(int address) const;
  QString TextView(int row, int below) const;

  int rows_ = 0;
  QByteArray bytes_;
  QVector<Cell> cells_;
  QVector<QString> textView_;
};

} // namespace kvr
