#pragma once

#include <QObject>
#include <QString>

#include <array>

namespace kvr {

class ControlPanel;
class ImageBuffer;
class Session;
class Ui;

namespace BufferText {
inline const QString NotHex = QStringLiteral("The selected file is not in HEX Format.");
inline const QString BeyondFFFF =
    QStringLiteral("The selected file has data beyond address FFFFH.");
inline const QString FileNotFound = QStringLiteral("File not found.");
// The file panel: this, then the file name and size.
inline const QString FilePanelPrefix = QStringLiteral("File : ");
// Reasons a file is refused before it is read.
inline const QString NotRegularFile = QStringLiteral("Not a regular file");
inline const QString TooLarge =
    QStringLiteral("Larger than 16 MB, while the largest device holds 64 KB");
inline const QString SaveQuestion = QStringLiteral("Current file not saved. Save?");
inline const QString SameAsOpen = QStringLiteral(
    "The path and file name you have selected is the same as the one currently open.");
inline const QString AlreadyExists = QStringLiteral("The selected file already exists.");
inline const QString OpenFilter =
    QStringLiteral("Hex Files (*.Hex;*.ihx;*.ihex)|*.Hex;*.ihx;*.ihex|Bin Files (*.Bin)|*.Bin|"
                   "All Files (*.*)|*.*");
QString Damaged(int line);
QString CouldNotOpen(const QString &path, const QString &reason);
QString CouldNotSave(const QString &path, const QString &reason);
// The overwrite question: the reason, two line breaks, then "Should KVR 1.04 overwrite it?".
QString Overwrite(const QString &reason);
} // namespace BufferText

// The files of the image buffer: the open prompt and its two readers (Intel
// HEX, binary), the writer behind Save and Save As, the recent-file entries
// of the File menu, and the resizing of the grid to an area's size.
//
// A file is read and checked completely before the image changes: a file
// that is refused, or whose damage the user does not accept, leaves the
// loaded image and every path as they were.
class BufferFiles {
public:
  // Values of OpenFilterIndex: the reader the open prompt uses.
  static constexpr int kHexFilter = 1;

  BufferFiles(Session &session, Ui &ui, ControlPanel &panel, ImageBuffer &buffer);

  // File > Open and the toolbar's Open: the open dialog, then the reader its
  // filter chooses.
  void MnuOpen_Click();
  // The single way a file comes in from the user: existence check, the save
  // question for unsaved changes, the dialog when showDialog, then the reader
  // chosen by OpenFilterIndex. After a load the buffer counts as unmodified.
  void FileOpenPrompt(const QString &path, bool showDialog);
  // MnuFileLastFile1..4: opens recent slot 1..4 without the dialog.
  void MnuFileLastFile_Click(int slot);

  // The binary reader. Loads the file at path as an image starting at
  // address 0 (file byte i is the byte at address i), FileEnd = length + 1,
  // row count made even, and on success sets CurrentFilePath to path,
  // CurrentFileLength, FileCaption and the "SbrFile" panel, and enters the
  // path in the recent files unless it is Session::TempImagePath.
  //
  // The read operations load the temporary image with it, then clear
  // CurrentFilePath themselves. BufferModified is left to the caller. The
  // menus are busy during the load and set idle at its end
  // (SetMenuOptions), and the grid's views are told of the new image.
  //
  // Returns false, with the image untouched, when the file cannot be opened
  // or read (the user is told why). Stop pressed during the load (the reader
  // lets events run 16 times) empties the grid, leaves no current file and
  // nothing unsaved, and also returns false; StopRequested is cleared at the
  // end either way.
  bool FileOpen(const QString &path);
  // The Intel HEX reader, with the same contract as FileOpen. A file that is
  // not HEX, or has data past FFFFh, is refused with a message; a damaged one
  // loads only when the user accepts the damage.
  bool FileOpenHex_1(const QString &path);

  // Where a file dialog starts: the folder of the last file, else the
  // program's.
  QString DialogFolder() const;

  // File > Save and the toolbar's Save. True when the image was written.
  bool MnuSave_Click();
  bool MnuSaveAs_Click();
  // The save dialog and the overwrite questions; convertToBin says the image
  // will be written under the chosen name with ".bin" in place of its last
  // four characters. On true, CurrentFilePath holds the chosen name.
  bool ShowSaveDialog(bool convertToBin);
  // Writes the FileEnd - 1 image bytes ("XX" as 00h) to CurrentFilePath.
  bool FileSave();
  // Writes them beside CurrentFilePath as ".bin", which then becomes the
  // current file.
  bool FileSave_convert();

  // Grows or shrinks the grid to size bytes (rows rounded half to even),
  // keeping every row that holds image data; new rows hold "XX".
  void ResetGrid(int size);

  // The recent files: slot 1 first. ShowRecentFiles fills the menu from the
  // saved settings at start-up; SetLastUsedFiles enters a path after a load
  // or save (a path already in the list keeps its place).
  void ShowRecentFiles(const std::array<QString, 4> &saved);
  void SetLastUsedFiles(const QString &path);
  const std::array<QString, 4> &RecentFiles() const { return recent_; }

  int OpenFilterIndex = 0;

private:
  struct FileRead;
  FileRead ReadWholeFile(const QString &path);
  void StartLoad();
  void FinishLoad(const QString &path, qint64 length, bool stopped);
  void ShowCurrentFile(const QString &path, qint64 length);
  // The "SbrFile" tool tip: the file, then the image's checksums on a line
  // of their own, renewed whenever the image changes.
  void ShowFileToolTip();
  bool WriteImage(const QString &target, int progressMaximum);

  Session &session_;
  Ui &ui_;
  ControlPanel &panel_;
  ImageBuffer &buffer_;
  std::array<QString, 4> recent_;
  QString fileToolTip_;
  QObject imageWatch_; // ends the tool tip's connections to the buffer with this object
};

// The size text of the status bar and the file caption: length / 1024 with
// one decimal ("0.0", "17.5"), halves rounded up.
QString KilobyteText(qint64 length);

} // namespace kvr
