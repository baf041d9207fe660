#include "Firmware.h"

#include "CommandSet.h"
#include "Frame.h"
#include "Globals.h"
#include "PacedChannel.h"

#include <utility>

namespace kvr::sim {

using namespace BaseModule;

namespace {

// Result characters.
constexpr char kPass = 'P';
constexpr char kFail = 'F';
constexpr char kNoDetail = ' ';         // second data character of a pass
constexpr char kSignatureFailure = 'S'; // also: the seated chip is not the one announced
constexpr char kEraseFailure = 'E';
constexpr char kVerifyFailure = 'V';
constexpr char kNotSupported = 'N'; // signature: no such family in this firmware
constexpr char kBlankAfterLock = 'B';
constexpr char kNotBlankAfterLock = 'N';

constexpr int kBlockChars = 2 * kBlockSize;
// The PC sends special bytes in a block of sixteen.
constexpr int kSpecialByteBlockChars = kBlockChars / 2;

bool IsEncoded(const QByteArray &chars) {
  for (const char c : chars)
    if (c < 0x20 || c > 0x2F)
      return false;
  return chars.size() % 2 == 0;
}

// Two link characters to a byte: the low nibble of each.
QByteArray DecodePairs(const QByteArray &chars) {
  QByteArray bytes(chars.size() / 2, 0);
  for (qsizetype i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<char>(((chars[2 * i] & 0x0F) << 4) | (chars[2 * i + 1] & 0x0F));
  return bytes;
}

QByteArray Encode(const QByteArray &bytes) {
  QByteArray chars;
  chars.reserve(2 * bytes.size());
  for (const char b : bytes)
    chars.append(EncodeByte(static_cast<unsigned char>(b)));
  return chars;
}

bool ParseDecimal(const QByteArray &digits, int &value) {
  if (digits.isEmpty())
    return false;
  for (const char c : digits)
    if (c < '0' || c > '9')
      return false;
  value = digits.toInt();
  return true;
}

// What the signature command announces: type bytes (16 characters), code
// size (5 digits), signature byte count (as the catalogue stores it, often
// one digit) and three signature bytes (6 characters).
struct SignatureFields {
  std::array<std::uint8_t, 8> typeBytes{};
  int codeSize = 0;
  int signatureCount = 3;
  QByteArray signature;

  bool matches(const ChipModel &chip) const {
    const QByteArray held(reinterpret_cast<const char *>(chip.signature.data()), signatureCount);
    return typeBytes == chip.typeBytes && codeSize == chip.codeSize &&
           signature.left(signatureCount) == held;
  }
};

std::optional<SignatureFields> ParseSignatureFields(const QByteArray &fields) {
  constexpr int kFixed = 16 + 5 + 6;
  SignatureFields parsed;
  if (fields.size() < kFixed || !IsEncoded(fields.left(16)) || !IsEncoded(fields.right(6)) ||
      !ParseDecimal(fields.mid(16, 5), parsed.codeSize))
    return std::nullopt;
  const QByteArray count = fields.mid(21, fields.size() - kFixed).trimmed();
  if (!count.isEmpty() &&
      (!ParseDecimal(count, parsed.signatureCount) || parsed.signatureCount > 3))
    return std::nullopt;
  const QByteArray type = DecodePairs(fields.left(16));
  std::copy(type.begin(), type.end(), parsed.typeBytes.begin());
  parsed.signature = DecodePairs(fields.right(6));
  return parsed;
}

int BlocksFor(int length) { return (length + kBlockSize - 1) / kBlockSize; }

} // namespace

Firmware::Firmware(FaultPlan &plan, PacedChannel &toPc) : plan_(plan), toPc_(toPc) {}

Firmware::~Firmware() = default;

void Firmware::seat(std::unique_ptr<SimChip> chip) {
  chip_ = std::move(chip);
  signatureVerified_ = false;
  transfer_ = {};
}

void Firmware::feed(const QByteArray &bytes) {
  for (const FrameSplitter::Piece &piece : splitter_.feed(bytes))
    onPiece(piece);
}

void Firmware::onPiece(const FrameSplitter::Piece &piece) {
  switch (piece.kind) {
  case FrameSplitter::Piece::Kind::Frame: onFrame(piece.bytes); break;
  case FrameSplitter::Piece::Kind::Raw:
    if (piece.bytes == QByteArray(1, ACK))
      onAck();
    break;
  case FrameSplitter::Piece::Kind::Broken: refuse(DC2); break;
  }
}

void Firmware::onFrame(const QByteArray &frame) {
  const ParsedReply parsed = ParseReply(frame, false);
  if (!parsed.bccRead || !parsed.bccMatches)
    refuse(DC2);
  else if (parsed.data.startsWith(ENQ))
    onCommand(parsed.data);
  else if (transfer_.kind == Transfer::Kind::Write)
    onBlock(parsed.data, parsed.endedWithEtx);
  else
    refuse(ENQ);
}

void Firmware::onAck() {
  Transfer &t = transfer_;
  if (t.kind != Transfer::Kind::Read)
    return; // the ACK that closes an exchange
  if (!t.awaitingDataAck) {
    sendReadData();
  } else if (t.block < t.blocks) {
    ++t.block;
    sendReadStatus();
  } else {
    transfer_ = {};
  }
}

void Firmware::onCommand(const QByteArray &payload) {
  transfer_ = {}; // a command ends any transfer the PC gave up
  const char letter = payload.size() > 1 ? payload[1] : NUL;
  const Command command{letter,
                        payload.mid(2),
                        {++commandCount_, letter, ++letterCounts_[letter], ReplyPart::Handshake}};
  if (refusedByPlan(command.point))
    return;
  if (const Handler handler = HandlerFor(letter))
    (this->*handler)(command);
  else
    refuse(NUL);
}

Firmware::Handler Firmware::HandlerFor(char letter) {
  static const std::pair<char, Handler> kHandlers[] = {
      {CmdPresence, &Firmware::presence},
      {CmdSignature, &Firmware::signature},
      {CmdBlankCheck, &Firmware::blankCheck},
      {CmdEraseWithSignature, &Firmware::erase},
      {CmdErase12V, &Firmware::erase},
      {CmdErase5V, &Firmware::erase},
      {CmdWrite, &Firmware::write},
      {CmdRead, &Firmware::read},
      {CmdLock, &Firmware::lock},
      {CmdSpecial, &Firmware::special},
  };
  for (const auto &[known, handler] : kHandlers)
    if (known == letter)
      return handler;
  return nullptr;
}

void Firmware::presence(const Command &command) {
  replyAck(command.point);
  replyFrame(At(command.point, ReplyPart::Result), plan_.identification());
}

void Firmware::signature(const Command &command) {
  const QByteArray &fields = command.fields;
  const std::optional<SignatureFields> announced = ParseSignatureFields(fields);
  if (!announced) {
    refuse(NUL);
    return;
  }
  replyAck(command.point);
  const ReplyPoint result = At(command.point, ReplyPart::Result);
  Verdict verdict{kPass, kNoDetail};
  if (const std::optional<char> code = plan_.failure(result))
    verdict = {kFail, *code};
  else if (FamilyOfTypeBytes(announced->typeBytes).isEmpty())
    verdict = {kFail, kNotSupported};
  else if (!chip_ || !announced->matches(chip_->model()))
    verdict = {kFail, kSignatureFailure};
  signatureVerified_ = verdict.passed();
  QByteArray held(3, BlankByte); // an empty socket answers no signature
  if (chip_)
    held = QByteArray(reinterpret_cast<const char *>(chip_->model().signature.data()), 3);
  replyFrame(result, QByteArray() + verdict.result + verdict.detail + Encode(held));
}

void Firmware::blankCheck(const Command &command) {
  replyAck(command.point);
  const ReplyPoint result = At(command.point, ReplyPart::Result);
  Verdict verdict{kPass, kNoDetail};
  if (const std::optional<Verdict> forced = forcedOutcome(result))
    verdict = *forced;
  else if (!chip_->readsBlank(chip_->selectedBlock()))
    verdict = {kFail, kVerifyFailure};
  replyFrame(result, QByteArray() + verdict.result + verdict.detail);
}

void Firmware::erase(const Command &command) {
  replyAck(command.point);
  const ReplyPoint result = At(command.point, ReplyPart::Result);
  Verdict verdict{kPass, kNoDetail};
  if (const std::optional<Verdict> forced = forcedOutcome(result)) {
    verdict = *forced;
  } else if (command.letter == CmdEraseWithSignature && !signatureVerified_) {
    verdict = {kFail, kSignatureFailure};
  } else {
    chipWork();
    chip_->eraseChip();
    if (!chip_->readsBlank(Store::Code))
      verdict = {kFail, kVerifyFailure};
  }
  replyFrame(result, QByteArray() + verdict.result + verdict.detail);
}

void Firmware::write(const Command &command) {
  int length = 0;
  if (command.fields.size() != 5 || !ParseDecimal(command.fields, length)) {
    refuse(NUL);
    return;
  }
  replyAck(command.point);
  startWrite(command, chip_ ? chip_->selectedBlock() : Store::Code, BlocksFor(length), true, false,
             0);
}

void Firmware::read(const Command &command) {
  int length = 0;
  if (command.fields.size() != 5 || !ParseDecimal(command.fields, length)) {
    refuse(NUL);
    return;
  }
  replyAck(command.point);
  startRead(command, chip_ ? chip_->selectedBlock() : Store::Code, std::max(1, BlocksFor(length)));
}

void Firmware::lock(const Command &command) {
  const QByteArray &digits = command.fields;
  if (digits.size() != 4 || digits.count('0') + digits.count('1') != 4) {
    refuse(NUL);
    return;
  }
  // ACK and CR only: the PC's three-character read takes the result's STX too.
  replyAck(command.point);
  const ReplyPoint result = At(command.point, ReplyPart::Result);
  if (const std::optional<Verdict> forced = forcedOutcome(result)) {
    replyFrame(result, QByteArray() + forced->result + forced->detail);
    return;
  }
  std::uint8_t bits = 0;
  for (int i = 0; i < 4; ++i)
    if (digits[i] == '1')
      bits |= static_cast<std::uint8_t>(1u << i);
  chipWork();
  chip_->programLockBits(bits);
  if (chip_->lockedReadsZero()) {
    replyFrame(result, QByteArray(1, kPass));
    return;
  }
  const char blank = chip_->readsBlank(Store::Code) ? kBlankAfterLock : kNotBlankAfterLock;
  replyFrame(result, QByteArray() + kPass + blank);
}

void Firmware::special(const Command &command) {
  const QByteArray &fields = command.fields;
  int length = 0;
  const SpecialCommand *entry = fields.size() == 8 && ParseDecimal(fields.mid(3), length)
                                    ? FindSpecial(fields.left(2), fields[2])
                                    : nullptr;
  if (!entry || (chip_ && !Offered(*entry, *chip_))) {
    refuse(NUL);
    return;
  }
  replyAck(command.point);
  switch (entry->action) {
  case SpecialAction::ReadArea:
    startRead(command, entry->store, std::max(1, BlocksFor(length)));
    return;
  case SpecialAction::ReadBytes: startRead(command, entry->store, 1); return;
  case SpecialAction::WriteArea:
    startWrite(command, entry->store, BlocksFor(length), true, true, 0);
    return;
  case SpecialAction::WriteBytes: {
    // A length of 0 writes the whole special byte store. With no chip the
    // PC's block is still taken, to be answered "F" + "S" like any write.
    const int stored = chip_ ? chip_->size(entry->store) : kSpecialByteBlockChars / 2;
    startWrite(command, entry->store, 1, false, true,
               length > 0 ? std::min(length, stored) : stored);
    return;
  }
  default: {
    const ReplyPoint result = At(command.point, ReplyPart::Result);
    const std::optional<Verdict> forced = forcedOutcome(result);
    const Verdict verdict = forced ? *forced : runSpecialSet(*entry);
    replyFrame(result, verdict.passed() ? QByteArray(1, kPass)
                                        : QByteArray() + verdict.result + verdict.detail);
    return;
  }
  }
}

Firmware::Verdict Firmware::runSpecialSet(const SpecialCommand &entry) {
  if (entry.action == SpecialAction::SelectBlock) {
    chip_->selectBlock(entry.store);
    return {kPass, kNoDetail};
  }
  if (chip_->isLocked())
    return {kFail, kVerifyFailure};
  chipWork();
  switch (entry.action) {
  case SpecialAction::EraseSelected:
  case SpecialAction::EraseStore: {
    const Store store =
        entry.action == SpecialAction::EraseSelected ? chip_->selectedBlock() : entry.store;
    chip_->erase(store);
    return chip_->readsBlank(store) ? Verdict{kPass, kNoDetail} : Verdict{kFail, kVerifyFailure};
  }
  case SpecialAction::SetByte:
    chip_->write(entry.store, 0, QByteArray(1, static_cast<char>(entry.value)));
    break;
  case SpecialAction::SetBits: {
    const auto now = static_cast<std::uint8_t>(chip_->read(entry.store, 0, 1).at(0));
    chip_->write(entry.store, 0, QByteArray(1, static_cast<char>(now | entry.value)));
    break;
  }
  default: break;
  }
  return {kPass, kNoDetail};
}

void Firmware::startWrite(const Command &command, Store store, int blocks, bool eraseFirst,
                          bool shortResult, int byteCount) {
  if (blocks <= 0)
    return;
  transfer_ = {};
  transfer_.kind = Transfer::Kind::Write;
  transfer_.point = command.point;
  transfer_.store = store;
  transfer_.blocks = blocks;
  transfer_.block = 1;
  transfer_.eraseFirst = eraseFirst;
  transfer_.shortResult = shortResult;
  transfer_.byteCount = byteCount;
}

void Firmware::onBlock(const QByteArray &data, bool last) {
  Transfer &t = transfer_;
  const bool byteBlock = t.byteCount > 0 && data.size() == kSpecialByteBlockChars;
  if ((data.size() != kBlockChars && !byteBlock) || !IsEncoded(data)) {
    refuse(DC2); // a block spoilt on the line: the PC sends it again
    return;
  }
  const ReplyPoint ack = At(t.point, ReplyPart::BlockAck, t.block);
  if (refusedByPlan(ack))
    return;
  const ReplyPoint result = At(t.point, ReplyPart::Block, t.block);
  std::optional<Verdict> verdict = forcedOutcome(result);
  if (!verdict && t.eraseFirst && t.block == 1)
    verdict = eraseBeforeWrite();
  replyAck(ack);
  if (!verdict)
    verdict = writeBlock(DecodePairs(data));
  replyFrame(result, blockResult(*verdict));
  if (!verdict->passed() || last || t.block >= t.blocks)
    transfer_ = {};
  else
    ++t.block;
}

std::optional<Firmware::Verdict> Firmware::eraseBeforeWrite() {
  // Only a chip erase clears the lock bits.
  if (chip_->isLocked())
    return Verdict{kFail, kEraseFailure};
  chipWork();
  chip_->erase(transfer_.store);
  if (!chip_->readsBlank(transfer_.store))
    return Verdict{kFail, kEraseFailure};
  return std::nullopt;
}

Firmware::Verdict Firmware::writeBlock(const QByteArray &bytes) {
  const Transfer &t = transfer_;
  if (t.byteCount > 0 || !IsArea(t.store)) {
    if (chip_->isLocked())
      return {kFail, kVerifyFailure};
    chipWork();
    chip_->write(t.store, 0, bytes.left(t.byteCount));
    return {kPass, kNoDetail};
  }
  const int address = (t.block - 1) * kBlockSize;
  chipWork();
  if (!chip_->write(t.store, address, bytes) || chip_->read(t.store, address, kBlockSize) != bytes)
    return {kFail, kVerifyFailure};
  return {kPass, kNoDetail};
}

QByteArray Firmware::blockResult(const Verdict &verdict) const {
  if (transfer_.shortResult)
    return verdict.passed() ? QByteArray(1, kPass) : QByteArray() + verdict.result + verdict.detail;
  // Code writes: verdict, detail, then the block's first and end address.
  const int address = (transfer_.block - 1) * kBlockSize;
  return QByteArray() + verdict.result + verdict.detail + D5(address) + D5(address + kBlockSize);
}

void Firmware::startRead(const Command &command, Store store, int blocks) {
  transfer_ = {};
  transfer_.kind = Transfer::Kind::Read;
  transfer_.point = command.point;
  transfer_.store = store;
  transfer_.blocks = blocks;
  transfer_.block = 1;
  sendReadStatus();
}

void Firmware::sendReadStatus() {
  Transfer &t = transfer_;
  const ReplyPoint status = At(t.point, ReplyPart::Block, t.block);
  Verdict verdict{kPass, kNoDetail};
  if (const std::optional<Verdict> forced = forcedOutcome(status))
    verdict = *forced;
  else if ((t.block - 1) * kBlockSize >= chip_->size(t.store))
    verdict = {kFail, kVerifyFailure};
  t.awaitingDataAck = false;
  replyFrame(status, QByteArray() + verdict.result + verdict.detail);
  if (!verdict.passed())
    transfer_ = {};
}

void Firmware::sendReadData() {
  Transfer &t = transfer_;
  QByteArray bytes = chip_->read(t.store, (t.block - 1) * kBlockSize, kBlockSize);
  bytes.append(QByteArray(kBlockSize - bytes.size(), BlankByte));
  t.awaitingDataAck = true;
  replyFrame(At(t.point, ReplyPart::Data, t.block), Encode(bytes), t.block < t.blocks);
}

std::optional<Firmware::Verdict> Firmware::forcedOutcome(const ReplyPoint &point) {
  if (const std::optional<char> code = plan_.failure(point))
    return Verdict{kFail, *code};
  if (!chip_)
    return Verdict{kFail, kSignatureFailure};
  return std::nullopt;
}

ReplyPoint Firmware::At(ReplyPoint point, ReplyPart part, int block) {
  point.part = part;
  point.block = block;
  return point;
}

void Firmware::replyPlain(const ReplyPoint &point, char first, std::optional<char> second) {
  QByteArray bytes(1, first);
  if (second)
    bytes.append(*second);
  deliver(point, bytes + CR, false);
}

void Firmware::replyFrame(const ReplyPoint &point, const QByteArray &data, bool moreBlocks) {
  deliver(point, BuildFrame(moreBlocks ? data + ETB : data, false), true);
}

void Firmware::deliver(const ReplyPoint &point, QByteArray bytes, bool framed) {
  const Delivery delivery = plan_.delivery(point);
  const std::chrono::milliseconds pause =
      std::exchange(pendingPause_, {}) + delivery.delay + delivery.stall;
  if (delivery.stall.count() > 0 && holdInput_)
    holdInput_(pause);
  if (delivery.unplug) {
    toPc_.close(pause);
    return;
  }
  if (delivery.drop) {
    toPc_.send(QByteArray(), pause); // the chip's time still passes
    return;
  }
  if (delivery.corruptBcc && framed && bytes.size() >= 2)
    bytes[bytes.size() - 2] = static_cast<char>(bytes[bytes.size() - 2] ^ 0x01);
  if (delivery.truncateTo >= 0)
    bytes.truncate(delivery.truncateTo);
  toPc_.send(bytes + delivery.noise, pause);
}

void Firmware::refuse(char code) {
  toPc_.send(QByteArray(1, NAK) + code + CR, std::exchange(pendingPause_, {}));
}

bool Firmware::refusedByPlan(const ReplyPoint &point) {
  const std::optional<char> code = plan_.refusal(point);
  if (code)
    replyPlain(point, NAK, *code);
  return code.has_value();
}

} // namespace kvr::sim
