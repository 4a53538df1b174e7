// Files, folders and paths: line reading, whole-file writing, walks.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <thread>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/testing/file_checks.h"

namespace {

using Lines = std::vector<std::string>;

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/orvanix-files-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    std::filesystem::permissions(folder_, std::filesystem::perms::all);
    std::filesystem::remove_all(folder_);
  }

  std::string path(const std::string& name) const { return folder_ + "/" + name; }

  std::string write(const std::string& name, const std::string& bytes) const {
    const std::string full = path(name);
    std::filesystem::create_directories(std::filesystem::path(full).parent_path());
    std::ofstream(full, std::ios::binary) << bytes;
    return full;
  }

  static std::string bytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  static Lines readAll(const std::string& file) {
    TextFileLines reader(file);
    Lines lines;
    while (!reader.eof()) lines.push_back(reader.readLine());
    return lines;
  }

  static std::string inOutMessage(const std::string& file) {
    try {
      TextFileLines reader(file);
    } catch (const EInOutError& error) {
      EXPECT_STREQ(error.ClassName(), "EInOutError");
      return error.what();
    }
    return "no error";
  }

  static std::string writeMessage(const std::string& file) {
    try {
      WriteLinesCRLF(file, {"new"});
    } catch (const EInOutError& error) {
      return error.what();
    }
    return "no error";
  }

  // Runs `write` as someone who may write the file `file` but may not add
  // files to `folder`. Root adds files anywhere, so as root a child process
  // runs it as user nobody, who is given the file. False when it raised.
  bool writeAsGuestOfFolder(const std::string& folder, const std::string& file,
                            const std::function<void()>& write) const {
    if (geteuid() != 0) {
      chmod(folder.c_str(), 0555);
      bool written = true;
      try {
        write();
      } catch (const EInOutError&) {
        written = false;
      }
      chmod(folder.c_str(), 0755);
      return written;
    }
    constexpr uid_t nobody = 65534;
    // Nobody may reach the folder, not add to it.
    chmod(folder_.c_str(), 0755);
    chmod(folder.c_str(), 0755);
    EXPECT_EQ(chown(file.c_str(), nobody, nobody), 0);
    const pid_t child = fork();
    if (child == 0) {
      int code = 0;
      if (setgid(nobody) != 0 || setuid(nobody) != 0) _exit(3);
      try {
        write();
      } catch (const EInOutError&) {
        code = 1;
      } catch (...) {
        code = 2;
      }
      _exit(code);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) <= 1) << "the child did not run its write";
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

  // The path with every '/' written as '\', as the program joins paths.
  static std::string backslashed(std::string p) {
    std::replace(p.begin(), p.end(), '/', '\\');
    return p;
  }

  std::string folder_;
};

TEST_F(FilesTest, CrLfAndLfFilesGiveTheSameLines) {
  struct Case {
    std::string name;
    std::string bytes;
    Lines lines;
  };
  const std::vector<Case> cases = {
      {"crlf", "a 1\r\n\r\nb 2\r\n", {"a 1", "", "b 2"}},
      {"lf", "a 1\n\nb 2\n", {"a 1", "", "b 2"}},
      {"no final break", "a 1\r\n\r\nb 2", {"a 1", "", "b 2"}},
      {"mixed", "a 1\n\r\nb 2\r\n", {"a 1", "", "b 2"}},
      {"doubled CR", "a 1\r\r\n\r\nb 2\r", {"a 1", "", "b 2"}},
      {"CR inside a line", "a\r1\n", {"a\r1"}},
      {"empty", "", {}},
      {"one break", "\n", {""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = write("lines.txt", c.bytes);
    EXPECT_EQ(readAll(file), c.lines);
    EXPECT_EQ(ReadLines(file), c.lines);
  }
}

TEST_F(FilesTest, ReadingPastTheEndGivesEmptyLines) {
  TextFileLines reader(write("short.txt", "only\r\n"));
  EXPECT_FALSE(reader.eof());
  EXPECT_EQ(reader.readLine(), "only");
  EXPECT_TRUE(reader.eof());
  EXPECT_EQ(reader.readLine(), "");
  EXPECT_EQ(reader.readLine(), "");
  std::string line = "stale";
  EXPECT_FALSE(reader.readLine(line));
  EXPECT_EQ(line, "");
  EXPECT_TRUE(reader.readLineView().empty());
  EXPECT_TRUE(reader.eof());
}

TEST_F(FilesTest, BinaryBytesAreJustBytes) {
  std::string binary;
  for (int i = 0; i < 256; ++i) binary += static_cast<char>(i);
  binary += std::string(3, '\0') + "\r\n" + "tail";
  const Lines lines = ReadLines(write("binary.bin", binary));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], binary.substr(0, 10));  // up to the LF at code 10
  EXPECT_EQ(lines[1], binary.substr(11, 256 - 11) + std::string(3, '\0'));
  EXPECT_EQ(lines[2], "tail");
}

