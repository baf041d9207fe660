#include "ControlPanel.h"

#include "ControlLayout.h"
#include "DeviceTraits.h"
#include "FamilyCodes.h"
#include "Session.h"

#include <vector>

namespace kvr {

using namespace BaseModule;

ControlPanel::ControlPanel(const Session &session, QObject *parent)
    : QObject(parent), session_(session), gridRows_([] { return 0; }),
      currentFilePath_([] { return QString(); }) {
  for (const ControlSpec &spec : ControlLayout())
    states_.insert(QLatin1String(spec.name),
                   State{spec.enabled, spec.visible, QString::fromUtf8(spec.caption)});
}

void ControlPanel::setBufferFacts(std::function<int()> gridRows,
                                  std::function<QString()> currentFilePath) {
  gridRows_ = std::move(gridRows);
  currentFilePath_ = std::move(currentFilePath);
}

template <typename T>
void ControlPanel::update(const QString &name, T State::*field, const T &value) {
  auto it = states_.find(name);
  Q_ASSERT_X(it != states_.end(), "ControlPanel", qPrintable(name));
  if (it == states_.end() || (*it).*field == value)
    return;
  (*it).*field = value;
  emit stateChanged(name);
}

bool ControlPanel::isOffered(const QString &name) const {
  const ControlSpec *spec = FindControl(name);
  if (!spec)
    return false;
  for (; spec; spec = *spec->parent ? FindControl(QLatin1String(spec->parent)) : nullptr) {
    const QString control = QLatin1String(spec->name);
    if (!isEnabled(control) || !isVisible(control))
      return false;
  }
  return true;
}

void ControlPanel::setEnabled(const QString &name, bool enabled) {
  update(name, &State::enabled, enabled);
}
void ControlPanel::setVisible(const QString &name, bool visible) {
  update(name, &State::visible, visible);
}
void ControlPanel::setText(const QString &name, const QString &text) {
  update(name, &State::text, text);
}
void ControlPanel::setValue(const QString &name, int value) { update(name, &State::value, value); }

namespace {
const QString kBlockList = QStringLiteral("LstCurrentBlock");
const QString kBlockListCaption = QStringLiteral("LstCurrentBlockCaption");
const QString kSixClockBox = QStringLiteral("chkClkSpeed");
} // namespace

bool ControlPanel::blockListShown() const { return isVisible(kBlockList); }
int ControlPanel::currentBlock() const { return value(kBlockList) == 0 ? 0 : 1; }

void ControlPanel::showBlockList(bool shown) {
  setVisible(kBlockList, shown);
  setVisible(kBlockListCaption, shown);
  if (shown)
    setValue(kBlockList, 0);
}

bool ControlPanel::sixClockTicked() const {
  return isVisible(kSixClockBox) && value(kSixClockBox) != 0;
}
void ControlPanel::showSixClockBox(bool shown) { setVisible(kSixClockBox, shown); }

void ControlPanel::enable(std::initializer_list<const char *> names, bool enabled) {
  for (const char *name : names)
    setEnabled(QLatin1String(name), enabled);
}

void ControlPanel::show(std::initializer_list<const char *> names, bool visible) {
  for (const char *name : names)
    setVisible(QLatin1String(name), visible);
}

void ControlPanel::SetMenuOptions(bool busy) {
  if (busy) {
    enable({"MnuFile", "MnuSelectDevice", "MnuOperations", "MnuTool", "MnuHelp"}, false);
    enable({"TbnStop"}, true);
    show({"TbnFileOpen"}, true);
    enable({"TbnFileOpen", "TbnFileSave", "TbnVerifySignature", "TbnBlankCheck", "TbnErase",
            "TbnLock", "TbnRead", "TbnWrite", "TbnAuto", "TbnErase_12v", "TbnErase_5v",
            "TbnSpecialCommand"},
           false);
    return;
  }

  const QString family = session_.Mcu.FamilyCode;
  const QString id = session_.Mcu.MCUIDNumber;
  const bool eeprom = family == EEPROM24Cxx;
  // A programmer of another model gets no device command, not even the
  // signature verification, until a presence check passes.
  const bool programmerUsable = !session_.IncorrectModel;

  enable({"MnuFile", "MnuHelp", "MnuTool"}, true);
  enable({"MnuSelectDevice", "MnuOperations"}, session_.DatabaseAvailable);
  enable({"TbnStop"}, false);

  if (!session_.SignatureVerified || !programmerUsable) {
    enable({"MnuVerifySignature", "MnuBlankCheck", "MnuErase", "MnuWrite", "MnuRead", "MnuLock",
            "MnuAuto", "MnuSpecialCommands"},
           false);
    enable({"TbnVerifySignature"}, !id.isEmpty() && programmerUsable);
    enable({"TbnBlankCheck", "TbnErase", "TbnLock", "TbnRead", "TbnWrite", "TbnAuto",
            "TbnErase_12v", "TbnErase_5v"},
           false);
  } else {
    enable({"MnuVerifySignature", "MnuBlankCheck", "MnuErase", "MnuLock", "MnuRead",
            "MnuSpecialCommands"},
           true);
    const bool philips = family == PHILIPS66X || family == PHILIPS5xX2 || family == PHILIPSRX2 ||
                         family == PHILIPS6xX2 || family == PHILIPSLPC || family == PHILIPSRx2XX ||
                         Traits(session_.Mcu).sixClock87C;
    enable({"MnuSpecialCmdPhilips"}, philips);
    enable({"MnuSpecialCmdWinBond"}, family == WINBOND78E);
    const bool atmel = family == ATMEL89C || family == ATMEL89L || family == ATMEL89S;
    enable({"MnuSpecialCmdAtmel", "MnuEraseWithoutSV"}, atmel);
    if (eeprom)
      enable({"TbnVerifySignature", "TbnLock", "TbnSpecialCommand", "MnuLock", "MnuVerifySignature",
              "MnuSpecialCommands", "MnuAuto"},
             false);
    else
      enable({"TbnVerifySignature", "TbnLock", "TbnSpecialCommand"}, true);
    enable({"TbnBlankCheck", "TbnErase", "TbnRead"}, true);
    enable({"TbnErase_12v", "TbnErase_5v"}, false);
    enable({"MnuWrite", "MnuAuto", "TbnWrite", "TbnAuto"}, gridRows_() > 0);
  }

  enable({"TbnFileOpen"}, true);
  if (!currentFilePath_().isEmpty())
    enable({"MnuSave", "MnuSaveAs", "TbnFileSave"}, true);

  if (eeprom)
    enable({"TbnVerifySignature", "TbnLock", "TbnSpecialCommand", "TbnAuto", "MnuLock",
            "MnuVerifySignature", "MnuSpecialCommands", "MnuAuto"},
           false);
}

void ControlPanel::DisableAllDropDown() {
  show({"BMnu_6xCLK",
        "BMnu_12xCLK_Rx2",
        "BMnu_Write32ByteUserP",
        "BMnu_Read32ByteUserP",
        "BMnu_Read1ByteUCFG1",
        "BMnu_StatusByte&BootVector",
        "BMnu_WriteLDROM",
        "BMnu_ReadLDROM",
        "BMnu_ReadEEPROM",
        "BMnu_WriteEEPROM",
        "BMnu_Write4kDataBlock",
        "BMnu_Read4kDataBlock",
        "BMnu_Write8kDataBlock",
        "BMnu_Read8kDataBlock",
        "BMnu_ProgramReMapBit",
        "BMnu_ReadSecFlashBlock1",
        "BMnu_WriteSecFlashBlock1",
        "BMnu_BlockErase",
        "BMnu_SetStartUpConfigBitSC0_RD",
        "BMnu_SetDoubleClockMode_RD",
        "BMnu_Read8kSecondaryFlashBlock1",
        "BMnu_Write8kSecondaryFlashBlock1",
        "BMnu_BlockErase_RC",
        "BMnu_SetStartUpConfigBitSC0_RC",
        "BMnu_SetStartUpConfigBitSC1",
        "BMnu_SetDoubleClockMode_RC",
        "BMnu_I2CSlaveAddress"},
       false);
  show({"NA"}, true);
}

namespace {
using TraitCondition = bool (*)(const DeviceTraits &traits);
bool Any(const DeviceTraits &) { return true; }
bool DataEeprom(const DeviceTraits &t) { return t.dataEeprom; }
bool I2cSlaveAddress(const DeviceTraits &t) { return t.i2cSlaveAddress; }
bool NoI2cSlaveAddress(const DeviceTraits &t) { return !t.i2cSlaveAddress; }
bool LdRom(const DeviceTraits &t) { return t.ldRom; }
bool RdSubmenu(const DeviceTraits &t) { return t.rdSubmenu; }
bool RcCommands(const DeviceTraits &t) { return t.rcCommands; }
bool TwoFlashBlocks(const DeviceTraits &t) { return t.twoFlashBlocks; }
bool SixClock87C(const DeviceTraits &t) { return t.sixClock87C; }

// Operations > Special Commands: the family submenu to enable. The first row
// of the selected family whose device condition holds counts; a family whose
// rows all fail enables nothing.
struct SubmenuRule {
  const QString &family;
  TraitCondition condition;
  std::vector<const char *> enabled;
  std::vector<const char *> disabled;
};
const std::vector<SubmenuRule> kSubmenuRules{
    {WINBOND78E, Any, {"Mnu78E"}, {}},
    {PHILIPS66X, I2cSlaveAddress, {"Mnu89C66xx", "Mnu89C669"}, {"Mnu89C66x"}},
    {PHILIPS66X, NoI2cSlaveAddress, {"Mnu89C66xx", "Mnu89C66x"}, {"Mnu89C669"}},
    {PHILIPSRX2, Any, {"Mnu89C51Rx2"}, {}},
    {PHILIPS5xX2, Any, {"Mnu89C5xX2"}, {}},
    {PHILIPS87C, SixClock87C, {"Mnu89C5xX2"}, {}},
    {PHILIPS6xX2, Any, {"Mnu89C6xX2"}, {}},
    {PHILIPSLPC, Any, {"MnuLPC"}, {}},
    {ATMEL89S, DataEeprom, {"Mnu89S"}, {}},
    {PHILIPSRx2XX, Any, {"mnuRx2XX"}, {}},
    {ATMELT89C51xx, Any, {"MnuT89C51xx"}, {}},
    {SSTFXX, Any, {"MnuFxx"}, {}},
    {SSTCXX, Any, {"MnuCxx"}, {}},
    {SST89x5xxRx, RdSubmenu, {"Mnu89E564RD"}, {}},
    {SST89x5xxRx, RcCommands, {"Mnu89E554RC"}, {}},
    {PHILIPSVRx2XX, RdSubmenu, {"Mnu89E564RD"}, {}},
};

const char *const kStatusByteEntry = "BMnu_StatusByte&BootVector";
const char *const kBootVector = "Status Byte && Boot Vector";
const char *const kBootVectors = "Status Byte && Boot Vectors";

// Toolbar drop-down entries of a family. The first two families are looked at
// on their own; the rest form one chain in which only the selected family's
// first row whose device condition holds counts.
struct DropDownRule {
  const QString &family;
  TraitCondition condition;
  std::vector<const char *> shown;
  const char *statusByteText; // text of the status byte entry, when shown
  std::vector<const char *> hidden;
};
const std::vector<DropDownRule> kIndependentDropDownRules{
    {PHILIPSRX2, Any, {"BMnu_12xCLK_Rx2", kStatusByteEntry}, kBootVector, {}},
    {PHILIPS66X,
     I2cSlaveAddress,
     {"BMnu_Write8kDataBlock", "BMnu_Read8kDataBlock", "BMnu_6xCLK", kStatusByteEntry},
     kBootVectors,
     {"BMnu_I2CSlaveAddress"}},
    {PHILIPS66X, NoI2cSlaveAddress, {"BMnu_12xCLK_Rx2", kStatusByteEntry}, kBootVector, {}},
};
const std::vector<DropDownRule> kChainedDropDownRules{
    {PHILIPSLPC,
     Any,
     {"BMnu_Write32ByteUserP", "BMnu_Read32ByteUserP", "BMnu_Read1ByteUCFG1"},
     nullptr,
     {}},
    {PHILIPS5xX2, Any, {"BMnu_6xCLK"}, nullptr, {}},
    {PHILIPS87C, SixClock87C, {"BMnu_6xCLK"}, nullptr, {}},
    {PHILIPS6xX2, Any, {"BMnu_6xCLK", kStatusByteEntry}, kBootVector, {}},
    {PHILIPSRXPlus, Any, {kStatusByteEntry}, kBootVector, {}},
    {WINBOND78E, LdRom, {"BMnu_WriteLDROM", "BMnu_ReadLDROM"}, nullptr, {}},
    {ATMEL89S, DataEeprom, {"BMnu_WriteEEPROM", "BMnu_ReadEEPROM"}, nullptr, {}},
    {PHILIPSRx2XX,
     Any,
     {"BMnu_Write4kDataBlock", "BMnu_Read4kDataBlock", "BMnu_6xCLK", kStatusByteEntry},
     kBootVector,
     {}},
    {SSTCXX,
     Any,
     {"BMnu_WriteSecFlashBlock1", "BMnu_ReadSecFlashBlock1", "BMnu_ProgramReMapBit"},
     nullptr,
     {}},
    {SSTFXX, Any, {"BMnu_WriteSecFlashBlock1", "BMnu_ReadSecFlashBlock1"}, nullptr, {}},
    {PHILIPSVRx2XX, TwoFlashBlocks, {"BMnu_BlockErase", "BMnu_SetDoubleClockMode_RD"}, nullptr, {}},
    {SST89x5xxRx,
     TwoFlashBlocks,
     {"BMnu_BlockErase", "BMnu_SetStartUpConfigBitSC0_RD", "BMnu_SetDoubleClockMode_RD"},
     nullptr,
     {}},
    {SST89x5xxRx,
     RcCommands,
     {"BMnu_Read8kSecondaryFlashBlock1", "BMnu_Write8kSecondaryFlashBlock1", "BMnu_BlockErase_RC",
      "BMnu_SetStartUpConfigBitSC0_RC", "BMnu_SetStartUpConfigBitSC1",
      "BMnu_SetDoubleClockMode_RC"},
     nullptr,
     {}},
};

// The first row of the family whose condition holds.
template <typename Rule>
const Rule *FirstMatch(const std::vector<Rule> &rules, const SelectedMcu &mcu) {
  const DeviceTraits traits = Traits(mcu);
  for (const Rule &rule : rules)
    if (rule.family == mcu.FamilyCode && rule.condition(traits))
      return &rule;
  return nullptr;
}
} // namespace

void ControlPanel::SetSpecialOperationMenu() {
  enable({"Mnu78E", "Mnu89C66xx", "Mnu89C51Rx2", "Mnu89C5xX2", "Mnu89C6xX2", "Mnu89S", "MnuLPC",
          "mnuRx2XX", "MnuT89C51xx", "MnuFxx", "MnuCxx", "Mnu89E564RD", "Mnu89E554RC"},
         false);
  const SubmenuRule *rule = FirstMatch(kSubmenuRules, session_.Mcu);
  if (!rule)
    return;
  for (const char *name : rule->enabled)
    setEnabled(QLatin1String(name), true);
  for (const char *name : rule->disabled)
    setEnabled(QLatin1String(name), false);
}

bool ControlPanel::SetDropDownOptions_Special() {
  DisableAllDropDown();
  SetSpecialOperationMenu();

  const auto apply = [this](const DropDownRule *rule) {
    if (!rule)
      return;
    for (const char *name : rule->shown)
      setVisible(QLatin1String(name), true);
    for (const char *name : rule->hidden)
      setVisible(QLatin1String(name), false);
    if (rule->statusByteText)
      setText(QLatin1String(kStatusByteEntry), QLatin1String(rule->statusByteText));
    setVisible(QStringLiteral("NA"), false);
  };
  const DeviceTraits traits = Traits(session_.Mcu);
  for (const DropDownRule &rule : kIndependentDropDownRules)
    if (rule.family == session_.Mcu.FamilyCode && rule.condition(traits))
      apply(&rule);
  apply(FirstMatch(kChainedDropDownRules, session_.Mcu));

  return !isVisible(QStringLiteral("NA"));
}

} // namespace kvr
