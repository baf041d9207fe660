// The console Ui: what reaches stderr, and how questions are answered.
#include "ConsoleUi.h"
#include "Commands.h"
#include "ImageBuffer.h"
#include "ImageCompare.h"
#include "QtPrinters.h"
#include "SignatureVerification.h"

#include <QBuffer>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace kvr;
using namespace kvr::cli;

namespace {

struct Console {
  explicit Console(Verbosity verbosity = Verbosity::Normal, bool yes = false, bool bar = false)
      : ui(stream, verbosity, yes, bar) {}
  QStringList lines() {
    stream.flush();
    return text.split('\n', Qt::SkipEmptyParts);
  }
  QString text;
  QTextStream stream{&text};
  ConsoleUi ui;
};

TEST(ConsoleUi, YesAnswersQuestionsAndWarningsButNeverRetriesAVerification) {
  Console console(Verbosity::Normal, true);
  EXPECT_EQ(console.ui.ask("Continue?", Buttons::YesNo, MessageIcon::Exclamation), Answer::Yes);
  bool dontShowAgain = true;
  EXPECT_TRUE(console.ui.showWarningWindow(WarningWindow::Lock, dontShowAgain));
  EXPECT_FALSE(dontShowAgain) << "the window's switch stays as it was";
  EXPECT_TRUE(console.ui.confirmPositioningTip("08B", 0));
  // With --yes a wrong chip would be verified again and again.
  EXPECT_EQ(console.ui.ask(SignatureText::RetryQuestion, Buttons::YesNo, MessageIcon::Question),
            Answer::No);

  const QStringList lines = console.lines();
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], "Continue? Yes (--yes)");
  EXPECT_TRUE(lines[1].startsWith("Have you entered the Serial no. & length? Else,"))
      << lines[1].toStdString();

  // Without --yes a question ends the run, and says how to answer it.
  Console script;
  EXPECT_THROW(script.ui.ask("Continue?", Buttons::YesNo, MessageIcon::Exclamation),
               UnansweredQuestion);
  EXPECT_TRUE(script.lines().last().contains("--yes"));
}

TEST(ConsoleUi, DrawsTheProgressBarOnlyOnATerminalAndClearsItForMessages) {
  Console file;
  file.ui.setProgressRange(0, 4096);
  file.ui.setProgressValue(2048);
  EXPECT_EQ(file.text, QString());

  Console terminal(Verbosity::Normal, false, true);
  terminal.ui.setProgressRange(0, 4096);
  terminal.ui.setProgressValue(1024);
  terminal.ui.setProgressValue(1056); // same percentage: not drawn again
  terminal.ui.message("Write failed.", MessageIcon::Exclamation);
  terminal.stream.flush();
  EXPECT_EQ(terminal.text.count("25% 1024/4096"), 1);
  EXPECT_FALSE(terminal.text.contains("1056"));
  EXPECT_TRUE(terminal.text.endsWith("\r\x1b[KWrite failed.\n")) << terminal.text.toStdString();

  // Results follow on stdout: the bar and its clearing reach stderr at once,
  // or a result would be drawn after the bar and then wiped with it.
  QBuffer device;
  device.open(QIODevice::WriteOnly);
  QTextStream stream(&device);
  ConsoleUi ui(stream, Verbosity::Normal, false, true);
  ui.setProgressRange(0, 4096);
  ui.setProgressValue(4096);
  EXPECT_TRUE(device.data().endsWith("100% 4096/4096")) << device.data().toStdString();
  ui.setProgressValue(0);
  EXPECT_TRUE(device.data().endsWith("\r\x1b[K")) << device.data().toStdString();
}

TEST(ConsoleUi, VerboseShowsEachStatusOnceWithoutTheWaitingSeconds) {
  Console verbose(Verbosity::Verbose);
  verbose.ui.setActivity("Write");
  verbose.ui.setPanelText(Panel::SbrActivity, "Write (1 Sec. )");
  verbose.ui.setActivity("Writing - 64 Bytes");
  verbose.ui.setActivity("Writing - 96 Bytes");
  verbose.ui.setActivity("Write Interrupted");
  EXPECT_EQ(verbose.lines(), QStringList({"Write", "Writing - 64 Bytes", "Write Interrupted"}));

  Console normal;
  normal.ui.setActivity("Write Failed");
  EXPECT_EQ(normal.text, QString());
}

// The usage line a command prints names the arguments it takes: words are
// needed, bracketed words may follow, bracketed --options are no arguments.
TEST(CliCommands, EachTakesTheArgumentsItsUsageLineNames) {
  static const QRegularExpression token(QStringLiteral("\\[[^\\]]*\\]|\\S+"));
  for (const CliCommand &command : Commands()) {
    int needed = 0, optional = 0;
    for (const auto &match : token.globalMatch(QString::fromLatin1(command.synopsis))) {
      const QString word = match.captured();
      if (!word.startsWith(QLatin1String("[--")))
        ++(word.startsWith('[') ? optional : needed);
    }
    EXPECT_EQ(command.minArguments, needed) << command.name;
    EXPECT_EQ(command.maxArguments, needed + optional) << command.name;
  }
}

TEST(ImageCompare, CountsDifferingBytesWithDataAndThoseBeyondTheChip) {
  ImageBuffer image;
  LoadBytes(image, QByteArray("\x01\x02\x03\x04\x05", 5));
  EXPECT_EQ(image.rowCount(), 1);
  EXPECT_TRUE(image.isNoData(5)) << "the rest of the row has no data";

  EXPECT_EQ(CompareWithChip(image, QByteArray("\x01\x02\x03\x04\x05\xFF", 6)).count, 0);
  const ImageDifference two = CompareWithChip(image, QByteArray("\x01\x09\x03\x04\x00", 5));
  EXPECT_EQ(two.count, 2);
  EXPECT_EQ(two.firstAddress, 1);
  const ImageDifference short_ = CompareWithChip(image, QByteArray("\x01\x02\x03", 3));
  EXPECT_EQ(short_.count, 2);
  EXPECT_EQ(short_.firstAddress, 3);
}

} // namespace
