// The grid FgdFile offscreen: the model over the image, the edit box over
// the current cell, and the keys that reach it.
#include "CellEditor.h"
#include "FgdFileModel.h"
#include "FgdFileView.h"
#include "FrmMainMenu.h"

#include "BufferFixture.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableView>

using namespace kvr;

namespace {

class Grid : public test::BufferFixture {
protected:
  Grid() {
    grid.resize(900, 500);
    view = new FgdFileView(&grid, buffer, editor);
    grid.show();
  }

  static void Press(QWidget *target, Qt::Key key, const QString &text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
  }

  void TypeIntoBox(const QString &keys) {
    for (const QChar key : keys)
      Press(view->editBox(), static_cast<Qt::Key>(key.toUpper().unicode()), QString(key));
  }

  CellEditor editor{session, ui, buffer};
  QTableView grid;
  FgdFileView *view = nullptr;
};

TEST_F(Grid, ShowsTheImageIn18ColumnsWithAFixedPitchFont) {
  QByteArray bytes(0x10000, '\0');
  for (int i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<char>(i & 0xFF);
  ASSERT_TRUE(files.FileOpen(Write("64k.bin", bytes)));
  const QAbstractItemModel *model = grid.model();
  ASSERT_EQ(model->rowCount(), 4096);
  ASSERT_EQ(model->columnCount(), 18);
  EXPECT_EQ(model->index(0xFFF, 0).data().toString(), QString("0000FFF0"));
  EXPECT_EQ(model->index(0xFFF, 16).data().toString(), QString("FF"));
  EXPECT_EQ(model->index(4, 17).data().toString(), QString(5, ' ') + "@ABCDEFGHIJKLMNO");
  const QFontMetrics metrics(grid.font());
  EXPECT_EQ(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('W')) << "fixed pitch";
  EXPECT_FALSE(grid.horizontalHeader()->isVisible()) << "no heading row";
  EXPECT_EQ(grid.verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);

  ASSERT_TRUE(files.FileOpen(Write("small.bin", "\x01")));
  EXPECT_EQ(model->rowCount(), 2) << "the view follows a new load";
}

TEST_F(Grid, F2OrADoubleClickOpensTheBoxOverTheCellAndItTypesOnlyHexDigits) {
  ASSERT_TRUE(files.FileOpen(Write("image.bin", QByteArray(32, '\x11'))));
  QApplication::setActiveWindow(&grid); // the box really takes the focus
  grid.setCurrentIndex(grid.model()->index(1, 5));
  EXPECT_EQ(editor.currentRow(), 1);
  Press(&grid, Qt::Key_F2);
  TbxGridEdit *box = view->editBox();
  ASSERT_TRUE(box->isVisible());
  EXPECT_EQ(box->objectName(), QString("TbxGridEdit"));
  EXPECT_EQ(box->geometry(), grid.visualRect(grid.model()->index(1, 5)));
  EXPECT_EQ(box->selectedText(), QString("11"));

  TypeIntoBox("a-g b");
  EXPECT_EQ(box->text(), QString("AB"));
  Press(box, Qt::Key_Return);
  EXPECT_EQ(grid.model()->index(1, 5).data().toString(), QString("AB"));
  EXPECT_EQ(grid.currentIndex(), grid.model()->index(1, 6)) << "the grid follows the editor";
  EXPECT_TRUE(box->isVisible());
  EXPECT_EQ(box->geometry(), grid.visualRect(grid.model()->index(1, 6)));

  TypeIntoBox("3");
  Press(box, Qt::Key_Escape);
  EXPECT_FALSE(box->isVisible());
  EXPECT_EQ(grid.model()->index(1, 6).data().toString(), QString("11"));
  EXPECT_EQ(grid.currentIndex(), grid.model()->index(1, 6)) << "Esc leaves the current cell";
  Press(&grid, Qt::Key_F2);
  EXPECT_EQ(editor.EditColumn, 6) << "the next F2 edits the same byte";

  emit grid.doubleClicked(grid.model()->index(0, 2));
  EXPECT_EQ(box->geometry(), grid.visualRect(grid.model()->index(0, 2)));
  grid.setCurrentIndex(grid.model()->index(0, 9)); // the user clicks another cell of the row
  EXPECT_FALSE(box->isVisible());
}

TEST_F(Grid, TheMainWindowShowsTheFilePanelsToolTip) {
  FrmMainMenu window;
  Ui &windowUi = window;
  windowUi.setPanelToolTip(Panel::SbrFile, "File : /data/prog.hex (0.0K)");
  EXPECT_EQ(window.findChild<QLabel *>("SbrFile")->toolTip(),
            QString("File : /data/prog.hex (0.0K)"));
}

} // namespace
