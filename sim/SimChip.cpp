#include "SimChip.h"

#include "Globals.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace kvr::sim {

using BaseModule::BlankByte;

SimChip::SimChip(ChipModel model) : model_(std::move(model)) {
  ChipLayout layout = LayoutOf(model_);
  stores_ = std::move(layout.initial);
  lockedReadsZero_ = layout.lockedReadsZero;
}

int SimChip::size(Store store) const {
  const auto it = stores_.find(store);
  return it == stores_.end() ? 0 : static_cast<int>(it->second.size());
}

QByteArray SimChip::read(Store store, int offset, int count) const {
  const auto it = stores_.find(store);
  if (it == stores_.end() || offset < 0 || count < 0 || offset >= it->second.size())
    return {};
  const QByteArray bytes = it->second.mid(offset, count);
  if (IsArea(store) && readProtected())
    return QByteArray(bytes.size(), lockedReadsZero_ ? '\0' : BlankByte);
  return bytes;
}

QByteArray SimChip::stored(Store store) const {
  const auto it = stores_.find(store);
  return it == stores_.end() ? QByteArray() : it->second;
}

bool SimChip::write(Store store, int offset, const QByteArray &bytes) {
  const auto it = stores_.find(store);
  if (it == stores_.end() || offset < 0 || offset + bytes.size() > it->second.size())
    return false;
  it->second.replace(offset, bytes.size(), bytes);
  return true;
}

void SimChip::erase(Store store) {
  const auto it = stores_.find(store);
  if (it != stores_.end() && IsArea(store))
    it->second.fill(BlankByte);
}

bool SimChip::readsBlank(Store store) const {
  const QByteArray bytes = read(store, 0, size(store));
  return bytes.count(BlankByte) == bytes.size();
}

void SimChip::eraseChip() {
  erase(Store::Code);
  erase(Store::Block1);
  lockBits_ = 0;
}

void SimChip::programLockBits(std::uint8_t bits) {
  const int count = std::min(model_.lockBits, 8);
  const auto chipMask = static_cast<std::uint8_t>((1u << count) - 1u);
  lockBits_ |= bits & chipMask;
}

bool SimChip::readProtected() const {
  if (model_.lockBits == 1)
    return lockBits_ != 0;
  return (lockBits_ & ~1u) != 0;
}

QByteArray SimChip::toState() const {
  QJsonObject stores;
  for (const auto &[store, bytes] : stores_)
    stores[StoreName(store)] = QString::fromLatin1(bytes.toHex());
  QJsonObject root;
  root[QStringLiteral("chip")] = model_.id;
  root[QStringLiteral("lockBits")] = lockBits_;
  root[QStringLiteral("selectedBlock")] = StoreName(selectedBlock_);
  root[QStringLiteral("stores")] = stores;
  return QJsonDocument(root).toJson();
}

bool SimChip::fromState(const QByteArray &state, QString *error) {
  const auto fail = [error](const QString &why) {
    if (error)
      *error = why;
    return false;
  };
  QJsonParseError parseError;
  const QJsonDocument document = QJsonDocument::fromJson(state, &parseError);
  if (!document.isObject())
    return fail(QStringLiteral("not a chip state: %1").arg(parseError.errorString()));
  const QJsonObject root = document.object();
  const QString chip = root.value(QStringLiteral("chip")).toString();
  if (chip != model_.id)
    return fail(QStringLiteral("the state is of chip \"%1\", not \"%2\"").arg(chip, model_.id));

  std::map<Store, QByteArray> loaded = stores_;
  const QJsonObject stores = root.value(QStringLiteral("stores")).toObject();
  for (auto it = stores.begin(); it != stores.end(); ++it) {
    const std::optional<Store> store = StoreFromName(it.key());
    if (!store || !has(*store))
      return fail(QStringLiteral("the chip has no store \"%1\"").arg(it.key()));
    const QByteArray bytes = QByteArray::fromHex(it.value().toString().toLatin1());
    if (bytes.size() != size(*store))
      return fail(QStringLiteral("store \"%1\" holds %2 bytes, not %3")
                      .arg(it.key())
                      .arg(bytes.size())
                      .arg(size(*store)));
    loaded[*store] = bytes;
  }
  const std::optional<Store> block =
      StoreFromName(root.value(QStringLiteral("selectedBlock")).toString());
  stores_ = std::move(loaded);
  lockBits_ = 0;
  programLockBits(static_cast<std::uint8_t>(root.value(QStringLiteral("lockBits")).toInt()));
  selectedBlock_ = block && has(*block) ? *block : Store::Code;
  return true;
}

} // namespace kvr::sim
