#include "FaultPlan.h"

#include "BaseModule.h"

#include <QRegularExpression>

namespace kvr::sim {

using namespace BaseModule;

namespace {

struct KindName {
  FaultPlan::Kind kind;
  const char *name;
  bool takesValue;
};
const KindName kKindNames[] = {
    {FaultPlan::Kind::Nak, "nak", true},         {FaultPlan::Kind::Fail, "fail", true},
    {FaultPlan::Kind::Drop, "drop", false},      {FaultPlan::Kind::Truncate, "truncate", true},
    {FaultPlan::Kind::Delay, "delay", true},     {FaultPlan::Kind::Stall, "stall", true},
    {FaultPlan::Kind::CorruptBcc, "bcc", false}, {FaultPlan::Kind::Unplug, "unplug", false},
    {FaultPlan::Kind::Noise, "noise", true},
};

struct NakCodeName {
  const char *name;
  char code;
};
const NakCodeName kNakCodes[] = {{"NUL", NUL}, {"ENQ", ENQ}, {"SYN", SYN}, {"DC2", DC2}};

bool ParseNakCode(const QString &text, char &code) {
  for (const NakCodeName &entry : kNakCodes)
    if (text.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0) {
      code = entry.code;
      return true;
    }
  bool ok = false;
  const uint value = text.toUInt(&ok, 16);
  code = static_cast<char>(value);
  return ok && text.size() == 2 && value < 0x80;
}

bool HasBlock(ReplyPart part) {
  return part == ReplyPart::BlockAck || part == ReplyPart::Block || part == ReplyPart::Data;
}

bool IsPlainReply(ReplyPart part) {
  return part == ReplyPart::Handshake || part == ReplyPart::BlockAck;
}

// [LETTER]N[-M][/PART]
bool ParseWhere(const QString &text, FaultPlan::Fault &fault, QString &why) {
  static const QRegularExpression pattern(
      QStringLiteral("^([A-Z]?)(\\d+)(?:-(\\d+))?(?:/(hs|res|ack(\\d+)|blk(\\d+)|data(\\d+)))?$"));
  const QRegularExpressionMatch match = pattern.match(text);
  if (!match.hasMatch()) {
    why = QStringLiteral("\"%1\" is not [LETTER]N[-M][/PART]").arg(text);
    return false;
  }
  fault.letter = match.captured(1).isEmpty() ? 0 : match.captured(1).at(0).toLatin1();
  fault.first = match.captured(2).toInt();
  fault.last = match.captured(3).isEmpty() ? fault.first : match.captured(3).toInt();
  if (fault.first < 1 || fault.last < fault.first) {
    why = QStringLiteral("commands are counted from 1, in a rising range");
    return false;
  }
  const QString part = match.captured(4);
  if (part.isEmpty())
    fault.part = fault.kind == FaultPlan::Kind::Nak ? ReplyPart::Handshake : ReplyPart::Result;
  else if (part == QLatin1String("hs"))
    fault.part = ReplyPart::Handshake;
  else if (part == QLatin1String("res"))
    fault.part = ReplyPart::Result;
  else if (!match.captured(5).isEmpty())
    fault.part = ReplyPart::BlockAck, fault.block = match.captured(5).toInt();
  else if (!match.captured(6).isEmpty())
    fault.part = ReplyPart::Block, fault.block = match.captured(6).toInt();
  else
    fault.part = ReplyPart::Data, fault.block = match.captured(7).toInt();
  if (HasBlock(fault.part) && fault.block < 1) {
    why = QStringLiteral("blocks are counted from 1");
    return false;
  }
  return true;
}

// Which replies each kind of fault can act on.
bool FitsPart(FaultPlan::Kind kind, ReplyPart part) {
  switch (kind) {
  case FaultPlan::Kind::Nak: return IsPlainReply(part);
  case FaultPlan::Kind::Fail: return part == ReplyPart::Result || part == ReplyPart::Block;
  case FaultPlan::Kind::CorruptBcc: return !IsPlainReply(part);
  default: return true;
  }
}

bool ParseValue(FaultPlan::Fault &fault, const QString &value, QString &why) {
  bool ok = true;
  switch (fault.kind) {
  case FaultPlan::Kind::Nak:
    ok = ParseNakCode(value, fault.code);
    why = QStringLiteral("NAK code \"%1\" is not NUL, ENQ, SYN, DC2 or two hex digits below 80")
              .arg(value);
    break;
  case FaultPlan::Kind::Fail:
    ok = value.size() == 1 && value.at(0).isLetter() && value.at(0).unicode() < 0x80;
    fault.code = ok ? value.at(0).toLatin1() : 0;
    why = QStringLiteral("a failure is one letter after \"F\" (S, E, V, N)");
    break;
  case FaultPlan::Kind::Truncate:
  case FaultPlan::Kind::Delay:
  case FaultPlan::Kind::Stall:
    fault.amount = value.toInt(&ok);
    ok = ok && fault.amount >= 0;
    why = QStringLiteral("\"%1\" is not a count").arg(value);
    break;
  case FaultPlan::Kind::Noise:
    fault.noise = value.toLatin1();
    ok = !fault.noise.isEmpty();
    why = QStringLiteral("noise needs its characters");
    break;
  default: break;
  }
  return ok;
}

} // namespace

QString FaultPlan::syntax() {
  return QStringLiteral(
      "nak=CODE@WHERE     refuse with NAK and CODE (NUL, ENQ, SYN, DC2 or two hex digits)\n"
      "fail=X@WHERE       answer \"F\" followed by X (S, E, V; N for the signature)\n"
      "drop@WHERE         send nothing\n"
      "truncate=N@WHERE   send only the first N characters\n"
      "delay=MS@WHERE     send MS milliseconds late\n"
      "stall=MS@WHERE     stop for MS milliseconds, taking nothing in, then go on\n"
      "bcc@WHERE          send a wrong BCC\n"
      "unplug@WHERE       close the line instead of answering\n"
      "noise=TEXT@WHERE   send TEXT right after the reply, as line noise\n"
      "id=TEXT            answer the presence query with TEXT\n"
      "WHERE is [LETTER]N[-M][/PART]: the Nth command (to the Mth), counting only\n"
      "commands with LETTER when it is given; PART is hs (the handshake, default for\n"
      "nak), res (the result frame, default otherwise), ackK (the ACK to block K of\n"
      "a write), blkK (block K's result or read status) or dataK (data frame K).\n");
}

bool FaultPlan::add(const QString &text, QString *error) {
  QString why;
  const auto fail = [&](const QString &reason) {
    if (error)
      *error = QStringLiteral("fault \"%1\": %2").arg(text, reason);
    return false;
  };
  if (text.startsWith(QLatin1String("id="))) {
    identification_ = text.mid(3).toLatin1();
    return true;
  }
  const qsizetype at = text.indexOf('@');
  if (at < 0)
    return fail(QStringLiteral("no @WHERE"));
  const QString action = text.left(at);
  const qsizetype equals = action.indexOf('=');
  const QString name = equals < 0 ? action : action.left(equals);
  const QString value = equals < 0 ? QString() : action.mid(equals + 1);

  Fault fault;
  const KindName *kind = nullptr;
  for (const KindName &entry : kKindNames)
    if (name == QLatin1String(entry.name))
      kind = &entry;
  if (!kind)
    return fail(QStringLiteral("unknown fault \"%1\"").arg(name));
  if (kind->takesValue == (equals < 0))
    return fail(kind->takesValue ? QStringLiteral("\"%1\" needs =VALUE").arg(name)
                                 : QStringLiteral("\"%1\" takes no value").arg(name));
  fault.kind = kind->kind;
  if (!ParseValue(fault, value, why) || !ParseWhere(text.mid(at + 1), fault, why))
    return fail(why);
  if (!FitsPart(fault.kind, fault.part))
    return fail(QStringLiteral("\"%1\" cannot act on that reply").arg(name));
  add(fault);
  return true;
}

bool FaultPlan::take(Armed &armed, const ReplyPoint &point) {
  const Fault &fault = armed.fault;
  if (fault.part != point.part || (HasBlock(point.part) && fault.block != point.block))
    return false;
  if (fault.letter && fault.letter != point.letter)
    return false;
  const int count = fault.letter ? point.letterCount : point.command;
  if (count < fault.first || count > fault.last || armed.firedFor.contains(point.command))
    return false;
  armed.firedFor.append(point.command);
  return true;
}

std::optional<char> FaultPlan::refusal(const ReplyPoint &point) {
  for (Armed &armed : faults_)
    if (armed.fault.kind == Kind::Nak && take(armed, point))
      return armed.fault.code;
  return std::nullopt;
}

std::optional<char> FaultPlan::failure(const ReplyPoint &point) {
  for (Armed &armed : faults_)
    if (armed.fault.kind == Kind::Fail && take(armed, point))
      return armed.fault.code;
  return std::nullopt;
}

Delivery FaultPlan::delivery(const ReplyPoint &point) {
  Delivery delivery;
  for (Armed &armed : faults_) {
    const Fault &fault = armed.fault;
    if (fault.kind == Kind::Nak || fault.kind == Kind::Fail || !take(armed, point))
      continue;
    switch (fault.kind) {
    case Kind::Drop: delivery.drop = true; break;
    case Kind::Truncate: delivery.truncateTo = fault.amount; break;
    case Kind::Delay: delivery.delay += std::chrono::milliseconds(fault.amount); break;
    case Kind::Stall: delivery.stall += std::chrono::milliseconds(fault.amount); break;
    case Kind::CorruptBcc: delivery.corruptBcc = true; break;
    case Kind::Unplug: delivery.unplug = true; break;
    case Kind::Noise: delivery.noise += fault.noise; break;
    default: break;
    }
  }
  return delivery;
}

} // namespace kvr::sim
