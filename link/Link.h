#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>

namespace kvr {

class SerialPort;
class Session;
class Ui;

// Messages of the exchange, shown with the title "KVR 1.04".
namespace LinkText {
inline const QString TimedOut = QStringLiteral("The requested operation has timed out.");
inline const QString Interrupted = QStringLiteral(
    "Operation interrupted by the user. Please wait for the Vpp LED to go off before selecting "
    "another Command");
inline const QString UnknownCommand = QStringLiteral("Error at Slave : Unknown Command.");
inline const QString MissingEnq = QStringLiteral("Error at Slave : Missing ENQ Code.");
inline const QString ParityError = QStringLiteral("Error at Slave : Parity Error.");
inline const QString SlaveBccError = QStringLiteral("Error at Slave : BCC Error.");
inline const QString MasterBccError = QStringLiteral("Error at Master : BCC Error.");
QString ConnectionLost(int portNumber);
} // namespace LinkText

// The one routine through which every operation talks to the programmer.
class Link {
public:
  static constexpr std::chrono::milliseconds kReplyTimeout{40000};
  // How long the rest of a frame read short may take to follow it.
  static constexpr std::chrono::milliseconds kFrameEndGrace{200};
  // Characters no reply frame exceeds (a read's data frame has 68): a line
  // that sends on without a CR is not followed further.
  static constexpr int kLongestFrame = 128;

  Link(SerialPort &port, Session &session, Ui &ui);

  SerialPort &port() { return port_; }

  // Sends the payload (framed, or raw with CR only), then waits for exactly
  // replyLength characters and parses them into Session::LastReply. True when
  // the reply arrived in time, whole, unstopped, with a sound BCC and not
  // beginning with NAK. replyLength 0 only sends, and returns false.
  //
  // A framed reply read short is completed: the characters after the first
  // replyLength, up to the frame's CR, are taken from the line too (within
  // kFrameEndGrace) so that its BCC is checked and nothing of it is left to
  // be read as the next reply. LastReply holds what the replyLength
  // characters carry.
  bool SendAndReceive(const QByteArray &payload, bool rawSend, bool plainReply, int replyLength,
                      bool showErrors, bool showElapsed);

  // The command step of every operation: up to CommandRetries attempts while
  // Stop is not pressed, errors shown on the last attempt only. Each attempt
  // starts from an empty receive buffer, so the CR left behind by a refused
  // attempt is never read as the next reply.
  //
  // Only a refused (NAK) or garbled reply brings another attempt. A time-out
  // with nothing, or nothing but the ACK, ends the step at once with the
  // time-out message: the programmer may still be working on what it got,
  // and would take a second copy as a command or block of its own.
  bool CommandHandshake(const QByteArray &payload, int replyLength = 2, bool showElapsed = true);

  // The raw ACK that closes every exchange but the presence query.
  void SendClosingAck();

  // Tests shorten the 40-second limit.
  void setReplyTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }
  std::chrono::milliseconds replyTimeout() const { return timeout_; }

private:
  enum class WaitEnd { Complete, Stopped, TimedOut, Lost };
  WaitEnd WaitForReply(int replyLength, bool showElapsed, std::chrono::milliseconds limit);
  QByteArray RestOfFrame(const QByteArray &read);
  void ShowElapsed(qint64 elapsedMs);
  void ShowNakMessage(char code);
  // The last exchange timed out on a programmer that took what it was sent.
  bool StillWorking() const;

  SerialPort &port_;
  Session &session_;
  Ui &ui_;
  std::chrono::milliseconds timeout_ = kReplyTimeout;
  WaitEnd lastEnd_ = WaitEnd::Complete;
};

} // namespace kvr
