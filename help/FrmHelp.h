#pragma once

#include <QDialog>

class QPlainTextEdit;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace kvr {

// The help window: topics in a tree, the chosen topic's text beside it.
class FrmHelp : public QDialog {
  Q_OBJECT
public:
  explicit FrmHelp(QWidget *owner = nullptr);

  // Shows a topic as a click on its node does.
  void ShowTopic(const QString &topic);
  QString TopicShown() const;

private:
  // Appends the 9-pin to 9-pin chart to the topic text.
  void display_1();

  QTreeWidget *topics_ = nullptr;
  QTextBrowser *text_ = nullptr;
  QPlainTextEdit *contents_ = nullptr;
};

// The about window: the product, its version and licence.
class FrmAboutKvr : public QDialog {
  Q_OBJECT
public:
  explicit FrmAboutKvr(QWidget *owner = nullptr);
};

} // namespace kvr
