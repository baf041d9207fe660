#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

// Readable Qt values in test failure messages.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray &b, std::ostream *os) {
  *os << "hex " << b.toHex(' ').toStdString();
}
inline void PrintTo(const QStringList &l, std::ostream *os) {
  *os << '[';
  for (const QString &s : l) {
    PrintTo(s, os);
    *os << ", ";
  }
  *os << ']';
}
