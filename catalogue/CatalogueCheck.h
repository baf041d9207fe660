#pragma once

#include <QStringList>

class QSqlDatabase;

namespace kvr {

// What the program relies on in the catalogue's rows: every range's brand and every
// device's range exist, no range is numbered 0, every device's trimmed brand and range
// names join into one of the family codes, code sizes lie between 1 and 65536 bytes, type
// bytes are two upper-case hex digits, and so are the signature bytes of every device that
// has a signature (all but EEPROM24Cxx), whose count is a digit 0 to 3. PHILIPS87C
// identifiers are whole numbers, since the 6-clock rules compare them as numbers.
// Returns one line per problem; empty when the catalogue can be relied on.
QStringList CheckCatalogue(const QSqlDatabase &db);

} // namespace kvr
