#include "ChipModel.h"

#include "FamilyCodes.h"

namespace kvr::sim {

using namespace BaseModule;

QString FamilyOfTypeBytes(const std::array<std::uint8_t, 8> &typeBytes) {
  const std::size_t number = typeBytes[0];
  if (number < 1 || number > FamilyCodes.size())
    return {};
  return FamilyCodes[number - 1];
}

} // namespace kvr::sim
