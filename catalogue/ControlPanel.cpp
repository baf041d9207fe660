#include "ControlPanel.h"

#include "ControlLayout.h"
#include "FamilyCodes.h"
#include "Session.h"

#include <vector>

namespace kvr {

using namespace BaseModule;

int NumericIdentifier(const QString &id) {
  int value = 0;
  for (const QChar c : id.trimmed()) {
    if (!c.isDigit())
      break;
    value = value * 10 + c.digitValue();
    if (value > 1'000'000)
      break;
  }
  return value;
}

bool IsSixClockPhilips87C(const QString &family, const QString &id) {
  const int n = NumericIdentifier(id);
  return family == PHILIPS87C && n >= 71 && n <= 74;
}

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

  enable({"MnuFile", "MnuHelp", "MnuTool"}, true);
  enable({"MnuSelectDevice", "MnuOperations"}, session_.DatabaseAvailable);
  enable({"TbnStop"}, false);

  if (!session_.SignatureVerified) {
    enable({"MnuVerifySignature", "MnuBlankCheck", "MnuErase", "MnuWrite", "MnuRead", "MnuLock",
            "MnuAuto", "MnuSpecialCommands"},
           false);
    enable({"TbnVerifySignature"}, !id.isEmpty());
    enable({"TbnBlankCheck", "TbnErase", "TbnLock", "TbnRead", "TbnWrite", "TbnAuto",
            "TbnErase_12v", "TbnErase_5v"},
           false);
  } else {
    enable({"MnuVerifySignature", "MnuBlankCheck", "MnuErase", "MnuLock", "MnuRead",
            "MnuSpecialCommands"},
           true);
    const bool philips = family == PHILIPS66X || family == PHILIPS5xX2 || family == PHILIPSRX2 ||
                         family == PHILIPS6xX2 || family == PHILIPSLPC || family == PHILIPSRx2XX ||
                         IsSixClockPhilips87C(family, id);
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
using IdCondition = bool (*)(const QString &id);
bool AnyId(const QString &) { return true; }
bool Is017(const QString &id) { return id == QLatin1String("017"); }
bool Is039(const QString &id) { return id == QLatin1String("039"); }
bool IsNot039(const QString &id) { return !Is039(id); }
bool Is064Or065(const QString &id) {
  return id == QLatin1String("064") || id == QLatin1String("065");
}
bool Is071(const QString &id) { return id == QLatin1String("071"); }
bool Is072(const QString &id) { return id == QLatin1String("072"); }
bool Is071Or76(const QString &id) { return Is071(id) || id == QLatin1String("76"); }
bool Is75(const QString &id) { return id == QLatin1String("75"); }
bool Is71To74(const QString &id) { return IsSixClockPhilips87C(BaseModule::PHILIPS87C, id); }

// Operations > Special Commands: the family submenu to enable. The first row
// of the selected family whose identifier condition holds counts; a family
// whose rows all fail enables nothing.
struct SubmenuRule {
  const QString &family;
  IdCondition condition;
  std::vector<const char *> enabled;
  std::vector<const char *> disabled;
};
const std::vector<SubmenuRule> kSubmenuRules{
    {WINBOND78E, AnyId, {"Mnu78E"}, {}},
    {PHILIPS66X, Is039, {"Mnu89C66xx", "Mnu89C669"}, {"Mnu89C66x"}},
    {PHILIPS66X, IsNot039, {"Mnu89C66xx", "Mnu89C66x"}, {"Mnu89C669"}},
    {PHILIPSRX2, AnyId, {"Mnu89C51Rx2"}, {}},
    {PHILIPS5xX2, AnyId, {"Mnu89C5xX2"}, {}},
    {PHILIPS87C, Is71To74, {"Mnu89C5xX2"}, {}},
    {PHILIPS6xX2, AnyId, {"Mnu89C6xX2"}, {}},
    {PHILIPSLPC, AnyId, {"MnuLPC"}, {}},
    {ATMEL89S, Is017, {"Mnu89S"}, {}},
    {PHILIPSRx2XX, AnyId, {"mnuRx2XX"}, {}},
    {ATMELT89C51xx, AnyId, {"MnuT89C51xx"}, {}},
    {SSTFXX, AnyId, {"MnuFxx"}, {}},
    {SSTCXX, AnyId, {"MnuCxx"}, {}},
    {SST89x5xxRx, Is071, {"Mnu89E564RD"}, {}},
    {SST89x5xxRx, Is072, {"Mnu89E554RC"}, {}},
    {PHILIPSVRx2XX, Is75, {"Mnu89E564RD"}, {}},
};

const char *const kStatusByteEntry = "BMnu_StatusByte&BootVector";
const char *const kBootVector = "Status Byte && Boot Vector";
const char *const kBootVectors = "Status Byte && Boot Vectors";

// Toolbar drop-down entries of a family. The first two families are looked at
// on their own; the rest form one chain in which only the selected family's
// first row whose identifier condition holds counts.
struct DropDownRule {
  const QString &family;
  IdCondition condition;
  std::vector<const char *> shown;
  const char *statusByteText; // text of the status byte entry, when shown
  std::vector<const char *> hidden;
};
const std::vector<DropDownRule> kIndependentDropDownRules{
    {PHILIPSRX2, AnyId, {"BMnu_12xCLK_Rx2", kStatusByteEntry}, kBootVector, {}},
    {PHILIPS66X,
     Is039,
     {"BMnu_Write8kDataBlock", "BMnu_Read8kDataBlock", "BMnu_6xCLK", kStatusByteEntry},
     kBootVectors,
     {"BMnu_I2CSlaveAddress"}},
    {PHILIPS66X, IsNot039, {"BMnu_12xCLK_Rx2", kStatusByteEntry}, kBootVector, {}},
};
const std::vector<DropDownRule> kChainedDropDownRules{
    {PHILIPSLPC,
     AnyId,
     {"BMnu_Write32ByteUserP", "BMnu_Read32ByteUserP", "BMnu_Read1ByteUCFG1"},
     nullptr,
     {}},
    {PHILIPS5xX2, AnyId, {"BMnu_6xCLK"}, nullptr, {}},
    {PHILIPS87C, Is71To74, {"BMnu_6xCLK"}, nullptr, {}},
    {PHILIPS6xX2, AnyId, {"BMnu_6xCLK", kStatusByteEntry}, kBootVector, {}},
    {PHILIPSRXPlus, AnyId, {kStatusByteEntry}, kBootVector, {}},
    {WINBOND78E, Is064Or065, {"BMnu_WriteLDROM", "BMnu_ReadLDROM"}, nullptr, {}},
    {ATMEL89S, Is017, {"BMnu_WriteEEPROM", "BMnu_ReadEEPROM"}, nullptr, {}},
    {PHILIPSRx2XX,
     AnyId,
     {"BMnu_Write4kDataBlock", "BMnu_Read4kDataBlock", "BMnu_6xCLK", kStatusByteEntry},
     kBootVector,
     {}},
    {SSTCXX,
     AnyId,
     {"BMnu_WriteSecFlashBlock1", "BMnu_ReadSecFlashBlock1", "BMnu_ProgramReMapBit"},
     nullptr,
     {}},
    {SSTFXX, AnyId, {"BMnu_WriteSecFlashBlock1", "BMnu_ReadSecFlashBlock1"}, nullptr, {}},
    {PHILIPSVRx2XX, Is75, {"BMnu_BlockErase", "BMnu_SetDoubleClockMode_RD"}, nullptr, {}},
    {SST89x5xxRx,
     Is071Or76,
     {"BMnu_BlockErase", "BMnu_SetStartUpConfigBitSC0_RD", "BMnu_SetDoubleClockMode_RD"},
     nullptr,
     {}},
    {SST89x5xxRx,
     Is072,
     {"BMnu_Read8kSecondaryFlashBlock1", "BMnu_Write8kSecondaryFlashBlock1", "BMnu_BlockErase_RC",
      "BMnu_SetStartUpConfigBitSC0_RC", "BMnu_SetStartUpConfigBitSC1",
      "BMnu_SetDoubleClockMode_RC"},
     nullptr,
     {}},
};

// The first row of the family whose condition holds.
template <typename Rule>
const Rule *FirstMatch(const std::vector<Rule> &rules, const QString &family, const QString &id) {
  for (const Rule &rule : rules)
    if (rule.family == family && rule.condition(id))
      return &rule;
  return nullptr;
}
} // namespace

void ControlPanel::SetSpecialOperationMenu() {
  enable({"Mnu78E", "Mnu89C66xx", "Mnu89C51Rx2", "Mnu89C5xX2", "Mnu89C6xX2", "Mnu89S", "MnuLPC",
          "mnuRx2XX", "MnuT89C51xx", "MnuFxx", "MnuCxx", "Mnu89E564RD", "Mnu89E554RC"},
         false);
  const SubmenuRule *rule =
      FirstMatch(kSubmenuRules, session_.Mcu.FamilyCode, session_.Mcu.MCUIDNumber);
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

  const QString family = session_.Mcu.FamilyCode;
  const QString id = session_.Mcu.MCUIDNumber;
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
  for (const DropDownRule &rule : kIndependentDropDownRules)
    if (rule.family == family && rule.condition(id))
      apply(&rule);
  apply(FirstMatch(kChainedDropDownRules, family, id));

  return !isVisible(QStringLiteral("NA"));
}

} // namespace kvr
