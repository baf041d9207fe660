#pragma once

#include "Ui.h"

namespace kvr::bench {

// A Ui for measurements: shows nothing, declines every question and dialog.
class SilentUi : public Ui {
public:
  void message(const QString &, MessageIcon, const QString &) override {}
  Answer ask(const QString &, Buttons, MessageIcon, const QString &) override { return Answer::No; }
  std::optional<int> choosePort(int, const PortMap &) override { return std::nullopt; }
  bool confirmPositioningTip(const QString &) override { return false; }
  bool showWarningWindow(WarningWindow, bool &) override { return false; }
  std::optional<std::array<bool, 4>> chooseLockBits(const LockBitsSetup &) override {
    return std::nullopt;
  }
  bool showStartTip() override { return false; }
  std::optional<FileDialogChoice> chooseFileToOpen(const FileDialogRequest &) override {
    return std::nullopt;
  }
  QString chooseFileToSave(const FileDialogRequest &) override { return QString(); }
  bool editSpecialByte(SpecialByteForm &) override { return false; }
  void showFloatingMessage(const QString &) override {}
  void hideFloatingMessage() override {}
};

} // namespace kvr::bench
