// The toolkit-independent controls of a window: forms, edits, labels, check
// boxes, radio buttons, buttons, memos, progress bars, menus, tab pages, plot
// images and group boxes.
//
// A control is plain state (name, caption, enabled, visible, bounds and its
// own value) plus event slots. The rest of the program relies on three firing
// rules, which hold whether a person or the program changes a value:
//   - an edit runs OnChange when its text changes;
//   - a check box runs OnChange and then OnClick when its state changes;
//   - a radio button runs OnChange on every change of its state and OnClick
//     only when it becomes ticked. Ticking a radio sets its own state first,
//     then unticks the others of its group (their OnChange runs), then runs
//     its own OnChange and OnClick.
// Nothing fires when the new value equals the old one, and setting Enabled,
// Visible or a caption fires nothing.
//
// Every change is reported to the running back end (see application.h), so
// the Qt back end can show it at once; the scripted back end ignores it.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/canvas.h"

class Form;

struct TRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
};

enum class ControlKind {
  Form,
  Label,
  Edit,
  Button,
  CheckBox,
  RadioButton,
  GroupBox,
  Memo,
  ProgressBar,
  PageControl,
  TabSheet,
  Image,
  MainMenu,
  MenuItem,
  OpenDialog,
  SaveDialog,
  SelectDirectoryDialog,
};

// What changed, for the back end that mirrors a control.
enum class ControlChange { Caption, Enabled, Visible, Bounds, Value, Picture, Structure };

enum class MouseButton { Left, Right, Middle, Extra1, Extra2 };

using Notify = std::function<void()>;

class Control {
 public:
  Control(ControlKind kind, std::string name, Control* parent);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  ControlKind Kind() const { return kind_; }
  const std::string& Name() const { return name_; }
  Control* Parent() const { return parent_; }
  const std::vector<Control*>& Children() const { return children_; }
  // The form this control lives on (itself for a form).
  Form* OwnerForm() const;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Enabled and visible, and so is every parent up to the form.
  bool Usable() const;
  const TRect& Bounds() const { return bounds_; }
  void SetBounds(const TRect& bounds);

  // Opaque slot for the back end that mirrors this control.
  void* BackendData = nullptr;

 protected:
  void Changed(ControlChange what);

 private:
  ControlKind kind_;
  std::string name_;
  Control* parent_;
  std::vector<Control*> children_;
  std::string caption_;
  bool enabled_ = true;
  bool visible_ = true;
  TRect bounds_;
};

class Label : public Control {
 public:
  Label(std::string name, Control* parent) : Control(ControlKind::Label, std::move(name), parent) {}
  // Font size in points for labels that stand out (0: the default size).
  int FontSize = 0;
  // A label that opens a web address when clicked.
  Notify OnClick;
};

class Button : public Control {
 public:
  Button(std::string name, Control* parent) : Control(ControlKind::Button, std::move(name), parent) {}
  Notify OnClick;
  // Runs OnClick, as the program does when it "presses" a button itself.
  void Click();
};

class Edit : public Control {
 public:
  Edit(std::string name, Control* parent) : Control(ControlKind::Edit, std::move(name), parent) {}
  const std::string& Text() const { return text_; }
  // Runs OnChange when the text differs from the present one.
  void SetText(const std::string& text);
  // Gives several edits one text as one change: every edit holds the new
  // text before the first OnChange runs, then each edit whose text changed
  // runs its OnChange, in the order given. Edits whose values only make
  // sense together (the five x corrections of one unit) never meet a handler
  // half-changed.
  static void SetTexts(std::initializer_list<Edit*> edits, const std::string& text);
  Notify OnChange;

 private:
  std::string text_;
};

class CheckBox : public Control {
 public:
  CheckBox(std::string name, Control* parent) : Control(ControlKind::CheckBox, std::move(name), parent) {}
  bool Checked() const { return checked_; }
  // Runs OnChange, then OnClick, when the state differs from the present one.
  void SetChecked(bool checked);
  Notify OnChange;
  Notify OnClick;

 private:
  bool checked_ = false;
};

// Radio buttons with the same parent form one group.
class RadioButton : public Control {
 public:
  RadioButton(std::string name, Control* parent)
      : Control(ControlKind::RadioButton, std::move(name), parent) {}
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  Notify OnChange;
  Notify OnClick;
  // The other radio buttons of this one's group, in creation order.
  std::vector<RadioButton*> Siblings() const;

 private:
  bool checked_ = false;
};

class GroupBox : public Control {
 public:
  GroupBox(std::string name, Control* parent) : Control(ControlKind::GroupBox, std::move(name), parent) {}
};

// A multi-line text. Lines are kept without line ends; SaveToFile writes each
// line with CR LF.
class Memo : public Control {
 public:
  Memo(std::string name, Control* parent) : Control(ControlKind::Memo, std::move(name), parent) {}
  const std::vector<std::string>& Lines() const { return lines_; }
  int Count() const { return static_cast<int>(lines_.size()); }
  void Clear();
  void Add(const std::string& line);
  // Appends text to the last line (a new line when the memo is empty).
  void AppendToLastLine(const std::string& text);
  void SetLines(std::vector<std::string> lines);
  // All lines joined with line feeds.
  std::string Text() const;
  void SaveToFile(const std::string& path) const;
  bool ReadOnly = false;

 private:
  std::vector<std::string> lines_;
};

class ProgressBar : public Control {
 public:
  ProgressBar(std::string name, Control* parent)
      : Control(ControlKind::ProgressBar, std::move(name), parent) {}
  int Position() const { return position_; }
  // Shows the new position at once, also while a long handler runs.
  void SetPosition(int position);
  int Min = 0;
  int Max = 100;

 private:
  int position_ = 0;
};

class TabSheet : public Control {
 public:
  TabSheet(std::string name, Control* parent) : Control(ControlKind::TabSheet, std::move(name), parent) {}
};

class PageControl : public Control {
 public:
  PageControl(std::string name, Control* parent)
      : Control(ControlKind::PageControl, std::move(name), parent) {}
  TabSheet* ActivePage() const { return active_; }
  void SetActivePage(TabSheet* page);
  std::vector<TabSheet*> Pages() const;

 private:
  TabSheet* active_ = nullptr;
};

// A plot image: a persistent picture shown at 1:1 pixels, with mouse events.
class Image : public Control {
 public:
  Image(std::string name, Control* parent) : Control(ControlKind::Image, std::move(name), parent) {}
  Bitmap& Picture() { return picture_; }
  const Bitmap& Picture() const { return picture_; }
  TCanvas& Canvas() { return picture_.Canvas(); }
  // Tells the back end that the picture was drawn on.
  void Invalidate() { Changed(ControlChange::Picture); }
  std::function<void(MouseButton, int x, int y)> OnMouseDown;
  std::function<void(int x, int y)> OnMouseMove;
  std::function<void(MouseButton, int x, int y)> OnMouseUp;

 private:
  Bitmap picture_;
};

// A menu item; items nest. An item can be chosen only while it and every
// parent item are enabled.
class MenuItem : public Control {
 public:
  MenuItem(std::string name, Control* parent) : Control(ControlKind::MenuItem, std::move(name), parent) {}
  Notify OnClick;
  bool Reachable() const;
  std::vector<MenuItem*> Items() const;
  // Runs OnClick, as the program does when it calls a menu handler itself.
  void Click();
};

class MainMenu : public Control {
 public:
  MainMenu(std::string name, Control* parent) : Control(ControlKind::MainMenu, std::move(name), parent) {}
  std::vector<MenuItem*> Items() const;
};
