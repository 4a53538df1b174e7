// The controls the two extraction windows share: the folder field with its
// "Select Dir" button, and Start over the walk mode box.
#pragma once

#include <functional>
#include <string>

class CheckBox;
class Edit;
class Memo;
class SelectDirectoryDialog;
struct WalkFile;

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

// Reads one file of a walk: an entry that is no regular file and a file that
// is no text get their log lines, and a
// file or number error in `reading` gets the file-error line; either way the
// walk goes on with the next file. `scratch` (the window's hidden memo) is
// cleared first.
void ReadGuarded(Memo& log, Memo& scratch, const WalkFile& file, const std::function<void()>& reading);

// The folder a walk writes its results into, made when it is missing.
void EnsureResultFolder(const std::string& folder);
