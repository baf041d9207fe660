#include "FgdFileView.h"

#include "CellEditor.h"
#include "FgdFileModel.h"
#include "ImageBuffer.h"

#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTableView>

namespace kvr {

namespace {
bool EvenPitch(const QFont &font) {
  const QFontMetrics metrics(font);
  return metrics.horizontalAdvance(QLatin1Char('i')) == metrics.horizontalAdvance(QLatin1Char('W'));
}

// The system's fixed-pitch font; platforms without a theme name none, so
// ask for any monospace family then.
QFont GridFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  if (!EvenPitch(font)) {
    font.setFamily(QStringLiteral("monospace"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
  }
  return font;
}
} // namespace

TbxGridEdit::TbxGridEdit(CellEditor &editor, QWidget *parent) : QLineEdit(parent), editor_(editor) {
  setObjectName(QStringLiteral("TbxGridEdit"));
  setMaxLength(2);
  setFrame(false);
  hide();
  connect(this, &QLineEdit::textChanged, this,
          [this](const QString &text) { editor_.setEditorText(text); });
}

void TbxGridEdit::keyPressEvent(QKeyEvent *event) {
  switch (event->key()) {
  case Qt::Key_Return:
  case Qt::Key_Enter: editor_.KeyDown(CellEditor::kEnterKey); return;
  case Qt::Key_Escape: editor_.KeyDown(CellEditor::kEscKey); return;
  default: editor_.KeyDown(event->key()); break;
  }
  const QString typed = event->text();
  if (typed.size() == 1 && typed[0].isPrint()) {
    const QChar kept = CellEditor::FilterKeyPress(typed[0]);
    if (!kept.isNull())
      insert(QString(kept));
    return;
  }
  // Backspace, cursor keys, paste: the box's own handling; the commit checks the text.
  QLineEdit::keyPressEvent(event);
}

void TbxGridEdit::focusOutEvent(QFocusEvent *event) {
  QLineEdit::focusOutEvent(event);
  // A message box or an opening menu takes the focus for a moment; the edit
  // goes on (a menu that needs the edit committed asks for it itself).
  if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
    return;
  editor_.CommitPendingEdit();
}

FgdFileView::FgdFileView(QTableView *grid, ImageBuffer &buffer, CellEditor &editor)
    : QObject(grid), grid_(grid), editor_(editor), model_(new FgdFileModel(buffer, this)),
      box_(new TbxGridEdit(editor, grid->viewport())) {
  grid_->setModel(model_);
  grid_->setFont(GridFont());
  box_->setFont(grid_->font());
  grid_->horizontalHeader()->setVisible(false);
  grid_->verticalHeader()->setVisible(false);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setWordWrap(false);
  LayOutColumns();
  grid_->installEventFilter(this);

  connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex &current) {
            if (current.isValid() && !followingEditor_)
              editor_.setCurrentCell(current.row(), current.column());
          });
  connect(grid_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
    editor_.setCurrentCell(index.row(), index.column());
    editor_.EditCell();
  });
  connect(model_, &QAbstractItemModel::modelReset, this,
          [this] { ShowCurrentCell(editor_.currentRow(), editor_.currentColumn()); });
  connect(&editor_, &CellEditor::editorPlaced, this, &FgdFileView::PlaceBox);
  connect(&editor_, &CellEditor::editorHidden, this, [this] {
    // The grid takes the focus first: a focused box that hides hands it on
    // as a Tab would, which moves the grid's current cell.
    grid_->setFocus();
    box_->hide();
  });
  connect(&editor_, &CellEditor::currentCellChanged, this, &FgdFileView::ShowCurrentCell);
  connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this,
          &FgdFileView::KeepBoxOverCell);
  connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, this,
          &FgdFileView::KeepBoxOverCell);
}

// Widths from the font: eight address digits, two per byte, the 21
// characters of the text view; the text view takes what is left.
void FgdFileView::LayOutColumns() {
  const QFontMetrics metrics(grid_->font());
  const int padding = 12;
  QHeaderView *columns = grid_->horizontalHeader();
  columns->setMinimumSectionSize(metrics.horizontalAdvance(QStringLiteral("00")) + padding / 2);
  grid_->setColumnWidth(0, metrics.horizontalAdvance(QStringLiteral("00000000")) + padding);
  for (int column = 1; column <= ImageBuffer::kBytesPerRow; ++column)
    grid_->setColumnWidth(column, metrics.horizontalAdvance(QStringLiteral("00")) + padding);
  grid_->setColumnWidth(ImageBuffer::kTextColumn,
                        metrics.horizontalAdvance(QString(21, QLatin1Char('0'))) + padding);
  columns->setStretchLastSection(true);
  // Every row the same height: scrolling 4096 rows never measures them.
  QHeaderView *rows = grid_->verticalHeader();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(metrics.height() + 6);
}

bool FgdFileView::eventFilter(QObject *watched, QEvent *event) {
  if (watched == grid_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent *>(event)->key() == Qt::Key_F2) {
    editor_.EditCell();
    return true;
  }
  return QObject::eventFilter(watched, event);
}

void FgdFileView::ShowCurrentCell(int row, int column) {
  const QModelIndex index = model_->index(row, column);
  if (!index.isValid())
    return;
  followingEditor_ = true;
  grid_->setCurrentIndex(index);
  followingEditor_ = false;
}

void FgdFileView::PlaceBox(int row, int column, const QString &text) {
  const QModelIndex index = model_->index(row, column);
  grid_->scrollTo(index);
  box_->setGeometry(grid_->visualRect(index));
  box_->setText(text);
  box_->selectAll();
  box_->show();
  box_->raise();
  box_->setFocus();
}

void FgdFileView::KeepBoxOverCell() {
  if (box_->isVisible())
    box_->setGeometry(grid_->visualRect(model_->index(editor_.EditRow, editor_.EditColumn)));
}

} // namespace kvr