TEST_F(FilesTest, LinesCrossingTheBufferBoundaryStayWhole) {
  // One CR LF split across the first buffer boundary, a line longer than two
  // buffers, then many short lines.
  const size_t size = TextFileLines::BufferSize;
  Lines expected = {std::string(size - 1, 'a'), std::string(2 * size + 17, 'b')};
  for (int i = 0; i < 100000; ++i) expected.push_back("line " + std::to_string(i));
  std::string content;
  for (const std::string& line : expected) content += line + "\r\n";
  ASSERT_EQ(content[size - 1], '\r');
  ASSERT_EQ(content[size], '\n');
  EXPECT_EQ(readAll(write("large.txt", content)), expected);
}

// Each failure names its cause and the file; a pipe, a device or a socket
// is refused at once, without waiting for the pipe's other end.
TEST_F(FilesTest, OpenFailuresNameTheirCauseAndTheFile) {
  makePipe(path("x.log"));
  const std::string socketPath = path("s.log");
  const int socketDescriptor = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(bind(socketDescriptor, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {path("missing.txt"), "File not found (" + path("missing.txt") + ")"},
      {path("no-folder/missing.txt"), "Path not found (" + path("no-folder/missing.txt") + ")"},
      // A folder is no text file, as on Windows.
      {folder_, "Access denied (" + folder_ + ")"},
      {path("x.log"), "Not a regular file (" + path("x.log") + ")"},
      {socketPath, "Not a regular file (" + socketPath + ")"},
      {"/dev/zero", "Not a regular file (/dev/zero)"},
  };
  for (const auto& [file, message] : cases) {
    SCOPED_TRACE(file);
    ASSERT_TRUE(EndsInTime({path("x.log")}, [&] {
      EXPECT_EQ(inOutMessage(file), message);
      EXPECT_THROW(ReadFileHead(file, 100), EInOutError);
    }));
  }
  close(socketDescriptor);
}

TEST_F(FilesTest, UnreadableFileIsAccessDenied) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file; the folder case covers the text";
  const std::string file = write("locked.txt", "x\r\n");
  chmod(file.c_str(), 0);
  EXPECT_EQ(inOutMessage(file), "Access denied");
}

TEST_F(FilesTest, WritesEveryLineWithCrLfInOneGo) {
  const std::string file = path("out.txt");
  WriteLinesCRLF(file, {"first", "", "third 1.5"});
  EXPECT_EQ(bytes(file), "first\r\n\r\nthird 1.5\r\n");
  WriteLinesCRLF(file, {"x"});
  EXPECT_EQ(bytes(file), "x\r\n") << "an existing file is replaced, not appended to";
  WriteLinesCRLF(file, {});
  EXPECT_EQ(bytes(file), "");
}

TEST_F(FilesTest, FailedWriteRaisesInOutError) {
  try {
    WriteLinesCRLF(path("no-folder/out.txt"), {"x"});
    FAIL() << "no error";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.what(), "Path not found (" + path("no-folder/out.txt") + ")");
  }
  EXPECT_EQ(writeMessage(folder_), "Access denied (" + folder_ + ")");
}

TEST_F(FilesTest, AWriteThatFailsHalfWayLeavesTheOldFileAndNoTemporaryFile) {
  const std::string old = "Orvanix bil-file\r\n245.3\t-12.345678\r\n";
  const std::string file = write("mol.cd.bil", old);
  const Lines long_(2000, "300.0\t1.000000");
  std::string message;
  {
    const FileSizeLimit diskFull(1000);
    try {
      WriteLinesCRLF(file, long_);
    } catch (const EInOutError& error) {
      message = error.what();
    }
  }
  EXPECT_EQ(message, "File too large (" + file + ")");
  EXPECT_EQ(bytes(file), old) << "the old file keeps every byte";
  EXPECT_EQ(folderNames(folder_), Lines{"mol.cd.bil"});
  WriteLinesCRLF(file, long_);
  EXPECT_EQ(readAll(file).size(), long_.size()) << "without the limit the same write succeeds";
  EXPECT_EQ(folderNames(folder_), Lines{"mol.cd.bil"});
}

