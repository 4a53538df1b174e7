// Files, folders and paths.
//
// Paths may hold '\' as the program joins them ("C:\data\" + "mol.log"); on
// POSIX every function here that opens, tests or walks a path first turns each
// '\' into '/' (NativePath), so "dir\sub\\x.log" names dir/sub/x.log.
// Failures to open, read or write raise EInOutError with "File not found",
// "Path not found" (a folder on the way is missing), "Access denied", "Not a
// regular file" (a pipe, socket or device) or the system's own text, followed
// by the path in brackets: "Access denied (/data/x.cd.bil)". Only regular
// files are read or written, so no open ever waits for a pipe's other end.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.h"

// ---- Paths ----------------------------------------------------------------

// The path as the operating system wants it ('\' becomes '/' on POSIX).
std::string NativePath(const std::string& path);

// The name after the last '\' or '/' ("C:\a\b.log" gives "b.log").
std::string ExtractFileName(const std::string& path);
// The last `count` characters of a text (the whole text when it is shorter):
// file kinds are told by the tail of the file name.
std::string LastCharacters(const std::string& text, size_t count);
// Everything up to and including the last '\' or '/' ("" when there is none).
std::string ExtractFilePath(const std::string& path);

// The folder of the running executable, ending with '/'.
std::string ExecutableFolder();

std::string GetCurrentDir();  // without a trailing separator
bool SetCurrentDir(const std::string& path);

// ---- Tests and folders -------------------------------------------------

bool FileExists(const std::string& path);       // exists and is no folder
bool DirectoryExists(const std::string& path);  // exists and is a folder
// Creates one folder whose parent exists; false when that fails.
bool CreateDir(const std::string& path);
// Creates the folder and every missing parent; true when the folder exists
// afterwards.
bool ForceDirectories(const std::string& path);

// ---- Folder walks -------------------------------------------------------

// Whether `name` matches one of the masks, separated by ';' ("*.log;*.out").
// '*' matches any run of characters, '?' one character; letters match
// without regard to case, as on Windows; "*.*" and "*" match every name.
bool MatchesMask(const std::string& name, const std::string& masks);

// The regular files (and links to them) of `folder` whose names match
// `masks`, as paths
// (folder, '/', name). With `subfolders` every folder below is walked too.
// Order: the folder's files by name, then each subfolder by name, each walked
// the same way. A missing or unreadable folder contributes nothing.
std::vector<std::string> FindFiles(const std::string& folder, const std::string& masks,
                                   bool subfolders);
// The names of the regular files (and links to them) of one folder that
// match `masks`, sorted.
std::vector<std::string> ListFileNames(const std::string& folder, const std::string& masks);
// The names of the entries of one folder that are neither folders nor
// regular files (pipes, sockets, devices, links to nothing) and match
// `masks`, sorted.
std::vector<std::string> ListOtherEntryNames(const std::string& folder, const std::string& masks);
// The names of the immediate subfolders of `folder` (without "." and ".."),
// sorted.
std::vector<std::string> ListFolderNames(const std::string& folder);

// ---- Text files ----------------------------------------------------------

// Reads a text file line by line, streaming through a large buffer. A line
// ends at LF; carriage returns in front of the LF (or at the end of the
// file) are dropped, so CR LF and LF files give the same lines. Any other
// byte, NUL included, is part of the line. A read past the end gives an empty
// line and no error. Lines longer than MaxLineLength come in pieces of that
// length.
// The text of a file already in memory, with the path it stands for.
struct TextInMemory {
  std::string path;
  std::string text;
};

// Storage that starts on a page: the kernel copies a read into it, and the
// line search scans it, at the same speed whatever else the heap holds.
template <class T>
struct PageAlignedAllocator {
  using value_type = T;
  static constexpr std::align_val_t alignment{4096};
  PageAlignedAllocator() = default;
  template <class U>
  PageAlignedAllocator(const PageAlignedAllocator<U>&) {}
  T* allocate(std::size_t count) { return static_cast<T*>(::operator new(count * sizeof(T), alignment)); }
  void deallocate(T* p, std::size_t) { ::operator delete(p, alignment); }
  friend bool operator==(const PageAlignedAllocator&, const PageAlignedAllocator&) { return true; }
};

