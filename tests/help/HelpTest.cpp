#include "FrmHelp.h"
#include "FrmTip.h"
#include "QtPrinters.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace kvr;

namespace {

// The arrows open each topic in turn, each with a text of its own; Enter
// opens the topic it is on without closing the window; Esc closes it.
TEST(Help, EveryTopicOpensWithTheKeysAndEscCloses) {
  FrmHelp help;
  help.show();
  EXPECT_EQ(help.windowTitle(), QString("KVR 1.04 Help"));
  QTreeWidget *tree = help.findChild<QTreeWidget *>("TvwHelp");
  const auto press = [&](Qt::Key key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(tree, &event);
  };
  QStringList shown;
  for (int i = 0; i < tree->topLevelItem(0)->childCount(); ++i) {
    press(Qt::Key_Down);
    const QString topic = tree->currentItem()->text(0);
    EXPECT_EQ(topic, tree->topLevelItem(0)->child(i)->text(0));
    EXPECT_FALSE(help.TopicShown().isEmpty() || shown.contains(help.TopicShown()))
        << topic.toStdString() << " does not open";
    shown << help.TopicShown();
  }
  // For reading only: no bare column header over the topics, no typing into the contents.
  EXPECT_TRUE(tree->isHeaderHidden());
  auto *contents = help.findChild<QPlainTextEdit *>("Text1");
  EXPECT_NEAR(tree->width(), (tree->width() + contents->width()) / 4, 10) << "a quarter";
  const QString listed = contents->toPlainText();
  QKeyEvent typed(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
  QApplication::sendEvent(contents, &typed);
  EXPECT_EQ(contents->toPlainText(), listed);

  help.ShowTopic(tree->topLevelItem(0)->child(0)->text(0));
  press(Qt::Key_Return);
  EXPECT_EQ(help.TopicShown(), shown.last()) << "Enter opens the topic it is on";
  EXPECT_TRUE(help.isVisible()) << "Enter opens the topic, it does not close the window";
  press(Qt::Key_Escape);
  EXPECT_FALSE(help.isVisible());
}

TEST(Help, WiringChartClickedTwiceShowsTheChartsOnce) {
  FrmHelp help;
  help.ShowTopic("Wiring Chart");
  const QString once = help.TopicShown();
  help.ShowTopic("Wiring Chart");
  EXPECT_EQ(help.TopicShown(), once);
  EXPECT_EQ(once.count("DTR 20 looped to DSR 6"), 1) << "the 25-pin chart";
  EXPECT_EQ(once.count("Programmer, 9-pin D female"), 2) << "both charts, once each";
  help.ShowTopic("Installation");
  EXPECT_FALSE(help.TopicShown().contains("DSR")) << "the charts stay behind";
}

TEST(Help, StartTipCarriesItsSwitch) {
  FrmTip tip;
  EXPECT_FALSE(tip.DontDisplayAgain());
  tip.findChild<QCheckBox *>("Check1")->setChecked(true);
  EXPECT_TRUE(tip.DontDisplayAgain());
}

} // namespace
