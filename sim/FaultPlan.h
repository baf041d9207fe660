#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <chrono>
#include <optional>

namespace kvr::sim {

// The places where the firmware sends something.
enum class ReplyPart {
  Handshake, // the ACK (or NAK) to a command
  Result,    // the one result frame of Q, S, B, E, O, C, L and "P" set commands
  BlockAck,  // the ACK to block k of a write
  Block,     // block k's result (writes) or status frame (reads)
  Data,      // data frame k of a read
};

// One reply of the firmware, as the fault plan sees it. Commands are counted
// from 1 in the order they arrive whole, all letters together (command) and
// per letter (letterCount).
struct ReplyPoint {
  int command = 0;
  char letter = 0;
  int letterCount = 0;
  ReplyPart part = ReplyPart::Handshake;
  int block = 0; // 1.. for BlockAck, Block and Data
};

// What the fault plan does to one reply on its way out.
struct Delivery {
  bool drop = false;
  int truncateTo = -1; // characters kept; -1 keeps them all
  std::chrono::milliseconds delay{0};
  bool corruptBcc = false;
  bool unplug = false; // close the line instead of sending
  // The programmer stops this long before sending: it neither answers nor
  // takes in what the PC sends meanwhile, then goes on with all of it.
  std::chrono::milliseconds stall{0};
  QByteArray noise; // sent right after the reply
};

// Faults the simulated programmer commits on purpose. Each fault fires once
// for every command of its range that reaches its reply.
class FaultPlan {
public:
  enum class Kind { Nak, Fail, Drop, Truncate, Delay, Stall, CorruptBcc, Unplug, Noise };

  struct Fault {
    Kind kind = Kind::Drop;
    char code = 0;   // Nak: the NAK code; Fail: the character after "F"
    int amount = 0;  // Truncate: characters kept; Delay, Stall: milliseconds
    char letter = 0; // 0: count every command
    int first = 1;
    int last = 1;
    ReplyPart part = ReplyPart::Handshake;
    int block = 0;
    QByteArray noise; // Noise: the characters after the reply
  };

  // Adds one fault from its text (syntax in sim/README.md and --help). False,
  // with the reason, when the text is not understood.
  bool add(const QString &text, QString *error = nullptr);
  void add(const Fault &fault) { faults_.append({fault, {}}); }

  // The identification the presence query answers with.
  void setIdentification(const QByteArray &text) { identification_ = text; }
  const QByteArray &identification() const { return identification_; }

  // The NAK code that refuses this reply's command or block, if any.
  std::optional<char> refusal(const ReplyPoint &point);
  // The character after "F" that replaces a passing verdict, if any.
  std::optional<char> failure(const ReplyPoint &point);
  Delivery delivery(const ReplyPoint &point);

  static QString syntax();

private:
  struct Armed {
    Fault fault;
    QList<int> firedFor; // commands it has fired for
  };
  bool take(Armed &armed, const ReplyPoint &point);

  QList<Armed> faults_;
  QByteArray identification_ = "KVR1.04";
};

} // namespace kvr::sim
