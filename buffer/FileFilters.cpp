#include "FileFilters.h"

#include "IntelHex.h"

#include <QFile>

namespace kvr {

QStringList DialogNameFilters(const QString &filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    const QString description = parts[i];
    QString pattern = i + 1 < parts.size() ? parts[i + 1] : QString();
    if (pattern.isEmpty()) {
      const qsizetype open = description.lastIndexOf(QLatin1Char('('));
      pattern = description.mid(open + 1).chopped(description.endsWith(QLatin1Char(')')) ? 1 : 0);
    }
    QStringList variants;
    for (const QString &one : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      if (one == QLatin1String("*.*") || one == QLatin1String("*"))
        variants << QStringLiteral("*");
      else
        variants << one << one.toLower() << one.toUpper();
    }
    variants.removeDuplicates();
    filters << description + QStringLiteral(" (") + variants.join(QLatin1Char(' ')) +
                   QLatin1Char(')');
  }
  return filters;
}

int FilterIndex(const QString &filter, const QString &selectedNameFilter) {
  return qMax(1, static_cast<int>(DialogNameFilters(filter).indexOf(selectedNameFilter)) + 1);
}

bool IsHexFileName(const QString &path) {
  for (const char *extension : {".hex", ".ihx", ".ihex"})
    if (path.endsWith(QLatin1String(extension), Qt::CaseInsensitive))
      return true;
  return false;
}

bool IsHexFile(const QString &path) {
  if (IsHexFileName(path))
    return true;
  QFile file(path);
  // Enough for blank lines and the longest record.
  constexpr qint64 kHead = 4096;
  return file.open(QIODevice::ReadOnly) && StartsAsIntelHex(file.read(kHead));
}

} // namespace kvr
