#pragma once

#include "ChipModel.h"

#include <QString>

#include <optional>

namespace kvr::sim {

// The device a catalogue file (the SQLite catalogue the PC reads) describes
// under an identifier; nothing, with the reason, when the file or the row is
// missing or a field cannot be read.
std::optional<ChipModel> LoadCatalogueChip(const QString &file, const QString &id, QString *error);

// The chips of the catalogue script built into the simulator, for runs
// without a catalogue file.
std::optional<ChipModel> FindBuiltInChip(const QString &id);
QStringList BuiltInChipIds();

// Where the chip comes from: the given catalogue, else the catalogue beside
// the programs when there is one, else the built-in catalogue script.
std::optional<ChipModel> FindChip(const QString &id, const QString &catalogue, QString *error);

// The catalogue the PC uses beside the programs.
QString DefaultCatalogue();

} // namespace kvr::sim
