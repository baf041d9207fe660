#pragma once

#include <QString>
#include <QStringList>

namespace kvr {

// The file dialogs' filters, written "Description|Pattern|Description|Pattern",
// as the dialog lists them: "Description (patterns)", each pattern in any
// letter case; a description without a pattern uses the one in its
// parentheses.
QStringList DialogNameFilters(const QString &filter);

// The filter, from 1, that the dialog's selected name filter stands for; 1
// when it is none of them.
int FilterIndex(const QString &filter, const QString &selectedNameFilter);

// A file the HEX reader opens when no filter was chosen (recent files, a
// changed file reloaded before a write, kvr-cli): its name ends in ".hex".
bool IsHexFileName(const QString &path);

} // namespace kvr
