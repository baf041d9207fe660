#include "CatalogueTestSupport.h"

#include "Globals.h"
#include "SqlScript.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>

namespace kvr::test {

void ApplySql(const QString &catalogue, const QString &script) {
  const QString connection = QStringLiteral("test-apply-sql");
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(catalogue);
    ASSERT_TRUE(db.open());
    QString error;
    EXPECT_TRUE(RunSqlScript(db, script, &error)) << error.toStdString();
  }
  QSqlDatabase::removeDatabase(connection);
}

void CatalogueTest::SetUp() {
  ASSERT_TRUE(dir.isValid());
  options.userDataFolder = UserFolder();
}

void CatalogueTest::InstallCatalogue(const QString &extraSql) {
  ASSERT_TRUE(QDir().mkpath(AppFolder() + "/Data"));
  ASSERT_TRUE(QFile::copy(KVR_SHIPPED_CATALOGUE, InstalledCatalogue()));
  if (!extraSql.isEmpty())
    ApplySql(InstalledCatalogue(), extraSql);
}

std::unique_ptr<DatabaseHandlers> CatalogueTest::Open(DatabaseHandlers::OpenOutcome expected) {
  BaseModule::InitGlobals(session, AppFolder());
  auto catalogue = std::make_unique<DatabaseHandlers>(session, ui, options);
  EXPECT_EQ(catalogue->OpenCatalogue(), expected);
  return catalogue;
}

} // namespace kvr::test
