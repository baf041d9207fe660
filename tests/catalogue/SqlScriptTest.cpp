#include "SqlScript.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace kvr;

TEST(SqlScript, SplitsOnlyAtSemicolonsOutsideQuotesAndComments) {
  const QList<SqlStatement> statements =
      SplitSqlScript("-- a comment; not a statement\n"
                     "CREATE TABLE T (A TEXT, \"B;C\" TEXT);\n"
                     "\n"
                     "INSERT INTO T VALUES ('it''s; fine', /* x; y */ 'z');\n"
                     "INSERT INTO T VALUES ('last', 'no semicolon')");
  ASSERT_EQ(statements.size(), 3);
  EXPECT_EQ(statements[0].text, QString("CREATE TABLE T (A TEXT, \"B;C\" TEXT)"));
  EXPECT_EQ(statements[0].line, 2);
  EXPECT_EQ(statements[1].text, QString("INSERT INTO T VALUES ('it''s; fine',   'z')"));
  EXPECT_EQ(statements[1].line, 4);
  EXPECT_EQ(statements[2].line, 5);
  EXPECT_TRUE(SplitSqlScript("-- only a comment;\n ; ;").isEmpty());
}

TEST(SqlScript, FailureRollsBackAndNamesTheLine) {
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "sql-script-test");
    db.setDatabaseName(":memory:");
    ASSERT_TRUE(db.open());
    QString error;
    ASSERT_TRUE(RunSqlScript(db, "CREATE TABLE T (A INTEGER);"));
    EXPECT_FALSE(
        RunSqlScript(db, "INSERT INTO T VALUES (1);\n\nINSERT INTO Nowhere VALUES (2);", &error));
    EXPECT_TRUE(error.startsWith("line 3:")) << error.toStdString();
    QSqlQuery count(db);
    ASSERT_TRUE(count.exec("SELECT COUNT(*) FROM T") && count.next());
    EXPECT_EQ(count.value(0).toInt(), 0);
  }
  QSqlDatabase::removeDatabase("sql-script-test");
}