TEST_F(FilesTest, AReadOnlyFileKeepsItsContent) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes every file; the full-disk case covers the rest";
  const std::string file = write("mol.cd.bil", "old\r\n");
  chmod(file.c_str(), 0444);
  EXPECT_EQ(writeMessage(file), "Access denied (" + file + ")") << "a read-only file is not replaced";
  EXPECT_EQ(bytes(file), "old\r\n");
  EXPECT_EQ(folderNames(folder_), Lines{"mol.cd.bil"});
}

// Where no temporary file can be made, a file that may be written is written
// in place, as the user could do by hand; a new file cannot be made there.
TEST_F(FilesTest, AFolderThatTakesNoNewFilesHasItsFilesWrittenInPlace) {
  const std::string file = write("locked/mol.cd.bil", "old content\r\n");
  const std::string folder = path("locked");
  EXPECT_TRUE(writeAsGuestOfFolder(folder, file, [&] { WriteLinesCRLF(file, {"new"}); }));
  EXPECT_EQ(bytes(file), "new\r\n");
  EXPECT_EQ(folderNames(folder), Lines{"mol.cd.bil"});
  EXPECT_FALSE(writeAsGuestOfFolder(folder, file, [&] { WriteLinesCRLF(folder + "/new.cd.bil", {"x"}); }));
  EXPECT_EQ(folderNames(folder), Lines{"mol.cd.bil"});
}

TEST_F(FilesTest, AReplacedFileKeepsItsPermissionsAndLinksKeepTheirTarget) {
  const std::string file = write("data/mol.cd.bil", "old\r\n");
  chmod(file.c_str(), 0640);
  WriteLinesCRLF(file, {"new"});
  struct stat status {};
  ASSERT_EQ(stat(file.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);

  const std::string link = path("link.cd.bil");
  ASSERT_EQ(symlink(file.c_str(), link.c_str()), 0);
  WriteLinesCRLF(link, {"through the link"});
  EXPECT_TRUE(std::filesystem::is_symlink(link)) << "the link is not replaced by a file";
  EXPECT_EQ(bytes(file), "through the link\r\n");
  EXPECT_EQ(folderNames(path("data")), Lines{"mol.cd.bil"});
}

// A link to a missing file makes that file, as a plain write through the
// link would; the link stays. A ring of links is refused.
TEST_F(FilesTest, ALinkToAMissingFileMakesThatFile) {
  std::filesystem::create_directories(path("data"));
  const std::vector<std::pair<std::string, std::string>> links = {
      {path("relative.cd.bil"), "data/new.cd.bil"},
      {path("absolute.cd.bil"), path("data/other.cd.bil")},
  };
  for (const auto& [link, target] : links) {
    SCOPED_TRACE(link);
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    WriteLinesCRLF(link, {"through the link"});
    EXPECT_TRUE(std::filesystem::is_symlink(link)) << "the link is not replaced by a file";
    EXPECT_EQ(bytes(link), "through the link\r\n");
  }
  EXPECT_EQ(folderNames(path("data")), (Lines{"new.cd.bil", "other.cd.bil"}));

  ASSERT_EQ(symlink("ring-b", path("ring-a").c_str()), 0);
  ASSERT_EQ(symlink("ring-a", path("ring-b").c_str()), 0);
  EXPECT_EQ(writeMessage(path("ring-a")), "Too many levels of symbolic links (" + path("ring-a") + ")");
  EXPECT_TRUE(std::filesystem::is_symlink(path("ring-a")));
}

// Only regular files are written: a pipe without a reader, a device, a
// folder or a link to one of them are refused untouched, and never block.
TEST_F(FilesTest, NothingButARegularFileIsWritten) {
  makePipe(path("x.cd.bil"));
  ASSERT_EQ(symlink(path("x.cd.bil").c_str(), path("to-pipe.cd.bil").c_str()), 0);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {path("x.cd.bil"), "Not a regular file (" + path("x.cd.bil") + ")"},
      {path("to-pipe.cd.bil"), "Not a regular file (" + path("to-pipe.cd.bil") + ")"},
      {"/dev/null", "Not a regular file (/dev/null)"},
      {"/dev/full", "Not a regular file (/dev/full)"},
      {folder_, "Access denied (" + folder_ + ")"},
  };
  for (const auto& [file, message] : cases) {
    SCOPED_TRACE(file);
    ASSERT_TRUE(EndsInTime({path("x.cd.bil")}, [&] { EXPECT_EQ(writeMessage(file), message); }));
  }
  struct stat status {};
  ASSERT_EQ(stat("/dev/null", &status), 0);
  EXPECT_TRUE(S_ISCHR(status.st_mode));
  ASSERT_EQ(lstat(path("x.cd.bil").c_str(), &status), 0);
  EXPECT_TRUE(S_ISFIFO(status.st_mode));
  EXPECT_EQ(folderNames(folder_), (Lines{"to-pipe.cd.bil", "x.cd.bil"}));
}

