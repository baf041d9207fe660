#include "CellEditor.h"

#include "ImageBuffer.h"
#include "Session.h"
#include "Ui.h"

namespace kvr {

namespace {
constexpr int kBytesPerRow = ImageBuffer::kBytesPerRow;

bool IsHexDigit(QChar c) {
  return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
         (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}
} // namespace

CellEditor::CellEditor(Session &session, Ui &ui, ImageBuffer &buffer, QObject *parent)
    : QObject(parent), session_(session), ui_(ui), buffer_(buffer) {
  // A new or resized image: the box would stand over a cell that is gone.
  // Commands commit the pending edit before they change the image.
  connect(&buffer_, &ImageBuffer::layoutReset, this, [this] {
    if (editorVisible_)
      HideEditor();
  });
}

void CellEditor::setCurrentCell(int row, int column) {
  if (row == currentRow_ && column == currentColumn_)
    return;
  currentRow_ = row;
  currentColumn_ = column;
  const bool elsewhere = row != EditRow || column != EditColumn;
  if (editorVisible_ && elsewhere && editorText_ == buffer_.cellText(EditRow, EditColumn))
    HideEditor();
}

void CellEditor::AddTwoNoDataRows() {
  const int first = buffer_.rowCount();
  buffer_.setRowCount(first + 2);
  for (int address = first * kBytesPerRow; address < (first + 2) * kBytesPerRow; ++address)
    buffer_.setNoData(address);
  buffer_.announceReset();
}

void CellEditor::EditCell() {
  const int rows = buffer_.rowCount();
  if (currentRow_ < 0 || currentRow_ >= rows)
    return;
  if (currentColumn_ == kBytesPerRow && currentRow_ % 2 == 1 && currentRow_ == rows - 1)
    AddTwoNoDataRows();
  if (currentColumn_ < 1 || currentColumn_ > kBytesPerRow)
    return;
  // A byte of the image, or the first position after it.
  if (kBytesPerRow * currentRow_ + currentColumn_ > buffer_.FileEnd)
    return;
  EditRow = currentRow_;
  EditColumn = currentColumn_;
  PlaceCellEditor();
}

void CellEditor::PlaceCellEditor() {
  editorVisible_ = true;
  editorText_ = buffer_.cellText(EditRow, EditColumn);
  emit editorPlaced(EditRow, EditColumn, editorText_);
}

void CellEditor::HideEditor() {
  editorVisible_ = false;
  emit editorHidden();
}

QChar CellEditor::FilterKeyPress(QChar typed) {
  const ushort code = typed.unicode();
  if (code == kBackspaceKey || code == kEscKey || code == kEnterKey)
    return typed;
  const QChar upper = typed.toUpper();
  return IsHexDigit(upper) ? upper : QChar();
}

void CellEditor::KeyDown(int keyCode) {
  LastEditKey = keyCode;
  if (!editorVisible_)
    return;
  if (keyCode == kEnterKey) {
    TbxGridEdit_LostFocus();
  } else if (keyCode == kEscKey) {
    editorText_ = buffer_.cellText(EditRow, EditColumn);
    TbxGridEdit_LostFocus();
  }
}

void CellEditor::CommitPendingEdit() {
  if (editorVisible_)
    TbxGridEdit_LostFocus();
}

void CellEditor::TbxGridEdit_LostFocus() {
  HideEditor();
  QString text = editorText_;
  if (text.trimmed().isEmpty())
    LastEditKey = kEscKey;
  if (text.size() == 1)
    text.prepend(QLatin1Char('0'));
  text = text.toUpper();
  // A cell holds one byte: exactly two hex digits.
  const bool valid = text.size() == 2 && IsHexDigit(text[0]) && IsHexDigit(text[1]);
  if (LastEditKey == kEscKey) {
    session_.BufferModified = true;
    return;
  }

  if (valid) {
    const int address = kBytesPerRow * EditRow + EditColumn - 1;
    if (address + 1 == buffer_.FileEnd)
      ++buffer_.FileEnd;
    buffer_.setCellText(EditRow, EditColumn, text);
    buffer_.UpdateGridRow(EditRow);
    buffer_.announceRows(EditRow, EditRow);
  }

  if (EditColumn == kBytesPerRow) {
    if (EditRow != buffer_.rowCount() - 1)
      MoveCurrentCell(EditRow + 1, 1);
  } else {
    MoveCurrentCell(EditRow, EditColumn + 1);
  }
  EditCell();
  // A text that was not a byte left the cell as it was: no success to report.
  if (valid)
    ui_.message(QStringLiteral("editing successful"), MessageIcon::Information);
  session_.BufferModified = true;
}

void CellEditor::MoveCurrentCell(int row, int column) {
  currentRow_ = row;
  currentColumn_ = column;
  emit currentCellChanged(row, column);
}

} // namespace kvr
