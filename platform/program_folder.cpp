#include "platform/program_folder.h"

#include "platform/files.h"

namespace {
std::string& folderOverride() {
  static std::string folder;
  return folder;
}
}  // namespace

const std::string& ProgramFolder() {
  if (folderOverride().empty()) folderOverride() = ExecutableFolder();
  return folderOverride();
}

void SetProgramFolder(const std::string& folder) { folderOverride() = folder; }
