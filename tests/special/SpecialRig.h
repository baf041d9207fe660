#pragma once

#include "BaseModule.h"
#include "CommandSet.h"
#include "Frame.h"
#include "SimRig.h"
#include "SpecialByteForm.h"

#include <QByteArray>

namespace kvr::test {

// A special command as the PC frames it: "P", number, mode, length.
inline QByteArray SpecialFrame(const QByteArray &fields) {
  return BuildFrame(CommandPayload(BaseModule::CmdSpecial, fields), false);
}

// The data block of a special byte write: the bytes, FFh up to sixteen.
inline QByteArray SpecialByteBlock(const QByteArray &bytes) {
  QByteArray chars;
  for (int i = 0; i < 16; ++i)
    chars.append(EncodeByte(i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0xFF));
  return BuildFrame(chars, false);
}

// Starts the rig on a chip; the small LPC chips first show how to seat them.
inline void StartOn(SimRig &rig, const QString &id) {
  rig.ui.tipConfirmations = {true};
  rig.Start(id);
}

} // namespace kvr::test
