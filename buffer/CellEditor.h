#pragma once

#include <QChar>
#include <QObject>
#include <QString>

namespace kvr {

class ImageBuffer;
class Session;
class Ui;

// Editing single bytes of the image in place. The grid's current cell lives
// here; the window reports the user's moves with setCurrentCell, shows the
// edit box TbxGridEdit where editorPlaced says, feeds it keys and text, and
// reports its focus loss. Every rule (which cells are editable, what a key
// does, what a commit writes, where the editor goes next) is decided here.
class CellEditor : public QObject {
  Q_OBJECT
public:
  static constexpr int kEnterKey = 13;
  static constexpr int kEscKey = 27;
  static constexpr int kBackspaceKey = 8;

  CellEditor(Session &session, Ui &ui, ImageBuffer &buffer, QObject *parent = nullptr);

  int currentRow() const { return currentRow_; }
  int currentColumn() const { return currentColumn_; }
  // The user moved the grid's current cell. An editor that was just reopened
  // on another cell, with nothing typed, goes away.
  void setCurrentCell(int row, int column);

  // Double-click, F2 on the grid, Operations > Edit Current Cell: opens the
  // editor on the current cell when it holds a byte of the image or the
  // first position after it. Column 16 of an odd last row first adds two
  // rows of "XX".
  void EditCell();

  // Key press in the edit box: the character to type, or a null QChar when
  // it is discarded. Hex digits pass (a..f as A..F); Backspace, Enter, Esc pass.
  static QChar FilterKeyPress(QChar typed);
  // Key down in the edit box: Enter commits and moves on; Esc restores the
  // cell's text and closes the box without changing the cell.
  void KeyDown(int keyCode);
  // The text of the box as the user edits it.
  void setEditorText(const QString &text) { editorText_ = text; }
  // The box lost the focus: the edit is committed.
  void TbxGridEdit_LostFocus();
  // Commits the pending edit when the box is open; a command that is about
  // to run calls it.
  void CommitPendingEdit();

  bool editorVisible() const { return editorVisible_; }
  QString editorText() const { return editorText_; }
  int EditRow = 0;
  int EditColumn = 1;
  int LastEditKey = 0;

signals:
  // Show the box over the cell with this text, all of it selected, and focus it.
  void editorPlaced(int row, int column, const QString &text);
  void editorHidden();
  void currentCellChanged(int row, int column);

private:
  void PlaceCellEditor();
  void HideEditor();
  void MoveCurrentCell(int row, int column);
  void AddTwoNoDataRows();

  Session &session_;
  Ui &ui_;
  ImageBuffer &buffer_;
  int currentRow_ = 0;
  int currentColumn_ = 1;
  bool editorVisible_ = false;
  QString editorText_;
};

} // namespace kvr
