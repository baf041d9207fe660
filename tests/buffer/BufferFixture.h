#pragma once

#include "BufferFiles.h"
#include "ControlPanel.h"
#include "ImageBuffer.h"
#include "QtPrinters.h"
#include "ScriptedUi.h"
#include "Session.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kvr::test {

// The buffer with its files, a scripted Ui and a folder of its own.
class BufferFixture : public ::testing::Test {
protected:
  BufferFixture() : panel(session), files(session, ui, panel, buffer) {
    panel.setBufferFacts([this] { return buffer.rowCount(); },
                         [this] { return buffer.CurrentFilePath; });
    QDir(dir.path()).mkpath(QStringLiteral("Data"));
    session.TempImagePath = dir.filePath(QStringLiteral("Data/$KVR104Temp.Bin"));
  }

  QString PathOf(const QString &name) const { return dir.filePath(name); }

  QString Write(const QString &name, const QByteArray &bytes) const {
    QFile file(PathOf(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
      ADD_FAILURE() << "cannot write " << name.toStdString();
    return file.fileName();
  }

  static QByteArray Golden(const QString &name) {
    QFile file(QStringLiteral(KVR_TEST_DATA_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly))
      ADD_FAILURE() << "missing golden file " << name.toStdString();
    return file.readAll();
  }

  QByteArray Read(const QString &path) const {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }

  // Cell texts of columns 1..16 of a row, joined by spaces.
  QString Row(int row) const {
    QStringList cells;
    for (int column = 1; column <= ImageBuffer::kBytesPerRow; ++column)
      cells << buffer.cellText(row, column);
    return cells.join(QLatin1Char(' '));
  }

  QByteArray Image() const { return buffer.imageBytes(buffer.FileEnd - 1); }

  // Opens a file as a recent entry would: no dialog, reader by extension.
  void OpenByName(const QString &path) {
    files.OpenFilterIndex = path.endsWith(QStringLiteral(".hex"), Qt::CaseInsensitive) ? 1 : 0;
    files.FileOpenPrompt(path, false);
  }

  static QString Repeat(const char *cell, int count) {
    QStringList cells;
    for (int i = 0; i < count; ++i)
      cells << QLatin1String(cell);
    return cells.join(QLatin1Char(' '));
  }

  QTemporaryDir dir;
  Session session;
  ScriptedUi ui;
  ControlPanel panel;
  ImageBuffer buffer;
  BufferFiles files;
};

} // namespace kvr::test
