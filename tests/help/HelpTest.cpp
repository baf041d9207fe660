#include "FrmHelp.h"
#include "FrmTip.h"
#include "HelpTopics.h"
#include "QtPrinters.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace kvr;

namespace {

TEST(Help, TopicsInOrderUnderContents) {
  FrmHelp help;
  const QTreeWidget *tree = help.findChild<QTreeWidget *>("TvwHelp");
  ASSERT_NE(tree, nullptr);
  const QTreeWidgetItem *root = tree->topLevelItem(0);
  EXPECT_EQ(root->text(0), QString("Contents"));
  QStringList children;
  for (int i = 0; i < root->childCount(); ++i)
    children.append(root->child(i)->text(0));
  EXPECT_EQ(children, (QStringList{"Introduction", "Special Features", "Installation",
                                   "Operating Instructions", "Precautions/Warning",
                                   "Troubleshooting", "Wiring Chart", "Warranty Clause"}));
  EXPECT_EQ(help.findChild<QPlainTextEdit *>("Text1")->toPlainText(), children.join('\n'));
  for (const QString &topic : children)
    EXPECT_FALSE(HelpTopicText(topic).isEmpty() && topic != "Wiring Chart") << topic.toStdString();
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
  EXPECT_TRUE(help.TopicShown().contains("dialout"));
  EXPECT_FALSE(help.TopicShown().contains("DSR"));
}

TEST(Help, TopicsOpenWithTheArrowsAndEnterAndEscCloses) {
  FrmHelp help;
  help.show();
  QTreeWidget *tree = help.findChild<QTreeWidget *>("TvwHelp");
  const auto press = [&](Qt::Key key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(tree, &event);
  };
  for (int i = 0; i < 7; ++i)
    press(Qt::Key_Down);
  EXPECT_EQ(tree->currentItem()->text(0), QString("Wiring Chart"));
  EXPECT_TRUE(help.TopicShown().contains("DTR 20 looped to DSR 6"));
  press(Qt::Key_Up);
  press(Qt::Key_Return);
  EXPECT_TRUE(help.TopicShown().contains("mouse")) << "Troubleshooting";
  EXPECT_TRUE(help.isVisible()) << "Enter opens the topic, it does not close the window";
  press(Qt::Key_Escape);
  EXPECT_FALSE(help.isVisible());
}

TEST(Help, StartTipCarriesItsSwitch) {
  FrmTip tip;
  EXPECT_EQ(tip.findChild<QLabel *>("Label2")->text(),
            QString("1. Power On Programmer & then Insert MCU.\n2. Remove MCU & then Power Off "
                    "Programmer."));
  EXPECT_FALSE(tip.DontDisplayAgain());
  tip.findChild<QCheckBox *>("Check1")->setChecked(true);
  EXPECT_TRUE(tip.DontDisplayAgain());
}

} // namespace
