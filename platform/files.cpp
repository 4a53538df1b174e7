#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <set>
#include <system_error>
#include <utility>

#include "platform/errors.h"

namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Glob match of one mask against a name: '*' any run, '?' one character.
bool matchesOneMask(std::string_view name, std::string_view mask) {
  size_t n = 0, m = 0;
  size_t starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() && (mask[m] == '?' || lowerAscii(mask[m]) == lowerAscii(name[n]))) {
      ++m;
      ++n;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

std::string withTrailingSeparator(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

struct FolderEntries {
  std::vector<std::string> files;    // regular files and links to them
  std::vector<std::string> folders;  // folders and links to them
  std::vector<std::string> others;   // pipes, sockets, devices, broken links
};

// The entries of one folder, each list sorted by name.
FolderEntries readFolder(const std::string& nativeFolder) {
  FolderEntries entries;
  DIR* folder = opendir(nativeFolder.empty() ? "." : nativeFolder.c_str());
  if (folder == nullptr) return entries;
  const std::string prefix = withTrailingSeparator(nativeFolder);
  while (const dirent* entry = readdir(folder)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    bool isFolder = entry->d_type == DT_DIR;
    bool isFile = entry->d_type == DT_REG;
    if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
      // Follows links, so a link to a folder walks like the folder and a
      // link to a file reads like the file.
      struct stat status {};
      const bool found = stat((prefix + name).c_str(), &status) == 0;
      isFolder = found && S_ISDIR(status.st_mode);
      isFile = found && S_ISREG(status.st_mode);
    }
    // A pipe would block the first read until someone writes into it.
    (isFolder ? entries.folders : isFile ? entries.files : entries.others).push_back(name);
  }
  closedir(folder);
  for (std::vector<std::string>* list : {&entries.files, &entries.folders, &entries.others})
    std::sort(list->begin(), list->end());
  return entries;
}

void walkFolder(const std::string& nativeFolder, const std::string& masks, bool subfolders,
                std::set<std::pair<dev_t, ino_t>>& visited, std::vector<std::string>& found) {
  struct stat status {};
  if (stat(nativeFolder.empty() ? "." : nativeFolder.c_str(), &status) != 0) return;
  // A link back to a folder above would otherwise walk forever.
  if (!visited.insert({status.st_dev, status.st_ino}).second) return;
  const FolderEntries entries = readFolder(nativeFolder);
  const std::string prefix = withTrailingSeparator(nativeFolder);
  for (const std::string& name : entries.files)
    if (MatchesMask(name, masks)) found.push_back(prefix + name);
  if (!subfolders) return;
  for (const std::string& name : entries.folders)
    walkFolder(prefix + name, masks, subfolders, visited, found);
}

[[noreturn]] void raiseInOutError(int error, const std::string& nativePath) {
  throw EInOutError(InOutErrorText(error, nativePath));
}

// A folder is refused as Windows refuses it; a pipe, socket or device as
// what it is.
[[noreturn]] void raiseNotRegular(mode_t mode, const std::string& nativePath) {
  if (S_ISDIR(mode)) raiseInOutError(EISDIR, nativePath);
  throw EInOutError(NotARegularFileText(nativePath));
}

// Opens a file a person named for reading. What is not a regular file is
// refused before any read, and the open itself never waits: without
// O_NONBLOCK opening a pipe waits for a writer.
int openRegularFile(const std::string& nativePath) {
  struct stat status {};
  if (stat(nativePath.c_str(), &status) != 0) raiseInOutError(errno, nativePath);
  if (!S_ISREG(status.st_mode)) raiseNotRegular(status.st_mode, nativePath);
  const int descriptor = open(nativePath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) raiseInOutError(errno, nativePath);
  // It may have been swapped for another kind of file since the test.
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    const int error = errno;
    close(descriptor);
    if (S_ISREG(status.st_mode)) raiseInOutError(error, nativePath);
    raiseNotRegular(status.st_mode, nativePath);
  }
  fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  return descriptor;
}

}  // namespace

std::string NativePath(const std::string& path) {
#ifdef _WIN32
  return path;
#else
  std::string native = path;
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
#endif
}

std::string ExtractFileName(const std::string& path) {
  const size_t last = path.find_last_of("\\/");
  return last == std::string::npos ? path : path.substr(last + 1);
}

