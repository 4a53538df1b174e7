// The one way the main window saves a file: the save dialog preset from a
// name, the question before an existing file is replaced, the lines of the
// hidden line buffer written in one call, and the closing message.
//
// A writer presets the dialog, fills the buffer, then hands both over:
//   PresetSaveDialog(*SaveDialog1, Caption());
//   Memo2->Clear(); ... Memo2->Add(line) ...
//   SaveThroughDialog(*SaveDialog1, *Memo2, {FileNotSavedText});
#pragma once

#include <functional>
#include <string>

class Memo;
class SaveDialog;

extern const char* const FileSavedText;           // "File saved!"
extern const char* const FileNotSavedText;        // "File not saved!"
extern const char* const FileNotSavedPlainText;   // "File not saved", without the mark

// The preset name of a save dialog: the source without its folder, less its
// last four characters ("C:\data\mol7.cd.bil" gives "mol7.cd"; a name of
// four characters or fewer gives "").
std::string SavePresetName(const std::string& nameSource);
void PresetSaveDialog(SaveDialog& dialog, const std::string& nameSource);

// The question before an existing file is replaced: Overwrite File "name"?
std::string OverwriteFileQuestion(const std::string& fileName);

struct SaveWording {
  // Shown when the dialog is cancelled.
  std::string cancelMessage;
  // The question's text for the chosen file's name without folder.
  std::function<std::string(const std::string&)> overwriteQuestion = OverwriteFileQuestion;
};

// Shows the dialog; on cancel shows the cancel message. An existing file is
// replaced only after Yes to the overwrite question (caption " "); No shows
// "File not saved!". Then writes every line of `lines` with CR LF to the
// chosen path, unchanged, and shows "File saved!". A file that cannot be
// written raises EInOutError before the message. True when the file was
// written.
bool SaveThroughDialog(SaveDialog& dialog, const Memo& lines, const SaveWording& wording);

// ---- The gnuplot exporters --------------------------------------------------

// Their dialog's preset name: the caption without its folder, less its last
// four characters; a name of three characters or fewer stays whole.
std::string ScriptPresetName(const std::string& caption);

// Their question before an existing script is replaced:
// Datei "name" Overwrite File?
std::string ScriptOverwriteQuestion(const std::string& fileName);

// What differs between the exporters: the plots of the tab pages say nothing
// on cancel and "File not saved!" then "File not saved" on refusal; the HPLC
// plots "File not saved" on cancel and "File not saved!" alone on refusal.
struct ScriptSaveWording {
  std::string cancelMessage;  // "" for no box
  bool plainNoticeAfterRefusal = true;
};

// The one box for a script name that holds a line break or another control
// character: no gnuplot string can name such a file.
extern const char* const ScriptNameRefusedText;

// Presets and shows the dialog and asks before an existing script is
// replaced. A chosen name without the ending ".plt" gets it, so the picture
// named after the script never replaces the script itself; a name with a
// control character is refused with ScriptNameRefusedText before the
// question. Returns the path to write, or "" when nothing is to be written
// (the messages shown).
std::string ChooseScriptFile(SaveDialog& dialog, const std::string& caption,
                             const ScriptSaveWording& wording);