// The new content is never readable by more people than the old: watched
// while it is written, the temporary file has no permission the target
// lacks, whatever the umask.
TEST_F(FilesTest, TheTemporaryFileNeverHasMorePermissionsThanTheTarget) {
  const std::string file = write("secret.cd.bil", "old\r\n");
  chmod(file.c_str(), 0600);
  const mode_t savedMask = umask(0);
  const std::string content(64 << 20, 'x');
  std::atomic<bool> writing{true};
  std::atomic<unsigned> seen{0};
  std::atomic<unsigned> wider{0};
  std::thread watcher([&] {
    while (writing) {
      std::error_code ignored;
      for (const auto& entry : std::filesystem::directory_iterator(folder_, ignored)) {
        if (entry.path().filename() == "secret.cd.bil") continue;
        struct stat status {};
        if (stat(entry.path().c_str(), &status) != 0) continue;
        ++seen;
        if ((status.st_mode & 0777 & ~0600u) != 0) ++wider;
      }
    }
  });
  for (int round = 0; round < 20 && seen == 0; ++round) WriteFileSafely(file, content);
  writing = false;
  watcher.join();
  umask(savedMask);
  EXPECT_GT(seen, 0u) << "the temporary file was never seen";
  EXPECT_EQ(wider, 0u);
  struct stat status {};
  ASSERT_EQ(stat(file.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0600u);
}

TEST_F(FilesTest, BackslashesAreFolderSeparators) {
  write("sub/data.log", "one\r\ntwo\r\n");
  const std::string folder = backslashed(folder_);
  EXPECT_TRUE(FileExists(folder + "\\sub\\data.log"));
  EXPECT_TRUE(FileExists(folder + "\\sub\\\\data.log")) << "two backslashes read as one";
  EXPECT_TRUE(DirectoryExists(folder + "\\sub\\"));
  EXPECT_EQ(ReadLines(folder + "\\sub\\data.log"), (Lines{"one", "two"}));
  WriteLinesCRLF(folder + "\\sub\\written.txt", {"w"});
  EXPECT_EQ(bytes(path("sub/written.txt")), "w\r\n");
  EXPECT_TRUE(ForceDirectories(folder + "\\deep\\er"));
  EXPECT_TRUE(DirectoryExists(path("deep/er")));
  EXPECT_EQ(FindFiles(folder + "\\", "*.log", true), (Lines{folder_ + "/sub/data.log"}));
  EXPECT_EQ(NativePath("C:\\a\\b.log"), "C:/a/b.log");
}

TEST_F(FilesTest, ExistenceTestsTellFilesFromFolders) {
  write("file.txt", "");
  EXPECT_TRUE(FileExists(path("file.txt")));
  EXPECT_FALSE(FileExists(folder_));
  EXPECT_FALSE(FileExists(path("none.txt")));
  EXPECT_FALSE(FileExists(""));
  EXPECT_TRUE(DirectoryExists(folder_));
  EXPECT_FALSE(DirectoryExists(path("file.txt")));
  EXPECT_FALSE(DirectoryExists(""));
}

TEST_F(FilesTest, CreatesFolders) {
  EXPECT_FALSE(CreateDir(path("a/b"))) << "CreateDir makes one level only";
  EXPECT_TRUE(CreateDir(path("a")));
  EXPECT_FALSE(CreateDir(path("a"))) << "an existing folder is not created again";
  EXPECT_TRUE(ForceDirectories(path("x/y/z/")));
  EXPECT_TRUE(DirectoryExists(path("x/y/z")));
  EXPECT_TRUE(ForceDirectories(path("x/y"))) << "an existing folder counts as success";
  write("plain", "");
  EXPECT_FALSE(ForceDirectories(path("plain/sub")));
}

TEST_F(FilesTest, CurrentFolderGetAndSet) {
  const std::string before = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDir(folder_));
  EXPECT_EQ(std::filesystem::canonical(GetCurrentDir()), std::filesystem::canonical(folder_));
  EXPECT_NE(GetCurrentDir().back(), '/');
  EXPECT_FALSE(SetCurrentDir(path("missing")));
  ASSERT_TRUE(SetCurrentDir(before));
}