class TextFileLines {
 public:
  static constexpr size_t BufferSize = size_t{1} << 20;
  static constexpr size_t MaxLineLength = size_t{64} << 20;

  // Raises EInOutError when the file cannot be opened ("File not found",
  // "Access denied" also for a folder, "Not a regular file" for a pipe, ...).
  explicit TextFileLines(const std::string& path);
  // Lines of a text in memory, read as those of a file.
  explicit TextFileLines(TextInMemory source);
  ~TextFileLines();
  TextFileLines(const TextFileLines&) = delete;
  TextFileLines& operator=(const TextFileLines&) = delete;

  // True when no line is left.
  bool eof();
  // The next line; "" past the end.
  std::string readLine();
  // The next line into `line`; false (and `line` empty) past the end.
  bool readLine(std::string& line);
  // The next line as a view into the buffer, valid until the next read;
  // empty past the end. The fastest way through a large file.
  std::string_view readLineView();

  // Back to line 1.
  void rewind();
  // The number of the line read last (1 for the first), 0 before any.
  long lineNumber() const { return lineNumber_; }
  const std::string& path() const { return path_; }

 private:
  bool fill();  // reads more data; false at the end of the file

  int descriptor_ = -1;
  long lineNumber_ = 0;
  std::string path_;
  std::vector<char, PageAlignedAllocator<char>> buffer_;
  size_t begin_ = 0;  // first unread byte
  size_t end_ = 0;    // one past the last byte read from the file
  bool fileDone_ = false;
  bool inMemory_ = false;
};

// A conversion error met while reading: its message followed by the file's
// name and the line last read, as in
// "\"abc\" is an invalid float (x.cd.bil, line 1234)".
EConvertError ConvertErrorAtLine(const EConvertError& error, const TextFileLines& file);

// Runs `read`, which reads from `file`; a conversion error it raises comes
// out naming the file and the line (ConvertErrorAtLine).
template <class Read>
decltype(auto) NamingTheLine(const TextFileLines& file, Read&& read) {
  try {
    return read();
  } catch (const EConvertError& error) {
    throw ConvertErrorAtLine(error, file);
  }
}

// The first `length` bytes of a file (all of a shorter one); raises
// EInOutError as TextFileLines does.
std::string ReadFileHead(const std::string& path, size_t length);

// All lines of a small text file, read as TextFileLines reads them.
std::vector<std::string> ReadLines(const std::string& path);

// Writes `content` as the whole file, safely: the bytes go to a temporary
// file in the target's folder, which replaces the target only once it was
// written whole and flushed to the disk. When anything fails (a full disk, a
// folder or file the user may not write, a missing folder) the temporary file
// is removed, an existing target keeps every byte it had, and EInOutError is
// raised. A replaced file keeps its permissions, which the temporary file has
// from the start; a link keeps pointing at the file it names, which is the
// one replaced (a link to a missing file makes that file). A writable file in
// a folder that takes no new files is written in place. What is not a
// regular file (folder, pipe, socket, device) is refused untouched. Every
// file the program writes goes through here.
void WriteFileSafely(const std::string& path, const std::string& content);

// Writes `lines` as the whole file, each followed by CR LF, in one call,
// through WriteFileSafely.
void WriteLinesCRLF(const std::string& path, const std::vector<std::string>& lines);

// The EInOutError text for a failed open, read or write of `path` with
// errno `error`: the cause, then the path in brackets.
std::string InOutErrorText(int error, const std::string& path);
// The EInOutError text for a pipe, socket or device where a file was named.
std::string NotARegularFileText(const std::string& path);
