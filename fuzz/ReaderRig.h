#pragma once

#include "BufferFiles.h"
#include "ControlPanel.h"
#include "ImageBuffer.h"
#include "Session.h"
#include "SilentUi.h"

#include <QFile>
#include <QTemporaryDir>

namespace kvr::fuzz {

// The buffer and its files as the window has them, fresh for every input so
// that a finding replays from its input alone. Every question (load a damaged
// file anyway?) is answered Yes, to reach the tolerant reader too.
struct ReaderRig {
  ReaderRig() : panel(session), files(session, ui, panel, buffer) {
    panel.setBufferFacts([this] { return buffer.rowCount(); },
                         [this] { return buffer.CurrentFilePath; });
    session.TempImagePath = Folder().filePath(QStringLiteral("$KVR104Temp.Bin"));
  }

  static const QTemporaryDir &Folder() {
    static const QTemporaryDir folder;
    return folder;
  }

  static QString Put(const QString &name, const char *data, size_t size) {
    const QString path = Folder().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(data, static_cast<qint64>(size)) != static_cast<qint64>(size))
      std::abort(); // the fuzz folder itself failed, not the reader
    return path;
  }

  static QByteArray Get(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  // Saves the image as a binary file and returns what landed on disk.
  QByteArray SavedImage() {
    buffer.CurrentFilePath = Folder().filePath(QStringLiteral("saved.bin"));
    QFile::remove(buffer.CurrentFilePath);
    return files.FileSave() ? Get(buffer.CurrentFilePath) : QByteArray("<not saved>");
  }

  Session session;
  SilentUi ui{Answer::Yes};
  ControlPanel panel;
  ImageBuffer buffer;
  BufferFiles files;
};

} // namespace kvr::fuzz
