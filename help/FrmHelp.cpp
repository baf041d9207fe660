#include "FrmHelp.h"

#include "HelpTopics.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kvr {

FrmHelp::FrmHelp(QWidget *owner) : QDialog(owner) {
  setObjectName(QStringLiteral("FrmHelp"));
  setWindowTitle(QStringLiteral("KVR 1.04 Help"));
  resize(820, 560);
  topics_ = new QTreeWidget(this);
  topics_->setObjectName(QStringLiteral("TvwHelp"));
  topics_->setHeaderHidden(true);
  auto *root = new QTreeWidgetItem(topics_, {HelpTopics().first()});
  for (const QString &topic : HelpTopics().mid(1))
    new QTreeWidgetItem(root, {topic});
  root->setExpanded(true);
  // Made in the order of the layout, which is the order of the Tab key.
  contents_ = new QPlainTextEdit(this);
  contents_->setObjectName(QStringLiteral("Text1"));
  contents_->setReadOnly(true);
  contents_->setMaximumHeight(80);
  text_ = new QTextBrowser(this);
  text_->setObjectName(QStringLiteral("RichTextBox1"));
  auto *close = new QPushButton(QStringLiteral("Close"), this);
  close->setObjectName(QStringLiteral("CmdClose"));
  // Enter opens the topic in the list; only a click or Esc closes.
  close->setAutoDefault(false);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  // A click, the arrow keys and Enter all open the topic they land on.
  connect(topics_, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem *item) { ShowTopic(item->text(0)); });
  connect(topics_, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem *item) { ShowTopic(item->text(0)); });
  connect(topics_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
    if (item)
      ShowTopic(item->text(0));
  });

  auto *right = new QVBoxLayout;
  right->addWidget(contents_);
  right->addWidget(text_, 1);
  auto *panes = new QHBoxLayout;
  panes->addWidget(topics_, 1);
  panes->addLayout(right, 3);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(panes);
  layout->addWidget(close, 0, Qt::AlignRight);
  topics_->setCurrentItem(root);
  topics_->setFocus();
}

void FrmHelp::ShowTopic(const QString &topic) {
  if (topic == HelpTopics().first()) {
    contents_->setPlainText(HelpTopicText(topic));
    return;
  }
  if (topic == QLatin1String("Wiring Chart")) {
    text_->setHtml(WiringChart25Pin());
    display_1();
    return;
  }
  text_->setHtml(HelpTopicText(topic));
}

void FrmHelp::display_1() { text_->append(WiringChart9Pin()); }

QString FrmHelp::TopicShown() const { return text_->toPlainText(); }

FrmAboutKvr::FrmAboutKvr(QWidget *owner) : QDialog(owner) {
  setObjectName(QStringLiteral("FrmAboutKvr"));
  setWindowTitle(QStringLiteral("About KVR 1.04"));
  const struct {
    const char *name;
    QString text;
  } labels[] = {
      {"Label1", QStringLiteral("<h2>KVR 1.04</h2>")},
      {"Label2", QStringLiteral("Flash MCU Programmer for Linux")},
      {"Label3", QStringLiteral("Version %1").arg(QStringLiteral(KVR_VERSION))},
      {"Label4", QStringLiteral("8051-family flash microcontrollers and 24Cxx serial EEPROMs on "
                                "the KVR serial programmer.")},
      {"Label5", QStringLiteral("Built with Qt %1.").arg(QLatin1String(qVersion()))},
      {"Label6", QStringLiteral("Free software under the terms of the GNU General Public "
                                "License, version 3 or later.")},
  };
  auto *layout = new QVBoxLayout(this);
  for (const auto &label : labels) {
    auto *widget = new QLabel(label.text, this);
    widget->setObjectName(QLatin1String(label.name));
    widget->setWordWrap(true);
    layout->addWidget(widget);
  }
  auto *ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("CmdOk"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignRight);
}

} // namespace kvr
