#pragma once

#include <QList>
#include <QString>

class QSqlDatabase;

namespace kvr {

struct SqlStatement {
  QString text;
  int line = 1; // where the statement starts in the script
};

// Splits a script into its statements at the semicolons that end them. Semicolons inside
// quotes or comments do not end anything; comments are dropped.
QList<SqlStatement> SplitSqlScript(const QString &script);

// Runs every statement of the script in one transaction. On the first failure the
// transaction is rolled back and error names the script line and the driver's complaint.
// The driver runs one statement per call, hence the split.
bool RunSqlScript(QSqlDatabase &db, const QString &script, QString *error = nullptr);

} // namespace kvr
