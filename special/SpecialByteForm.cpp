#include "SpecialByteForm.h"

#include "BaseModule.h"
#include "ControlPanel.h"
#include "DeviceTraits.h"
#include "FamilyCodes.h"
#include "Hex.h"

namespace kvr {

using namespace BaseModule;

namespace {

constexpr FormControlKind F = FormControlKind::Frame;
constexpr FormControlKind L = FormControlKind::Label;
constexpr FormControlKind T = FormControlKind::TextBox;
constexpr FormControlKind O = FormControlKind::Option;
constexpr FormControlKind C = FormControlKind::CheckBox;
constexpr FormControlKind B = FormControlKind::Button;

const char *const kUnlocked = "Ensure MCU is Unlocked before Modifying.";
const char *const kScNote =
    "Imp. Note:          Clearing SC0 bit will overlay Block1 over Block0 "
    "at address 0000H - 1FFFH. Enable Checkbox to utilize    entire Block0.";

// Each number's layout shows its own frame: the frames start hidden.
// clang-format off
const std::vector<FormControlSpec> kLayout{
    {"Frame1", "", F, "Special Bytes", false, true},
    {"LblSpecialByte1", "Frame1", L, "Status Byte", true, true},
    {"TxtSpecialByte1", "Frame1", T, "", true, true},
    {"LblSpecialByte2", "Frame1", L, "Boot Vector", true, true},
    {"TxtSpecialByte2", "Frame1", T, "", true, true},
    {"LblSpecialByte3", "Frame1", L, "Boot Vector", true, true},
    {"TxtSpecialByte3", "Frame1", T, "", true, true},
    {"LblMessage", "Frame1", L, kUnlocked, false, true},
    {"Frame2", "", F, "Clock Mode", false, true},
    {"Opt12xClock", "Frame2", O, "12x Clock Mode", true, true},
    {"Opt6xClock", "Frame2", O, "6x Clock Mode", true, true},
    {"LblMessage_1", "Frame2", L, kUnlocked, false, true},
    {"Frame3", "", F, "Option Control Register", false, true},
    {"chkWDPOR", "Frame3", C, "WatchDog PowerOn Reset", true, true},
    {"Frame4", "", F, "Special Bytes", false, true},
    {"Label1", "Frame4", L, "I2C Slave Address", true, true},
    {"TxtSpecialByte4", "Frame4", T, "", true, true},
    {"Label2", "Frame4", L, kUnlocked, true, true},
    {"FraReMapBits", "", F, "Re-Map Bits", false, true},
    {"ChkRB0", "FraReMapBits", C, "RB0 ( Re-Map Bit 0 )", true, true},
    {"ChkRB1", "FraReMapBits", C, "RB1 ( Re-Map Bit 1 ) ", true, true},
    {"FraStartUpConfig", "", F, "StartUp ConfigBits", false, true},
    {"ChkSC0", "FraStartUpConfig", C, "", false, true},
    {"LblSC0", "FraStartUpConfig", L, "StartUp ConfigBit SC0", false, true},
    {"ChkSC1", "FraStartUpConfig", C, "", false, true},
    {"LblSC1", "FraStartUpConfig", L, "StartUp ConfigBit SC1", false, true},
    {"Label3", "FraStartUpConfig", L, kScNote, false, true},
    {"CmdModify", "", B, "Modify", true, true},
    {"CmdOk", "", B, "OK", true, false},
    {"CmdCancel", "", B, "Cancel", true, true},
};
// clang-format on

const std::vector<const char *> kSpecialByteBoxes{"TxtSpecialByte1", "TxtSpecialByte2",
                                                  "TxtSpecialByte3", "TxtSpecialByte4"};

// How a layout fills its controls from the slots.
enum Initial {
  NoValues,
  StatusBoot,
  Ucfg1,
  ClockMode,
  ConfigBitSC0,
  ConfigBitSC1,
  DoubleClock,
  I2cAddress,
  OptionControl
};

struct LayoutRow {
  std::vector<const char *> numbers;
  const char *shown;
  std::vector<const char *> hidden;
  std::vector<const char *> alsoShown;
  Initial initial;
};

// clang-format off
const std::vector<LayoutRow> kLayoutByNumber{
    {{"02", "16"}, "Frame1", {"Frame2", "Frame4", "FraReMapBits", "FraStartUpConfig"}, {}, StatusBoot},
    {{"52"}, "Frame1", {"Frame2", "Frame4", "FraReMapBits", "FraStartUpConfig", "LblSpecialByte2",
                        "TxtSpecialByte2", "LblSpecialByte3", "TxtSpecialByte3"}, {}, Ucfg1},
    {{"04", "11", "12", "14"}, "Frame2", {"Frame1", "Frame4", "FraReMapBits", "FraStartUpConfig"}, {},
     ClockMode},
    {{"24"}, "FraReMapBits", {"Frame1", "Frame2", "Frame3", "Frame4", "FraStartUpConfig"}, {}, NoValues},
    {{"29", "36"}, "FraStartUpConfig", {"Frame1", "Frame2", "Frame3", "Frame4", "FraReMapBits"},
     {"LblSC0", "ChkSC0", "Label3"}, ConfigBitSC0},
    {{"38"}, "FraStartUpConfig", {"Frame1", "Frame2", "Frame3", "Frame4", "FraReMapBits"},
     {"LblSC1", "ChkSC1"}, ConfigBitSC1},
    {{"31", "40"}, "Frame2", {"Frame1", "Frame3", "Frame4", "FraReMapBits", "FraStartUpConfig"}, {},
     DoubleClock},
    {{"42"}, "Frame4", {"Frame1", "Frame2", "Frame3", "FraReMapBits", "FraStartUpConfig"}, {}, I2cAddress},
    // The option control register has a frame of its own.
    {{"20"}, "Frame3", {"Frame1", "Frame2", "Frame4", "FraReMapBits", "FraStartUpConfig"}, {},
     OptionControl},
};
// clang-format on

// Read-only until Modify: what every layout disables as it opens.
const std::vector<const char *> kEditable{
    "Opt12xClock",     "Opt6xClock",      "Frame2", "TxtSpecialByte1", "TxtSpecialByte2",
    "TxtSpecialByte3", "TxtSpecialByte4", "Frame1", "Frame4",          "chkWDPOR",
    "ChkRB0",          "ChkRB1",          "ChkSC0", "ChkSC1",          "CmdOk"};

using TraitTest = bool (*)(const DeviceTraits &traits);
bool Any(const DeviceTraits &) { return true; }
bool I2cSlaveAddress(const DeviceTraits &t) { return t.i2cSlaveAddress; }
bool SixClock87C(const DeviceTraits &t) { return t.sixClock87C; }

// What Modify unlocks: the first row of the family whose device test holds.
struct ModifyRule {
  std::vector<QString> families;
  TraitTest applies;
  std::vector<const char *> enabled;
  std::vector<const char *> disabled;
};

// The I2C slave address sits in Frame4: without it the address
// could only be written back unchanged.
// clang-format off
const std::vector<ModifyRule> kModifyRules{
    {{PHILIPSLPC}, Any, {"Frame1", "TxtSpecialByte2", "TxtSpecialByte1"}, {}},
    {{PHILIPS5xX2}, Any, {"Frame2", "Opt6xClock"}, {"Opt12xClock"}},
    {{PHILIPS87C}, SixClock87C, {"Frame2", "Opt6xClock"}, {"Opt12xClock"}},
    {{PHILIPS87C}, Any, {}, {}},
    {{PHILIPSRx2XX, PHILIPS6xX2}, Any,
     {"Frame1", "Frame2", "TxtSpecialByte2", "TxtSpecialByte1", "Opt6xClock"}, {"Opt12xClock"}},
    {{PHILIPS66X}, I2cSlaveAddress,
     {"Frame1", "Frame2", "TxtSpecialByte3", "TxtSpecialByte2", "TxtSpecialByte1", "Opt6xClock",
      "Frame4", "TxtSpecialByte4"}, {"Opt12xClock"}},
    {{PHILIPSRX2, PHILIPS66X, PHILIPSRXPlus}, Any,
     {"Frame1", "Frame2", "TxtSpecialByte2", "TxtSpecialByte1", "Opt12xClock"}, {"Opt6xClock"}},
    {{DALLASDS89C}, Any, {"chkWDPOR"}, {}},
    {{SSTFXX, SSTCXX}, Any, {"FraReMapBits", "ChkRB0", "ChkRB1"}, {}},
    {{SST89x5xxRx}, Any, {"Frame2", "Opt6xClock", "FraStartUpConfig", "ChkSC0"}, {}},
    {{PHILIPSVRx2XX}, Any, {"Frame2", "Opt6xClock"}, {}},
};
// clang-format on

// What OK sends by number, and when.
enum OkCondition { Always, Opt12xSelected, Opt6xSelected, WatchdogTicked };
enum OkText { SetOnly, Bytes1And2, Byte1, Bytes1To3, RemapBits, Byte4 };

struct OkRow {
  const char *number;
  OkCondition condition;
  const char *sends;
  OkText text;
};

// clang-format off
const OkRow kOkRows[] = {
    {"02", Always, "03", Bytes1And2},      {"52", Always, "53", Byte1},
    {"16", Always, "17", Bytes1To3},       {"04", Opt12xSelected, "01", SetOnly},
    {"11", Opt6xSelected, "10", SetOnly},  {"12", Opt6xSelected, "13", SetOnly},
    {"14", Opt6xSelected, "15", SetOnly},  {"20", WatchdogTicked, "21", SetOnly},
    {"24", Always, "24", RemapBits},       {"29", Always, "30", SetOnly},
    {"31", Opt6xSelected, "32", SetOnly},  {"36", Always, "37", SetOnly},
    {"38", Always, "39", SetOnly},         {"40", Always, "41", SetOnly},
    {"42", Always, "43", Byte4},
};
// clang-format on

// The text a box sends: trimmed, a lone digit with its leading "0".
QString Formatted(const QString &text) {
  const QString trimmed = text.trimmed();
  if (trimmed.size() == 1 && trimmed[0].isDigit())
    return QStringLiteral("0") + trimmed;
  return trimmed;
}

bool BitSet(const QString &hex, int digitFromLeft) {
  return HexToBinary(hex).at(digitFromLeft - 1) == QLatin1Char('1');
}

} // namespace

const std::vector<FormControlSpec> &SpecialByteLayout() { return kLayout; }

SpecialByteForm::SpecialByteForm(const SelectedMcu &mcu, const SpecialByteSlots &held)
    : mcu_(mcu), slots_(held) {
  for (const FormControlSpec &spec : kLayout)
    controls_.insert(QLatin1String(spec.name),
                     Control{spec.visible, spec.enabled, QString::fromUtf8(spec.caption), false});
}

const SpecialByteForm::Control &SpecialByteForm::control(const QString &name) const {
  static const Control kNone{false, false, QString(), false};
  const auto it = controls_.constFind(name);
  return it == controls_.constEnd() ? kNone : *it;
}

SpecialByteForm::Control &SpecialByteForm::at(const QString &name) {
  Q_ASSERT_X(controls_.contains(name), "SpecialByteForm", qPrintable(name));
  return controls_[name];
}

bool SpecialByteForm::isEditable(const QString &name) const {
  for (const FormControlSpec &spec : kLayout)
    if (name == QLatin1String(spec.name)) {
      const QString frame = QLatin1String(spec.frame);
      const bool frameOpen = frame.isEmpty() || (isVisible(frame) && isEnabled(frame));
      return frameOpen && isVisible(name) && isEnabled(name);
    }
  return false;
}

void SpecialByteForm::setVisible(const std::vector<const char *> &names, bool visible) {
  for (const char *name : names)
    at(QLatin1String(name)).visible = visible;
}

void SpecialByteForm::setEnabled(const std::vector<const char *> &names, bool enabled) {
  for (const char *name : names)
    at(QLatin1String(name)).enabled = enabled;
}

void SpecialByteForm::Load() {
  const bool reminder = Traits(mcu_).unlockReminder;
  setVisible({"LblMessage", "LblMessage_1"}, reminder);
  for (const LayoutRow &row : kLayoutByNumber) {
    bool matches = false;
    for (const char *number : row.numbers)
      matches = matches || number_ == QLatin1String(number);
    if (!matches)
      continue;
    setVisible({row.shown}, true);
    setVisible(row.hidden, false);
    setVisible(row.alsoShown, true);
    LoadValues(row.initial);
    setEnabled(kEditable, false);
    return;
  }
}

void SpecialByteForm::LoadValues(int initial) {
  switch (initial) {
  case StatusBoot: {
    at(QStringLiteral("LblSpecialByte1")).text = QStringLiteral("Status Byte");
    at(QStringLiteral("TxtSpecialByte1")).text = slots_.StatusBootSlot1;
    at(QStringLiteral("TxtSpecialByte2")).text = slots_.StatusBootSlot2;
    at(QStringLiteral("TxtSpecialByte3")).text = slots_.StatusBootSlot3;
    const bool two = number_ == QLatin1String("16") && Traits(mcu_).secondBootVector;
    at(QStringLiteral("LblSpecialByte2")).text =
        two ? QStringLiteral("Boot Vector1") : QStringLiteral("Boot Vector");
    at(QStringLiteral("LblSpecialByte3")).text = QStringLiteral("Boot Vector2");
    setVisible({"LblSpecialByte3", "TxtSpecialByte3"}, two);
    break;
  }
  case Ucfg1:
    at(QStringLiteral("LblSpecialByte1")).text = QStringLiteral("UCFG1");
    at(QStringLiteral("TxtSpecialByte1")).text = slots_.Ucfg1Slot;
    break;
  case ClockMode:
  case DoubleClock: {
    const QString &slot = initial == ClockMode ? slots_.ClockModeSlot : slots_.DoubleClockSlot;
    at(QStringLiteral("Opt12xClock")).checked = slot == QLatin1String("FF");
    at(QStringLiteral("Opt6xClock")).checked = slot == QLatin1String("00");
    break;
  }
  case ConfigBitSC0:
  case ConfigBitSC1: {
    const bool sc0 = initial == ConfigBitSC0;
    const bool set = BitSet(slots_.ConfigBitSlot, sc0 ? 5 : 4);
    at(sc0 ? QStringLiteral("ChkSC0") : QStringLiteral("ChkSC1")).checked = set;
    // A bit already set leaves nothing to modify.
    if (set)
      setEnabled({"CmdModify"}, false);
    break;
  }
  case I2cAddress: at(QStringLiteral("TxtSpecialByte4")).text = slots_.I2cAddressSlot; break;
  case OptionControl:
    at(QStringLiteral("chkWDPOR")).checked = BitSet(slots_.OptionControlSlot, 8);
    break;
  default: break;
  }
}

void SpecialByteForm::Modify() {
  setEnabled({"CmdModify"}, false);
  for (const ModifyRule &rule : kModifyRules) {
    bool family = false;
    for (const QString &f : rule.families)
      family = family || f == mcu_.FamilyCode;
    if (!family || !rule.applies(Traits(mcu_)))
      continue;
    setEnabled(rule.enabled, true);
    setEnabled(rule.disabled, false);
    break;
  }
  setEnabled({"CmdOk"}, true);
}

void SpecialByteForm::TypeText(const QString &box, const QString &text) {
  at(box).text = text.toUpper();
}

void SpecialByteForm::LeaveText(const QString &box) { at(box).text = Formatted(text(box)); }

void SpecialByteForm::SetChecked(const QString &name, bool checked) {
  at(name).checked = checked;
  // The two clock options are one choice.
  if (checked && name == QLatin1String("Opt12xClock"))
    at(QStringLiteral("Opt6xClock")).checked = false;
  else if (checked && name == QLatin1String("Opt6xClock"))
    at(QStringLiteral("Opt12xClock")).checked = false;
}

bool SpecialByteForm::AllHexBytes(const std::vector<const char *> &boxes) const {
  for (const char *box : boxes)
    if (!IsHexByte(text(QLatin1String(box))))
      return false;
  return true;
}

void SpecialByteForm::ValidateInput() {
  // Two digits exactly: a third character would shift every byte after it.
  const bool ucfg1 = text(QStringLiteral("LblSpecialByte1")) == QLatin1String("UCFG1");
  inputValid_ = AllHexBytes({"TxtSpecialByte1"}) && (ucfg1 || AllHexBytes({"TxtSpecialByte2"})) &&
                (!isVisible(QStringLiteral("TxtSpecialByte3")) || AllHexBytes({"TxtSpecialByte3"}));
}

QString SpecialByteForm::ComposeText(int composition) const {
  const auto box = [this](int n) {
    return text(QStringLiteral("TxtSpecialByte%1").arg(n)).toUpper();
  };
  const auto bit = [this](const char *name) {
    return isChecked(QLatin1String(name)) ? QStringLiteral("01") : QStringLiteral("00");
  };
  switch (composition) {
  case Bytes1And2: return box(1) + box(2);
  case Byte1: return box(1);
  case Bytes1To3: return box(1) + box(2) + box(3);
  case RemapBits: return bit("ChkRB0") + bit("ChkRB1");
  case Byte4: return box(4);
  default: return QString();
  }
}

std::optional<SpecialByteForm::Send> SpecialByteForm::Ok() {
  // Pressing OK leaves the box being typed in.
  for (const char *box : kSpecialByteBoxes)
    LeaveText(QLatin1String(box));
  if (isVisible(QStringLiteral("Frame1"))) {
    ValidateInput();
    if (!inputValid_)
      return std::nullopt;
  }
  if (isVisible(QStringLiteral("Frame4")) && !AllHexBytes({"TxtSpecialByte4"}))
    return std::nullopt;

  for (const OkRow &row : kOkRows) {
    if (number_ != QLatin1String(row.number))
      continue;
    const bool condition =
        row.condition == Always ||
        (row.condition == Opt12xSelected && isChecked(QStringLiteral("Opt12xClock"))) ||
        (row.condition == Opt6xSelected && isChecked(QStringLiteral("Opt6xClock"))) ||
        (row.condition == WatchdogTicked && isChecked(QStringLiteral("chkWDPOR")));
    if (!condition)
      break;
    if (row.text == SetOnly)
      return Send{Send::Kind::SetCommand, QLatin1String(row.sends), QString()};
    return Send{Send::Kind::WriteBytes, QLatin1String(row.sends), ComposeText(row.text)};
  }
  return Send{};
}

} // namespace kvr
