// Editing bytes in place: which cells open, what keys type, what a commit
// writes and where the editor goes next.
#include "CellEditor.h"
#include "Checksum.h"

#include "BufferFixture.h"

using namespace kvr;

namespace {

class Editor : public test::BufferFixture {
protected:
  void LoadBytes(int count, char fill = '\x11') {
    ASSERT_TRUE(files.FileOpen(Write("image.bin", QByteArray(count, fill))));
  }

  // Types the keys into an open editor the way the edit box does.
  void Type(const QString &keys) {
    QString text;
    for (const QChar key : keys) {
      editor.KeyDown(key.unicode());
      const QChar kept = CellEditor::FilterKeyPress(key);
      if (!kept.isNull())
        text.append(kept);
    }
    editor.setEditorText(text);
  }

  CellEditor editor{session, ui, buffer};
};

TEST_F(Editor, SevenStoresZeroSevenAndTheEditorMovesOn) {
  LoadBytes(32, 'A');
  editor.setCurrentCell(0, 3);
  editor.EditCell();
  ASSERT_TRUE(editor.editorVisible());

  Type("7");
  editor.KeyDown(CellEditor::kEnterKey);
  EXPECT_EQ(buffer.cellText(0, 3), QString("07"));
  EXPECT_EQ(buffer.cellText(0, 17).mid(5, 4), QString("AA A")) << "the text view follows";
  EXPECT_EQ(ui.texts(), QStringList{"editing successful"});
  EXPECT_TRUE(session.BufferModified);
  EXPECT_EQ(editor.currentColumn(), 4);
  EXPECT_TRUE(editor.editorVisible()) << "reopened on the next cell";
  editor.setCurrentCell(0, 9);
  EXPECT_FALSE(editor.editorVisible()) << "another cell of the row closes the unchanged editor";

  editor.setCurrentCell(0, 16);
  editor.EditCell();
  Type("c");
  editor.KeyDown(CellEditor::kEnterKey);
  EXPECT_EQ(buffer.cellText(0, 16), QString("0C"));
  EXPECT_EQ(editor.currentRow(), 1);
  EXPECT_EQ(editor.currentColumn(), 1) << "column 16 goes on at column 1 of the next row";
}

TEST_F(Editor, TheImageGrowsOneByteAtItsEnd) {
  LoadBytes(17); // FileEnd 18: address 11h is the first position after the image
  // Address 12h is two past the end; columns 0 and 17 hold no byte.
  for (const auto &[row, column] : {std::pair{1, 3}, {0, 0}, {0, 17}}) {
    editor.setCurrentCell(row, column);
    editor.EditCell();
    EXPECT_FALSE(editor.editorVisible()) << row << "," << column;
  }

  editor.setCurrentCell(1, 2);
  editor.EditCell();
  ASSERT_TRUE(editor.editorVisible());
  Type("5A");
  editor.KeyDown(CellEditor::kEnterKey);
  EXPECT_EQ(buffer.FileEnd, 19);
  EXPECT_EQ(buffer.cellText(1, 2), QString("5A"));
  EXPECT_TRUE(editor.editorVisible()) << "address 12h is now editable";
  EXPECT_EQ(editor.EditColumn, 3);

  editor.setEditorText("XX"); // nothing typed over the "XX" cell
  editor.KeyDown(CellEditor::kEnterKey);
  EXPECT_EQ(buffer.FileEnd, 19) << "a text that is not a byte changes nothing";
  EXPECT_EQ(buffer.cellText(1, 3), QString("XX"));
  EXPECT_FALSE(editor.editorVisible()) << "address 13h is not editable";
  EXPECT_EQ(ui.texts().count("editing successful"), 1);

  buffer.clear();
  editor.setCurrentCell(0, 1);
  editor.EditCell();
  EXPECT_FALSE(editor.editorVisible()) << "an empty grid";
}

// An odd last row gains two rows of no data; the grid's very last cell keeps the editor.
TEST_F(Editor, LastCellOfTheLastRow) {
  LoadBytes(32);
  buffer.FileEnd = 40;
  editor.setCurrentCell(1, 16);
  editor.EditCell();
  EXPECT_EQ(buffer.rowCount(), 4);
  EXPECT_EQ(Row(3), Repeat("XX", 16));
  EXPECT_EQ(buffer.cellText(3, 0), QString("00000030"));
  EXPECT_TRUE(editor.editorVisible());

  LoadBytes(4095 * 16, '\x22'); // a new image closes the editor: nothing is written into it
  EXPECT_FALSE(editor.editorVisible());
  editor.CommitPendingEdit();
  EXPECT_EQ(Row(1), Repeat("22", 16));
  // The last row, 4094, has an even index: no rows are added.
  editor.setCurrentCell(4094, 16);
  editor.EditCell();
  Type("99");
  editor.KeyDown(CellEditor::kEnterKey);
  EXPECT_EQ(buffer.cellText(4094, 16), QString("99"));
  EXPECT_EQ(editor.currentRow(), 4094);
  EXPECT_EQ(editor.currentColumn(), 16);
  EXPECT_TRUE(editor.editorVisible());
  EXPECT_EQ(buffer.rowCount(), 4095);
}

TEST_F(Editor, EscOrEmptyTextCancelsChangingNoCellButCountsAsModified) {
  LoadBytes(32);
  editor.setCurrentCell(0, 1);
  editor.EditCell();
  const QString view = buffer.cellText(0, 17);
  Type("4");
  editor.KeyDown(CellEditor::kEscKey);
  // The grid view's test sees the box close and the cell and current cell stay.
  EXPECT_EQ(editor.editorText(), QString("11"));
  EXPECT_EQ(buffer.cellText(0, 17), view);
  EXPECT_TRUE(session.BufferModified);
  EXPECT_TRUE(ui.messages.isEmpty());

  // An empty text is a cancel too; a pending edit is committed once.
  editor.setCurrentCell(0, 5);
  editor.EditCell();
  editor.setEditorText("");
  editor.CommitPendingEdit();
  EXPECT_EQ(buffer.cellText(0, 5), QString("11"));
  EXPECT_FALSE(editor.editorVisible());
  EXPECT_EQ(editor.LastEditKey, CellEditor::kEscKey);

  editor.CommitPendingEdit(); // nothing open: nothing happens
  EXPECT_TRUE(ui.messages.isEmpty());

  editor.EditCell();
  Type("E");
  editor.CommitPendingEdit();
  EXPECT_EQ(buffer.cellText(0, 5), QString("0E"));
  EXPECT_EQ(editor.currentColumn(), 6);
}

} // namespace

// Figures from Python's zlib.crc32 and sum() over the 18 bytes the save writes.
TEST_F(Editor, TheFilePanelShowsTheChecksumsOfWhatASaveWrites) {
  const QString hex = Write("gaps.hex", ":0400000001020304F2\n:02001000AABB89\n:00000001FF\n");
  ASSERT_TRUE(files.FileOpenHex_1(hex));
  EXPECT_EQ(ui.panelToolTip(Panel::SbrFile).section('\n', 1),
            QString("Checksum 016Fh, CRC-32 F79A069Dh"));

  editor.setCurrentCell(0, 6);
  editor.EditCell();
  Type("5A");
  editor.KeyDown(CellEditor::kEnterKey);
  EXPECT_EQ(ui.panelToolTip(Panel::SbrFile).section('\n', 1),
            QString("Checksum 01C9h, CRC-32 C44F57CAh"));

  ASSERT_TRUE(files.FileSave_convert());
  const ImageChecksum saved = ChecksumOf(Read(PathOf("gaps.bin")));
  EXPECT_EQ(saved.sum, 0x01C9);
  EXPECT_EQ(saved.crc32, 0xC44F57CAu);
}
