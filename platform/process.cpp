#include "platform/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/errors.h"
#include "platform/files.h"

extern char** environ;

namespace {

bool isExecutableFile(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
         access(path.c_str(), X_OK) == 0;
}

std::string absolute(const std::string& nativePath) {
  if (!nativePath.empty() && nativePath[0] == '/') return nativePath;
  return GetCurrentDir() + "/" + nativePath;
}

[[noreturn]] void cannotStart(const std::string& executable, const std::string& reason) {
  throw EInOutError("Cannot start \"" + executable + "\": " + reason);
}

// Owns the spawn settings so that every way out releases them.
struct SpawnSettings {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  SpawnSettings() {
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
  }
  ~SpawnSettings() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
  }
  SpawnSettings(const SpawnSettings&) = delete;
  SpawnSettings& operator=(const SpawnSettings&) = delete;
};

pid_t start(const std::string& executable, const std::string& argument,
            const std::string& workingFolder, int errorOutput = -1) {
  const std::string native = NativePath(executable);
  if (native.empty()) cannotStart(executable, "no program named");
  // The child changes folder before it starts the program, so a relative
  // path must be made absolute here.
  const std::string program =
      native.find('/') == std::string::npos ? FindOnPath(native) : absolute(native);
  if (program.empty()) cannotStart(executable, "File not found");
  const std::string folder = NativePath(workingFolder);
  if (!folder.empty() && !DirectoryExists(folder))
    cannotStart(executable, "working folder \"" + workingFolder + "\" not found");

  SpawnSettings settings;
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&settings.actions, folder.c_str());
  if (errorOutput >= 0) {
    posix_spawn_file_actions_adddup2(&settings.actions, errorOutput, STDERR_FILENO);
    posix_spawn_file_actions_addclose(&settings.actions, errorOutput);
  }
  // The child starts with no blocked signals and with SIGPIPE at its
  // default, whatever this program set for itself.
  sigset_t noSignals, defaults;
  sigemptyset(&noSignals);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigmask(&settings.attributes, &noSignals);
  posix_spawnattr_setsigdefault(&settings.attributes, &defaults);
  posix_spawnattr_setflags(&settings.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::string programArgument = program;
  std::string argumentCopy = argument;
  std::vector<char*> argv{programArgument.data()};
  if (!argumentCopy.empty()) argv.push_back(argumentCopy.data());
  argv.push_back(nullptr);

  pid_t child = 0;
  const int error =
      posix_spawn(&child, program.c_str(), &settings.actions, &settings.attributes, argv.data(), environ);
  if (error != 0) cannotStart(executable, InOutErrorText(error, program));
  return child;
}

int waitForExit(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0)
    if (errno != EINTR) return -1;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

int RunAndWait(const std::string& executable, const std::string& argument,
               const std::string& workingFolder) {
  return waitForExit(start(executable, argument, workingFolder));
}

int RunAndCapture(const std::string& executable, const std::string& argument,
                  const std::string& workingFolder, std::string& errorOutput) {
  errorOutput.clear();
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) throw EInOutError(InOutErrorText(errno, executable));
  pid_t child = 0;
  try {
    child = start(executable, argument, workingFolder, ends[1]);
  } catch (...) {
    close(ends[0]);
    close(ends[1]);
    throw;
  }
  close(ends[1]);
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(ends[0], buffer, sizeof buffer);
    if (got > 0) {
      errorOutput.append(buffer, static_cast<size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      break;
    }
  }
  close(ends[0]);
  return waitForExit(child);
}

void StartDetached(const std::string& executable, const std::string& argument,
                   const std::string& workingFolder) {
  const pid_t child = start(executable, argument, workingFolder);
  // Collects the child's end so that it leaves no zombie behind. Without a
  // thread the child still runs; it only stays listed until this program ends.
  try {
    std::thread([child] { waitForExit(child); }).detach();
  } catch (const std::system_error&) {
  }
}

std::string FindOnPath(const std::string& name) {
  if (name.empty()) return std::string();
  const char* variable = std::getenv("PATH");
  const std::string path = variable != nullptr ? variable : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(':', start);
    if (end == std::string::npos) end = path.size();
    std::string folder = path.substr(start, end - start);
    if (folder.empty()) folder.push_back('.');  // an empty entry means the current folder
    std::string candidate = folder;
    candidate.append("/").append(name);
    if (isExecutableFile(candidate)) return absolute(candidate);
    start = end + 1;
  }
  return std::string();
}

std::string GnuplotExecutable(const std::string& folder) {
  if (!folder.empty()) {
    std::string native = NativePath(folder);
    if (native.back() != '/') native += '/';
    const std::string candidate = native + "gnuplot";
    if (isExecutableFile(candidate)) return absolute(candidate);
  }
  return FindOnPath("gnuplot");
}
