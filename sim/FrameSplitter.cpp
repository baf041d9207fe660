#include "FrameSplitter.h"

#include "BaseModule.h"

namespace kvr::sim {

using namespace BaseModule;
using Kind = FrameSplitter::Piece::Kind;

QList<FrameSplitter::Piece> FrameSplitter::feed(const QByteArray &bytes) {
  QList<Piece> pieces;
  for (const char c : bytes)
    take(c, pieces);
  return pieces;
}

void FrameSplitter::take(char c, QList<Piece> &pieces) {
  switch (state_) {
  case State::Idle:
    if (c == STX) {
      raw_.clear();
      frame_ = QByteArray(1, STX);
      state_ = State::InFrame;
    } else if (c == CR) {
      pieces.append({Kind::Raw, raw_});
      raw_.clear();
    } else if (raw_.size() < kMaxRaw) {
      raw_.append(c);
    }
    return;
  case State::InFrame:
    if (c == STX) { // the PC started over
      frame_ = QByteArray(1, STX);
      return;
    }
    frame_.append(c);
    if (c == ETX || c == ETB)
      state_ = State::AwaitBcc;
    else if (frame_.size() > kMaxFrame) {
      pieces.append({Kind::Broken, frame_});
      frame_.clear();
      state_ = State::Idle;
    }
    return;
  case State::AwaitBcc: // any character, CR and STX included
    frame_.append(c);
    state_ = State::AwaitCr;
    return;
  case State::AwaitCr:
    state_ = State::Idle;
    if (c == CR) {
      frame_.append(c);
      pieces.append({Kind::Frame, frame_});
      frame_.clear();
      return;
    }
    pieces.append({Kind::Broken, frame_});
    frame_.clear();
    take(c, pieces);
    return;
  }
}

} // namespace kvr::sim
