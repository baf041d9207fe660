#include "SqlScript.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace kvr {

namespace {
enum class Scan { Code, SingleQuoted, DoubleQuoted, LineComment, BlockComment };

bool IsBlank(const QString &text) {
  for (const QChar c : text)
    if (!c.isSpace())
      return false;
  return true;
}
} // namespace

QList<SqlStatement> SplitSqlScript(const QString &script) {
  QList<SqlStatement> statements;
  QString current;
  int line = 1;
  int startLine = 1;
  Scan scan = Scan::Code;

  const auto finishStatement = [&] {
    if (!IsBlank(current))
      statements.append({current.trimmed(), startLine});
    current.clear();
  };

  for (qsizetype i = 0; i < script.size(); ++i) {
    const QChar c = script[i];
    const QChar next = i + 1 < script.size() ? script[i + 1] : QChar();
    if (c == QLatin1Char('\n'))
      ++line;
    switch (scan) {
    case Scan::Code:
      if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
        scan = Scan::LineComment;
        ++i;
        continue;
      }
      if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
        scan = Scan::BlockComment;
        current.append(QLatin1Char(' ')); // keeps the words either side apart
        ++i;
        continue;
      }
      if (c == QLatin1Char(';')) {
        finishStatement();
        continue;
      }
      if (IsBlank(current))
        startLine = line;
      if (c == QLatin1Char('\''))
        scan = Scan::SingleQuoted;
      else if (c == QLatin1Char('"'))
        scan = Scan::DoubleQuoted;
      current.append(c);
      break;
    case Scan::SingleQuoted:
    case Scan::DoubleQuoted: {
      current.append(c);
      const QChar quote = scan == Scan::SingleQuoted ? QLatin1Char('\'') : QLatin1Char('"');
      if (c == quote) {
        if (next == quote) { // a doubled quote stands for itself
          current.append(next);
          ++i;
        } else {
          scan = Scan::Code;
        }
      }
      break;
    }
    case Scan::LineComment:
      if (c == QLatin1Char('\n')) {
        scan = Scan::Code;
        current.append(c);
      }
      break;
    case Scan::BlockComment:
      if (c == QLatin1Char('*') && next == QLatin1Char('/')) {
        scan = Scan::Code;
        ++i;
      }
      break;
    }
  }
  finishStatement();
  return statements;
}

bool RunSqlScript(QSqlDatabase &db, const QString &script, QString *error) {
  const auto fail = [&](const QString &why) {
    if (error)
      *error = why;
    return false;
  };
  if (!db.transaction())
    return fail(db.lastError().text());
  for (const SqlStatement &statement : SplitSqlScript(script)) {
    QSqlQuery query(db);
    if (!query.exec(statement.text)) {
      const QString why =
          QStringLiteral("line %1: %2").arg(statement.line).arg(query.lastError().text());
      query.finish();
      db.rollback();
      return fail(why);
    }
  }
  if (!db.commit())
    return fail(db.lastError().text());
  return true;
}

} // namespace kvr
