#pragma once

#include "DatabaseHandlers.h"
#include "ScriptedUi.h"
#include "Session.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace kvr::test {

// Runs a script on a catalogue file through a connection of its own.
void ApplySql(const QString &catalogue, const QString &script);

// A program folder holding a copy of the catalogue the build made, a user data folder, a
// session and a scripted Ui.
class CatalogueTest : public ::testing::Test {
public:
  void SetUp() override;
  QString AppFolder() const { return dir.filePath("app"); }
  QString UserFolder() const { return dir.filePath("user"); }
  QString InstalledCatalogue() const { return AppFolder() + "/Data/KVR104.sqlite"; }
  void InstallCatalogue(const QString &extraSql = {});
  // A fresh start: the shared values reset, then the catalogue opened.
  std::unique_ptr<DatabaseHandlers>
  Open(DatabaseHandlers::OpenOutcome expected = DatabaseHandlers::OpenOutcome::Opened);

  QTemporaryDir dir;
  Session session;
  ScriptedUi ui;
  CatalogueOptions options;
};

} // namespace kvr::test
