#pragma once

#include "Autodetect.h"
#include "BufferFiles.h"
#include "CellEditor.h"
#include "ControlPanel.h"
#include "DatabaseHandlers.h"
#include "EraseBlank.h"
#include "ImageBuffer.h"
#include "Link.h"
#include "LockAuto.h"
#include "OperationContext.h"
#include "PortHandling.h"
#include "PortMap.h"
#include "ProductionLog.h"
#include "SignatureVerification.h"
#include "SpecialCommands.h"
#include "SpecialMenu.h"
#include "SpecialSet.h"
#include "WriteRead.h"

#include <QHash>
#include <QString>

#include <functional>
#include <optional>

namespace kvr {

class SerialPort;
class Session;
class Ui;

namespace StartupText {
QString AutodetectQuestion();
QString QuitQuestion();
} // namespace StartupText

// The program without its window: start-up, the handlers of every menu entry
// and button by name, and closing. The window, kvr-cli and the tests drive it.
class AppCore {
public:
  AppCore(Session &session, Ui &ui, SerialPort &port, CatalogueOptions catalogueOptions = {});

  Session &session() { return session_; }
  ControlPanel &panel() { return panel_; }
  PortMap &ports() { return ports_; }
  Link &link() { return link_; }
  DatabaseHandlers &catalogue() { return catalogue_; }
  PortHandling &portHandling() { return portHandling_; }
  Autodetect &autodetect() { return autodetect_; }
  SignatureVerifier &signature() { return signature_; }
  ImageBuffer &buffer() { return buffer_; }
  OperationContext &context() { return context_; }
  SpecialSet &specialSet() { return special_; }
  EraseBlank &eraseBlank() { return erase_; }
  WriteRead &writeRead() { return writeRead_; }
  LockAuto &lockAuto() { return lockAuto_; }
  BufferFiles &files() { return files_; }
  CellEditor &editor() { return editor_; }
  SpecialCommands &specialCommands() { return specialCommands_; }
  // Tool > Production log: a line for every chip Auto programs.
  ProductionLog &productionLog() { return productionLog_; }

  // The device selection window; the chosen identifier, or nothing after Cancel.
  std::function<std::optional<QString>()> chooseDevice;
  // Saves the buffer (File > Save); set by the buffer's owner.
  std::function<void()> saveBuffer;
  // Closes the main window (File > Exit).
  std::function<void()> closeWindow;

  // Everything after the window appears, up to the start tip. False when the
  // program is to end (the user declined to go on, or the catalogue is unusable).
  bool Startup();
  // Runs the handler of a menu entry, toolbar button or drop-down entry,
  // after committing a pending cell edit; every command starts with
  // StopRequested clear.
  void Trigger(const QString &name);
  bool HasHandler(const QString &name) const { return handlers_.contains(name); }
  // File > Exit: the save question; the window then closes.
  void MnuExit_Click();
  // The window is about to close: the save and quit questions. True when it
  // may close; the settings are then written and the port is closed.
  bool QueryClose();

  void MnuMCU_Click();
  // Starts the production log in a file the user chooses, or stops it.
  void MnuProductionLog_Click();

private:
  void RunAuto();
  void RegisterHandlers();
  void ShowStartTip();
  void AskToSave();

  Session &session_;
  Ui &ui_;
  SerialPort &port_;
  Link link_;
  ControlPanel panel_;
  PortMap ports_;
  DatabaseHandlers catalogue_;
  ImageBuffer buffer_;
  BufferFiles files_;
  CellEditor editor_;
  OperationContext context_;
  PortHandling portHandling_;
  Autodetect autodetect_;
  SignatureVerifier signature_;
  SpecialSet special_;
  EraseBlank erase_;
  WriteRead writeRead_;
  LockAuto lockAuto_;
  SpecialCommands specialCommands_;
  SpecialMenu specialMenu_;
  ProductionLog productionLog_;
  QHash<QString, std::function<void()>> handlers_;
};

} // namespace kvr
