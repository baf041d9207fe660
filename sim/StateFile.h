#pragma once

#include "SimChip.h"
#include "SimOptions.h"

#include <QString>

#include <memory>

namespace kvr::sim {

// The chip kvr-sim seats: --chip (or the chip the --state file holds), from
// the catalogue, with the state file's contents when the file exists.
std::unique_ptr<SimChip> LoadSeatedChip(const SimOptions &options, QString *error);

// Writes the chip's state whole or not at all.
bool SaveChipState(const SimChip &chip, const QString &file, QString *error);

} // namespace kvr::sim
