#include "platform/testing/scripted_ui.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/shell.h"

ScriptedUi::ScriptedUi() : previous_(&Application::backend()) {
  Application::SetBackend(this);
  OpenURLHook() = [this](const std::string& url) { urls_.push_back(url); };
}

ScriptedUi::~ScriptedUi() {
  OpenURLHook() = nullptr;
  Application::SetBackend(previous_ == this ? nullptr : previous_);
  if (!answers_.empty())
    ADD_FAILURE() << answers_.size() << " prepared dialog answer(s) were never used";
}

bool ScriptedUi::usable(Control* control, const char* action) {
  if (control == nullptr) {
    ADD_FAILURE() << "cannot " << action << " a control that does not exist";
    return false;
  }
  if (!control->Usable()) {
    ADD_FAILURE() << "cannot " << action << " " << control->Name()
                  << ": it is disabled or hidden";
    return false;
  }
  return true;
}

void ScriptedUi::type(Edit* edit, const std::string& text) {
  if (!usable(edit, "type into")) return;
  Application::dispatch([&] { edit->SetText(text); });
}

void ScriptedUi::tick(CheckBox* box) {
  if (!usable(box, "tick")) return;
  Application::dispatch([&] { box->SetChecked(true); });
}

void ScriptedUi::untick(CheckBox* box) {
  if (!usable(box, "untick")) return;
  Application::dispatch([&] { box->SetChecked(false); });
}

void ScriptedUi::tick(RadioButton* radio) {
  if (!usable(radio, "tick")) return;
  Application::dispatch([&] { radio->SetChecked(true); });
}

void ScriptedUi::click(Button* button) {
  if (!usable(button, "click")) return;
  Application::dispatch([&] { button->Click(); });
}

bool ScriptedUi::closeBox(Form* form) {
  if (!form->CloseBox) return false;
  Application::dispatch([&] { form->Close(); });
  return true;
}

bool ScriptedUi::menu(MenuItem* item) {
  if (item == nullptr) {
    ADD_FAILURE() << "cannot choose a menu item that does not exist";
    return false;
  }
  if (!item->Reachable()) return false;
  Application::dispatch([&] { item->Click(); });
  return true;
}

void ScriptedUi::mouse(Image* image, Mouse action, MouseButton button, int x, int y) {
  if (!usable(image, "use the mouse on")) return;
  Application::dispatch([&] {
    switch (action) {
      case Mouse::Down:
        if (image->OnMouseDown) image->OnMouseDown(button, x, y);
        break;
      case Mouse::Move:
        if (image->OnMouseMove) image->OnMouseMove(x, y);
        break;
      case Mouse::Up:
        if (image->OnMouseUp) image->OnMouseUp(button, x, y);
        break;
    }
  });
}

void ScriptedUi::drop(Form* form, const std::vector<std::string>& paths) {
  if (form == nullptr || !form->AllowDropFiles) {
    ADD_FAILURE() << "this window accepts no dropped files";
    return;
  }
  Application::dispatch([&] {
    if (form->OnDropFiles) form->OnDropFiles(paths);
  });
}

void ScriptedUi::selectPage(PageControl* pages, TabSheet* page) {
  if (!usable(pages, "select a page of")) return;
  Application::dispatch([&] { pages->SetActivePage(page); });
}

void ScriptedUi::act(const std::function<void()>& action) { Application::dispatch(action); }

void ScriptedUi::willChooseFile(const std::string& path, int filterIndex) {
  answers_.push_back({Pending::Files, {path}, {}, filterIndex});
}

void ScriptedUi::willChooseFiles(const std::vector<std::string>& paths) {
  answers_.push_back({Pending::Files, paths, {}});
}

void ScriptedUi::willChooseFolder(const std::string& folder) {
  answers_.push_back({Pending::Folder, {folder}, {}});
}

void ScriptedUi::willCancel() { answers_.push_back({Pending::Cancel, {}, {}}); }

void ScriptedUi::willAnswer(Answer answer) { answers_.push_back({Pending::YesNo, {}, answer}); }

void ScriptedUi::onModal(Form* form, std::function<void()> action) {
  modalActions_[form] = std::move(action);
}

Box ScriptedUi::lastBox() const {
  if (boxes_.empty()) {
    ADD_FAILURE() << "no box was shown";
    return {BoxKind::Message, "", ""};
  }
  return boxes_.back();
}

std::vector<Box> ScriptedUi::errorBoxes() const {
  std::vector<Box> errors;
  std::copy_if(boxes_.begin(), boxes_.end(), std::back_inserter(errors),
               [](const Box& box) { return box.kind == BoxKind::Error; });
  return errors;
}

