#include "ControlLayout.h"

namespace kvr {

namespace {
constexpr ControlKind M = ControlKind::Menu;
constexpr ControlKind E = ControlKind::Entry;
constexpr ControlKind S = ControlKind::Separator;
constexpr ControlKind T = ControlKind::ToolButton;
constexpr ControlKind D = ControlKind::DropDownEntry;
constexpr ControlKind W = ControlKind::WindowControl;

// clang-format off
const std::vector<ControlSpec> kLayout{
    // File
    {"MnuFile", "", M, "&File", "", true, true},
    {"MnuOpen", "MnuFile", E, "&Open", "Ctrl+O", true, true},
    {"MnuSave", "MnuFile", E, "&Save", "Ctrl+S", false, true},
    {"MnuSaveAs", "MnuFile", E, "Save &As", "Ctrl+A", false, true},
    {"MnuFileLine1", "MnuFile", S, "", "", true, false},
    {"MnuFileLastFile1", "MnuFile", E, "&1.", "", true, false},
    {"MnuFileLastFile2", "MnuFile", E, "&2.", "", true, false},
    {"MnuFileLastFile3", "MnuFile", E, "&3.", "", true, false},
    {"MnuFileLastFile4", "MnuFile", E, "&4.", "", true, false},
    {"MnuFileLine2", "MnuFile", S, "", "", true, true},
    {"MnuExit", "MnuFile", E, "E&xit", "Ctrl+X", true, true},
    // Select Device
    {"MnuSelectDevice", "", M, "&Select Device", "", true, true},
    {"MnuSerialPort", "MnuSelectDevice", M, "Serial Port", "", true, true},
    {"MnuAutodetect", "MnuSerialPort", E, "Autodetect", "", true, true},
    {"MnuSelect", "MnuSerialPort", E, "Select", "", true, true},
    {"MnuMCU", "MnuSelectDevice", E, "MCU", "", true, true},
    // Operations
    {"MnuOperations", "", M, "&Operations", "", true, true},
    {"MnuVerifySignature", "MnuOperations", E, "&Verify Signature", "", false, true},
    {"MnuBlankCheck", "MnuOperations", E, "&Blank Check", "", false, true},
    {"MnuErase", "MnuOperations", M, "&Erase", "", false, true},
    {"MnuEraseWithSV", "MnuErase", E, "With Signature Verification", "", true, true},
    {"MnuEraseWithoutSV", "MnuErase", M, "Without Signature Verification", "", true, true},
    {"MnuErase12V", "MnuEraseWithoutSV", E, "+12 V", "", true, true},
    {"MnuErase5V", "MnuEraseWithoutSV", E, "+ 5V", "", true, true},
    {"MnuRead", "MnuOperations", E, "&Read", "", false, true},
    {"MnuWrite", "MnuOperations", E, "&Write", "", false, true},
    {"MnuLock", "MnuOperations", E, "&Lock", "", false, true},
    {"MnuAuto", "MnuOperations", E, "&Auto", "", false, true},
    {"MnuOperationsLine1", "MnuOperations", S, "", "", true, true},
    {"MnuSpecialCommands", "MnuOperations", M, "Special Commands", "", true, true},
    {"MnuSpecialCmdAtmel", "MnuSpecialCommands", M, "Atmel MCUs", "", false, true},
    {"Mnu89S", "MnuSpecialCmdAtmel", M, "89S", "", true, true},
    {"MnuRead2kEEPROM", "Mnu89S", E, "Read 2k EEPROM", "", true, true},
    {"MnuWrite2kEEPROM", "Mnu89S", E, "Write 2k EEPROM", "", true, true},
    {"MnuT89C51xx", "MnuSpecialCmdAtmel", M, "T89C51xx", "", true, false},
    {"MnuStatusByteBootVector_T89C51xx", "MnuT89C51xx", E, "Status Byte && Boot Vector", "", true, true},
    {"MnuSoftwareSecurityByte", "MnuT89C51xx", E, "Software Security Byte [SSB]", "", true, true},
    {"MnuHardwareSecurityByte", "MnuT89C51xx", E, "Hardware Security Byte [HSB]", "", true, true},
    {"MnuSpecialCmdPhilips", "MnuSpecialCommands", M, "Philips MCUs", "", false, true},
    {"Mnu89C66xx", "MnuSpecialCmdPhilips", M, "89C66x", "", true, true},
    {"Mnu89C669", "Mnu89C66xx", M, "89C669", "", true, true},
    {"MnuSet6xClockMode_669", "Mnu89C669", E, "Set 6x Clock Mode", "", true, true},
    {"MnuStatusByteBootVector669", "Mnu89C669", E, "Status Byte && Boot Vectors", "", true, true},
    {"mnuRead8kDataBlock", "Mnu89C669", E, "Read 8191 b Data Block", "", true, true},
    {"mnuWrite8kDataBlock", "Mnu89C669", E, "Write 8191 b Data Block", "", true, true},
    {"mnuI2CSlaveAddress", "Mnu89C669", E, "I2C Slave Address", "", true, true},
    {"Mnu89C66x", "Mnu89C66xx", M, "89C660,2,4,8", "", true, true},
    {"MnuSet12xClockMode66x", "Mnu89C66x", E, "Set 12x Clock Mode", "", true, true},
    {"MnuStatusByteBootVector66x", "Mnu89C66x", E, "Status Byte && Boot Vector", "", true, true},
    {"Mnu89C51Rx2", "MnuSpecialCmdPhilips", M, "89C51Rx2", "", true, true},
    {"MnuSet12xClockModeRx2", "Mnu89C51Rx2", E, "Set 12x Clock Mode", "", true, true},
    {"MnuStatusByteBootVector_Rx2", "Mnu89C51Rx2", E, "Status Byte && Boot Vector", "", true, true},
    {"Mnu89C5xX2", "MnuSpecialCmdPhilips", M, "89C5xX2", "", true, true},
    {"MnuSet6xClockMode_5xX2", "Mnu89C5xX2", E, "Set 6x Clock Mode", "", true, true},
    {"Mnu89C6xX2", "MnuSpecialCmdPhilips", M, "89C6xX2", "", true, true},
    {"MnuSet6xClockMode_6xX2", "Mnu89C6xX2", E, "Set 6x Clock Mode", "", true, true},
    {"MnuStatusByteBootVector_6xX2", "Mnu89C6xX2", E, "Status Byte && Boot Vector", "", true, true},
    {"MnuLPC", "MnuSpecialCmdPhilips", M, "LPC ", "", true, true},
    {"MnuRead32byteUsersParameter", "MnuLPC", E, "Read 32 byte User's Parameter", "", true, true},
    {"MnuWrite32byteUsersParameter", "MnuLPC", E, "Write 32 byte User's Parameter", "", true, true},
    {"Mnu1byteUCFG1", "MnuLPC", E, "1 byte UCFG1", "", true, true},
    {"mnuRx2XX", "MnuSpecialCmdPhilips", M, "Rx2XX", "", true, true},
    {"MnuSet6xClockMode_Rx2XX", "mnuRx2XX", E, "Set 6x Clock Mode", "", true, true},
    {"MnuStausByteBootVector_Rx2XX", "mnuRx2XX", E, "Staus Byte && Boot Vector", "", true, true},
    {"mnuRead4kDataBlock", "mnuRx2XX", E, "Read 4095 b Data Block", "", true, true},
    {"mnuWrite4kDataBlock", "mnuRx2XX", E, "Write 4095 b Data Block", "", true, true},
    {"MnuSpecialCmdSST", "MnuSpecialCommands", M, "SST MCUs", "", true, false},
    {"MnuCxx", "MnuSpecialCmdSST", M, "Cxx", "", true, true},
    {"MnuReadSecFlashBlock1_Cxx", "MnuCxx", E, "Read Sec. Flash Block 1 (4Kb)", "", true, true},
    {"MnuWriteSecFlashBlock1_Cxx", "MnuCxx", E, "Write Sec. Flash Block 1 (4Kb)", "", true, true},
    {"MnuProgramReMapBit", "MnuCxx", E, "Program Re-Map Bit RB0 && RB1", "", true, true},
    {"MnuChipErase_Cxx", "MnuCxx", E, "Chip Erase ( Block 0 && Block 1 )", "", true, false},
    {"MnuFxx", "MnuSpecialCmdSST", M, "Fxx", "", true, true},
    {"MnuReadSecFlashBlock1_Fxx", "MnuFxx", E, "Read Sec. Flash Block 1 (4Kb)", "", true, true},
    {"MnuWriteSecFlashBlock1_Fxx", "MnuFxx", E, "Write Sec. Flash Block 1 (4Kb)", "", true, true},
    {"Mnu89E564RD", "MnuSpecialCmdSST", M, "89E564RD", "", true, true},
    {"MnuBlockErase", "Mnu89E564RD", E, "Block Erase", "", true, true},
    {"MnuSetStartUpConfigBitSC0_RD", "Mnu89E564RD", E, "Set StartUp ConfigBit SC0", "", true, true},
    {"MnuSetDoubleClockMode_RD", "Mnu89E564RD", E, "Set Double Clock Mode", "", true, true},
    {"Mnu89E554RC", "MnuSpecialCmdSST", M, "89E554RC", "", true, true},
    {"MnuRead8kSecondaryFlashBlock1", "Mnu89E554RC", E, "Read 8k Secondary Flash Block 1", "", true, true},
    {"MnuWrite8kSecondaryFlashBlock1", "Mnu89E554RC", E, "Write 8k Secondary Flash Block 1", "", true, true},
    {"MnuBlockEraseFlashBlock1", "Mnu89E554RC", E, "Block Erase Flash Block 1", "", true, true},
    {"MnuSetStartUpConfigBitSC0_RC", "Mnu89E554RC", E, "Set StartUp ConfigBit SC0", "", true, true},
    {"Mnu_SetStartUpConfigBitSC1", "Mnu89E554RC", E, "Set StartUp ConfigBit SC1", "", true, true},
    {"MnuSetDoubleClockMode_RC", "Mnu89E554RC", E, "Set Double Clock Mode ", "", true, true},
    {"MnuSpecialCmdWinBond", "MnuSpecialCommands", M, "WinBond MCU's", "", false, true},
    {"Mnu78E", "MnuSpecialCmdWinBond", M, "78E", "", true, true},
    {"MnuRead4kLDROM", "Mnu78E", E, "Read 4k LD-ROM", "", true, true},
    {"MnuWrite4kLDROM", "Mnu78E", E, "Write 4k LD-ROM", "", true, true},
    {"mnuSep", "MnuOperations", S, "", "", true, true},
    {"mnuEditCell", "MnuOperations", E, "Edit Current Cell", "Ctrl+E", true, true},
    // Tool, Help
    {"MnuTool", "", M, "&Tool", "", true, true},
    {"MnuenableWrn", "MnuTool", E, "&Re-enable Warning", "", true, true},
    {"MnuProductionLog", "MnuTool", E, "&Production log...", "", true, true},
    {"MnuHelp", "", M, "&Help", "", true, true},
    {"MnuContents", "MnuHelp", E, "Contents...", "", true, true},
    {"nuAboutKvr104", "MnuHelp", E, "About Kvr104", "", true, true},
    // Toolbar TbrOperations, in order. Device commands wait for a verified chip.
    // A button no menu entry stands for in every state it is enabled in (the
    // retry after a failed signature, Stop, the erases without signature
    // check, the drop-down) has a shortcut of its own; F4 opens the drop-down.
    {"TbnFileOpen", "", T, "Open", "", true, true},
    {"TbnFileSave", "", T, "Save", "", false, true},
    {"TbnVerifySignature", "", T, "Signature Verification", "F5", false, true},
    {"TbnBlankCheck", "", T, "Blank Check", "", false, true},
    {"TbnErase", "", T, "Erase (with Signature Verification)", "", false, true},
    {"TbnRead", "", T, "Read", "", false, true},
    {"TbnWrite", "", T, "Write", "", false, true},
    {"TbnLock", "", T, "Lock", "", false, true},
    {"TbnAuto", "", T, "Auto", "", false, true},
    {"TbnStop", "", T, "Stop", "Esc", false, true},
    {"TbnErase_5v", "", T, "Erase Without Signature Verification 5v", "Ctrl+F5", false, true},
    {"TbnErase_12v", "", T, "Erase Without Signature Verification 12v", "Ctrl+F12", false, true},
    {"TbnSpecialCommand", "", T, "Special Command", "F4", false, true},
    // Drop-down of TbnSpecialCommand, in order. Until a chip is verified only "NA" shows.
    {"BMnu_6xCLK", "TbnSpecialCommand", D, "Set 6x Clock Mode", "", true, false},
    {"BMnu_12xCLK_Rx2", "TbnSpecialCommand", D, "Set 12x Clock Mode ", "", true, false},
    {"BMnu_Write32ByteUserP", "TbnSpecialCommand", D, "Write 32 Byte User Parameter", "", true, false},
    {"BMnu_Read32ByteUserP", "TbnSpecialCommand", D, "Read 32 Byte User Parameter", "", true, false},
    {"BMnu_Read1ByteUCFG1", "TbnSpecialCommand", D, "1 Byte UCFG1", "", true, false},
    {"BMnu_StatusByte&BootVector", "TbnSpecialCommand", D, "Status Byte && Boot Vector", "", true, false},
    {"BMnu_WriteLDROM", "TbnSpecialCommand", D, "Write 4k LDROM", "", true, false},
    {"BMnu_ReadLDROM", "TbnSpecialCommand", D, "Read 4k LDROM", "", true, false},
    {"BMnu_ReadEEPROM", "TbnSpecialCommand", D, "Read 2k EEPROM", "", true, false},
    {"BMnu_WriteEEPROM", "TbnSpecialCommand", D, "Write 2k EEPROM", "", true, false},
    {"BMnu_Read4kDataBlock", "TbnSpecialCommand", D, "Read 4095 b Data Block", "", true, false},
    {"BMnu_Write4kDataBlock", "TbnSpecialCommand", D, "Write 4095 b Data Block", "", true, false},
    {"BMnu_Read8kDataBlock", "TbnSpecialCommand", D, "Read 8191 b Data Block", "", true, false},
    {"BMnu_Write8kDataBlock", "TbnSpecialCommand", D, "Write 8191 b Data Block", "", true, false},
    {"BMnu_OptionControlRegister", "TbnSpecialCommand", D, "Option Control Register", "", true, false},
    {"BMnu_WriteSecFlashBlock1", "TbnSpecialCommand", D, "Write Sec. Flash Block 1 (4Kb)", "", true, false},
    {"BMnu_ReadSecFlashBlock1", "TbnSpecialCommand", D, "Read Sec. Flash Block 1 (4Kb)", "", true, false},
    {"BMnu_ProgramReMapBit", "TbnSpecialCommand", D, "Program Re-Map Bit RB0 & RB1", "", true, false},
    {"BMnu_ChipErase", "TbnSpecialCommand", D, "Chip Erase ( Block 0 && Block 1 )", "", true, false},
    {"BMnu_BlockErase", "TbnSpecialCommand", D, "Block Erase", "", true, false},
    {"BMnu_SetStartUpConfigBitSC0_RD", "TbnSpecialCommand", D, "Set StartUp ConfigBit SC0", "", true, false},
    {"BMnu_SetDoubleClockMode_RD", "TbnSpecialCommand", D, "Set Double Clock Mode", "", true, false},
    {"BMnu_Read8kSecondaryFlashBlock1", "TbnSpecialCommand", D, "Read 8k Secondary Flash Block1", "", true, false},
    {"BMnu_Write8kSecondaryFlashBlock1", "TbnSpecialCommand", D, "Write 8k Secondary Flash Block 1", "", true, false},
    {"BMnu_BlockErase_RC", "TbnSpecialCommand", D, "Block Erase", "", true, false},
    {"BMnu_SetStartUpConfigBitSC0_RC", "TbnSpecialCommand", D, "Set StartUp ConfigBit SC0 ", "", true, false},
    {"BMnu_SetStartUpConfigBitSC1", "TbnSpecialCommand", D, "Set StartUp ConfigBit SC1", "", true, false},
    {"BMnu_SetDoubleClockMode_RC", "TbnSpecialCommand", D, "Set Double Clock Mode", "", true, false},
    {"BMnu_I2CSlaveAddress", "TbnSpecialCommand", D, "I2C Slave Address", "", true, false},
    {"NA", "TbnSpecialCommand", D, "No Special Command Available", "", true, true},
    // Beside the grid: the flash block of two-block devices, and the 6x clock
    // switch after a write. Shown only for the devices that have them.
    {"LstCurrentBlockCaption", "", W, "Flash Block", "", true, false},
    {"LstCurrentBlock", "", W, "", "", true, false},
    {"chkClkSpeed", "", W, "6x Clock", "", true, false},
};

// The toolbar's look: the short caption under each picture, and the desktop
// icon theme's name for the picture where the theme has a fitting one.
const std::vector<ToolButtonFace> kToolbarFaces{
    {"TbnFileOpen", "Open", "document-open"},
    {"TbnFileSave", "Save", "document-save"},
    {"TbnVerifySignature", "Signature", ""},
    {"TbnBlankCheck", "Blank Check", ""},
    {"TbnErase", "Erase", ""},
    {"TbnRead", "Read", ""},
    {"TbnWrite", "Write", ""},
    {"TbnLock", "Lock", ""},
    {"TbnAuto", "Auto", ""},
    {"TbnStop", "Stop", "process-stop"},
    {"TbnErase_5v", "Erase 5V", ""},
    {"TbnErase_12v", "Erase 12V", ""},
    {"TbnSpecialCommand", "Special", ""},
};
// clang-format on
} // namespace

const std::vector<ControlSpec> &ControlLayout() { return kLayout; }

const ToolButtonFace *FindToolButtonFace(const QString &name) {
  for (const ToolButtonFace &face : kToolbarFaces)
    if (name == QLatin1String(face.name))
      return &face;
  return nullptr;
}

const ControlSpec *FindControl(const QString &name) {
  for (const ControlSpec &spec : kLayout)
    if (name == QLatin1String(spec.name))
      return &spec;
  return nullptr;
}

} // namespace kvr
