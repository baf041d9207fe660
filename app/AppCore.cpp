#include "AppCore.h"

#include "FileFilters.h"
#include "Globals.h"
#include "SerialPort.h"
#include "Session.h"
#include "Settings.h"
#include "Ui.h"

namespace kvr {

namespace {
const QString kStartupRead = QStringLiteral("Startup");
const QString kStartupWrite = QStringLiteral("StartUp");

QString RecentFileKey(size_t slot) { return QStringLiteral("LastUsedFile%1").arg(slot + 1); }
} // namespace

QString StartupText::AutodetectQuestion() {
  return QStringLiteral("Proceed with Autodetect?\r\n\r\nIf you face problems by selecting 'Yes', "
                        "select 'No' and select the port manually.");
}

QString StartupText::QuitQuestion() {
  return QStringLiteral("Are you sure you want to quit ") + kAppTitle + QStringLiteral(" ?");
}

AppCore::AppCore(Session &session, Ui &ui, SerialPort &port, CatalogueOptions catalogueOptions)
    : session_(session), ui_(ui), port_(port), link_(port, session, ui), panel_(session),
      catalogue_(session, ui, std::move(catalogueOptions)), files_(session, ui, panel_, buffer_),
      editor_(session, ui, buffer_), context_{session, ui,     port,       link_,
                                              panel_,  ports_, catalogue_, buffer_},
      portHandling_(context_), autodetect_(context_, portHandling_),
      signature_(context_, portHandling_), special_(context_), erase_(context_, special_),
      writeRead_(context_, special_), lockAuto_(context_, writeRead_),
      specialCommands_(context_, special_, writeRead_), specialMenu_(context_, specialCommands_) {
  panel_.setBufferFacts([this] { return buffer_.rowCount(); },
                        [this] { return buffer_.CurrentFilePath; });
  saveBuffer = [this] { files_.MnuSave_Click(); };
  context_.files.save = [this] { files_.MnuSave_Click(); };
  context_.files.loadImageFile = [this](const QString &path) { return files_.FileOpen(path); };
  context_.files.resizeGrid = [this](int size) { files_.ResetGrid(size); };
  context_.files.reloadChangedFile = [this](const QString &path) {
    return IsHexFileName(path) ? files_.FileOpenHex_1(path) : files_.FileOpen(path);
  };
  RegisterHandlers();
}

void AppCore::RegisterHandlers() {
  handlers_ = {
      {QStringLiteral("MnuAutodetect"), [this] { autodetect_.MnuAutodetect_Click(); }},
      {QStringLiteral("MnuSelect"), [this] { portHandling_.MnuSelect_Click(); }},
      {QStringLiteral("MnuMCU"), [this] { MnuMCU_Click(); }},
      {QStringLiteral("MnuVerifySignature"), [this] { signature_.MnuVerifySignature_Click(); }},
      {QStringLiteral("TbnVerifySignature"), [this] { signature_.MnuVerifySignature_Click(); }},
      {QStringLiteral("MnuExit"), [this] { MnuExit_Click(); }},
      {QStringLiteral("MnuErase12V"), [this] { erase_.MnuErase12V_Click(); }},
      {QStringLiteral("TbnErase_12v"), [this] { erase_.MnuErase12V_Click(); }},
      {QStringLiteral("MnuErase5V"), [this] { erase_.MnuErase5V_Click(); }},
      {QStringLiteral("TbnErase_5v"), [this] { erase_.MnuErase5V_Click(); }},
      {QStringLiteral("MnuEraseWithSV"), [this] { erase_.MnuEraseWithSV_Click(); }},
      {QStringLiteral("TbnErase"), [this] { erase_.MnuEraseWithSV_Click(); }},
      {QStringLiteral("MnuBlankCheck"), [this] { erase_.MnuBlankCheck_Click(); }},
      {QStringLiteral("TbnBlankCheck"), [this] { erase_.MnuBlankCheck_Click(); }},
      {QStringLiteral("MnuBlockErase"), [this] { erase_.MnuBlockErase_Click(); }},
      {QStringLiteral("BMnu_BlockErase"), [this] { erase_.MnuBlockErase_Click(); }},
      {QStringLiteral("MnuBlockEraseFlashBlock1"),
       [this] { erase_.MnuBlockEraseFlashBlock1_Click(); }},
      {QStringLiteral("BMnu_BlockErase_RC"), [this] { erase_.MnuBlockEraseFlashBlock1_Click(); }},
      {QStringLiteral("MnuWrite"), [this] { writeRead_.MnuWrite_Click(); }},
      {QStringLiteral("TbnWrite"), [this] { writeRead_.MnuWrite_Click(); }},
      {QStringLiteral("MnuRead"), [this] { writeRead_.MnuRead_Click(); }},
      {QStringLiteral("TbnRead"), [this] { writeRead_.MnuRead_Click(); }},
      {QStringLiteral("MnuLock"), [this] { lockAuto_.MnuLock_Click(); }},
      {QStringLiteral("TbnLock"), [this] { lockAuto_.MnuLock_Click(); }},
      {QStringLiteral("MnuAuto"), [this] { RunAuto(); }},
      {QStringLiteral("TbnAuto"), [this] { RunAuto(); }},
      {QStringLiteral("MnuOpen"), [this] { files_.MnuOpen_Click(); }},
      {QStringLiteral("TbnFileOpen"), [this] { files_.MnuOpen_Click(); }},
      {QStringLiteral("MnuSave"), [this] { files_.MnuSave_Click(); }},
      {QStringLiteral("TbnFileSave"), [this] { files_.MnuSave_Click(); }},
      {QStringLiteral("MnuSaveAs"), [this] { files_.MnuSaveAs_Click(); }},
      {QStringLiteral("mnuEditCell"), [this] { editor_.EditCell(); }},
      {QStringLiteral("MnuenableWrn"), [this] { specialMenu_.MnuenableWrn_Click(); }},
      {QStringLiteral("MnuProductionLog"), [this] { MnuProductionLog_Click(); }},
  };
  for (int slot = 1; slot <= 4; ++slot)
    handlers_.insert(QStringLiteral("MnuFileLastFile%1").arg(slot),
                     [this, slot] { files_.MnuFileLastFile_Click(slot); });
  for (const QString &name : SpecialMenu::EntryNames())
    handlers_.insert(name, [this, name] { specialMenu_.Click(name); });
}

void AppCore::Trigger(const QString &name) {
  // Opening a menu or running a command takes the pending byte first.
  editor_.CommitPendingEdit();
  // A command starts afresh: a Stop pressed before it, or left set by one
  // that was stopped, must not end it.
  session_.clearStop();
  const auto handler = handlers_.constFind(name);
  if (handler != handlers_.constEnd())
    (*handler)();
}

void AppCore::RunAuto() {
  const ChipRun chip(context_);
  const AutoOutcome outcome = lockAuto_.MnuAuto_Click();
  if (outcome == AutoOutcome::Declined || !productionLog_.isOpen())
    return;
  if (!productionLog_.append(chip.Finish(QStringLiteral("auto"), outcome == AutoOutcome::Passed)))
    ui_.message(productionLog_.errorText(), MessageIcon::Exclamation);
}

void AppCore::MnuProductionLog_Click() {
  if (productionLog_.isOpen()) {
    if (ui_.ask(ProductionLogText::StopQuestion(productionLog_.path()), Buttons::YesNo,
                MessageIcon::Question) == Answer::Yes)
      productionLog_.close();
    return;
  }
  FileDialogRequest request;
  request.title = ProductionLogText::DialogTitle;
  request.filter = ProductionLogText::DialogFilter;
  request.filterIndex = 1;
  request.folder = files_.DialogFolder();
  request.defaultExtension = QStringLiteral("jsonl");
  const QString path = ui_.chooseFileToSave(request);
  if (path.isEmpty())
    return;
  if (productionLog_.open(path))
    ui_.message(ProductionLogText::Started(path), MessageIcon::Information);
  else
    ui_.message(productionLog_.errorText(), MessageIcon::Exclamation);
}

bool AppCore::Startup() {
  BaseModule::InitGlobals(session_);
  ports_.refresh();
  ui_.setActivity(QStringLiteral("Ready"));
  ui_.setPanelText(Panel::SbrPort, PortPanelText(session_.PortNumber) + QStringLiteral(" (Def)"));

  if (catalogue_.OpenCatalogue() == DatabaseHandlers::OpenOutcome::EndProgram)
    return false;

  QString lastPort = Settings::Value(kStartupRead, QStringLiteral("LastCOMPort"));
  if (lastPort.isEmpty())
    lastPort = QStringLiteral("0");
  const QString lastMcu = Settings::Value(kStartupRead, QStringLiteral("LastMCU"));
  std::array<QString, 4> recentFiles;
  for (size_t slot = 0; slot < recentFiles.size(); ++slot)
    recentFiles[slot] = Settings::Value(kStartupRead, RecentFileKey(slot));
  files_.ShowRecentFiles(recentFiles);
  // No known port keeps the first start's COM2: there is no COM0 to open.
  const int savedPort = lastPort.trimmed().toInt();
  if (savedPort != 0)
    session_.PortNumber = savedPort;
  if (session_.DatabaseAvailable)
    catalogue_.SelectMcu(lastMcu);

  if (session_.DatabaseAvailable) {
    const auto autodetectQuestion = [this] {
      return ui_.ask(StartupText::AutodetectQuestion(), Buttons::YesNo, MessageIcon::Question) ==
             Answer::Yes;
    };
    if (savedPort == 0) {
      if (autodetectQuestion())
        autodetect_.AutoD_and_VerifyS();
    } else {
      autodetect_.detect(true, session_.PortNumber);
      if (!session_.Autodetected && autodetectQuestion())
        autodetect_.MnuAutodetect_Click();
    }
  } else if (!catalogue_.AskToContinueWithoutCatalogue()) {
    return false;
  }

  session_.clearStop();
  panel_.SetMenuOptions(false);
  if (!lastMcu.isEmpty() && !session_.IncorrectModel)
    panel_.setEnabled(QStringLiteral("TbnVerifySignature"), true);
  panel_.DisableAllDropDown();
  panel_.SetSpecialOperationMenu();
  ShowStartTip();
  return true;
}

void AppCore::ShowStartTip() {
  if (!catalogue_.IsOpen() || !catalogue_.StartTipEnabled(StartTipRow::StartTip))
    return;
  const bool dontShowAgain = ui_.showStartTip();
  catalogue_.SetStartTip(StartTipRow::StartTip, !dontShowAgain);
}

void AppCore::AskToSave() {
  if (!session_.BufferModified)
    return;
  if (ui_.ask(BufferText::SaveQuestion, Buttons::YesNo, MessageIcon::Exclamation) == Answer::Yes &&
      saveBuffer)
    saveBuffer();
}

void AppCore::MnuExit_Click() {
  AskToSave();
  if (closeWindow)
    closeWindow();
}

bool AppCore::QueryClose() {
  AskToSave();
  if (ui_.ask(StartupText::QuitQuestion(), Buttons::YesNo, MessageIcon::Exclamation) != Answer::Yes)
    return false;
  ShowStartTip();
  portHandling_.PortClose();
  Settings::SetValue(kStartupWrite, QStringLiteral("LastCOMPort"),
                     session_.ProgrammerPresent ? QString::number(session_.PortNumber)
                                                : QStringLiteral("0"));
  Settings::SetValue(kStartupWrite, QStringLiteral("LastMCU"), session_.Mcu.MCUIDNumber);
  for (size_t slot = 0; slot < files_.RecentFiles().size(); ++slot)
    Settings::SetValue(kStartupWrite, RecentFileKey(slot), files_.RecentFiles()[slot]);
  return true;
}

void AppCore::MnuMCU_Click() {
  const std::optional<QString> chosen = chooseDevice ? chooseDevice() : std::nullopt;
  if (chosen)
    catalogue_.SelectMcu(*chosen);
  panel_.SetMenuOptions(false);
  if (chosen && !session_.Mcu.MCUIDNumber.isEmpty())
    signature_.MnuVerifySignature_Click();
}

} // namespace kvr
