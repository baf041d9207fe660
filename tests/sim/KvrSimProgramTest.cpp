// kvr-sim as a user runs it: a program on a pseudo-terminal, answering a
// client of its own that knows only the command table and the frame format.
#include "CommandSet.h"
#include "Frame.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace kvr;

namespace {

const QByteArray kAckCr("\x06\x0d", 2);

QByteArray Pairs(const QByteArray &bytes) {
  QByteArray chars;
  for (const char b : bytes)
    chars += EncodeByte(static_cast<unsigned char>(b));
  return chars;
}

// What a sound frame carries; a damaged one carries nothing.
QByteArray Carried(const QByteArray &frame) {
  const ParsedReply reply = ParseReply(frame, false);
  return reply.bccRead && reply.bccMatches && frame.endsWith('\r') ? reply.data : "(damaged)";
}

int Length(char letter, int CommandSpec::*field) { return FindCommand(letter)->*field; }

// The client's end of the line: the simulator's terminal, opened raw.
class Client {
public:
  explicit Client(const QString &path) {
    fd_ = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios tio{};
    if (fd_ >= 0 && tcgetattr(fd_, &tio) == 0) {
      cfmakeraw(&tio);
      tcsetattr(fd_, TCSANOW, &tio);
    }
  }
  ~Client() {
    if (fd_ >= 0)
      ::close(fd_);
  }
  bool isOpen() const { return fd_ >= 0; }

  void send(const QByteArray &bytes) {
    ASSERT_EQ(::write(fd_, bytes.constData(), bytes.size()), bytes.size());
  }
  // Exactly n characters, or what came within the time.
  QByteArray read(int n, int timeoutMs = 2000) {
    QByteArray got;
    char c;
    for (pollfd p{fd_, POLLIN, 0}; got.size() < n && ::poll(&p, 1, timeoutMs) > 0;)
      if (::read(fd_, &c, 1) == 1)
        got += c;
    return got;
  }
  // Nothing more arrives: every reply had exactly its length.
  bool quiet() { return read(1, 150).isEmpty(); }

private:
  int fd_ = -1;
};

class KvrSimProgram : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    link = dir.filePath(QStringLiteral("com1"));
    state = dir.filePath(QStringLiteral("chip.json"));
  }
  void TearDown() override {
    if (sim.state() != QProcess::NotRunning) {
      sim.kill();
      sim.waitForFinished(2000);
    }
  }

  // Starts kvr-sim and waits for the terminal's path on its stdout.
  QString start(const QStringList &arguments) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KVR_HOME"), dir.path()); // no catalogue: the built-in rows
    sim.setProcessEnvironment(env);
    sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kvr-sim"), arguments);
    if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000))
      return {};
    return QString::fromLocal8Bit(sim.readLine()).trimmed();
  }
  bool finished() { return sim.state() == QProcess::NotRunning || sim.waitForFinished(5000); }
  bool endWith(int signal) {
    ::kill(static_cast<pid_t>(sim.processId()), signal);
    return sim.waitForFinished(5000) && sim.exitStatus() == QProcess::NormalExit &&
           sim.exitCode() == 0;
  }

  QTemporaryDir dir;
  QString link;
  QString state;
  QProcess sim;
};

TEST_F(KvrSimProgram, AnswersAClientOfTheCommandTableAndKeepsTheChipAcrossARestart) {
  const QString path = start({"--chip", "017", "--link", link, "--state", state});
  ASSERT_FALSE(path.isEmpty()) << sim.readAllStandardError().toStdString();
  EXPECT_EQ(QFileInfo(link).symLinkTarget(), path);
  Client pc(link);
  ASSERT_TRUE(pc.isOpen());

  pc.send(BuildFrame(CommandPayload('Q'), false));
  EXPECT_EQ(pc.read(Length('Q', &CommandSpec::handshakeLength)), kAckCr);
  EXPECT_EQ(Carried(pc.read(Length('Q', &CommandSpec::resultLength))), "KVR1.04");
  EXPECT_TRUE(pc.quiet());

  QByteArray image(32, 0);
  for (int i = 0; i < 32; ++i)
    image[i] = static_cast<char>(0xA0 + i);
  pc.send(BuildFrame(CommandPayload('W', "00032"), false));
  EXPECT_EQ(pc.read(Length('W', &CommandSpec::handshakeLength)), kAckCr);
  pc.send(BuildFrame(Pairs(image), false));
  EXPECT_EQ(pc.read(2), kAckCr);
  EXPECT_TRUE(Carried(pc.read(Length('W', &CommandSpec::blockResultLength))).startsWith("P "));
  pc.send(kAckCr + kAckCr);
  EXPECT_TRUE(pc.quiet());

  // Ended by a signal, it removes its link and keeps the chip.
  ASSERT_TRUE(endWith(SIGTERM));
  EXPECT_FALSE(QFileInfo(link).isSymLink());
  ASSERT_TRUE(QFile::exists(state));

  const QString again = start({"--state", state, "--link", link});
  ASSERT_FALSE(again.isEmpty()) << sim.readAllStandardError().toStdString();
  Client next(link);
  next.send(BuildFrame(CommandPayload('R', "00032"), false));
  EXPECT_EQ(next.read(Length('R', &CommandSpec::handshakeLength)), kAckCr);
  EXPECT_EQ(Carried(next.read(Length('R', &CommandSpec::resultLength))), "P ");
  next.send(kAckCr);
  const QByteArray frame = next.read(Length('R', &CommandSpec::blockResultLength));
  EXPECT_EQ(Carried(frame), Pairs(image)) << "the programmed chip survived the restart";
  EXPECT_TRUE(ParseReply(frame, false).endedWithEtx);
  next.send(kAckCr);
  EXPECT_TRUE(next.quiet());
  EXPECT_TRUE(endWith(SIGINT));
}

TEST_F(KvrSimProgram, AnUnplugFaultEndsTheProgramAndItsLink) {
  const QString path = start({"--chip", "017", "--link", link, "--fault", "unplug@Q1"});
  ASSERT_FALSE(path.isEmpty());
  Client pc(link);
  pc.send(BuildFrame(CommandPayload('Q'), false));
  // What was on its way when the line went may be lost with it.
  EXPECT_TRUE(finished());
  EXPECT_EQ(sim.exitCode(), 0);
  EXPECT_FALSE(QFileInfo(link).isSymLink());
  EXPECT_TRUE(sim.readAllStandardError().contains("fault plan"));
}

TEST_F(KvrSimProgram, HelpAndCommandLinesItRefuses) {
  EXPECT_TRUE(start({"--help"}).startsWith("Usage: kvr-sim"));
  EXPECT_TRUE(finished() && sim.exitCode() == 0);
  QFile(link).open(QIODevice::WriteOnly); // a file in the link's place is never replaced
  for (const QStringList &arguments :
       {QStringList{"--chip", "nosuch"}, QStringList{"--chip", "017", "--fault", "frob@1"},
        QStringList{"--chip", "017", "--link", link}}) {
    start(arguments);
    EXPECT_TRUE(finished());
    EXPECT_NE(sim.exitCode(), 0) << arguments.join(' ').toStdString();
  }
  EXPECT_TRUE(QFileInfo(link).isFile());
}

} // namespace
