#include "platform/form.h"

#include "platform/application.h"

Form::Form(std::string name, std::string caption, TRect bounds)
    : Control(ControlKind::Form, std::move(name), nullptr) {
  SetCaption(caption);
  SetBounds(bounds);
  // A window is hidden until it is shown.
  SetVisible(false);
}

Form::~Form() {
  // Children are owned here; destroy them in reverse order of declaration.
  while (!owned_.empty()) owned_.pop_back();
}

void Form::ShowModal() { Application::backend().ShowModal(*this); }

void Form::Show() { Application::backend().ShowModeless(*this); }

void Form::Close() { Application::backend().CloseForm(*this); }

void Form::SetShowing(bool showing, bool modal) {
  showing_ = showing;
  modal_ = showing && modal;
  SetVisible(showing);
}

Control* Form::Find(const std::string& name) const {
  for (Control* control : all_)
    if (control->Name() == name) return control;
  return nullptr;
}

template <class T>
T* Form::adopt(std::unique_ptr<T> control) {
  T* raw = control.get();
  all_.push_back(raw);
  owned_.push_back(std::move(control));
  Application::backend().ControlChanged(*this, ControlChange::Structure);
  return raw;
}

namespace {
template <class T>
std::unique_ptr<T> make(const std::string& name, Control* parent, Form* form, TRect bounds) {
  auto control = std::make_unique<T>(name, parent != nullptr ? parent : form);
  control->SetBounds(bounds);
  return control;
}
}  // namespace

Label* Form::addLabel(const std::string& name, const std::string& caption, TRect bounds,
                      Control* parent) {
  auto label = make<Label>(name, parent, this, bounds);
  label->SetCaption(caption);
  return adopt(std::move(label));
}

Edit* Form::addEdit(const std::string& name, const std::string& text, TRect bounds,
                    Control* parent) {
  auto edit = make<Edit>(name, parent, this, bounds);
  edit->SetText(text);  // no handler is bound yet, so nothing fires
  return adopt(std::move(edit));
}

Button* Form::addButton(const std::string& name, const std::string& caption, TRect bounds,
                        Control* parent) {
  auto button = make<Button>(name, parent, this, bounds);
  button->SetCaption(caption);
  return adopt(std::move(button));
}

CheckBox* Form::addCheck(const std::string& name, const std::string& caption, TRect bounds,
                         Control* parent, bool checked) {
  auto box = make<CheckBox>(name, parent, this, bounds);
  box->SetCaption(caption);
  box->SetChecked(checked);
  return adopt(std::move(box));
}

RadioButton* Form::addRadio(const std::string& name, const std::string& caption, TRect bounds,
                            Control* parent, bool checked) {
  auto radio = make<RadioButton>(name, parent, this, bounds);
  radio->SetCaption(caption);
  radio->SetChecked(checked);
  return adopt(std::move(radio));
}

GroupBox* Form::addGroup(const std::string& name, const std::string& caption, TRect bounds,
                         Control* parent) {
  auto group = make<GroupBox>(name, parent, this, bounds);
  group->SetCaption(caption);
  return adopt(std::move(group));
}

Memo* Form::addMemo(const std::string& name, TRect bounds, Control* parent) {
  return adopt(make<Memo>(name, parent, this, bounds));
}

ProgressBar* Form::addProgress(const std::string& name, TRect bounds, Control* parent) {
  return adopt(make<ProgressBar>(name, parent, this, bounds));
}

PageControl* Form::addPages(const std::string& name, TRect bounds, Control* parent) {
  return adopt(make<PageControl>(name, parent, this, bounds));
}

TabSheet* Form::addTab(PageControl* pages, const std::string& name, const std::string& caption) {
  auto sheet = std::make_unique<TabSheet>(name, pages);
  sheet->SetCaption(caption);
  TabSheet* raw = adopt(std::move(sheet));
  if (pages->ActivePage() == nullptr) pages->SetActivePage(raw);
  return raw;
}

Image* Form::addImage(const std::string& name, TRect bounds, Control* parent) {
  auto image = make<Image>(name, parent, this, bounds);
  image->Picture().SetSize(bounds.Width, bounds.Height);
  return adopt(std::move(image));
}

MainMenu* Form::addMainMenu(const std::string& name) {
  auto menu = std::make_unique<MainMenu>(name, this);
  menu_ = menu.get();
  return adopt(std::move(menu));
}

MenuItem* Form::addMenuItem(Control* parent, const std::string& name, const std::string& caption,
                            bool enabled) {
  auto item = std::make_unique<MenuItem>(name, parent);
  item->SetCaption(caption);
  item->SetEnabled(enabled);
  return adopt(std::move(item));
}

OpenDialog* Form::addOpenDialog(const std::string& name) {
  return adopt(std::make_unique<OpenDialog>(name, this));
}

SaveDialog* Form::addSaveDialog(const std::string& name) {
  return adopt(std::make_unique<SaveDialog>(name, this));
}

SelectDirectoryDialog* Form::addSelectDirectoryDialog(const std::string& name) {
  return adopt(std::make_unique<SelectDirectoryDialog>(name, this));
}
