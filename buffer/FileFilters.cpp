#include "FileFilters.h"

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
    if (pattern == QLatin1String("*.*"))
      pattern = QStringLiteral("*");
    QStringList variants{pattern};
    if (pattern != QLatin1String("*"))
      variants << pattern.toLower() << pattern.toUpper();
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
  return path.endsWith(QLatin1String(".hex"), Qt::CaseInsensitive);
}

} // namespace kvr
