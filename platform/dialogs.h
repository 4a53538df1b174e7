// File dialogs, the folder picker and message boxes. The dialogs are
// components of a form (they have a name) and keep their settings between
// uses; Execute asks the running back end and returns false on cancel.
#pragma once

#include <string>
#include <vector>

#include "platform/controls.h"

struct FileFilter {
  std::string Caption;  // "Bil-files(*.bil)"
  std::string Masks;    // "*.bil;*.out"
};

class OpenDialog : public Control {
 public:
  OpenDialog(std::string name, Control* parent)
      : Control(ControlKind::OpenDialog, std::move(name), parent) {}
  std::string Title;
  std::vector<FileFilter> Filters;
  int FilterIndex = 1;  // 1-based, as the filter list is numbered for people
  std::string InitialDir;
  bool MultiSelect = false;
  // The chosen file (the first one with multi-selection) and all chosen files.
  std::string FileName;
  std::vector<std::string> Files;
  bool Execute();
};

class SaveDialog : public Control {
 public:
  SaveDialog(std::string name, Control* parent)
      : Control(ControlKind::SaveDialog, std::move(name), parent) {}
  std::string Title;
  std::vector<FileFilter> Filters;
  int FilterIndex = 1;
  std::string InitialDir;
  // Kept as a property only: the chosen path is returned as the person typed it.
  std::string DefaultExt;
  std::string FileName;  // preset before Execute, the chosen path after it
  bool Execute();
};

class SelectDirectoryDialog : public Control {
 public:
  SelectDirectoryDialog(std::string name, Control* parent)
      : Control(ControlKind::SelectDirectoryDialog, std::move(name), parent) {}
  std::string Title;
  std::string InitialDir;
  std::string FileName;  // the chosen folder
  bool Execute();
};

enum class Answer { Yes, No };

// A plain message box with an OK button.
void ShowMessage(const std::string& text);
// A question box with Yes and No buttons.
Answer AskYesNo(const std::string& caption, const std::string& text);
