#pragma once

#include <QString>

#include <vector>

namespace kvr {

// Every menu, menu entry, toolbar button and special drop-down entry of the
// main window, with its caption and its state before the first menu update.
// The window builds its controls from this table; ControlPanel keeps their
// states by the same names.
enum class ControlKind { Menu, Entry, Separator, ToolButton, DropDownEntry, WindowControl };

struct ControlSpec {
  const char *name;
  const char *parent; // "" for top-level menus, toolbar buttons and drop-down entries
  ControlKind kind;
  const char *caption; // "&" marks the access key, "&&" shows one ampersand
  const char *shortcut;
  bool enabled;
  bool visible;
};

const std::vector<ControlSpec> &ControlLayout();
const ControlSpec *FindControl(const QString &name);

// How a toolbar button looks beside its stored text, which stays its tool tip.
struct ToolButtonFace {
  const char *name;
  const char *caption;   // short caption under the picture
  const char *themeIcon; // the desktop icon theme's name, "" when none fits
};

// The face of a toolbar button, or nullptr for any other control.
const ToolButtonFace *FindToolButtonFace(const QString &name);

} // namespace kvr
