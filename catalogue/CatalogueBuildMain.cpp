// kvr-catalogue-build SCRIPT.sql OUTPUT.sqlite
// Runs the catalogue script into a fresh SQLite file with the foreign keys enforced and
// refuses a catalogue that fails the catalogue check, so that a broken row stops the build
// instead of reaching a user. The output is replaced only when everything succeeded.

#include "CatalogueCheck.h"
#include "SqlScript.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

#include <cstdio>

namespace {

int Fail(const QString &what) {
  std::fprintf(stderr, "kvr-catalogue-build: %s\n", qUtf8Printable(what));
  return 1;
}

// Empty when the catalogue was built and checked; otherwise what went wrong.
QStringList BuildCatalogue(const QString &script, const QString &outputPath) {
  const QString connection = QStringLiteral("kvr-catalogue-build");
  QStringList problems;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(outputPath);
    if (!db.open()) {
      problems.append(QStringLiteral("cannot create %1").arg(outputPath));
    } else {
      QSqlQuery(db).exec(QStringLiteral("PRAGMA foreign_keys = ON"));
      QString error;
      if (!kvr::RunSqlScript(db, script, &error))
        problems.append(error);
      else
        problems = kvr::CheckCatalogue(db);
      db.close();
    }
  }
  QSqlDatabase::removeDatabase(connection);
  return problems;
}

} // namespace

int main(int argc, char *argv[]) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() != 3)
    return Fail(QStringLiteral("usage: kvr-catalogue-build SCRIPT.sql OUTPUT.sqlite"));
  const QString scriptPath = args[1];
  const QString outputPath = args[2];

  QFile scriptFile(scriptPath);
  if (!scriptFile.open(QIODevice::ReadOnly | QIODevice::Text))
    return Fail(QStringLiteral("cannot read %1").arg(scriptPath));
  const QString script = QString::fromUtf8(scriptFile.readAll());

  const QString partPath = outputPath + QStringLiteral(".part");
  QFile::remove(partPath);
  const QStringList problems = BuildCatalogue(script, partPath);
  if (!problems.isEmpty()) {
    QFile::remove(partPath);
    for (const QString &problem : problems)
      Fail(scriptPath + QStringLiteral(": ") + problem);
    return 1;
  }
  QFile::remove(outputPath);
  if (!QFile::rename(partPath, outputPath))
    return Fail(QStringLiteral("cannot write %1").arg(outputPath));
  return 0;
}
