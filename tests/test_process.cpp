// Child processes, the gnuplot executable and the desktop shell.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/errors.h"
#include "platform/process.h"
#include "platform/shell.h"

namespace {

class ProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/orvanix-process-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    const char* path = std::getenv("PATH");
    savedPath_ = path != nullptr ? path : "";
  }
  void TearDown() override {
    setenv("PATH", savedPath_.c_str(), 1);
    std::filesystem::remove_all(folder_);
  }

  // A program that records its arguments and working folder beside itself
  // and in the folder it runs in; started by the kernel through its #! line.
  std::string program(const std::string& name, const std::string& body) const {
    const std::string file = folder_ + "/" + name;
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    std::ofstream(file) << "#!/bin/sh\n" << body;
    chmod(file.c_str(), 0755);
    return file;
  }
  std::string recorder(const std::string& name) const {
    return program(name,
                   "printf '%s' \"$#\" > count.txt\n"
                   "printf '%s' \"$1\" > argument.txt\n"
                   "pwd -P > folder.txt\n"
                   "exit 7\n");
  }

  static std::string contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string folder_;
  std::string savedPath_;
};

TEST_F(ProcessTest, ArgumentArrivesWholeWithoutAShell) {
  const std::string executable = recorder("record.sh");
  const std::string work = folder_ + "/work";
  std::filesystem::create_directory(work);
  const std::vector<std::string> arguments = {
      "a b \"c\" 'd' $HOME;rm",
      "plot.plt",
      "`touch injected` $(touch injected) | > < & \\ * ?",
      "  leading and trailing  ",
  };
  for (const std::string& argument : arguments) {
    SCOPED_TRACE(argument);
    EXPECT_EQ(RunAndWait(executable, argument, work), 7);
    EXPECT_EQ(contents(work + "/count.txt"), "1");
    EXPECT_EQ(contents(work + "/argument.txt"), argument);
    EXPECT_EQ(contents(work + "/folder.txt"), std::filesystem::canonical(work).string() + "\n");
  }
  EXPECT_FALSE(std::filesystem::exists(work + "/injected"));
}

TEST_F(ProcessTest, EmptyArgumentPassesNone) {
  const std::string executable = recorder("record.sh");
  RunAndWait(executable, "", folder_);
  EXPECT_EQ(contents(folder_ + "/count.txt"), "0");
}

TEST_F(ProcessTest, ExitCodeAndSignalAreReported) {
  EXPECT_EQ(RunAndWait(program("zero.sh", "exit 0\n"), "x", folder_), 0);
  EXPECT_EQ(RunAndWait(program("killed.sh", "kill -TERM $$\n"), "x", folder_), 128 + 15);
}

TEST_F(ProcessTest, RelativeExecutableCountsFromTheCurrentFolder) {
  recorder("bin/record.sh");
  const std::string work = folder_ + "/work";
  std::filesystem::create_directory(work);
  const std::string before = std::filesystem::current_path();
  std::filesystem::current_path(folder_);
  EXPECT_EQ(RunAndWait("bin\\record.sh", "x", "work"), 7);
  std::filesystem::current_path(before);
  EXPECT_EQ(contents(work + "/argument.txt"), "x");
}

TEST_F(ProcessTest, ExecutableWithoutFolderIsLookedUpOnPath) {
  recorder("bin/recordit");
  setenv("PATH", (folder_ + "/bin").c_str(), 1);
  EXPECT_EQ(RunAndWait("recordit", "y", folder_), 7);
  EXPECT_EQ(contents(folder_ + "/argument.txt"), "y");
}

