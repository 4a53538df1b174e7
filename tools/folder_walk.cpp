#include "tools/folder_walk.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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

template <class ListNames>
std::vector<WalkFile> walk(const std::string& folder, bool subfolders, ListNames listNames) {
  std::vector<WalkFile> files;
  for (const std::string& subfolder : visitedFolders(folder, subfolders))
    for (std::string& name : listNames(JoinFolder(folder, subfolder)))
      files.push_back({folder, subfolder, std::move(name)});
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
  return walk(folder, subfolders, OutputFileNames);
}

std::vector<WalkFile> WalkMatchingFiles(const std::string& folder, bool subfolders,
                                        const std::string& masks) {
  return walk(folder, subfolders,
              [&masks](const std::string& visited) { return ListFileNames(visited, masks); });
}

bool IsTextFile(const std::string& path) {
  const std::string native = NativePath(path);
  const int descriptor = open(native.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) throw EInOutError(InOutErrorText(errno, native));
  std::vector<char> head(TextTestLength);
  size_t filled = 0;
  while (filled < head.size()) {
    const ssize_t got = read(descriptor, head.data() + filled, head.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int error = errno;
      close(descriptor);
      throw EInOutError(InOutErrorText(error, native));
    }
    if (got == 0) break;
    filled += static_cast<size_t>(got);
  }
  close(descriptor);
  return std::find(head.begin(), head.begin() + static_cast<long>(filled), '\0') ==
         head.begin() + static_cast<long>(filled);
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

std::string NotRecognisedLine(const std::string& shownName) {
  return shownName + " was not recognised";
}

std::string AlreadyWrittenLine(const std::string& shownName, const std::string& fileName) {
  return shownName + ": " + fileName + " was already written in this run; not overwritten";
}
