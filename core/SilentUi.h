#pragma once

#include "Ui.h"

namespace kvr {

// A Ui that shows nothing and cancels every dialog; every question gets the
// same answer. Benchmarks and fuzz targets run the core with it.
class SilentUi : public Ui {
public:
  explicit SilentUi(Answer answer = Answer::No) : answer_(answer) {}

  void showMessage(const QString &, MessageIcon, const QString &) override {}
  Answer ask(const QString &, Buttons, MessageIcon, const QString &) override { return answer_; }
  std::optional<int> choosePort(int, PortMap &) override { return std::nullopt; }
  bool confirmPositioningTip(const QString &, int) override { return false; }
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

private:
  Answer answer_;
};

} // namespace kvr
