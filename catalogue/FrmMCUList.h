#pragma once

#include <QDialog>

#include <optional>

class QTreeWidget;
class QTreeWidgetItem;

namespace kvr {

class DatabaseHandlers;

// The device selection window: brands and ranges in a tree, the devices of
// the chosen range in a list.
class FrmMCUList : public QDialog {
  Q_OBJECT
public:
  FrmMCUList(const DatabaseHandlers &catalogue, const QString &currentId, QWidget *owner = nullptr);

  bool Cancelled() const { return cancelled_; }
  QString ChosenId() const { return chosenId_; }

  // Shows the window modally; the chosen identifier, or nothing after Cancel.
  static std::optional<QString> Choose(const DatabaseHandlers &catalogue, const QString &currentId,
                                       QWidget *owner);

private:
  void LoadGroups();
  void LoadMcuList(int rangeNumber);
  void TreeEvent();
  void Select();
  QTreeWidgetItem *FindNode(const QString &key) const;

  const DatabaseHandlers &catalogue_;
  QTreeWidget *groups_ = nullptr;
  QTreeWidget *devices_ = nullptr;
  bool cancelled_ = true;
  QString chosenId_;
};

} // namespace kvr