std::vector<Form*> ScriptedUi::modelessForms() const { return modeless_; }

void ScriptedUi::ShowModal(Form& form) {
  form.SetShowing(true, true);
  auto found = modalActions_.find(&form);
  if (found != modalActions_.end()) {
    std::function<void()> action = std::move(found->second);
    modalActions_.erase(found);
    Application::ModalScope scope;
    action();
  }
  form.SetShowing(false, false);
}

void ScriptedUi::ShowModeless(Form& form) {
  form.SetShowing(true, false);
  if (std::find(modeless_.begin(), modeless_.end(), &form) == modeless_.end())
    modeless_.push_back(&form);
}

void ScriptedUi::CloseForm(Form& form) {
  form.SetShowing(false, false);
  modeless_.erase(std::remove(modeless_.begin(), modeless_.end(), &form), modeless_.end());
}

bool ScriptedUi::takeFileAnswer(const std::string& what, std::vector<std::string>& paths,
                                int& filterIndex) {
  if (answers_.empty() ||
      (answers_.front().kind != Pending::Files && answers_.front().kind != Pending::Cancel)) {
    ADD_FAILURE() << "the program showed " << what << " that the test did not prepare an answer for";
    return false;
  }
  Pending answer = answers_.front();
  answers_.pop_front();
  if (answer.kind == Pending::Cancel) return false;
  paths = answer.paths;
  if (answer.filterIndex > 0) filterIndex = answer.filterIndex;
  return true;
}

namespace {
std::string startFolder(const std::string& initialDir) {
  return initialDir.empty() ? DialogStartFolder() : initialDir;
}
}  // namespace

bool ScriptedUi::ExecuteOpen(OpenDialog& dialog) {
  dialogs_.push_back({ControlKind::OpenDialog, dialog.Name(), dialog.Title, dialog.Filters,
                      dialog.FilterIndex, dialog.FileName, "", dialog.MultiSelect,
                      startFolder(dialog.InitialDir)});
  std::vector<std::string> paths;
  if (!takeFileAnswer("the open dialog " + dialog.Name() + " \"" + dialog.Title + "\"", paths,
                      dialog.FilterIndex))
    return false;
  if (!dialog.MultiSelect && paths.size() > 1) paths.resize(1);
  dialog.Files = paths;
  dialog.FileName = paths.empty() ? "" : paths.front();
  return !paths.empty();
}

bool ScriptedUi::ExecuteSave(SaveDialog& dialog) {
  dialogs_.push_back({ControlKind::SaveDialog, dialog.Name(), dialog.Title, dialog.Filters,
                      dialog.FilterIndex, dialog.FileName, dialog.DefaultExt, false,
                      startFolder(dialog.InitialDir)});
  std::vector<std::string> paths;
  if (!takeFileAnswer("the save dialog " + dialog.Name() + " \"" + dialog.Title + "\"", paths,
                      dialog.FilterIndex))
    return false;
  dialog.FileName = paths.empty() ? "" : paths.front();
  return true;
}

bool ScriptedUi::ExecuteSelectDirectory(SelectDirectoryDialog& dialog) {
  dialogs_.push_back({ControlKind::SelectDirectoryDialog, dialog.Name(), dialog.Title, {}, 0,
                      dialog.InitialDir, "", false, dialog.InitialDir});
  if (answers_.empty() ||
      (answers_.front().kind != Pending::Folder && answers_.front().kind != Pending::Cancel)) {
    ADD_FAILURE() << "the program showed the folder picker " << dialog.Name()
                  << " that the test did not prepare an answer for";
    return false;
  }
  Pending answer = answers_.front();
  answers_.pop_front();
  if (answer.kind == Pending::Cancel) return false;
  dialog.FileName = answer.paths.front();
  return true;
}

void ScriptedUi::MessageBox(const std::string& text) {
  boxes_.push_back({BoxKind::Message, "", text});
}

Answer ScriptedUi::QuestionBox(const std::string& caption, const std::string& text) {
  boxes_.push_back({BoxKind::Question, caption, text});
  if (answers_.empty() || answers_.front().kind != Pending::YesNo) {
    ADD_FAILURE() << "the program asked \"" << text
                  << "\" and the test did not prepare a Yes/No answer";
    return Answer::No;
  }
  Answer answer = answers_.front().answer;
  answers_.pop_front();
  return answer;
}

void ScriptedUi::ErrorBox(const std::string& className, const std::string& message) {
  boxes_.push_back({BoxKind::Error, className, message});
}

void ScriptedUi::Run(Form&) {}
