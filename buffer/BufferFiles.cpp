#include "BufferFiles.h"

#include "Checksum.h"
#include "ControlPanel.h"
#include "FileDate.h"
#include "FileFilters.h"
#include "Globals.h"
#include "ImageBuffer.h"
#include "IntelHex.h"
#include "Session.h"
#include "Ui.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>

namespace kvr {

namespace {

constexpr int kBytesPerRow = ImageBuffer::kBytesPerRow;
// The binary reader lets events run this many times a file, so Stop is seen.
constexpr int kStopChecksPerLoad = 16;
// Far beyond any image (the largest device holds 64 KB), small enough to read.
constexpr qint64 kLargestFile = 16 * 1024 * 1024;

const std::array<QString, 4> kRecentEntries{
    QStringLiteral("MnuFileLastFile1"), QStringLiteral("MnuFileLastFile2"),
    QStringLiteral("MnuFileLastFile3"), QStringLiteral("MnuFileLastFile4")};
const QString kRecentSeparator = QStringLiteral("MnuFileLine1");

const QString kFileOpen = QStringLiteral("File Open");
const QString kErrorOpening = QStringLiteral("Error Opening File");
const QString kExpanding = QStringLiteral("Wait....  Expanding BufferSize to CodeROM Size.");

bool EndsWithNoCase(const QString &path, const char *extension) {
  return path.right(3).compare(QLatin1String(extension), Qt::CaseInsensitive) == 0;
}

QString FolderOf(const QString &path) {
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  return slash < 0 ? QString() : path.left(slash);
}

QString FileNameOf(const QString &path) { return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1); }

// The name a HEX buffer is written under: ".bin" in place of a HEX name's
// extension (".ihex" too), else of the last four characters.
QString BinaryNameFor(const QString &path) {
  const qsizetype cut = IsHexFileName(path) ? path.size() - path.lastIndexOf(QLatin1Char('.')) : 4;
  return (path.size() >= cut ? path.chopped(cut) : path) + QStringLiteral(".bin");
}

// A menu caption shows "&" as a mnemonic; a path keeps its own.
QString RecentCaption(const QString &prefix, const QString &path) {
  return prefix + QString(path).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// size / 16 rounded to the nearest whole row, halves to the even row.
int RowsForSize(int size) {
  const int rows = size / kBytesPerRow;
  const int rest = size % kBytesPerRow;
  if (rest > kBytesPerRow / 2 || (rest == kBytesPerRow / 2 && rows % 2 == 1))
    return rows + 1;
  return rows;
}

// Writes bytes and commits the file; empty when done, else why not. Every
// step is checked and the buffered bytes are flushed before the commit, so
// that a full disk never leaves a short file behind a reported save. The
// system's reason is taken where Qt has only "Unknown error".
QString SaveFailure(QSaveFile &file, const QByteArray &bytes) {
  const auto step = [&file](bool done) {
    const int systemError = errno;
    if (done)
      return QString();
    return systemError != 0 ? qt_error_string(systemError) : file.errorString();
  };
  errno = 0;
  QString failure = step(file.open(QIODevice::WriteOnly));
  if (failure.isEmpty()) {
    errno = 0;
    failure = step(file.write(bytes) == bytes.size() && file.flush());
  }
  if (failure.isEmpty()) {
    errno = 0;
    failure = step(file.commit());
  }
  return failure;
}

} // namespace

QString BufferText::Damaged(int line) {
  return QStringLiteral("The selected file is damaged at line %1. Load it anyway?").arg(line);
}

QString BufferText::CouldNotOpen(const QString &path, const QString &reason) {
  return QStringLiteral("The file %1 could not be opened: %2.").arg(path, reason);
}

QString BufferText::CouldNotSave(const QString &path, const QString &reason) {
  return QStringLiteral("The file %1 could not be saved: %2.").arg(path, reason);
}

QString BufferText::Overwrite(const QString &reason) {
  return reason + QStringLiteral("\r\rShould ") + kAppTitle + QStringLiteral(" overwrite it?");
}

QString KilobyteText(qint64 length) {
  const qint64 tenths = (length * 10 + 512) / 1024;
  return QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
}

struct BufferFiles::FileRead {
  bool ok = false;
  QByteArray data;
};

BufferFiles::BufferFiles(Session &session, Ui &ui, ControlPanel &panel, ImageBuffer &buffer)
    : session_(session), ui_(ui), panel_(panel), buffer_(buffer) {
  QObject::connect(&buffer_, &ImageBuffer::rowsChanged, &imageWatch_,
                   [this] { ShowFileToolTip(); });
  QObject::connect(&buffer_, &ImageBuffer::layoutReset, &imageWatch_,
                   [this] { ShowFileToolTip(); });
}

QString BufferFiles::DialogFolder() const {
  return buffer_.LastFileFolder.isEmpty() ? BaseModule::ApplicationFolder()
                                          : buffer_.LastFileFolder;
}

void BufferFiles::MnuOpen_Click() { FileOpenPrompt(QString(), true); }

void BufferFiles::FileOpenPrompt(const QString &path, bool showDialog) {
  if (!path.isEmpty() && !QFileInfo::exists(path)) {
    ui_.message(BufferText::FileNotFound, MessageIcon::Information);
    return;
  }
  // Changes the user wanted saved are not thrown away when the save did not happen.
  if (session_.BufferModified &&
      ui_.ask(BufferText::SaveQuestion, Buttons::YesNo, MessageIcon::Exclamation) == Answer::Yes &&
      !MnuSave_Click())
    return;

  QString chosen = path;
  if (showDialog) {
    const QString folder = DialogFolder();
    const std::optional<FileDialogChoice> choice =
        ui_.chooseFileToOpen({QStringLiteral("Open File"), BufferText::OpenFilter, OpenFilterIndex,
                              folder, path, QStringLiteral("HEX")});
    if (!choice)
      return;
    chosen = choice->path;
    OpenFilterIndex = choice->filterIndex;
  }
  if (chosen.isEmpty())
    return;

  const bool loaded = OpenFilterIndex == kHexFilter ? FileOpenHex_1(chosen) : FileOpen(chosen);
  if (!loaded)
    return;
  buffer_.OpenedFilePath = chosen;
  buffer_.LastFileFolder = FolderOf(chosen);
  BaseModule::RememberFileDate(session_, chosen);
  ui_.setPanelText(Panel::SbrActivity, kFileOpen);
  session_.BufferModified = false;
}

void BufferFiles::MnuFileLastFile_Click(int slot) {
  if (slot < 1 || slot > static_cast<int>(recent_.size()))
    return;
  const QString path = recent_[slot - 1];
  if (path.isEmpty())
    return;
  OpenFilterIndex = IsHexFileName(path) ? kHexFilter : 0;
  FileOpenPrompt(path, false);
}

BufferFiles::FileRead BufferFiles::ReadWholeFile(const QString &path) {
  FileRead read;
  QFile file(path);
  // Checked before opening: a FIFO would wait for a writer, a device or a
  // huge file would be read into memory without end.
  const QFileInfo info(path);
  QString refusal;
  if (info.exists() && !info.isFile())
    refusal = BufferText::NotRegularFile;
  else if (info.size() > kLargestFile)
    refusal = BufferText::TooLarge;
  if (refusal.isEmpty() && file.open(QIODevice::ReadOnly)) {
    read.data = file.readAll();
    read.ok = file.error() == QFileDevice::NoError;
  }
  if (!read.ok) {
    ui_.message(BufferText::CouldNotOpen(path, refusal.isEmpty() ? file.errorString() : refusal),
                MessageIcon::Exclamation);
    ui_.setPanelText(Panel::SbrActivity, kErrorOpening);
  }
  return read;
}

void BufferFiles::StartLoad() {
  panel_.SetMenuOptions(true);
  ui_.setPanelText(Panel::SbrFile, BufferText::FilePanelPrefix);
  buffer_.clear();
}

void BufferFiles::FinishLoad(const QString &path, qint64 length, bool stopped) {
  if (stopped) {
    // Nothing is left that could be saved.
    session_.BufferModified = false;
    buffer_.clear();
    buffer_.CurrentFilePath.clear();
    buffer_.FileEnd = 1;
    buffer_.CurrentFileLength = 0;
    buffer_.FileCaption.clear();
    fileToolTip_.clear();
    ShowFileToolTip();
  } else {
    buffer_.CurrentFilePath = path;
    buffer_.CurrentFileLength = static_cast<int>(length);
    SetLastUsedFiles(path);
    ShowCurrentFile(path, length);
  }
  ui_.setProgressValue(0);
  session_.clearStop();
  panel_.SetMenuOptions(false);
  buffer_.ResetGrid_Special();
  buffer_.announceReset();
  BaseModule::RememberFileDate(session_, buffer_.OpenedFilePath);
}

void BufferFiles::ShowCurrentFile(const QString &path, qint64 length) {
  const QString size = KilobyteText(length) + QStringLiteral("K)");
  buffer_.FileCaption = FileNameOf(path) + QStringLiteral(" (") + size;
  ui_.setPanelText(Panel::SbrFile, BufferText::FilePanelPrefix + buffer_.FileCaption);
  fileToolTip_ = BufferText::FilePanelPrefix + path + QStringLiteral(" (") + size;
  ShowFileToolTip();
}

void BufferFiles::ShowFileToolTip() {
  QString text = fileToolTip_;
  if (buffer_.FileEnd > 1) {
    if (!text.isEmpty())
      text += QLatin1Char('\n');
    text += ChecksumText(ChecksumOf(buffer_.savedBytes()));
  }
  ui_.setPanelToolTip(Panel::SbrFile, text);
}

bool BufferFiles::FileOpen(const QString &path) {
  if (path.isEmpty())
    return false;
  const FileRead read = ReadWholeFile(path);
  if (!read.ok)
    return false;

  BusyPointer busy(ui_);
  StartLoad();
  const QByteArray &data = read.data;
  const int length = static_cast<int>(data.size());
  const int rows = (length + kBytesPerRow - 1) / kBytesPerRow;
  buffer_.setRowCount(rows);
  ui_.setPanelText(Panel::SbrActivity, kFileOpen);
  ui_.setProgressRange(0, rows);
  ui_.setProgressValue(0);

  const int rowsPerStopCheck = rows / kStopChecksPerLoad;
  for (int row = 0; row < rows && !session_.StopRequested(); ++row) {
    for (int column = 0; column < kBytesPerRow; ++column) {
      const int address = row * kBytesPerRow + column;
      if (address < length)
        buffer_.setByte(address, static_cast<unsigned char>(data[address]));
      else
        buffer_.setNoData(address);
    }
    if (rows >= kStopChecksPerLoad && (row + 1) % rowsPerStopCheck == 0) {
      ui_.setProgressValue(row + 1);
      ui_.processEvents();
    }
  }
  const bool stopped = session_.StopRequested();
  if (!stopped)
    buffer_.FillAsciiChar(rows - 1);
  buffer_.FileEnd = length + 1;
  FinishLoad(path, length, stopped);
  return !stopped;
}

bool BufferFiles::FileOpenHex_1(const QString &path) {
  if (path.isEmpty())
    return false;
  const FileRead read = ReadWholeFile(path);
  if (!read.ok)
    return false;

  HexImage image = ReadIntelHex(read.data, HexReading::Strict);
  if (image.outcome == HexImage::Outcome::Damaged) {
    if (ui_.ask(BufferText::Damaged(image.damagedLine), Buttons::YesNo, MessageIcon::Exclamation) !=
        Answer::Yes)
      return false;
    image = ReadIntelHex(read.data, HexReading::Tolerant);
  }
  if (image.outcome != HexImage::Outcome::Loaded) {
    ui_.message(image.outcome == HexImage::Outcome::NotHex ? BufferText::NotHex
                                                           : BufferText::BeyondFFFF,
                MessageIcon::Exclamation);
    ui_.setPanelText(Panel::SbrActivity, kErrorOpening);
    return false;
  }

  BusyPointer busy(ui_);
  StartLoad();
  ui_.setPanelText(Panel::SbrActivity, QStringLiteral("Reading Hex File"));
  ui_.setProgressRange(0, static_cast<int>(read.data.size() / 2));
  ui_.setProgressValue(0);
  ui_.setPanelText(Panel::SbrActivity, QStringLiteral("Reading Hex File...."));
  const int rows = image.highestRow + 1;
  buffer_.setRowCount(rows);
  for (int address = 0; address < rows * kBytesPerRow; ++address) {
    if (address >= image.imageLength)
      buffer_.setNoData(address);
    else if (image.written[address])
      buffer_.setByte(address, static_cast<unsigned char>(image.bytes[address]));
  }
  ui_.setProgressValue(image.placedBytes);

  ui_.setPanelText(Panel::SbrActivity, QStringLiteral("Converting Hex to Bin"));
  ui_.setProgressValue(0);
  buffer_.FillFdgFileZero(image.highestRow);
  buffer_.FillAsciiChar(image.highestRow);
  buffer_.FileEnd = image.imageLength + 1;
  const bool stopped = session_.StopRequested();
  ui_.setPanelText(Panel::SbrActivity, kFileOpen);
  FinishLoad(path, read.data.size(), stopped);
  return !stopped;
}

bool BufferFiles::MnuSave_Click() {
  const QString &current = buffer_.CurrentFilePath;
  // A buffer read from a HEX file is saved beside it as binary, never over it.
  if (!current.isEmpty() && !IsHexFileName(current))
    return FileSave();
  return MnuSaveAs_Click();
}

bool BufferFiles::MnuSaveAs_Click() {
  const QString previous = buffer_.CurrentFilePath;
  const bool convert = !previous.isEmpty() && !EndsWithNoCase(previous, "BIN");
  if (!ShowSaveDialog(convert))
    return false;
  const bool saved = convert ? FileSave_convert() : FileSave();
  if (!saved)
    buffer_.CurrentFilePath = previous;
  return saved;
}

bool BufferFiles::ShowSaveDialog(bool convertToBin) {
  const QString &current = buffer_.CurrentFilePath;
  const bool binary = current.isEmpty() || EndsWithNoCase(current, "BIN");
  // The dialog offers the file as it would be written, in its folder.
  const QString offered = convertToBin ? BinaryNameFor(current) : current;
  QString folder = FolderOf(offered);
  if (folder.isEmpty())
    folder = DialogFolder();
  const QString chosen = ui_.chooseFileToSave(
      {QStringLiteral("Save As"),
       binary ? QStringLiteral("Bin Files (*.Bin)|*.Bin") : QStringLiteral("Bin Files (*.Bin)"), 0,
       folder, FileNameOf(offered), QStringLiteral("BIN")});
  if (chosen.isEmpty())
    return false;

  // The question is about the file that will really be written.
  const QString written = convertToBin ? BinaryNameFor(chosen) : chosen;
  QString reason;
  if (!current.isEmpty() && written == current)
    reason = BufferText::SameAsOpen;
  else if (QFileInfo::exists(written))
    reason = BufferText::AlreadyExists;
  if (!reason.isEmpty() && ui_.ask(BufferText::Overwrite(reason), Buttons::OkCancel,
                                   MessageIcon::Exclamation) != Answer::Ok)
    return false;
  buffer_.CurrentFilePath = chosen;
  return true;
}

bool BufferFiles::WriteImage(const QString &target, int progressMaximum) {
  BusyPointer busy(ui_);
  ui_.setPanelText(Panel::SbrActivity, QStringLiteral("File Save"));
  ui_.setProgressRange(0, progressMaximum);
  const QByteArray bytes = buffer_.savedBytes();
  // Written aside and renamed over the target: a failed save leaves the old file.
  QSaveFile file(target);
  // A device or a FIFO is never replaced by a regular file.
  const QFileInfo existing(target);
  const QString reason = existing.exists() && !existing.isFile() ? BufferText::NotRegularFile
                                                                 : SaveFailure(file, bytes);
  ui_.setProgressValue(0);
  if (!reason.isEmpty()) {
    ui_.message(BufferText::CouldNotSave(target, reason), MessageIcon::Exclamation);
    return false;
  }
  buffer_.CurrentFileLength = static_cast<int>(bytes.size());
  buffer_.CurrentFilePath = target;
  buffer_.LastFileFolder = FolderOf(target);
  ShowCurrentFile(target, bytes.size());
  SetLastUsedFiles(target);
  session_.BufferModified = false;
  return true;
}

bool BufferFiles::FileSave() { return WriteImage(buffer_.CurrentFilePath, buffer_.FileEnd - 1); }

// The buffer then belongs to the file written, so the status bar, the recent
// files and the next Save name a file that holds the image.
bool BufferFiles::FileSave_convert() {
  return WriteImage(BinaryNameFor(buffer_.CurrentFilePath), buffer_.FileEnd);
}

void BufferFiles::ResetGrid(int size) {
  BusyPointer busy(ui_);
  ui_.setPanelText(Panel::SbrActivity, QStringLiteral("Wait..."));
  const int wanted = RowsForSize(size);
  const int current = buffer_.rowCount();
  if (wanted > current) {
    ui_.showFloatingMessage(kExpanding);
    buffer_.setRowCount(wanted);
    for (int row = current; row < wanted; ++row) {
      for (int column = 0; column < kBytesPerRow; ++column)
        buffer_.setNoData(row * kBytesPerRow + column);
      buffer_.setCellText(row, ImageBuffer::kTextColumn, QString(21, QLatin1Char(' ')));
    }
  } else if (wanted < current) {
    // Rows that hold image data past the wanted size stay.
    int kept = current;
    if (wanted >= 1 && buffer_.isNoData((wanted - 1) * kBytesPerRow)) {
      kept = wanted;
    } else {
      for (int row = wanted; row < current; ++row)
        if (buffer_.isNoData(row * kBytesPerRow)) {
          kept = row;
          break;
        }
    }
    buffer_.setRowCount(kept);
  }
  ui_.hideFloatingMessage();
  ui_.setPanelText(Panel::SbrActivity, QString());
  buffer_.announceReset();
}

void BufferFiles::ShowRecentFiles(const std::array<QString, 4> &saved) {
  recent_ = saved;
  for (size_t i = 0; i < recent_.size(); ++i) {
    if (recent_[i].isEmpty())
      continue;
    panel_.setText(kRecentEntries[i], RecentCaption(QStringLiteral("&%1.").arg(i + 1), recent_[i]));
    panel_.setVisible(kRecentEntries[i], true);
    panel_.setVisible(kRecentSeparator, true);
  }
}

void BufferFiles::SetLastUsedFiles(const QString &path) {
  if (BaseModule::IsTemporaryImage(session_, path))
    return;
  if (std::find(recent_.begin(), recent_.end(), path) == recent_.end()) {
    std::move_backward(recent_.begin(), recent_.end() - 1, recent_.end());
    recent_[0] = path;
  }
  for (size_t i = 0; i < recent_.size(); ++i) {
    if (recent_[i].isEmpty())
      continue;
    panel_.setText(kRecentEntries[i], RecentCaption(QStringLiteral("&%1 ").arg(i + 1), recent_[i]));
    panel_.setVisible(kRecentEntries[i], true);
    panel_.setVisible(kRecentSeparator, true);
  }
}

} // namespace kvr
