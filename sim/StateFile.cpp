#include "StateFile.h"

#include "ChipSource.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace kvr::sim {

std::unique_ptr<SimChip> LoadSeatedChip(const SimOptions &options, QString *error) {
  QByteArray state;
  if (!options.state.isEmpty() && QFile::exists(options.state)) {
    QFile file(options.state);
    if (!file.open(QIODevice::ReadOnly)) {
      if (error)
        *error = QStringLiteral("%1: %2").arg(options.state, file.errorString());
      return nullptr;
    }
    state = file.readAll();
  }
  QString id = options.chip;
  if (id.isEmpty())
    id = QJsonDocument::fromJson(state).object().value(QStringLiteral("chip")).toString();
  if (id.isEmpty()) {
    if (error)
      *error = QStringLiteral("no --chip, and no chip in the state file %1").arg(options.state);
    return nullptr;
  }
  const std::optional<ChipModel> model = FindChip(id, options.catalogue, error);
  if (!model)
    return nullptr;
  auto chip = std::make_unique<SimChip>(*model);
  QString why;
  if (!state.isEmpty() && !chip->fromState(state, &why)) {
    if (error)
      *error = QStringLiteral("%1: %2").arg(options.state, why);
    return nullptr;
  }
  return chip;
}

bool SaveChipState(const SimChip &chip, const QString &file, QString *error) {
  QSaveFile out(file);
  if (out.open(QIODevice::WriteOnly) && out.write(chip.toState()) >= 0 && out.commit())
    return true;
  if (error)
    *error = QStringLiteral("%1: %2").arg(file, out.errorString());
  return false;
}

} // namespace kvr::sim
