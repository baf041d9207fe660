// kvr-sim as a user runs it: a program on a pseudo-terminal, answering a
// client of its own that knows only the command table and the frame format.
#include "CommandSet.h"

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

constexpr char STX = 0x02, ETX = 0x03, ENQ = 0x05, ACK = 0x06, CR = 0x0D, ETB = 0x17;

QByteArray Frame(const QByteArray &payload) {
  char bcc = 0;
  for (const char c : payload)
    bcc ^= c;
  QByteArray frame = QByteArray(1, STX) + payload;
  if (!payload.endsWith(ETB)) {
    frame += ETX;
    bcc ^= ETX;
  }
  return frame + bcc + CR;
}

QByteArray Pairs(const QByteArray &bytes) {
  QByteArray chars;
  for (const char b : bytes)
    chars += QByteArray(1, 0x20 + ((b >> 4) & 0x0F)) + char(0x20 + (b & 0x0F));
  return chars;
}

// STX, data, ETX or ETB, then the BCC of data and end mark, then CR.
bool SoundFrame(const QByteArray &frame, QByteArray *data = nullptr) {
  if (frame.size() < 4 || frame[0] != STX || !frame.endsWith(CR))
    return false;
  const char end = frame[frame.size() - 3];
  char bcc = end;
  for (qsizetype i = 1; i < frame.size() - 3; ++i)
    bcc ^= frame[i];
  if (data)
    *data = frame.mid(1, frame.size() - 4);
  return (end == ETX || end == ETB) && frame[frame.size() - 2] == bcc;
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

TEST_F(KvrSimProgram, AnswersAClientOfTheCommandTableWithExactlyItsLengths) {
  const QString path = start({"--chip", "017", "--link", link, "--state", state});
  ASSERT_FALSE(path.isEmpty()) << sim.readAllStandardError().toStdString();
  EXPECT_EQ(QFileInfo(link).symLinkTarget(), path);
  Client pc(link);
  ASSERT_TRUE(pc.isOpen());
  const QByteArray ackCr = QByteArray(1, ACK) + CR;
  QByteArray data;

  pc.send(Frame(QByteArray(1, ENQ) + 'Q'));
  EXPECT_EQ(pc.read(Length('Q', &CommandSpec::handshakeLength)), ackCr);
  const QByteArray identification = pc.read(Length('Q', &CommandSpec::resultLength));
  EXPECT_TRUE(SoundFrame(identification, &data));
  EXPECT_EQ(data, QByteArray("KVR1.04"));
  EXPECT_TRUE(pc.quiet());

  // AT89S8252 as its catalogue row describes it.
  const QByteArray signatureFields = Pairs(QByteArray::fromHex("0304010300010B00")) + "08192" +
                                     "2" + Pairs(QByteArray::fromHex("1E7200"));
  pc.send(Frame(QByteArray(1, ENQ) + 'S' + signatureFields));
  EXPECT_EQ(pc.read(Length('S', &CommandSpec::handshakeLength)), ackCr);
  const QByteArray signature = pc.read(Length('S', &CommandSpec::resultLength));
  EXPECT_EQ(signature, QByteArray(1, STX) + "P " + Pairs(QByteArray::fromHex("1E7200")));
  EXPECT_TRUE(SoundFrame(signature + pc.read(3))) << "the rest of the frame follows";
  pc.send(ackCr);
  EXPECT_TRUE(pc.quiet());

  QByteArray image(64, 0);
  for (int i = 0; i < 64; ++i)
    image[i] = static_cast<char>(0xA0 + i);
  pc.send(Frame(QByteArray(1, ENQ) + 'W' + "00064"));
  EXPECT_EQ(pc.read(Length('W', &CommandSpec::handshakeLength)), ackCr);
  for (int block = 0; block < 2; ++block) {
    pc.send(Frame(Pairs(image.mid(block * 32, 32)) + (block == 0 ? QByteArray(1, ETB) : "")));
    EXPECT_EQ(pc.read(2), ackCr);
    EXPECT_TRUE(SoundFrame(pc.read(Length('W', &CommandSpec::blockResultLength)), &data));
    EXPECT_TRUE(data.startsWith('P')) << data.toStdString();
    pc.send(ackCr);
  }
  pc.send(ackCr);
  EXPECT_TRUE(pc.quiet());

  QByteArray readBack;
  pc.send(Frame(QByteArray(1, ENQ) + 'R' + "00064"));
  EXPECT_EQ(pc.read(Length('R', &CommandSpec::handshakeLength)), ackCr);
  for (int block = 0; block < 2; ++block) {
    EXPECT_TRUE(SoundFrame(pc.read(Length('R', &CommandSpec::resultLength)), &data));
    EXPECT_TRUE(data.startsWith('P'));
    pc.send(ackCr);
    const QByteArray frame = pc.read(Length('R', &CommandSpec::blockResultLength));
    EXPECT_TRUE(SoundFrame(frame, &data));
    EXPECT_EQ(frame[frame.size() - 3], block == 0 ? ETB : ETX);
    for (int i = 0; i + 1 < data.size(); i += 2)
      readBack += static_cast<char>(((data[i] & 0x0F) << 4) | (data[i + 1] & 0x0F));
    pc.send(ackCr);
  }
  EXPECT_EQ(readBack, image);
  EXPECT_TRUE(pc.quiet());

  // Ended by a signal, it removes its link and keeps the chip.
  ASSERT_TRUE(endWith(SIGTERM));
  EXPECT_FALSE(QFileInfo(link).isSymLink());
  ASSERT_TRUE(QFile::exists(state));

  const QString again = start({"--state", state, "--link", link});
  ASSERT_FALSE(again.isEmpty()) << sim.readAllStandardError().toStdString();
  Client next(link);
  next.send(Frame(QByteArray(1, ENQ) + 'R' + "00032"));
  next.read(2 + 6);
  next.send(ackCr);
  EXPECT_TRUE(SoundFrame(next.read(68), &data));
  EXPECT_EQ(data.left(64), Pairs(image.left(32))) << "the programmed chip survived the restart";
  next.send(ackCr);
  EXPECT_TRUE(endWith(SIGINT));
}

TEST_F(KvrSimProgram, AnUnplugFaultEndsTheProgramAndItsLink) {
  const QString path = start({"--chip", "017", "--link", link, "--fault", "unplug@Q1"});
  ASSERT_FALSE(path.isEmpty());
  Client pc(link);
  pc.send(Frame(QByteArray(1, ENQ) + 'Q'));
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
