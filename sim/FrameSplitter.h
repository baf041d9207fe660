#pragma once

#include <QByteArray>
#include <QList>

namespace kvr::sim {

// Cuts what the PC sends into the pieces the line carries: framed messages
// (STX ... ETX or ETB, BCC, CR) and raw text up to CR (the closing ACK).
class FrameSplitter {
public:
  struct Piece {
    enum class Kind {
      Frame,  // whole, from STX to CR
      Raw,    // text before its CR
      Broken, // a frame without its CR after the BCC, or far too long
    };
    Kind kind;
    QByteArray bytes;
  };

  QList<Piece> feed(const QByteArray &bytes);

  // Longer than any frame the PC builds: a 32-byte block is 68 characters.
  static constexpr int kMaxFrame = 512;
  static constexpr int kMaxRaw = 64;

private:
  enum class State { Idle, InFrame, AwaitBcc, AwaitCr };
  void take(char c, QList<Piece> &pieces);

  State state_ = State::Idle;
  QByteArray frame_;
  QByteArray raw_;
};

} // namespace kvr::sim
