#pragma once

#include <QLineEdit>
#include <QObject>

class QTableView;

namespace kvr {

class CellEditor;
class FgdFileModel;
class ImageBuffer;

// The edit box laid over the current cell of the grid. It types only what
// the editor's key filter lets through and hands Enter, Esc and its focus
// loss to the editor.
class TbxGridEdit : public QLineEdit {
  Q_OBJECT
public:
  TbxGridEdit(CellEditor &editor, QWidget *parent);

protected:
  void keyPressEvent(QKeyEvent *event) override;
  void focusOutEvent(QFocusEvent *event) override;

private:
  CellEditor &editor_;
};

// Puts the image into the window's grid FgdFile: the table model, the
// fixed-pitch font and column widths, the edit box and the ways into it
// (double-click, F2). Lives as long as the grid.
class FgdFileView : public QObject {
  Q_OBJECT
public:
  FgdFileView(QTableView *grid, ImageBuffer &buffer, CellEditor &editor);

  FgdFileModel *model() const { return model_; }
  TbxGridEdit *editBox() const { return box_; }

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void LayOutColumns();
  void PlaceBox(int row, int column, const QString &text);
  void KeepBoxOverCell();
  void ShowCurrentCell(int row, int column);

  QTableView *grid_;
  CellEditor &editor_;
  FgdFileModel *model_;
  TbxGridEdit *box_;
  bool followingEditor_ = false;
};

} // namespace kvr
