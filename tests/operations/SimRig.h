#pragma once

#include "AppCore.h"
#include "ChipSource.h"
#include "Globals.h"
#include "ImageBuffer.h"
#include "LoopbackPort.h"
#include "ProgramFolder.h"
#include "Programmer.h"
#include "ScriptedPeer.h"
#include "ScriptedUi.h"
#include "Session.h"
#include "SimChip.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace kvr::test {

// The whole program without its window, on the simulated programmer behind a
// LoopbackPort, with the shipped catalogue: every operation end to end.
struct SimRig {
  ProgramFolder folder;
  Session session;
  ScriptedUi ui;
  sim::Programmer programmer;
  LoopbackPort port{&programmer};
  AppCore core{session, ui, port, CatalogueOptions{folder.userFolder(), QStringLiteral("QSQLITE")}};

  // Seats the chip, opens the line and verifies the signature, as a user
  // does before any device command.
  void Start(const QString &id) {
    BaseModule::InitGlobals(session, folder.path());
    ASSERT_EQ(core.catalogue().OpenCatalogue(), DatabaseHandlers::OpenOutcome::Opened);
    QString error;
    const auto model = sim::LoadCatalogueChip(folder.catalogue(), id, &error);
    ASSERT_TRUE(model) << error.toStdString();
    programmer.seat(std::make_unique<sim::SimChip>(*model));
    ASSERT_TRUE(core.catalogue().SelectMcu(id));
    core.link().setReplyTimeout(std::chrono::milliseconds(300));
    session.PortNumber = 1;
    ASSERT_TRUE(port.open());
    session.PortIsOpen = true;
    session.ProgrammerPresent = true;
    core.signature().MnuVerifySignature_Click();
    ASSERT_TRUE(session.SignatureVerified) << ui.texts().join('|').toStdString();
    Settle();
    ui.messages.clear();
    ui.activityHistory.clear();
    ui.popUps.clear();
    port.clearSentBytes();
  }

  // An image of these bytes as if read from a binary file of that name:
  // rows made even, the rest "XX".
  void Load(const QByteArray &bytes, const QString &file = QStringLiteral("prog.bin")) {
    ImageBuffer &buffer = core.buffer();
    buffer.clear();
    int rows = (static_cast<int>(bytes.size()) + 15) / 16;
    buffer.setRowCount(rows + rows % 2);
    for (int a = 0; a < buffer.rowCount() * 16; ++a) {
      if (a < bytes.size())
        buffer.setByte(a, static_cast<unsigned char>(bytes[a]));
      else
        buffer.setNoData(a);
    }
    buffer.FileEnd = static_cast<int>(bytes.size()) + 1;
    buffer.CurrentFilePath = file;
    core.panel().SetMenuOptions(false);
  }

  QByteArray ChipCode(int count) const {
    return const_cast<sim::Programmer &>(programmer).chip()->read(sim::Store::Code, 0, count);
  }

  // Everything the PC sent, once the last bytes reached the programmer.
  QByteArray Wire() {
    Settle();
    return port.sentBytes();
  }
};

// Bytes with a pattern that has no FFh in it.
inline QByteArray Pattern(int count) {
  QByteArray bytes(count, 0);
  for (int i = 0; i < count; ++i)
    bytes[i] = static_cast<char>((i * 7 + 3) % 251);
  return bytes;
}

} // namespace kvr::test
