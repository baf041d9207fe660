#include "Link.h"

#include "BaseModule.h"
#include "Frame.h"
#include "SerialPort.h"
#include "Session.h"
#include "Ui.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cmath>

namespace kvr {

using namespace BaseModule;

QString LinkText::ConnectionLost(int portNumber) {
  return QStringLiteral("The connection to the programmer on COM%1 was lost.").arg(portNumber);
}

Link::Link(SerialPort &port, Session &session, Ui &ui) : port_(port), session_(session), ui_(ui) {}

bool Link::SendAndReceive(const QByteArray &payload, bool rawSend, bool plainReply, int replyLength,
                          bool showErrors, bool showElapsed) {
  BusyPointer busy(ui_);
  session_.ReplyEndedWithEtx = false;
  session_.ReplyEndedWithEtb = false;

  bool writeFailed = false;
  if (!payload.isEmpty())
    writeFailed = !port_.write(BuildFrame(payload, rawSend));
  if (replyLength <= 0)
    return false;

  session_.LastReply.clear();
  const WaitEnd end =
      writeFailed ? WaitEnd::Lost : WaitForReply(replyLength, showElapsed, timeout_);
  lastEnd_ = end;
  if (showElapsed)
    ui_.setPanelText(Panel::SbrActivity, ui_.activityTag());

  switch (end) {
  case WaitEnd::Stopped: ui_.message(LinkText::Interrupted, MessageIcon::Critical); return false;
  case WaitEnd::Lost:
    // The port must be opened again before the next operation.
    session_.PortIsOpen = false;
    session_.LastReply = port_.read(replyLength);
    if (showErrors)
      ui_.message(LinkText::ConnectionLost(session_.PortNumber), MessageIcon::Exclamation);
    return false;
  case WaitEnd::TimedOut:
    session_.LastReply = port_.read(replyLength);
    if (showErrors)
      ui_.message(LinkText::TimedOut, MessageIcon::Exclamation);
    break;
  case WaitEnd::Complete: {
    const QByteArray read = port_.read(replyLength);
    const ParsedReply reply = ParseReply(read, plainReply);
    session_.LastReply = reply.data;
    session_.ReplyEndedWithEtx = reply.endedWithEtx;
    session_.ReplyEndedWithEtb = reply.endedWithEtb;
    const ParsedReply whole =
        plainReply || FrameEndRead(read) ? reply : ParseReply(read + RestOfFrame(read), false);
    if (whole.bccRead && !whole.bccMatches) {
      // Corrupted data must not reach the buffer.
      if (showErrors)
        ui_.message(LinkText::MasterBccError, MessageIcon::Exclamation);
      return false;
    }
    break;
  }
  }

  bool ok = end == WaitEnd::Complete;
  if (session_.LastReply.startsWith(NAK)) {
    ok = false;
    if (showErrors && session_.LastReply.size() > 1)
      ShowNakMessage(session_.LastReply[1]);
  }
  return ok;
}

QByteArray Link::RestOfFrame(const QByteArray &read) {
  QByteArray rest;
  while (!FrameEndRead(read + rest) && rest.size() < kLongestFrame &&
         WaitForReply(1, false, kFrameEndGrace) == WaitEnd::Complete)
    rest += port_.read(1);
  return rest;
}

Link::WaitEnd Link::WaitForReply(int replyLength, bool showElapsed,
                                 std::chrono::milliseconds limit) {
  QElapsedTimer clock; // monotonic: no midnight roll-over
  clock.start();

  bool lost = !port_.isOpen();
  bool timedOut = false;
  QEventLoop loop;
  QTimer deadline;
  deadline.setSingleShot(true);
  deadline.setTimerType(Qt::PreciseTimer);
  QTimer secondTick;
  secondTick.setInterval(1000);

  const auto complete = [&] { return port_.bytesWaiting() >= replyLength; };
  const auto done = [&] { return complete() || session_.StopRequested() || timedOut || lost; };

  QObject::connect(&port_, &SerialPort::readyRead, &loop, &QEventLoop::quit);
  QObject::connect(&port_, &SerialPort::connectionLost, &loop, [&] {
    lost = true;
    loop.quit();
  });
  QObject::connect(&session_, &Session::stopRequestedSignal, &loop, &QEventLoop::quit);
  QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
    timedOut = true;
    loop.quit();
  });
  QObject::connect(&secondTick, &QTimer::timeout, &loop, [&] { ShowElapsed(clock.elapsed()); });

  if (showElapsed) {
    ShowElapsed(0);
    secondTick.start();
  }
  deadline.start(limit);
  // One pass per wake-up: the loop sleeps until a character, Stop, the line's
  // loss or the deadline arrives.
  while (!done()) {
    loop.exec();
    ui_.processEvents();
    if (clock.elapsed() > limit.count())
      timedOut = true;
  }

  if (session_.StopRequested())
    return WaitEnd::Stopped;
  if (complete())
    return WaitEnd::Complete;
  return lost ? WaitEnd::Lost : WaitEnd::TimedOut;
}

void Link::ShowElapsed(qint64 elapsedMs) {
  const auto seconds = static_cast<long long>(std::llround(elapsedMs / 1000.0));
  ui_.setPanelText(Panel::SbrActivity, ui_.activityTag() + QStringLiteral(" (") +
                                           QString::number(seconds) + QStringLiteral(" Sec. )"));
}

void Link::ShowNakMessage(char code) {
  const QString *text = nullptr;
  switch (code) {
  case NUL: text = &LinkText::UnknownCommand; break;
  case ENQ: text = &LinkText::MissingEnq; break;
  case SYN: text = &LinkText::ParityError; break;
  case DC2: text = &LinkText::SlaveBccError; break;
  default: return;
  }
  ui_.message(*text, MessageIcon::Exclamation);
}

bool Link::CommandHandshake(const QByteArray &payload, int replyLength, bool showElapsed) {
  for (int attempt = 1; attempt <= CommandRetries && !session_.StopRequested(); ++attempt) {
    port_.clearReceiveBuffer();
    const bool lastAttempt = attempt == CommandRetries;
    const bool ok = SendAndReceive(payload, false, true, replyLength, lastAttempt, showElapsed);
    if (ok && session_.LastReply.startsWith(ACK))
      return true;
    if (StillWorking()) {
      if (!lastAttempt)
        ui_.message(LinkText::TimedOut, MessageIcon::Exclamation);
      return false;
    }
    ui_.processEvents();
  }
  return false;
}

bool Link::StillWorking() const {
  return lastEnd_ == WaitEnd::TimedOut &&
         (session_.LastReply.isEmpty() || session_.LastReply.startsWith(ACK));
}

void Link::SendClosingAck() { SendAndReceive(QByteArray(1, ACK), true, true, 0, true, false); }

} // namespace kvr
