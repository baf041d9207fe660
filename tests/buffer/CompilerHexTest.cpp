// HEX files as a real 8051 compiler writes them (records out of address
// order, a gap, no newline after the last record) load to the same bytes
// that srec_cat makes of them.
#include "BufferFixture.h"

#include <QProcess>
#include <QStandardPaths>

using namespace kvr;

namespace {

class CompilerHex : public test::BufferFixture, public ::testing::WithParamInterface<const char *> {
protected:
  // Runs a tool in the test's folder; false with its output when it fails.
  bool Run(const QString &program, const QStringList &arguments) {
    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool ok = process.waitForFinished(60000) &&
                    process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!ok)
      ADD_FAILURE() << program.toStdString() << ": " << process.readAll().toStdString();
    return ok;
  }
};

TEST_P(CompilerHex, LoadsToTheBytesSrecCatMakesOfIt) {
  const QString sdcc = QStandardPaths::findExecutable("sdcc");
  const QString srecCat = QStandardPaths::findExecutable("srec_cat");
  if (sdcc.isEmpty() || srecCat.isEmpty())
    GTEST_SKIP() << "sdcc and srec_cat are needed (Debian packages sdcc and srecord, installed by "
                    "./test.sh)";

  const QString name = GetParam();
  const QString source = QStringLiteral(KVR_TEST_DATA_DIR "/sdcc/") + name + ".c";
  ASSERT_TRUE(Run(sdcc, {"-mmcs51", "-o", dir.path() + "/", source}));
  const QString hex = PathOf(name + ".ihx");
  const QString bin = PathOf(name + ".bin");
  ASSERT_TRUE(Run(srecCat, {hex, "-intel", "-o", bin, "-binary"}));
  const QByteArray expected = Read(bin);
  ASSERT_GT(expected.size(), 0);

  ASSERT_TRUE(files.FileOpenHex_1(hex)) << ui.texts().join('\n').toStdString();
  EXPECT_TRUE(ui.messages.isEmpty()) << "a compiler's file is neither damaged nor refused";
  const QByteArray image = Image();
  EXPECT_EQ(image.left(expected.size()), expected);
  // The image may run on to the end of its last row, with 00h.
  EXPECT_LT(image.size() - expected.size(), 16);
  EXPECT_EQ(image.mid(expected.size()), QByteArray(image.size() - expected.size(), '\0'));
}

INSTANTIATE_TEST_SUITE_P(Sdcc, CompilerHex, ::testing::Values("blink", "table"));

} // namespace
