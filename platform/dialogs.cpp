#include "platform/dialogs.h"

#include "platform/application.h"

bool OpenDialog::Execute() {
  Files.clear();
  if (!Application::backend().ExecuteOpen(*this)) return false;
  if (Files.empty() && !FileName.empty()) Files.push_back(FileName);
  if (!Files.empty()) FileName = Files.front();
  return !Files.empty();
}

bool SaveDialog::Execute() { return Application::backend().ExecuteSave(*this); }

bool SelectDirectoryDialog::Execute() { return Application::backend().ExecuteSelectDirectory(*this); }

void ShowMessage(const std::string& text) { Application::backend().MessageBox(text); }

Answer AskYesNo(const std::string& caption, const std::string& text) {
  return Application::backend().QuestionBox(caption, text);
}
