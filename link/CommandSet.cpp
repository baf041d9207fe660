#include "CommandSet.h"

#include "BaseModule.h"

namespace kvr {

const CommandSpec *FindCommand(char letter) {
  for (const CommandSpec &spec : kCommandSet)
    if (spec.letter == letter)
      return &spec;
  return nullptr;
}

QByteArray CommandPayload(char letter, const QByteArray &fields) {
  QByteArray payload;
  payload.reserve(2 + fields.size());
  payload.append(BaseModule::ENQ).append(letter).append(fields);
  return payload;
}

QByteArray D5(int value) { return QByteArray::number(value).rightJustified(5, '0'); }

} // namespace kvr
