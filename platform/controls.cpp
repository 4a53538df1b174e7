#include "platform/controls.h"

#include <algorithm>

#include "platform/application.h"
#include "platform/files.h"
#include "platform/form.h"

Control::Control(ControlKind kind, std::string name, Control* parent)
    : kind_(kind), name_(std::move(name)), parent_(parent) {
  if (parent_ != nullptr) parent_->children_.push_back(this);
}

Control::~Control() = default;

Form* Control::OwnerForm() const {
  const Control* control = this;
  while (control->parent_ != nullptr) control = control->parent_;
  return control->kind_ == ControlKind::Form ? static_cast<Form*>(const_cast<Control*>(control))
                                             : nullptr;
}

void Control::SetCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  Changed(ControlChange::Caption);
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Changed(ControlChange::Enabled);
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Changed(ControlChange::Visible);
}

bool Control::Usable() const {
  for (const Control* control = this; control != nullptr; control = control->parent_) {
    if (control->kind_ == ControlKind::Form) break;
    // A hidden tab sheet is only a page not shown; its controls stay usable.
    if (!control->enabled_) return false;
    if (!control->visible_ && control->kind_ != ControlKind::TabSheet) return false;
  }
  return true;
}

void Control::SetBounds(const TRect& bounds) {
  bounds_ = bounds;
  Changed(ControlChange::Bounds);
}

void Control::Changed(ControlChange what) { Application::backend().ControlChanged(*this, what); }

void Button::Click() {
  if (OnClick) OnClick();
}

void Edit::SetText(const std::string& text) {
  if (text_ == text) return;
  text_ = text;
  Changed(ControlChange::Value);
  if (OnChange) OnChange();
}

void Edit::SetTexts(std::initializer_list<Edit*> edits, const std::string& text) {
  std::vector<Edit*> changed;
  for (Edit* edit : edits) {
    if (edit->text_ == text) continue;
    edit->text_ = text;
    edit->Changed(ControlChange::Value);
    changed.push_back(edit);
  }
  for (Edit* edit : changed)
    if (edit->OnChange) edit->OnChange();
}

void CheckBox::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Changed(ControlChange::Value);
  if (OnChange) OnChange();
  if (OnClick) OnClick();
}

std::vector<RadioButton*> RadioButton::Siblings() const {
  std::vector<RadioButton*> siblings;
  if (Parent() == nullptr) return siblings;
  for (Control* child : Parent()->Children()) {
    if (child != this && child->Kind() == ControlKind::RadioButton)
      siblings.push_back(static_cast<RadioButton*>(child));
  }
  return siblings;
}

void RadioButton::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Changed(ControlChange::Value);
  if (checked) {
    for (RadioButton* sibling : Siblings()) sibling->SetChecked(false);
  }
  if (OnChange) OnChange();
  if (checked && OnClick) OnClick();
}

void Memo::Clear() {
  if (lines_.empty()) return;
  lines_.clear();
  Changed(ControlChange::Value);
}

void Memo::Add(const std::string& line) {
  lines_.push_back(line);
  Changed(ControlChange::Value);
}

void Memo::AppendToLastLine(const std::string& text) {
  if (lines_.empty())
    lines_.push_back(text);
  else
    lines_.back() += text;
  Changed(ControlChange::Value);
}

void Memo::SetLines(std::vector<std::string> lines) {
  lines_ = std::move(lines);
  Changed(ControlChange::Value);
}

std::string Memo::Text() const {
  std::string text;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines_[i];
  }
  return text;
}

void Memo::SaveToFile(const std::string& path) const { WriteLinesCRLF(path, lines_); }

void ProgressBar::SetPosition(int position) {
  position = std::clamp(position, Min, Max);
  if (position_ == position) return;
  position_ = position;
  Changed(ControlChange::Value);
  Application::backend().ProcessPaint();
}

void PageControl::SetActivePage(TabSheet* page) {
  if (active_ == page) return;
  active_ = page;
  Changed(ControlChange::Value);
}

std::vector<TabSheet*> PageControl::Pages() const {
  std::vector<TabSheet*> pages;
  for (Control* child : Children())
    if (child->Kind() == ControlKind::TabSheet) pages.push_back(static_cast<TabSheet*>(child));
  return pages;
}

bool MenuItem::Reachable() const {
  for (const Control* control = this; control != nullptr && control->Kind() == ControlKind::MenuItem;
       control = control->Parent()) {
    if (!control->Enabled() || !control->Visible()) return false;
  }
  return true;
}

static std::vector<MenuItem*> menuItemsOf(const Control& control) {
  std::vector<MenuItem*> items;
  for (Control* child : control.Children())
    if (child->Kind() == ControlKind::MenuItem) items.push_back(static_cast<MenuItem*>(child));
  return items;
}

std::vector<MenuItem*> MenuItem::Items() const { return menuItemsOf(*this); }

void MenuItem::Click() {
  if (OnClick) OnClick();
}

std::vector<MenuItem*> MainMenu::Items() const { return menuItemsOf(*this); }