std::string ExtractFilePath(const std::string& path) {
  const size_t last = path.find_last_of("\\/");
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string ExecutableFolder() {
  std::vector<char> buffer(4096);
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return withTrailingSeparator(GetCurrentDir());
    if (static_cast<size_t>(length) < buffer.size())
      return ExtractFilePath(std::string(buffer.data(), static_cast<size_t>(length)));
    buffer.resize(buffer.size() * 2);
  }
}

std::string GetCurrentDir() {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return std::string();
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

bool SetCurrentDir(const std::string& path) {
  return !path.empty() && chdir(NativePath(path).c_str()) == 0;
}

bool FileExists(const std::string& path) {
  struct stat status {};
  return !path.empty() && stat(NativePath(path).c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat status {};
  return !path.empty() && stat(NativePath(path).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool CreateDir(const std::string& path) {
  return !path.empty() && mkdir(NativePath(path).c_str(), 0777) == 0;
}

bool ForceDirectories(const std::string& path) {
  std::string native = NativePath(path);
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  if (native.empty()) return false;
  if (DirectoryExists(native)) return true;
  const std::string parent = ExtractFilePath(native);
  if (!parent.empty() && parent != native && !ForceDirectories(parent)) return false;
  mkdir(native.c_str(), 0777);
  // Another process may have made it meanwhile; what counts is that it exists.
  return DirectoryExists(native);
}

bool MatchesMask(const std::string& name, const std::string& masks) {
  size_t start = 0;
  while (start <= masks.size()) {
    size_t end = masks.find(';', start);
    if (end == std::string::npos) end = masks.size();
    std::string_view mask(masks.data() + start, end - start);
    while (!mask.empty() && static_cast<unsigned char>(mask.front()) <= 32) mask.remove_prefix(1);
    while (!mask.empty() && static_cast<unsigned char>(mask.back()) <= 32) mask.remove_suffix(1);
    if (!mask.empty() && (mask == "*.*" || matchesOneMask(name, mask))) return true;
    start = end + 1;
  }
  return false;
}

std::vector<std::string> FindFiles(const std::string& folder, const std::string& masks,
                                   bool subfolders) {
  std::vector<std::string> found;
  std::set<std::pair<dev_t, ino_t>> visited;
  walkFolder(NativePath(folder), masks, subfolders, visited, found);
  return found;
}

std::vector<std::string> ListFileNames(const std::string& folder, const std::string& masks) {
  std::vector<std::string> names;
  for (std::string& name : readFolder(NativePath(folder)).files)
    if (MatchesMask(name, masks)) names.push_back(std::move(name));
  return names;
}

std::vector<std::string> ListFolderNames(const std::string& folder) {
  return readFolder(NativePath(folder)).folders;
}

std::vector<std::string> ListOtherEntryNames(const std::string& folder, const std::string& masks) {
  std::vector<std::string> names;
  for (std::string& name : readFolder(NativePath(folder)).others)
    if (MatchesMask(name, masks)) names.push_back(std::move(name));
  return names;
}

namespace {

std::string inOutCause(int error, const std::string& path) {
  switch (error) {
    case ENOENT: {
      const std::string parent = ExtractFilePath(NativePath(path));
      return (parent.empty() || DirectoryExists(parent)) ? "File not found" : "Path not found";
    }
    case ENOTDIR:
      return "Path not found";
    case EACCES:
    case EPERM:
    case EISDIR:
      return "Access denied";
    default:
      return std::generic_category().message(error);
  }
}

}  // namespace

std::string InOutErrorText(int error, const std::string& path) {
  return inOutCause(error, path) + " (" + path + ")";
}

std::string NotARegularFileText(const std::string& path) {
  return "Not a regular file (" + path + ")";
}

std::string ReadFileHead(const std::string& path, size_t length) {
  const std::string native = NativePath(path);
  const int descriptor = openRegularFile(native);
  std::string head(length, '\0');
  size_t filled = 0;
  while (filled < length) {
    const ssize_t got = read(descriptor, head.data() + filled, length - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int error = errno;
      close(descriptor);
      raiseInOutError(error, native);
    }
    if (got == 0) break;
    filled += static_cast<size_t>(got);
  }
  close(descriptor);
  head.resize(filled);
  return head;
}

// ---- TextFileLines ----------------------------------------------------

TextFileLines::TextFileLines(const std::string& path) : path_(NativePath(path)) {
  descriptor_ = openRegularFile(path_);
  struct stat status {};
  if (fstat(descriptor_, &status) != 0) {
    const int error = errno;
    close(descriptor_);
    raiseInOutError(error, path_);
  }
  // A small file needs no megabyte; the buffer grows when the file does.
  size_t size = BufferSize;
  if (static_cast<unsigned long long>(status.st_size) < BufferSize)
    size = std::max<size_t>(static_cast<size_t>(status.st_size) + 1, 4096);
  buffer_.resize(size);
}

TextFileLines::TextFileLines(TextInMemory source) : path_(std::move(source.path)) {
  buffer_.assign(source.text.begin(), source.text.end());
  end_ = buffer_.size();
  fileDone_ = true;
  inMemory_ = true;
}

void TextFileLines::rewind() {
  lineNumber_ = 0;
  begin_ = 0;
  if (inMemory_) return;  // the whole text stays in the buffer
  end_ = 0;
  fileDone_ = false;
  if (descriptor_ >= 0 && lseek(descriptor_, 0, SEEK_SET) == 0) return;
  if (descriptor_ >= 0) close(descriptor_);
  descriptor_ = -1;  // closed: a failed open below must not close it again
  descriptor_ = openRegularFile(path_);
}

TextFileLines::~TextFileLines() {
  if (descriptor_ >= 0) close(descriptor_);
}

bool TextFileLines::fill() {
  if (fileDone_) return false;
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ == buffer_.size()) buffer_.resize(std::min(buffer_.size() * 2, MaxLineLength));
  ssize_t count;
  do {
    count = read(descriptor_, buffer_.data() + end_, buffer_.size() - end_);
  } while (count < 0 && errno == EINTR);
  if (count < 0) raiseInOutError(errno, path_);
  if (count == 0) {
    fileDone_ = true;
    close(descriptor_);
    descriptor_ = -1;
    return false;
  }
  end_ += static_cast<size_t>(count);
  return true;
}

bool TextFileLines::eof() {
  while (begin_ == end_)
    if (!fill()) return true;
  return false;
}

std::string_view TextFileLines::readLineView() {
  size_t searchFrom = begin_;
  size_t lineEnd;
  size_t next;
  for (;;) {
    const void* found = searchFrom < end_
                            ? std::memchr(buffer_.data() + searchFrom, '\n', end_ - searchFrom)
                            : nullptr;
    if (found != nullptr) {
      lineEnd = static_cast<size_t>(static_cast<const char*>(found) - buffer_.data());
      next = lineEnd + 1;
      break;
    }
    if (end_ - begin_ >= MaxLineLength) {
      ++lineNumber_;
      const std::string_view piece(buffer_.data() + begin_, MaxLineLength);
      begin_ += MaxLineLength;
      return piece;
    }
    const size_t scanned = end_ - begin_;
    if (!fill()) {
      lineEnd = next = end_;
      break;
    }
    searchFrom = begin_ + scanned;
  }
  const size_t lineBegin = begin_;
  if (next != lineBegin) ++lineNumber_;  // not a read past the end
  begin_ = next;
  while (lineEnd > lineBegin && buffer_[lineEnd - 1] == '\r') --lineEnd;
  return std::string_view(buffer_.data() + lineBegin, lineEnd - lineBegin);
}

bool TextFileLines::readLine(std::string& line) {
  if (eof()) {
    line.clear();
    return false;
  }
  line.assign(readLineView());
  return true;
}

std::string TextFileLines::readLine() {
  std::string line;
  readLine(line);
  return line;
}

EConvertError ConvertErrorAtLine(const EConvertError& error, const TextFileLines& file) {
  return EConvertError(error.Message() + " (" + ExtractFileName(file.path()) + ", line " +
                       std::to_string(file.lineNumber()) + ")");
}

std::vector<std::string> ReadLines(const std::string& path) {
  TextFileLines file(path);
  std::vector<std::string> lines;
  std::string line;
  while (file.readLine(line)) lines.push_back(line);
  return lines;
}

namespace {

// Writes all of `content` to an open descriptor; the errno of a failure, 0 on
// success.
int writeAll(int descriptor, const std::string& content) {
  size_t written = 0;
  while (written < content.size()) {
    const ssize_t count = write(descriptor, content.data() + written, content.size() - written);
    if (count < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    written += static_cast<size_t>(count);
  }
  return 0;
}

// The file a write to `native` replaces: the end of a chain of links, so that
// a link keeps pointing at the file it names. A link whose target is missing
// names the file to make, as a plain write through the link would.
std::string replacedFile(const std::string& native) {
  std::string current = native;
  for (int depth = 0; depth < 40; ++depth) {
    struct stat status {};
    if (lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return current;
    if (char* resolved = realpath(current.c_str(), nullptr)) {
      std::string target = resolved;
      std::free(resolved);
      return target;
    }
    std::vector<char> text(static_cast<size_t>(status.st_size) + 1);
    const ssize_t length = readlink(current.c_str(), text.data(), text.size());
    if (length < 0) raiseInOutError(errno, native);
    const std::string next(text.data(), static_cast<size_t>(length));
    current = next.starts_with('/') ? next : ExtractFilePath(current) + next;
  }
  raiseInOutError(ELOOP, native);
}

// Writes the file itself, for a folder that refuses the temporary file: not
// safe against a full disk, but what the user could do by hand.
void writeInPlace(const std::string& target, const std::string& native, const std::string& content) {
  const int descriptor = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) raiseInOutError(errno, native);
  struct stat status {};
  if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(descriptor);
    raiseNotRegular(status.st_mode, native);
  }
  fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  int error = ftruncate(descriptor, 0) != 0 ? errno : writeAll(descriptor, content);
  if (error == 0 && fsync(descriptor) != 0) error = errno;
  if (close(descriptor) != 0 && error == 0) error = errno;
  if (error != 0) raiseInOutError(error, native);
}

}  // namespace

void WriteFileSafely(const std::string& path, const std::string& content) {
  const std::string native = NativePath(path);
  const std::string target = replacedFile(native);

  struct stat old {};
  const bool exists = stat(target.c_str(), &old) == 0;
  // Nothing but a regular file is written: a pipe without a reader would
  // hold the program, and a device is no place for a spectrum.
  if (exists && !S_ISREG(old.st_mode)) raiseNotRegular(old.st_mode, native);
  // A file the user may not write stays as it is, as an in-place write would
  // have left it.
  if (exists && access(target.c_str(), W_OK) != 0) raiseInOutError(errno, native);

  // The temporary file lives in the target's folder, so that the rename is
  // one step of one file system. It gets the target's permissions from the
  // start, so the new content is never readable by more people than the old.
  static std::atomic<unsigned long> serial{0};
  const std::string folder = ExtractFilePath(target);
  const mode_t mode = exists ? (old.st_mode & 0777) : 0666;
  std::string temporary;
  int descriptor = -1;
  for (int attempt = 0; descriptor < 0; ++attempt) {
    temporary = folder + ".orvanix-" + std::to_string(getpid()) + "-" + std::to_string(++serial) +
                ".tmp";
    descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (descriptor >= 0 || (errno == EEXIST && attempt < 100)) continue;
    const int error = errno;
    // A folder that takes no new files still lets its files be written.
    if (exists && (error == EACCES || error == EPERM)) return writeInPlace(target, native, content);
    raiseInOutError(error, native);
  }

  int error = writeAll(descriptor, content);
  if (error == 0 && exists) {
    // The umask may have narrowed the mode, and the special bits come only
    // now; keeping the owner only works for the owner or root, which is
    // enough.
    fchmod(descriptor, old.st_mode & 07777);
    if (fchown(descriptor, old.st_uid, old.st_gid) != 0) {
      // Another owner's file in our folder: it becomes ours.
    }
  }
  if (error == 0 && fsync(descriptor) != 0) error = errno;
  if (close(descriptor) != 0 && error == 0) error = errno;
  if (error == 0 && rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    unlink(temporary.c_str());
    raiseInOutError(error, native);
  }
}

void WriteLinesCRLF(const std::string& path, const std::vector<std::string>& lines) {
  size_t total = 0;
  for (const std::string& line : lines) total += line.size() + 2;
  std::string content;
  content.reserve(total);
  for (const std::string& line : lines) {
    content += line;
    content += "\r\n";
  }
  WriteFileSafely(path, content);
}

std::string LastCharacters(const std::string& text, size_t count) {
  return text.size() <= count ? text : text.substr(text.size() - count);
}
