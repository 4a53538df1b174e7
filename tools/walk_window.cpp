#include "tools/walk_window.h"

#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "tools/folder_walk.h"

void SelectWalkFolder(Edit& folderField, SelectDirectoryDialog& dialog) {
  if (folderField.Text().empty()) folderField.SetText(GetCurrentDir());
  if (!dialog.Execute()) return;
  const std::string chosen = dialog.FileName;
  ForceDirectories(chosen);
  folderField.SetText(chosen);
}

void StartWalk(Memo& log, Edit& folderField, const CheckBox& subfolderMode,
               const std::function<void(const std::string&)>& scanSubDirs,
               const std::function<void(const std::string&)>& scanDir) {
  log.Clear();
  folderField.SetText(WalkFolder(folderField.Text()));
  if (subfolderMode.Checked())
    scanSubDirs(folderField.Text());
  else
    scanDir(folderField.Text());
}

void ReadGuarded(Memo& log, Memo& scratch, const WalkFile& file, const std::function<void()>& reading) {
  scratch.Clear();
  if (!file.regular) {
    AddLogLine(log, NotARegularFileLine(file.shownName()));
    return;
  }
  try {
    if (!IsTextFile(file.path())) {
      AddLogLine(log, NotATextFileLine(file.shownName()));
      return;
    }
    reading();
  } catch (const EInOutError& error) {
    AddLogLine(log, FileHandlingErrorLine(error, file.shownName()));
  } catch (const EConvertError& error) {
    AddLogLine(log, FileHandlingErrorLine(error, file.shownName()));
  }
}

void EnsureResultFolder(const std::string& folder) {
  if (!DirectoryExists(folder) && !CreateDir(folder)) throw EInOutError("Unable to create folder " + folder);
}
