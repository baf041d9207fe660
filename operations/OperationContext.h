#pragma once

namespace kvr {

class ControlPanel;
class DatabaseHandlers;
class Link;
class PortMap;
class SerialPort;
class Session;
class Ui;

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
};

} // namespace kvr
