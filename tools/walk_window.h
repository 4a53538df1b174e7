// The controls the two extraction windows share: the folder field with its
// "Select Dir" button, and Start over the walk mode box.
#pragma once

#include <functional>
#include <string>

class CheckBox;
class Edit;
class Memo;
class SelectDirectoryDialog;

// "Select Dir": an empty field is filled with the current folder first; the
// chosen folder is made (with its parents) when it does not exist, and goes
// into the field. A cancelled dialog leaves the field as it was.
void SelectWalkFolder(Edit& folderField, SelectDirectoryDialog& dialog);

// Start: the log is cleared, the field ends with a separator (an empty field
// becomes the current folder), then the walk of the mode the box ticks runs
// over it.
void StartWalk(Memo& log, Edit& folderField, const CheckBox& subfolderMode,
               const std::function<void(const std::string&)>& scanSubDirs,
               const std::function<void(const std::string&)>& scanDir);
