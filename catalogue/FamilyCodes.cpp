#include "FamilyCodes.h"

#include <algorithm>

namespace kvr::BaseModule {

bool IsFamilyCode(const QString &code) {
  return std::find(FamilyCodes.begin(), FamilyCodes.end(), code) != FamilyCodes.end();
}

} // namespace kvr::BaseModule
