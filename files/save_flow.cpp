#include "files/save_flow.h"

#include <algorithm>

#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/files.h"

const char* const FileSavedText = "File saved!";
const char* const FileNotSavedText = "File not saved!";
const char* const FileNotSavedPlainText = "File not saved";
const char* const ScriptNameRefusedText =
    "Script names cannot hold line breaks or other control characters, please choose another name";

namespace {
// The overwrite question has a caption of one blank.
const char* const overwriteCaption = " ";
}  // namespace

std::string SavePresetName(const std::string& nameSource) {
  const std::string name = ExtractFileName(nameSource);
  return name.size() > 4 ? name.substr(0, name.size() - 4) : std::string();
}

void PresetSaveDialog(SaveDialog& dialog, const std::string& nameSource) {
  dialog.FileName = SavePresetName(nameSource);
  // The dialog keeps the filter of its last use; "all files" would save the
  // suggested name without its kind's ending.
  dialog.FilterIndex = 1;
}

std::string OverwriteFileQuestion(const std::string& fileName) {
  return "Overwrite File \"" + fileName + "\"?";
}

bool SaveThroughDialog(SaveDialog& dialog, const Memo& lines, const SaveWording& wording) {
  if (!dialog.Execute()) {
    ShowMessage(wording.cancelMessage);
    return false;
  }
  // The path as the dialog returns it, with the ending of the chosen filter.
  const std::string path = dialog.FileName;
  if (FileExists(path) &&
      AskYesNo(overwriteCaption, wording.overwriteQuestion(ExtractFileName(path))) == Answer::No) {
    ShowMessage(FileNotSavedText);
    return false;
  }
  lines.SaveToFile(path);
  ShowMessage(FileSavedText);
  return true;
}

std::string ScriptPresetName(const std::string& caption) {
  const std::string name = ExtractFileName(caption);
  return name.size() <= 3 ? name : name.substr(0, name.size() - 4);
}

std::string ScriptOverwriteQuestion(const std::string& fileName) {
  return "Datei \"" + fileName + "\" Overwrite File?";
}

std::string ChooseScriptFile(SaveDialog& dialog, const std::string& caption,
                             const ScriptSaveWording& wording) {
  dialog.FileName = ScriptPresetName(caption);
  dialog.FilterIndex = 1;  // as every save dialog: its own kind's filter first
  if (!dialog.Execute()) {
    if (!wording.cancelMessage.empty()) ShowMessage(wording.cancelMessage);
    return std::string();
  }
  std::string path = dialog.FileName;
  if (LastCharacters(path, 4) != ".plt") path += ".plt";
  const std::string name = ExtractFileName(path);
  if (std::any_of(name.begin(), name.end(), [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return code < 32 || code == 127;
      })) {
    ShowMessage(ScriptNameRefusedText);
    return std::string();
  }
  if (FileExists(path) &&
      AskYesNo(overwriteCaption, ScriptOverwriteQuestion(ExtractFileName(path))) == Answer::No) {
    ShowMessage(FileNotSavedText);
    if (wording.plainNoticeAfterRefusal) ShowMessage(FileNotSavedPlainText);
    return std::string();
  }
  return path;
}