TEST_F(FilesTest, WalksWithMasksAndSubfolders) {
  for (const char* name : {"b.log", "a.out", "c.txt", "D.LOG", "e.log.bak", "sub/z.log", "sub/deeper/y.out",
                           "sub/x.dat", "other/w.log"})
    write(name, "x");
  const std::string f = folder_ + "/";
  EXPECT_EQ(FindFiles(folder_, "*.log;*.out", false), (Lines{f + "D.LOG", f + "a.out", f + "b.log"}));
  EXPECT_EQ(FindFiles(folder_ + "/", "*.log; *.out", true),
            (Lines{f + "D.LOG", f + "a.out", f + "b.log", f + "other/w.log", f + "sub/z.log",
                   f + "sub/deeper/y.out"}));
  EXPECT_EQ(FindFiles(folder_, "*.dat", false), Lines{});
  EXPECT_EQ(FindFiles(path("missing"), "*.*", true), Lines{});
  EXPECT_EQ(ListFileNames(folder_, "*.*"), (Lines{"D.LOG", "a.out", "b.log", "c.txt", "e.log.bak"}));
  EXPECT_EQ(ListFileNames(path("sub"), "*.dat"), Lines{"x.dat"});
  EXPECT_EQ(ListFolderNames(folder_), (Lines{"other", "sub"}));
}

// A walk lists regular files and links to them; a pipe, a socket or a link
// to nothing is listed apart, so nobody opens it.
TEST_F(FilesTest, WalksListOnlyRegularFilesAsFiles) {
  write("a.log", "x");
  write("sub/b.log", "x");
  makePipe(path("x.log"));
  makePipe(path("sub/y.log"));
  ASSERT_EQ(symlink("a.log", path("to-a.log").c_str()), 0);
  ASSERT_EQ(symlink("missing", path("dangling.log").c_str()), 0);
  EXPECT_EQ(ListFileNames(folder_, "*.log"), (Lines{"a.log", "to-a.log"}));
  EXPECT_EQ(ListOtherEntryNames(folder_, "*.log"), (Lines{"dangling.log", "x.log"}));
  EXPECT_EQ(ListOtherEntryNames(folder_, "*.out"), Lines{});
  EXPECT_EQ(FindFiles(folder_, "*.log", true),
            (Lines{path("a.log"), path("to-a.log"), path("sub/b.log")}));
}

TEST_F(FilesTest, WalkSurvivesALinkBackToAFolderAbove) {
  write("sub/a.log", "x");
  std::filesystem::create_directory_symlink(folder_, path("sub/loop"));
  const Lines found = FindFiles(folder_, "*.log", true);
  EXPECT_EQ(found, Lines{folder_ + "/sub/a.log"});
}

TEST(MatchesMask, Wildcards) {
  const std::vector<std::tuple<std::string, std::string, bool>> cases = {
      {"mol.log", "*.log", true},      {"mol.LOG", "*.log", true},   {"mol.log", "*.out;*.log", true},
      {"mol.logx", "*.log", false},    {"mol.cd.bil", "*.bil", true}, {"noext", "*.*", true},
      {"a1.dat", "a?.dat", true},      {"a12.dat", "a?.dat", false}, {"x.log", "", false},
      {"x.log", " ; ", false},         {"abc", "*", true},           {"a.out", "a*b*", false},
  };
  for (const auto& [name, masks, matches] : cases) {
    SCOPED_TRACE(name + " / " + masks);
    EXPECT_EQ(MatchesMask(name, masks), matches);
  }
}

TEST(FileNames, SplitOnBothSeparators) {
  const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      {"C:\\data\\mol.log", "mol.log", "C:\\data\\"},
      {"/home/x/mol.cd.bil", "mol.cd.bil", "/home/x/"},
      {"C:\\data/sub\\mol.log", "mol.log", "C:\\data/sub\\"},
      {"mol.log", "mol.log", ""},
      {"folder\\", "", "folder\\"},
      {"", "", ""},
  };
  for (const auto& [path, name, folder] : cases) {
    SCOPED_TRACE(path);
    EXPECT_EQ(ExtractFileName(path), name);
    EXPECT_EQ(ExtractFilePath(path), folder);
  }
}

TEST(ExecutableFolder, HoldsThisProgram) {
  const std::string folder = ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(FileExists(folder + "test_files"));
}

}  // namespace
