#pragma once

#include "BaseModule.h"
#include "FaultPlan.h"
#include "FrameSplitter.h"
#include "SimChip.h"
#include "SpecialTable.h"

#include <QByteArray>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace kvr::sim {

class PacedChannel;

// The programmer's firmware: fed with what the PC sends, it answers through
// the channel towards the PC. Every reply ends with CR; frames carry a correct
// BCC unless the fault plan says otherwise. Reply formats: sim/README.md.
class Firmware {
public:
  Firmware(FaultPlan &plan, PacedChannel &toPc);
  ~Firmware();

  // The chip in the socket; nullptr leaves the socket empty.
  void seat(std::unique_ptr<SimChip> chip);
  SimChip *chip() { return chip_.get(); }

  // Time an erase or a programming step takes; the next reply waits for it.
  void setOperationTime(std::chrono::milliseconds time) { operationTime_ = time; }

  void feed(const QByteArray &bytes);

  // Called when the fault plan stalls the programmer: nothing the PC sends
  // may reach feed() for that long.
  void onStall(std::function<void(std::chrono::milliseconds)> holdInput) {
    holdInput_ = std::move(holdInput);
  }

  // A passing signature command allows "E" until a failing one or a new chip.
  bool signatureVerified() const { return signatureVerified_; }

private:
  struct Command {
    char letter;
    QByteArray fields;
    ReplyPoint point;
  };
  // A block transfer in progress.
  struct Transfer {
    enum class Kind { None, Write, Read };
    Kind kind = Kind::None;
    ReplyPoint point; // of the command that started it
    Store store = Store::Code;
    int blocks = 0;
    int block = 0;                // 1.., the block being moved
    bool eraseFirst = false;      // erase and blank-check the store before block 1
    bool shortResult = false;     // special transfers: "P" or "F"+code only
    int byteCount = 0;            // special byte writes: bytes taken from the block
    bool awaitingDataAck = false; // reads: the data frame is out
  };
  struct Verdict {
    char result;
    char detail;
    bool passed() const { return result == 'P'; }
  };
  using Handler = void (Firmware::*)(const Command &);

  void onPiece(const FrameSplitter::Piece &piece);
  void onFrame(const QByteArray &frame);
  void onAck();
  void onCommand(const QByteArray &payload);
  void onBlock(const QByteArray &data, bool last);

  static Handler HandlerFor(char letter);
  void presence(const Command &command);
  void signature(const Command &command);
  void blankCheck(const Command &command);
  void erase(const Command &command);
  void write(const Command &command);
  void read(const Command &command);
  void lock(const Command &command);
  void special(const Command &command);

  Verdict runSpecialSet(const SpecialCommand &entry);
  void startWrite(const Command &command, Store store, int blocks, bool eraseFirst,
                  bool shortResult, int byteCount);
  void startRead(const Command &command, Store store, int blocks);
  void sendReadStatus();
  void sendReadData();
  std::optional<Verdict> eraseBeforeWrite();
  Verdict writeBlock(const QByteArray &bytes);
  QByteArray blockResult(const Verdict &verdict) const;

  // "F" from the fault plan or from an empty socket, which settle a chip
  // step before the chip is asked.
  std::optional<Verdict> forcedOutcome(const ReplyPoint &point);
  void chipWork() { pendingPause_ += operationTime_; }
  static ReplyPoint At(ReplyPoint point, ReplyPart part, int block = 0);

  void replyPlain(const ReplyPoint &point, char first, std::optional<char> second = {});
  void replyAck(const ReplyPoint &point) { replyPlain(point, BaseModule::ACK); }
  void replyFrame(const ReplyPoint &point, const QByteArray &data, bool moreBlocks = false);
  void deliver(const ReplyPoint &point, QByteArray bytes, bool framed);
  // NAK for what the firmware cannot take: a broken frame, a missing ENQ...
  void refuse(char code);
  // True when the fault plan refuses this reply point; the NAK is then sent.
  bool refusedByPlan(const ReplyPoint &point);

  FaultPlan &plan_;
  PacedChannel &toPc_;
  FrameSplitter splitter_;
  std::unique_ptr<SimChip> chip_;
  std::chrono::milliseconds operationTime_{0};
  std::chrono::milliseconds pendingPause_{0};
  std::function<void(std::chrono::milliseconds)> holdInput_;
  bool signatureVerified_ = false;
  int commandCount_ = 0;
  std::map<char, int> letterCounts_;
  Transfer transfer_;
};

} // namespace kvr::sim