TEST_F(ProcessTest, FailureToStartRaisesInOutError) {
  std::ofstream(folder_ + "/not-executable.sh") << "#!/bin/sh\n";
  std::ofstream(folder_ + "/no-interpreter-line") << "echo hello > started.txt\n";
  chmod((folder_ + "/no-interpreter-line").c_str(), 0755);
  setenv("PATH", folder_.c_str(), 1);
  struct Case {
    std::string executable;
    std::string folder;
  };
  const std::vector<Case> cases = {
      {folder_ + "/missing", folder_},
      {"missing-on-path", folder_},
      {folder_ + "/not-executable.sh", folder_},
      {folder_ + "/no-interpreter-line", folder_},  // would need a shell to run
      {folder_, folder_},
      {"/bin/true", folder_ + "/missing-folder"},
      {"", folder_},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.executable + " in " + c.folder);
    try {
      RunAndWait(c.executable, "x", c.folder);
      ADD_FAILURE() << "started";
    } catch (const EInOutError& error) {
      EXPECT_EQ(std::string(error.what()).rfind("Cannot start \"" + c.executable + "\": ", 0), 0u)
          << error.what();
    }
  }
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/started.txt"));
}

TEST_F(ProcessTest, GnuplotOfAFolderThenOfPath) {
  const std::string own = program("settings/gnuplot", "exit 0\n");
  const std::string onPath = program("path/gnuplot", "exit 0\n");
  program("empty/wgnuplot.exe", "exit 0\n");
  setenv("PATH", ("/nonexistent:" + folder_ + "/path").c_str(), 1);
  EXPECT_EQ(GnuplotExecutable(folder_ + "/settings"), own);
  EXPECT_EQ(GnuplotExecutable(folder_ + "/settings/"), own);
  std::string backslashed = folder_ + "/settings";
  std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
  EXPECT_EQ(GnuplotExecutable(backslashed), own);
  EXPECT_EQ(GnuplotExecutable(folder_ + "/empty"), onPath);
  EXPECT_EQ(GnuplotExecutable("C:\\Programme\\gnuplot\\bin"), onPath);
  EXPECT_EQ(GnuplotExecutable(""), onPath);
  setenv("PATH", (folder_ + "/empty").c_str(), 1);
  EXPECT_EQ(GnuplotExecutable(folder_ + "/empty"), "");
}

// Restores the real desktop opener after a test that replaced it.
struct OpenURLHookGuard {
  std::function<void(const std::string&)> saved = OpenURLHook();
  ~OpenURLHookGuard() { OpenURLHook() = saved; }
};

TEST_F(ProcessTest, OpenURLGoesThroughTheReplaceableHook) {
  OpenURLHookGuard guard;
  std::vector<std::string> opened;
  OpenURLHook() = [&opened](const std::string& url) { opened.push_back(url); };
  OpenURL("https://example.org/orvanix?a=1&b=2");
  EXPECT_EQ(opened, std::vector<std::string>{"https://example.org/orvanix?a=1&b=2"});
  OpenURLHook() = nullptr;
  EXPECT_NO_THROW(OpenURL("https://example.org/"));
}

TEST_F(ProcessTest, DesktopOpenerRunsXdgOpenWithoutWaiting) {
  // The opener waits until the test lets it go; a blocking OpenURL would
  // never get there (the opener gives up after 20 seconds).
  const std::string release = folder_ + "/release";
  const std::string received = folder_ + "/received.txt";
  program("bin/xdg-open",
          "i=0\n"
          "while [ ! -e '" + release + "' ] && [ $i -lt 200 ]; do sleep 0.1; i=$((i+1)); done\n"
          "printf '%s' \"$1\" > '" + received + "'\n");
  // The opener's own commands (sleep) come from the usual PATH.
  setenv("PATH", (folder_ + "/bin:" + savedPath_).c_str(), 1);
  OpenURLWithDesktop("https://example.org/a b;c");
  EXPECT_FALSE(std::filesystem::exists(received)) << "OpenURL waited for the opener";
  std::ofstream(release) << "";
  for (int i = 0; i < 400 && contents(received).empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(contents(received), "https://example.org/a b;c");
}

TEST_F(ProcessTest, DesktopOpenerIgnoresAMissingXdgOpen) {
  setenv("PATH", folder_.c_str(), 1);
  EXPECT_NO_THROW(OpenURLWithDesktop("https://example.org/"));
}

}  // namespace
