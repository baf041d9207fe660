#include "HelpTopics.h"

#include <QHash>

namespace kvr {

const QStringList &HelpTopics() {
  static const QStringList topics{QStringLiteral("Contents"),
                                  QStringLiteral("Introduction"),
                                  QStringLiteral("Special Features"),
                                  QStringLiteral("Installation"),
                                  QStringLiteral("Operating Instructions"),
                                  QStringLiteral("Precautions/Warning"),
                                  QStringLiteral("Troubleshooting"),
                                  QStringLiteral("Wiring Chart"),
                                  QStringLiteral("Warranty Clause")};
  return topics;
}

namespace {
const QHash<QString, QString> &TopicTexts() {
  static const QHash<QString, QString> texts{
      {QStringLiteral("Introduction"),
       QStringLiteral(
           "<h3>Introduction</h3>"
           "<p>KVR 1.04 is a stand-alone serial-port programmer for 8051-family flash "
           "microcontrollers and 24Cxx serial EEPROMs. It carries its own microcontroller, which "
           "does all the chip-level work and handshakes with this program over the serial "
           "line.</p>"
           "<p>The signature of the chip in the socket is verified before it is erased, read, "
           "written or locked. The program runs on any PC or laptop with a serial port or a "
           "USB-serial adapter, under Linux (and on the other desktop systems Qt supports); the "
           "programmer comes in a portable enclosure.</p>")},
      {QStringLiteral("Special Features"),
       QStringLiteral(
           "<h3>Special Features</h3><ul>"
           "<li>Link to the PC at 19.2K baud.</li>"
           "<li>Programming is timed by the chip's own busy signal, not by a timer of the PC.</li>"
           "<li>Signature interlock on all commands.</li>"
           "<li>Blank check and verification built into Erase and Write/Auto.</li>"
           "<li>Hexadecimal editing of the binary object code.</li>"
           "<li>Repeated Write/Auto for programming chips in bulk; <tt>kvr-cli</tt> does the same "
           "from scripts and production lines.</li></ul>")},
      {QStringLiteral("Installation"),
       QStringLiteral(
           "<h3>Installation</h3>"
           "<p>From the program's source folder, <tt>./run.sh</tt> installs what is missing "
           "(with apt-get), builds the program and starts it. <tt>cmake --install build "
           "--prefix /usr/local</tt> (as root) puts <tt>kvr</tt>, <tt>kvr-cli</tt> and "
           "<tt>kvr-sim</tt> on the path and a KVR 1.04 entry in the desktop menu.</p>"
           "<p>The serial ports COM1..COM16 stand for device files. A number pinned in the "
           "settings (section <tt>[Ports]</tt>, for example "
           "<tt>COM3=/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K3B2C-if00-port0</tt>) keeps "
           "its device; the other numbers go, from COM1 up, to the serial ports the PC has: "
           "USB-serial adapters first, in the order of their names in "
           "<tt>/dev/serial/by-id</tt>, then the PC's own serial ports (<tt>/dev/ttyS*</tt>). "
           "Select Device, Serial Port, Select shows the device and the adapter behind each "
           "number (<tt>kvr-cli ports</tt> prints the same); Refresh looks again after an adapter "
           "was plugged in.</p>"
           "<p>The port on which the programmer is found is pinned under the adapter's by-id name, "
           "so that the adapter keeps its number when it is plugged in again, into any USB "
           "socket. Delete its <tt>[Ports]</tt> entry to free the number.</p>"
           "<p>To use a serial port your user must be in the <tt>dialout</tt> group: <tt>sudo "
           "usermod -aG dialout $USER</tt>, then log in again.</p>")},
      {QStringLiteral("Operating Instructions"),
       QStringLiteral(
           "<h3>Operating Instructions</h3><ol>"
           "<li>Power on the programmer and connect its cable to a serial port (a "
           "<tt>/dev/ttyS*</tt> port or a USB-serial adapter, <tt>/dev/ttyUSB*</tt>).</li>"
           "<li>Start the program and answer the autodetect question: it tries each serial port "
           "there is, a port where nothing answers for 2 seconds is passed over. The port and the "
           "last device are remembered for the next start.</li>"
           "<li>Select the device (Select Device, MCU). After a passing signature verification "
           "the Signature, Blank Check, Read, Lock, 5 V erase and 12 V erase buttons are enabled, "
           "and the special command button when the device has special areas.</li>"
           "<li>A HEX file is converted to binary on opening; the rest of the buffer shows "
           "\"XX\" and may be edited from the first \"XX\" on.</li>"
           "<li>Write sends 32-byte blocks, padding the last block (\"XX\" is sent as FF). A "
           "file larger than the device is cut to the device's size.</li>"
           "<li>Auto is Write followed by Lock of all bits; Lock lets you choose the bits one by "
           "one. Locked chips read as blank (FF), or as 00 for the SST chips.</li>"
           "<li>Read reads the whole code memory into the buffer. Special bytes are read and "
           "written through the special commands; some of them need an unlocked chip.</li>"
           "<li>Stop ends any command.</li>"
           "<li>Keys: besides the menus' access keys and Ctrl+O, Ctrl+S, F5 runs Signature "
           "Verification (also to retry it after a failure), Esc is Stop, Ctrl+F5 and Ctrl+F12 "
           "erase without signature verification at 5 V and 12 V where those buttons are "
           "enabled, and F4 opens the special command drop-down.</li></ol>")},
      {QStringLiteral("Precautions/Warning"),
       QStringLiteral(
           "<h3>Precautions/Warning</h3><ul>"
           "<li>Power on the programmer before inserting the chip, and remove the chip before "
           "powering it off.</li>"
           "<li>Use genuine chips.</li>"
           "<li>Never apply more than &plusmn;15 V to the serial cable.</li>"
           "<li>Use the 12 V erase with care; chips with a 5 V programming voltage take only the "
           "5 V erase.</li></ul>")},
      {QStringLiteral("Troubleshooting"),
       QStringLiteral(
           "<h3>Troubleshooting</h3><ul>"
           "<li>Programmer not found: check the cable and its connectors, and that the port is "
           "the one mapped to the COM number you chose (Select Device, Serial Port, Select shows "
           "each device file).</li>"
           "<li>A USB-serial adapter missing from the port dialog: press Refresh once it is "
           "plugged in; <tt>kvr-cli ports</tt> lists what the system sees.</li>"
           "<li>\"Port is already open\": another program holds the port, or your user is not "
           "in the <tt>dialout</tt> group.</li>"
           "<li>A serial port whose signal levels stay above -3 V fails even when a mouse works "
           "on it; some USB-serial adapters are such ports.</li></ul>")},
      {QStringLiteral("Warranty Clause"),
       QStringLiteral("<h3>Warranty Clause</h3>"
                      "<p>The programmer hardware is covered against defects of material and "
                      "workmanship for one year from the date of purchase; units are repaired or "
                      "replaced at the maker's choice when returned with proof of purchase. Damage "
                      "from wrong supply voltages, from cables other than the one described under "
                      "Wiring Chart, or from opening the enclosure is not covered.</p>")},
  };
  return texts;
}
} // namespace

QString HelpTopicText(const QString &topic) {
  if (topic == QLatin1String("Contents"))
    return HelpTopics().mid(1).join(QLatin1Char('\n'));
  return TopicTexts().value(topic);
}

QString WiringChart25Pin() {
  return QStringLiteral(
      "<h3>Wiring Chart</h3>"
      "<p>A null-modem cable: RXD to TXD, TXD to RXD, GND to GND; RTS looped to CTS and DTR looped "
      "to DSR at both ends.</p>"
      "<table border=1 cellpadding=3>"
      "<tr><th>Programmer, 9-pin D female</th><th>PC, 25-pin D female</th></tr>"
      "<tr><td>RXD 2, from the PC's TXD</td><td>TXD 2</td></tr>"
      "<tr><td>TXD 3, to the PC's RXD</td><td>RXD 3</td></tr>"
      "<tr><td>GND 5</td><td>GND 7</td></tr>"
      "<tr><td>RTS 7 looped to CTS 8</td><td>RTS 4 looped to CTS 5</td></tr>"
      "<tr><td>DTR 4 looped to DSR 6</td><td>DTR 20 looped to DSR 6</td></tr></table>");
}

QString WiringChart9Pin() {
  return QStringLiteral("<table border=1 cellpadding=3>"
                        "<tr><th>Programmer, 9-pin D female</th><th>PC, 9-pin D female</th></tr>"
                        "<tr><td>RXD 2, from the PC's TXD</td><td>TXD 3</td></tr>"
                        "<tr><td>TXD 3, to the PC's RXD</td><td>RXD 2</td></tr>"
                        "<tr><td>GND 5</td><td>GND 5</td></tr>"
                        "<tr><td>RTS 7 looped to CTS 8</td><td>RTS 7 looped to CTS 8</td></tr>"
                        "<tr><td>DTR 4 looped to DSR 6</td><td>DTR 4 looped to DSR 6</td></tr>"
                        "</table>");
}

} // namespace kvr
