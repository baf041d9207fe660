#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>

namespace kvr {

class Session;

// The enabled / visible / text state of every menu, toolbar button and
// drop-down entry, by name. What each device family may do is decided here
// and only here; the window mirrors these states onto its controls.
class ControlPanel : public QObject {
  Q_OBJECT
public:
  struct State {
    bool enabled = true;
    bool visible = true;
    QString text;
    int value = 0; // list index, or 1 for a ticked check box
  };

  explicit ControlPanel(const Session &session, QObject *parent = nullptr);

  // What the buffer holds: the grid's row count and the file it belongs to.
  void setBufferFacts(std::function<int()> gridRows, std::function<QString()> currentFilePath);

  bool isEnabled(const QString &name) const { return states_.value(name).enabled; }
  bool isVisible(const QString &name) const { return states_.value(name).visible; }
  QString text(const QString &name) const { return states_.value(name).text; }
  int value(const QString &name) const { return states_.value(name).value; }
  bool has(const QString &name) const { return states_.contains(name); }
  // The user can reach the control: it and every menu or button it sits
  // under are enabled and shown. A hidden drop-down entry is not offered,
  // however enabled.
  bool isOffered(const QString &name) const;

  void setEnabled(const QString &name, bool enabled);
  void setVisible(const QString &name, bool visible);
  void setText(const QString &name, const QString &text);
  void setValue(const QString &name, int value);

  // The flash block list beside the toolbar: shown for two-block devices,
  // the current block 0 or 1.
  bool blockListShown() const;
  int currentBlock() const;
  // Shows or hides the list with its caption; a shown list starts at block 0.
  void showBlockList(bool shown);
  // The "6x Clock" box beside the toolbar: ticked counts only while shown.
  bool sixClockTicked() const;
  void showSixClockBox(bool shown);

  // busy: an operation runs; everything but Stop is disabled. Idle: Stop
  // disabled and exactly what the catalogue, the selected family, the
  // signature state and the programmer's model allow.
  void SetMenuOptions(bool busy);
  void DisableAllDropDown();
  void SetSpecialOperationMenu();
  // Returns true when the selected device has drop-down entries, which the
  // window then announces.
  bool SetDropDownOptions_Special();

signals:
  void stateChanged(const QString &name);

private:
  template <typename T> void update(const QString &name, T State::*field, const T &value);
  void enable(std::initializer_list<const char *> names, bool enabled);
  void show(std::initializer_list<const char *> names, bool visible);

  const Session &session_;
  QHash<QString, State> states_;
  std::function<int()> gridRows_;
  std::function<QString()> currentFilePath_;
};

} // namespace kvr
