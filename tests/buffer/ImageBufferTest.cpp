#include "ImageBuffer.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

using namespace kvr;

namespace {

TEST(ImageBuffer, CellsAddressesAndTextView) {
  ImageBuffer buffer;
  buffer.setRowCount(0x1000);
  EXPECT_EQ(buffer.cellText(0xFFF, 0), QString("0000FFF0"));
  EXPECT_EQ(buffer.cellText(1, 0), QString("00000010"));

  buffer.setCellText(0, 1, "41");
  buffer.setCellText(0, 2, "20");
  buffer.setCellText(0, 3, "1F");
  buffer.setCellText(0, 4, "7f");
  buffer.setCellText(0, 5, "E9");
  buffer.setCellText(0, 6, "XX");
  // Codes without a glyph show a blank, as those below 20h do.
  for (const auto &[column, text] : {std::pair{8, "80"}, {9, "9F"}, {10, "A0"}, {11, "AD"}})
    buffer.setCellText(0, column, text);
  EXPECT_EQ(buffer.cellText(0, 4), QString("7F")) << "stored upper case";
  EXPECT_EQ(buffer.byte(5), 0) << "XX converts as 00h";
  buffer.FillFdgFileZero(0);
  EXPECT_EQ(buffer.cellText(0, 7), QString("00"));
  EXPECT_EQ(buffer.cellText(0, 6), QString("XX"));
  buffer.FillAsciiChar(0);
  const QString view = buffer.cellText(0, ImageBuffer::kTextColumn);
  ASSERT_EQ(view.size(), 21);
  EXPECT_EQ(view.left(5), QString(5, ' '));
  EXPECT_EQ(view.mid(5, 11), QString("A   ") + QChar(0xE9) + QString(4, ' ') + QChar(0xA0) + ' ');

  for (int a = 16; a < 32; ++a)
    buffer.setNoData(a);
  buffer.FillAsciiChar(1);
  EXPECT_EQ(buffer.cellText(1, 17), QString(21, ' ')) << "a row of no data";
  buffer.setByte(16, 0x20);
  buffer.setByte(17, 0x21);
  buffer.UpdateGridRow(1);
  EXPECT_EQ(buffer.cellText(1, 17), QString(6, ' ') + '!' + QString(14, ' '))
      << "the editor's view shows from 21h on";
}

} // namespace
