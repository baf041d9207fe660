#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

namespace kvr::test {

// A program folder of its own for one test: KVR_HOME points at it, it holds a
// copy of the catalogue the build made, and the settings live beside it.
class ProgramFolder {
public:
  ProgramFolder();
  ~ProgramFolder();

  QString path() const { return dir_.path(); }
  QString catalogue() const { return dir_.filePath("Data/KVR104.sqlite"); }
  QString userFolder() const { return dir_.filePath("user"); }
  // The environment for a program started by the test: this folder, its
  // settings and its per-user folder.
  QProcessEnvironment environment() const;
  // Removes the catalogue, as on a machine where it was never installed.
  void removeCatalogue();

private:
  QTemporaryDir dir_;
};

} // namespace kvr::test
