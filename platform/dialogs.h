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
  // Kept as a property only: the ending added is that of the chosen filter.
  std::string DefaultExt;
  std::string FileName;  // preset before Execute, the chosen path after it
  // A chosen name that lacks the ending of the chosen filter's mask gets it
  // (WithFilterEnding), so that the program can open the file again.
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

// The chosen path with the ending of the filter's masks ("*.cd.bil" gives
// ".cd.bil") when its name matches none of them; with a mask of all files,
// or one that is no plain ending, the path stays as typed. A name that ends
// with the first part of the ending is completed ("mol.cd" gives
// "mol.cd.bil"), as the save flow presets names without their last four
// characters.
std::string WithFilterEnding(const std::string& path, const std::string& masks);

// The folder where a file dialog without an InitialDir starts: that of the
// file last chosen in a file dialog or opened by other means (a dropped
// file), as a desktop's current folder follows the files a person opens;
// the program's current folder before any.
std::string DialogStartFolder();
// Makes the folder of `path` the one where the next file dialogs start.
void RememberFileFolder(const std::string& path);
// Back to the program's current folder, as at the start of a run.
void ForgetFileFolder();

enum class Answer { Yes, No };

// A plain message box with an OK button.
void ShowMessage(const std::string& text);
// A question box with Yes and No buttons.
Answer AskYesNo(const std::string& caption, const std::string& text);
