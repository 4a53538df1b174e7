#include "tools/folder_walk.h"

#include <algorithm>
#include <vector>

#include "platform/application.h"
#include "platform/controls.h"
#include "platform/errors.h"
#include "platform/files.h"

namespace {

bool endsWithSeparator(const std::string& text) {
  return !text.empty() && (text.back() == '/' || text.back() == '\\');
}

std::vector<std::string> visitedFolders(const std::string& folder, bool subfolders) {
  if (!subfolders) return {""};
  return WalkSubfolders(folder);
}

// Each visited folder's files, then the entries of that folder that are no
// regular files but carry one of `otherMasks`, so the log can say why they
// are not read.
template <class ListNames>
std::vector<WalkFile> walk(const std::string& folder, bool subfolders, ListNames listNames,
                           const std::string& otherMasks) {
  std::vector<WalkFile> files;
  for (const std::string& subfolder : visitedFolders(folder, subfolders)) {
    const std::string visited = JoinFolder(folder, subfolder);
    for (std::string& name : listNames(visited)) files.push_back({folder, subfolder, std::move(name)});
    for (std::string& name : ListOtherEntryNames(visited, otherMasks))
      files.push_back({folder, subfolder, std::move(name), /*regular*/ false});
  }
  return files;
}

}  // namespace

std::string WalkFolder(const std::string& field) {
  const std::string folder = field.empty() ? GetCurrentDir() : field;
  return endsWithSeparator(folder) ? folder : folder + "/";
}

std::string LessLast(const std::string& text, size_t count) {
  return text.size() > count ? text.substr(0, text.size() - count) : std::string();
}

std::string JoinFolder(const std::string& folder, const std::string& name) {
  if (folder.empty() || endsWithSeparator(folder)) return folder + name;
  return folder + "/" + name;
}

std::vector<std::string> WalkSubfolders(const std::string& folder) {
  std::vector<std::string> names = ListFolderNames(folder);
  std::erase_if(names, [](const std::string& name) { return name.starts_with('.'); });
  return names;
}

std::vector<std::string> OutputFileNames(const std::string& folder) {
  std::vector<std::string> names = ListFileNames(folder, "*.log");
  if (names.empty()) names = ListFileNames(folder, "*.out");
  return names;
}

std::string WalkFile::path() const { return JoinFolder(JoinFolder(folder, subfolder), name); }

std::string WalkFile::shownName() const {
  return subfolder.empty() ? name : subfolder + "/" + name;
}

std::string WalkFile::slashedName() const { return subfolder + "/" + name; }

std::string WalkFile::stem() const {
  const std::string withoutEnding = LessLast(name, 3);
  return subfolder.empty() ? withoutEnding : subfolder + "_" + withoutEnding;
}

std::vector<WalkFile> WalkOutputFiles(const std::string& folder, bool subfolders) {
  return walk(folder, subfolders, OutputFileNames, OutputFileMasks);
}

std::vector<WalkFile> WalkMatchingFiles(const std::string& folder, bool subfolders,
                                        const std::string& masks) {
  return walk(
      folder, subfolders, [&masks](const std::string& visited) { return ListFileNames(visited, masks); },
      masks);
}

bool IsTextFile(const std::string& path) {
  return ReadFileHead(path, TextTestLength).find('\0') == std::string::npos;
}

void AddLogLine(Memo& log, const std::string& line) {
  log.Add(line);
  Application::backend().ProcessPaint();
}

std::string FileHandlingErrorLine(const Exception& error, const std::string& shownName) {
  return std::string("File handling error occurred. Details: ") + error.ClassName() + "/" +
         error.Message() + " in " + shownName;
}

std::string NotATextFileLine(const std::string& shownName) {
  return shownName + " is not a text file";
}

std::string NotARegularFileLine(const std::string& shownName) {
  return shownName + " is not a regular file";
}

std::string NothingToReadLine(const std::string& folder, bool subfolders, const std::string& masks) {
  if (!DirectoryExists(folder)) return "Folder not found: " + folder;
  if (!subfolders) {
    const std::string line = "No output file found in " + folder;
    if (WalkMatchingFiles(folder, true, masks).empty()) return line;
    return line + "; its subfolders hold output files, which \"search in subfolder(s) only\" reads";
  }
  const std::string line = "No output file found in the subfolders of " + folder;
  if (WalkMatchingFiles(folder, false, masks).empty()) return line;
  return line + "; the folder itself holds output files, which are read with \"search in "
                "subfolder(s) only\" unticked";
}

std::string NotRecognisedLine(const std::string& shownName) {
  return shownName + " was not recognised";
}

std::string AlreadyWrittenLine(const std::string& shownName, const std::string& fileName) {
  return shownName + ": " + fileName + " was already written in this run; not overwritten";
}
