#include "platform/dialogs.h"

#include <algorithm>

#include "platform/application.h"
#include "platform/files.h"

namespace {

std::string& rememberedFolder() {
  static std::string folder;
  return folder;
}

}  // namespace

std::string WithFilterEnding(const std::string& path, const std::string& masks) {
  const std::string name = ExtractFileName(path);
  if (name.empty() || MatchesMask(name, masks)) return path;
  std::string mask = masks.substr(0, masks.find(';'));
  mask = mask.substr(std::min(mask.find_first_not_of(' '), mask.size()));
  // Only a plain ending can be added: "*.cd.bil", not "*.*" or "data*".
  if (mask.size() < 3 || mask[0] != '*' || mask[1] != '.' ||
      mask.find_first_of("*?", 1) != std::string::npos)
    return path;
  const std::string ending = mask.substr(1);
  // "mol.cd" lacks only the ".bil" of ".cd.bil".
  for (size_t cut = ending.size() - 1; cut > 0; --cut)
    if (ending[cut] == '.' && name.size() > cut &&
        MatchesMask(name, "*" + ending.substr(0, cut)))
      return path + ending.substr(cut);
  return path + ending;
}

std::string DialogStartFolder() {
  return rememberedFolder().empty() ? GetCurrentDir() : rememberedFolder();
}

void RememberFileFolder(const std::string& path) {
  const std::string folder = ExtractFilePath(path);
  if (!folder.empty()) rememberedFolder() = folder;
}

void ForgetFileFolder() { rememberedFolder().clear(); }

bool OpenDialog::Execute() {
  Files.clear();
  if (!Application::backend().ExecuteOpen(*this)) return false;
  if (Files.empty() && !FileName.empty()) Files.push_back(FileName);
  if (!Files.empty()) FileName = Files.front();
  if (!Files.empty()) RememberFileFolder(FileName);
  return !Files.empty();
}

bool SaveDialog::Execute() {
  if (!Application::backend().ExecuteSave(*this)) return false;
  if (FilterIndex >= 1 && static_cast<size_t>(FilterIndex) <= Filters.size())
    FileName = WithFilterEnding(FileName, Filters[static_cast<size_t>(FilterIndex) - 1].Masks);
  RememberFileFolder(FileName);
  return true;
}

bool SelectDirectoryDialog::Execute() { return Application::backend().ExecuteSelectDirectory(*this); }

void ShowMessage(const std::string& text) { Application::backend().MessageBox(text); }

Answer AskYesNo(const std::string& caption, const std::string& text) {
  return Application::backend().QuestionBox(caption, text);
}
