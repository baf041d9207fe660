// kvr-sim as a user runs it: a program on a pseudo-terminal behind a link of
// its own, its chip kept across runs, ended by signals or an unplug fault.
#include "CommandSet.h"
#include "Frame.h"
#include "ScriptedPeer.h"

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

QByteArray Command(char letter, const QByteArray &fields) {
  return BuildFrame(CommandPayload(letter, fields), false);
}

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

  // Sends the bytes, all at once or one at a time as a slow line hands them
  // on; the answer is all that comes until the line is quiet.
  QByteArray ask(const QByteArray &bytes, bool oneByOne = false) {
    if (oneByOne) {
      for (const char c : bytes) {
        EXPECT_EQ(::write(fd_, &c, 1), 1);
        ::usleep(3000);
      }
    } else {
      EXPECT_EQ(::write(fd_, bytes.constData(), bytes.size()), bytes.size());
    }
    QByteArray got;
    char c;
    for (pollfd p{fd_, POLLIN, 0}; ::poll(&p, 1, got.isEmpty() ? 2000 : 150) > 0;)
      if (::read(fd_, &c, 1) == 1)
        got += c;
      else
        break;
    return got;
  }

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

TEST_F(KvrSimProgram, AnswersOnItsLinkAndKeepsTheChipAcrossARestart) {
  const QString path = start({"--chip", "017", "--link", link, "--state", state});
  ASSERT_FALSE(path.isEmpty()) << sim.readAllStandardError().toStdString();
  EXPECT_EQ(QFileInfo(link).symLinkTarget(), path);
  QByteArray image(32, 0);
  for (int i = 0; i < 32; ++i)
    image[i] = static_cast<char>(0xA0 + i);
  {
    Client pc(link);
    EXPECT_EQ(pc.ask(Command('W', "00032")), kAckCr);
    EXPECT_EQ(pc.ask(BuildFrame(Pairs(image), false)),
              kAckCr + test::ProgrammerFrame("P 0000000032"));
    EXPECT_EQ(pc.ask(kAckCr + kAckCr), QByteArray());
  }
  // Ended by a signal, it removes its link and keeps the chip; started again
  // from its state alone, it seats that chip.
  ASSERT_TRUE(endWith(SIGTERM));
  EXPECT_FALSE(QFileInfo(link).isSymLink());
  ASSERT_FALSE(start({"--state", state, "--link", link}).isEmpty())
      << sim.readAllStandardError().toStdString();
  Client next(link);
  EXPECT_EQ(next.ask(Command('Q', {}), true), kAckCr + test::ProgrammerFrame("KVR1.04"));
  EXPECT_EQ(next.ask(Command('R', "00032")), kAckCr + test::ProgrammerFrame("P "));
  EXPECT_EQ(next.ask(kAckCr), test::ProgrammerFrame(Pairs(image)));
  EXPECT_EQ(next.ask(kAckCr), QByteArray());
  EXPECT_TRUE(endWith(SIGINT));
}

TEST_F(KvrSimProgram, AnUnplugFaultEndsTheProgramAndItsLink) {
  const QString path = start({"--chip", "017", "--link", link, "--fault", "unplug@Q1"});
  ASSERT_FALSE(path.isEmpty());
  // What was on its way when the line went may be lost with it.
  Client(link).ask(Command('Q', {}));
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
