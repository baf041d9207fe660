#include "Commands.h"

#include "BaseModule.h"
#include "BufferFiles.h"
#include "Checksum.h"
#include "CliContext.h"
#include "DeviceTree.h"
#include "ImageBuffer.h"
#include "ImageCompare.h"
#include "LockAuto.h"
#include "OperationSupport.h"
#include "PortMap.h"
#include "SimulatorProcess.h"
#include "SpecialByteForm.h"
#include "SpecialNumbers.h"
#include "SpecialOffer.h"
#include "WriteRead.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <iostream>
#include <string>

namespace kvr::cli {

using BaseModule::CmdRead;
using BaseModule::CmdWrite;
using BaseModule::SpecialModeSet;

namespace {

// The chip the demonstration seats in the simulator unless --device names one.
const QString kDemoChip = QStringLiteral("017");
constexpr int kDemoImageSize = 1024;

bool Passed(ExitStatus status) { return status == ExitStatus::Success; }

// The checksums of an image as the window's file panel shows them.
void PrintChecksum(CliContext &c, const QByteArray &bytes) {
  c.out() << ChecksumText(ChecksumOf(bytes)) << '\n';
  c.out().flush();
}

// Aligned columns; an empty header prints no header line.
void PrintTable(QTextStream &out, const QStringList &header, const QList<QStringList> &rows) {
  const QList<QStringList> lines = header.isEmpty() ? rows : QList<QStringList>{header} + rows;
  QVector<int> widths(lines.value(0).size(), 0);
  for (const QStringList &row : lines)
    for (int i = 0; i < row.size(); ++i)
      widths[i] = std::max(widths[i], static_cast<int>(row[i].size()));
  for (const QStringList &row : lines) {
    QString line;
    for (int i = 0; i < row.size(); ++i)
      line += i + 1 < row.size() ? row[i].leftJustified(widths[i] + 2) : row[i];
    out << line << '\n';
  }
  out.flush();
}

ExitStatus ListDevices(CliContext &c, const QStringList &arguments) {
  const ExitStatus opened = c.OpenCatalogue();
  if (!Passed(opened))
    return opened;
  const QString filter = arguments.value(0);
  const DatabaseHandlers &catalogue = c.core().catalogue();
  QList<QStringList> rows;
  for (const BrandNode &brand : LoadGroups(catalogue))
    for (const RangeNode &range : brand.ranges)
      for (const DeviceItem &item : LoadMcuList(catalogue, range.key.mid(1).toInt())) {
        const QStringList row{item.key.mid(1), brand.name,    item.model,
                              item.sizeKb,     item.lockBits, brand.name + range.name};
        if (filter.isEmpty() || std::any_of(row.begin(), row.end(), [&](const QString &field) {
              return field.contains(filter, Qt::CaseInsensitive);
            }))
          rows.append(row);
      }
  if (rows.isEmpty()) {
    c.ui().info(QStringLiteral("no device matches \"%1\".").arg(filter));
    return ExitStatus::Success;
  }
  PrintTable(c.out(), {"ID", "Brand", "Model", "KB", "Lock bits", "Family"}, rows);
  return ExitStatus::Success;
}

// One line per COM number with a port behind it: the number, the device,
// its description and USB ids, and where the number comes from.
ExitStatus ListPorts(CliContext &c, const QStringList &) {
  const PortMap &ports = c.core().ports();
  QList<QStringList> rows;
  for (const int n : ports.presentNumbers()) {
    const PortEntry &entry = ports.entry(n);
    const PortInfo port = entry.port.value_or(PortInfo{});
    const auto orDash = [](const QString &text) {
      return text.isEmpty() ? QStringLiteral("-") : text;
    };
    rows.append({QStringLiteral("COM%1").arg(n), DeviceText(entry), orDash(port.description),
                 orDash(port.usbIds()), PortSourceText(entry)});
  }
  if (rows.isEmpty()) {
    c.ui().info(QStringLiteral("no serial port found."));
    return ExitStatus::Success;
  }
  PrintTable(c.out(), {}, rows);
  return ExitStatus::Success;
}

ExitStatus Detect(CliContext &c, const QStringList &) {
  const ExitStatus found = c.FindProgrammer();
  if (Passed(found)) {
    const int port = c.session().PortNumber;
    c.out() << "COM" << port << ' ' << c.core().ports().pathFor(port) << '\n';
    c.out().flush();
  }
  return found;
}

ExitStatus Signature(CliContext &c, const QStringList &) { return c.ReachDevice(); }

ExitStatus BlankCheck(CliContext &c, const QStringList &) {
  const ExitStatus reached = c.ReachDevice();
  return Passed(reached) ? c.RunControl({QStringLiteral("TbnBlankCheck")}) : reached;
}

// Without --yes, a question the command will certainly meet (a warning
// window of the device, a file larger than the device) ends the run here,
// before anything is sent, rather than half-way through. It is asked as the
// operation would ask it; with --yes the operation answers it when it comes.
ExitStatus AskAhead(CliContext &c, std::initializer_list<WarningWindow> windows,
                    bool writesImage = false) {
  if (c.options().yes)
    return ExitStatus::Success;
  for (const WarningWindow window : windows) {
    bool dontShowAgain = false;
    if (WarningDue(c.core().context(), window) && !c.ui().showWarningWindow(window, dontShowAgain))
      return ExitStatus::UsageError;
  }
  const ImageBuffer &buffer = c.core().buffer();
  const int deviceSize = c.session().Mcu.MCUCodeROMSize;
  if (writesImage && ImageExceedsDevice(buffer, deviceSize) &&
      c.ui().ask(WriteText::SizeWarning(buffer.CurrentFilePath, buffer.FileEnd, deviceSize),
                 Buttons::YesNo, MessageIcon::Exclamation) != Answer::Yes)
    return ExitStatus::UsageError;
  return ExitStatus::Success;
}

ExitStatus Erase(CliContext &c, const QStringList &) {
  // Without signature check: the toolbar's button after a failed
  // verification, the menu entry where the family offers it.
  const CliOptions &o = c.options();
  const QStringList controls =
      o.erase5v    ? QStringList{QStringLiteral("TbnErase_5v"), QStringLiteral("MnuErase5V")}
      : o.erase12v ? QStringList{QStringLiteral("TbnErase_12v"), QStringLiteral("MnuErase12V")}
                   : QStringList{QStringLiteral("TbnErase")};
  const bool withSignature = !o.erase5v && !o.erase12v;
  const ExitStatus reached =
      c.ReachDevice(withSignature ? SignatureNeed::MustPass : SignatureNeed::MayFail,
                    [&] { return AskAhead(c, {WarningWindow::Erase}); });
  return Passed(reached) ? c.RunControl(controls) : reached;
}

// "1,2" to the ticked boxes of the lock bit dialog; nothing when malformed.
std::optional<std::array<bool, 4>> ParseLockBits(const QString &text) {
  std::array<bool, 4> ticked{};
  for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    bool ok = false;
    const int bit = part.trimmed().toInt(&ok);
    if (!ok || bit < 1 || bit > 4)
      return std::nullopt;
    ticked[bit - 1] = true;
  }
  return ticked;
}

// The boxes the lock bit dialog would let the user tick for this device.
// A bit the dialog does not offer is named first, whatever else is asked for:
// "4" and "1,4" get the same answer.
ExitStatus CheckLockBits(CliContext &c, const std::array<bool, 4> &ticked) {
  const LockBitsSetup setup = LockBitsDialogSetup(c.session().Mcu);
  QStringList offered;
  for (int i = 0; i < 4; ++i)
    if (setup.enabled[i])
      offered.append(QString::number(i + 1));
  for (int i = 0; i < 4; ++i)
    if (ticked[i] && !setup.enabled[i]) {
      c.ui().note(QStringLiteral("lock bit %1 cannot be programmed on %2; it offers lock bits %3.")
                      .arg(i + 1)
                      .arg(c.DeviceName(), offered.join(QStringLiteral(", "))));
      return ExitStatus::UsageError;
    }
  if (!LockBitsChoiceValid(ticked)) {
    c.ui().message(LockText::NoBitChosen, MessageIcon::Exclamation);
    return ExitStatus::UsageError;
  }
  return ExitStatus::Success;
}

ExitStatus Lock(CliContext &c, const QStringList &arguments) {
  const std::optional<std::array<bool, 4>> ticked = ParseLockBits(arguments.first());
  if (!ticked) {
    c.ui().note(QStringLiteral("lock takes lock bit numbers from 1 to 4, such as 1,2."));
    return ExitStatus::UsageError;
  }
  c.ui().setLockBits(*ticked);
  const ExitStatus reached = c.ReachDevice(SignatureNeed::MustPass, [&] {
    const ExitStatus bits = CheckLockBits(c, *ticked);
    return Passed(bits) ? AskAhead(c, {WarningWindow::Lock}) : bits;
  });
  return Passed(reached) ? c.RunControl({QStringLiteral("TbnLock")}) : reached;
}

// A folder that exists, a name that is not a folder, not the file read, and
// no device, FIFO or other special file; an existing file is replaced only
// after the window's overwrite question (--yes answers it). Checked before
// the chip is read, so that the read is not done for nothing.
bool CanSaveAs(CliContext &c, const QString &target, const QString &input = QString()) {
  const QFileInfo info(target);
  QString refusal;
  if (!info.absoluteDir().exists() || info.isDir())
    refusal = QStringLiteral("%1 cannot be written: no such folder, or a folder itself.");
  else if (!input.isEmpty() && info.exists() &&
           info.canonicalFilePath() == QFileInfo(input).canonicalFilePath())
    refusal = QStringLiteral("%1 is the file read: name another file to write.");
  else if (info.exists() && !info.isFile())
    refusal = QStringLiteral("%1 is not a regular file: it is not replaced.");
  if (!refusal.isEmpty()) {
    c.ui().note(refusal.arg(target));
    return false;
  }
  if (info.exists())
    c.ui().ask(BufferText::Overwrite(BufferText::AlreadyExists), Buttons::OkCancel,
               MessageIcon::Exclamation);
  return true;
}

ExitStatus Read(CliContext &c, const QStringList &arguments) {
  const QString target = arguments.first();
  if (!CanSaveAs(c, target))
    return ExitStatus::UsageError;
  ExitStatus status = c.ReachDevice();
  if (Passed(status))
    status = c.RunControl({QStringLiteral("TbnRead")});
  if (Passed(status))
    status = c.SaveImageFile(target);
  if (Passed(status)) {
    c.ui().info(
        QStringLiteral("the code memory of %1 is saved as %2.").arg(c.DeviceName(), target));
    PrintChecksum(c, c.core().buffer().savedBytes());
  }
  return status;
}

ExitStatus Write(CliContext &c, const QStringList &arguments) {
  ExitStatus status = c.LoadImageFile(arguments.first());
  if (Passed(status))
    status = c.ReachDevice(SignatureNeed::MustPass, [&] { return AskAhead(c, {}, true); });
  return Passed(status) ? c.RunControl({QStringLiteral("TbnWrite")}) : status;
}

// Bytes with no FFh among them, so that an unwritten chip cannot pass for a written one.
QByteArray DemoImage(int size) {
  QByteArray bytes(size, 0);
  for (int i = 0; i < size; ++i)
    bytes[i] = static_cast<char>((i * 7 + 3) % 251);
  return bytes;
}

// A read whose image is kept here instead of going into the buffer.
ExitStatus ReadBack(CliContext &c, QByteArray &chip) {
  c.onReadImage([&](const QString &image) {
    QFile file(image);
    if (!file.open(QIODevice::ReadOnly))
      return false;
    chip = file.readAll();
    return true;
  });
  // The read replaces the buffer, and would ask before doing so.
  c.core().buffer().clear();
  c.core().panel().SetMenuOptions(false);
  return c.RunControl({QStringLiteral("TbnRead")});
}

QString Hex(int value, int digits) {
  return QStringLiteral("%1h").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

ExitStatus Verify(CliContext &c, const QStringList &arguments) {
  const QString file = arguments.first();
  ExitStatus status = c.LoadImageFile(file);
  if (Passed(status))
    status = c.ReachDevice();
  ImageBuffer expected;
  CopyImage(c.core().buffer(), expected);
  QByteArray chip;
  if (Passed(status))
    status = ReadBack(c, chip);
  if (!Passed(status))
    return status;

  const ImageDifference difference = CompareWithChip(expected, chip);
  if (difference.count == 0) {
    c.out() << "Verify passed: the " << difference.compared << " bytes of " << file
            << " match the chip.\n";
    PrintChecksum(c, chip);
    return ExitStatus::Success;
  }
  const int at = difference.firstAddress;
  c.out() << "Verify failed: " << difference.count << " of the " << difference.compared
          << " bytes of " << file << " differ from the chip, the first at " << Hex(at, 4)
          << " (file " << Hex(expected.byte(at), 2) << ", chip "
          << (at < chip.size() ? Hex(static_cast<unsigned char>(chip[at]), 2)
                               : QStringLiteral("past its end"))
          << ").\n";
  PrintChecksum(c, chip);
  return ExitStatus::DeviceFailure;
}

// Enter from the operator; false when the input has ended.
bool WaitForChip(CliContext &c, int chip) {
  CtrlC::WaitingForUser waiting;
  c.ui().note(QStringLiteral("seat chip %1 and press Enter.").arg(chip));
  std::string line;
  return static_cast<bool>(std::getline(std::cin, line));
}

ExitStatus Auto(CliContext &c, const QStringList &arguments) {
  ExitStatus status = c.OpenProductionLog();
  if (Passed(status))
    status = c.LoadImageFile(arguments.first());
  if (Passed(status))
    status = c.ReachProgrammer([&] { return AskAhead(c, {WarningWindow::Lock}, true); });
  if (!Passed(status))
    return status;
  ExitStatus worst = ExitStatus::Success;
  for (int chip = 1; chip <= c.options().count; ++chip) {
    if (chip > 1 && !WaitForChip(c, chip)) {
      c.ui().note(QStringLiteral("the input ended before chip %1.").arg(chip));
      return ExitStatus::UsageError;
    }
    c.StartChip();
    status = c.VerifySignature(SignatureNeed::MustPass);
    if (Passed(status))
      status = c.RunControl({QStringLiteral("TbnAuto")});
    c.out() << "Chip " << chip << ": "
            << (Passed(status)
                    ? QStringLiteral("passed")
                    : QStringLiteral("failed (%1)").arg(c.ui().panelText(Panel::SbrActivity)))
            << '\n';
    c.out().flush();
    if (const ExitStatus logged = c.LogChip(status); !Passed(logged))
      return logged;
    // The next chip is worth trying only after the programmer's own verdict.
    if (status != ExitStatus::Success && status != ExitStatus::DeviceFailure)
      return status;
    if (status == ExitStatus::DeviceFailure)
      worst = status;
  }
  return worst;
}

ExitStatus Checksum(CliContext &c, const QStringList &arguments) {
  const ExitStatus status = c.LoadImageFile(arguments.first());
  if (Passed(status))
    PrintChecksum(c, c.core().buffer().savedBytes());
  return status;
}

ExitStatus Convert(CliContext &c, const QStringList &arguments) {
  if (!CanSaveAs(c, arguments[1], arguments[0]))
    return ExitStatus::UsageError;
  ExitStatus status = c.LoadImageFile(arguments[0]);
  if (Passed(status))
    status = c.SaveImageFile(arguments[1]);
  if (Passed(status))
    c.ui().info(QStringLiteral("%1 is saved as %2 (%3 bytes).")
                    .arg(arguments[0], arguments[1])
                    .arg(c.core().buffer().FileEnd - 1));
  return status;
}

// "1E00FF", "1E,00,FF" or "1E 00 FF" to the bytes "1E", "00", "FF"; nothing
// when it is not whole hex bytes.
std::optional<QStringList> ParseHexBytes(const QString &text) {
  QString digits = text;
  digits.remove(QRegularExpression(QStringLiteral("[,\\s]")));
  static const QRegularExpression hexPairs(QStringLiteral("^([0-9A-Fa-f]{2})+$"));
  if (!hexPairs.match(digits).hasMatch())
    return std::nullopt;
  QStringList bytes;
  for (qsizetype i = 0; i < digits.size(); i += 2)
    bytes.append(digits.mid(i, 2).toUpper());
  return bytes;
}

// Only what the window's menus and drop-down offer the device goes out;
// anything else is refused before the port is touched.
ExitStatus CheckSpecialOffered(CliContext &c, const SpecialChoice &choice) {
  const QList<SpecialChoice> offered = OfferedSpecialCommands(c.session().Mcu);
  if (offered.contains(choice))
    return ExitStatus::Success;
  QStringList names;
  for (const auto &[number, mode] : offered)
    names.append(number + QLatin1Char(' ') + QLatin1Char(mode));
  c.ui().note(
      QStringLiteral("special is not available for %1 as %2 %3; it offers %4.")
          .arg(c.DeviceName(), choice.first, QString(QLatin1Char(choice.second)),
               names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "))));
  return ExitStatus::UsageError;
}

// What the third argument of special is: a file for the areas, bytes for the
// special byte dialog, nothing for the set commands.
enum class SpecialData { None, AreaFromFile, AreaToFile, DialogBytes };

SpecialData SpecialDataOf(const QString &number, char mode) {
  const SpecialNumber &row = FindSpecialNumber(number);
  if (mode == CmdWrite)
    return SpecialData::AreaFromFile;
  if (mode == CmdRead && row.onRead == OnRead::IntoBuffer)
    return SpecialData::AreaToFile;
  if ((mode == CmdRead && row.onRead != OnRead::Nothing) ||
      (mode == SpecialModeSet && row.onSet == OnSet::ReadThenDialog))
    return SpecialData::DialogBytes;
  return SpecialData::None;
}

ExitStatus Special(CliContext &c, const QStringList &arguments) {
  static const QRegularExpression numberPattern(QStringLiteral("^\\d{1,2}$"));
  const QString mode = arguments[1].toUpper();
  if (!numberPattern.match(arguments[0]).hasMatch() ||
      !QStringList({"S", "R", "W"}).contains(mode)) {
    c.ui().note(QStringLiteral("special takes a number such as 16 and a mode S, R or W."));
    return ExitStatus::UsageError;
  }
  const QString number = arguments[0].rightJustified(2, QLatin1Char('0'));
  const char letter = mode.at(0).toLatin1();
  const SpecialData data = SpecialDataOf(number, letter);
  const QString given = arguments.value(2);
  const bool needsFile = data == SpecialData::AreaFromFile || data == SpecialData::AreaToFile;
  if ((needsFile && given.isEmpty()) || (data == SpecialData::None && !given.isEmpty())) {
    c.ui().note(needsFile ? QStringLiteral("special %1 %2 takes a FILE.").arg(number, mode)
                          : QStringLiteral("special %1 %2 takes no data.").arg(number, mode));
    return ExitStatus::UsageError;
  }

  ExitStatus status = ExitStatus::Success;
  if (data == SpecialData::AreaFromFile)
    status = c.LoadImageFile(given);
  if (data == SpecialData::AreaToFile && !CanSaveAs(c, given))
    status = ExitStatus::UsageError;
  if (data == SpecialData::DialogBytes && !given.isEmpty()) {
    const std::optional<QStringList> bytes = ParseHexBytes(given);
    if (!bytes) {
      c.ui().message(SpecialByteText::InvalidHex, MessageIcon::Exclamation);
      return ExitStatus::UsageError;
    }
    c.ui().setSpecialBytes(*bytes);
  }
  const SpecialChoice choice(number, letter);
  if (Passed(status))
    status = c.ReachDevice(SignatureNeed::MustPass, [&] { return CheckSpecialOffered(c, choice); });
  if (!Passed(status))
    return status;
  if (data == SpecialData::AreaToFile) {
    // An area read replaces the buffer, and would ask before doing so.
    c.core().buffer().clear();
    c.core().panel().SetMenuOptions(false);
  }
  status = c.RunControl(SpecialControls(c.session().Mcu, choice));
  for (const QString &value : c.ui().specialByteValues())
    c.out() << value << '\n';
  c.out().flush();
  if (Passed(status) && data == SpecialData::AreaToFile)
    status = c.SaveImageFile(given);
  return status;
}

ExitStatus Demo(CliContext &c, const QStringList &) {
  ExitStatus status = c.OpenCatalogue();
  if (Passed(status))
    status = c.SelectDevice(c.options().device.isEmpty() ? kDemoChip : c.options().device);
  if (!Passed(status))
    return status;

  SimulatorProcess simulator;
  const QString path = simulator.Start(c.session().Mcu.MCUIDNumber);
  if (path.isEmpty()) {
    c.ui().note(QStringLiteral("the programmer simulator could not be started: %1")
                    .arg(simulator.ErrorText()));
    return ExitStatus::LinkFailure;
  }
  c.usePort(path);
  status = c.FindProgrammer();
  if (Passed(status))
    status = c.VerifySignature(SignatureNeed::MustPass);
  if (!Passed(status))
    return status;

  const QByteArray sample = DemoImage(std::min(kDemoImageSize, c.session().Mcu.MCUCodeROMSize));
  ImageBuffer &buffer = c.core().buffer();
  LoadBytes(buffer, sample);
  c.core().panel().SetMenuOptions(false);
  status = c.RunControl({QStringLiteral("TbnWrite")});
  QByteArray chip;
  if (Passed(status))
    status = ReadBack(c, chip);
  c.core().portHandling().PortClose();
  if (!Passed(status))
    return status;

  ImageBuffer written;
  LoadBytes(written, sample);
  const ImageDifference difference = CompareWithChip(written, chip);
  if (difference.count > 0) {
    c.out() << "Demo failed: " << difference.count << " bytes read back differ, the first at "
            << Hex(difference.firstAddress, 4) << ".\n";
    c.out().flush();
    return ExitStatus::DeviceFailure;
  }
  c.out() << "Demo passed: " << sample.size() << " bytes written to " << c.DeviceName().mid(4)
          << " on the simulator, read back and compared.\n";
  c.out().flush();
  return ExitStatus::Success;
}

} // namespace

// clang-format off
const std::vector<CliCommand> &Commands() {
  static const std::vector<CliCommand> commands{
      // name, arguments, what it does, fewest and most arguments, own options, function
      {"devices", "[TEXT]", "list the catalogue (identifier, brand, model, KB, lock bits, family), filtered by TEXT",
       0, 1, {}, &ListDevices},
      {"ports", "", "list the serial ports behind COM1..COM16: path, description, USB ids, pinned or found",
       0, 0, {}, &ListPorts},
      {"detect", "", "presence check on --port, or autodetect; prints the port found",
       0, 0, {}, &Detect},
      {"signature", "", "presence check, then verify the seated chip against --device",
       0, 0, {}, &Signature},
      {"blank-check", "", "check that the chip is blank",
       0, 0, {}, &BlankCheck},
      {"erase", "[--5v | --12v]", "erase the chip; --5v, --12v: without signature check",
       0, 0, {QStringLiteral("5v"), QStringLiteral("12v")}, &Erase},
      {"lock", "BITS", "program the lock bits, for example 1,2",
       1, 1, {}, &Lock},
      {"write", "FILE [--binary]", "write a HEX file (by its name or contents) or a binary file",
       1, 1, {QStringLiteral("binary")}, &Write},
      {"read", "FILE", "read the code memory and save it as a binary file",
       1, 1, {}, &Read},
      {"verify", "FILE [--binary]", "read the chip and compare with FILE: the first differing address and the count",
       1, 1, {QStringLiteral("binary")}, &Verify},
      {"auto", "FILE [--count N] [--log LOG] [--binary]", "write and lock N chips in a row, Enter between chips; a line per chip; on several --port at once",
       1, 1, {QStringLiteral("count"), QStringLiteral("log"), QStringLiteral("binary")}, &Auto},
      {"special", "NUMBER MODE [FILE|HEXBYTES] [--binary]", "special command NUMBER in mode S, R or W; areas to or from FILE, special bytes shown or set to HEXBYTES",
       2, 3, {QStringLiteral("binary")}, &Special},
      {"checksum", "FILE [--binary]", "the checksum and CRC-32 of FILE's image, over the bytes a save writes",
       1, 1, {QStringLiteral("binary")}, &Checksum},
      {"convert", "IN OUT [--binary]", "load IN with the window's readers and save the image as binary OUT",
       2, 2, {QStringLiteral("binary")}, &Convert},
      {"demo", "", "start kvr-sim, then detect, signature, write a sample image, read it back, compare",
       0, 0, {}, &Demo},
  };
  return commands;
}
// clang-format on

const CliCommand *FindCliCommand(const QString &name) {
  for (const CliCommand &command : Commands())
    if (name == QLatin1String(command.name))
      return &command;
  return nullptr;
}

ExitStatus RunCommand(const CliOptions &options, QTextStream &out, QTextStream &err) {
  const CliCommand *command = FindCliCommand(options.command);
  if (!command)
    return ExitStatus::UsageError;
  CliContext context(options, out, err);
  ExitStatus status = ExitStatus::Success;
  try {
    status = command->run(context, options.arguments);
  } catch (const UnansweredQuestion &) {
    return ExitStatus::UsageError; // the question and its option are shown
  }
  // A device failure outside an operation is verify's or the demonstration's
  // verdict, printed on stdout.
  if (status != ExitStatus::Success && status != ExitStatus::DeviceFailure)
    context.ExplainIfSilent(status, 0);
  return status;
}

} // namespace kvr::cli
