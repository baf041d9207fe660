#pragma once

#include <QString>

#include <functional>

namespace kvr {

class ControlPanel;
class DatabaseHandlers;
class ImageBuffer;
class Link;
class PortMap;
class SerialPort;
class Session;
class Ui;

// What the device operations need of the buffer's file handling.
struct BufferFileHooks {
  // Loads a file again after it changed on disk (Intel HEX by its ".HEX" name,
  // else binary); false when the file was refused (the user was told why).
  std::function<bool(const QString &path)> reloadChangedFile;
  // Loads a binary image file as the buffer's new contents; false when refused.
  std::function<bool(const QString &path)> loadImageFile;
  // File > Save.
  std::function<void()> save;
  // Grows the grid to size bytes, the new rows "XX" (a special area written
  // from a shorter image).
  std::function<void(int size)> resizeGrid;
};

// What every device operation works with: the shared state, what it shows,
// the line and the menus it switches.
struct OperationContext {
  Session &session;
  Ui &ui;
  SerialPort &port;
  Link &link;
  ControlPanel &panel;
  PortMap &ports;
  DatabaseHandlers &catalogue;
  ImageBuffer &buffer;
  BufferFileHooks files{};
};

} // namespace kvr
