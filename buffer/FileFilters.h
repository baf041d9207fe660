#pragma once

#include <QString>
#include <QStringList>

namespace kvr {

// The file dialogs' filters, written "Description|Pattern|Description|Pattern"
// (patterns of one entry separated by ";"), as the dialog lists them:
// "Description (patterns)", each pattern in any letter case; a description
// without a pattern uses the one in its parentheses.
QStringList DialogNameFilters(const QString &filter);

// The filter, from 1, that the dialog's selected name filter stands for; 1
// when it is none of them.
int FilterIndex(const QString &filter, const QString &selectedNameFilter);

// A file the HEX reader opens when no filter was chosen (recent files, a
// changed file reloaded before a write, kvr-cli): its name ends in ".hex",
// or in ".ihx" or ".ihex" as 8051 compilers name their Intel HEX output.
bool IsHexFileName(const QString &path);

// A file kvr-cli reads as Intel HEX: a HEX file name, or contents that begin
// as Intel HEX whatever the name.
bool IsHexFile(const QString &path);

} // namespace kvr
