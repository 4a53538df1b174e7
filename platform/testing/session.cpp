#include "platform/testing/session.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {
std::string makeTempFolder() {
  std::string base = ::testing::TempDir();
  if (base.empty()) base = "/tmp/";
  std::string pattern = base + (base.back() == '/' ? "" : "/") + "orvanix-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) {
    ADD_FAILURE() << "cannot create a temporary folder from " << pattern;
    return base;
  }
  return std::string(buffer.data());
}
}  // namespace

TempFolder::TempFolder() : path_(makeTempFolder()) {}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

Session::Session() : folder_(makeTempFolder()), ownsFolder_(true) {
  program_ = std::make_unique<Program>(folder_);
}

Session::Session(const std::string& folder) : folder_(folder), ownsFolder_(false) {
  program_ = std::make_unique<Program>(folder_);
}

Session::~Session() {
  program_.reset();
  if (ownsFolder_) {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
}

void Session::restart() {
  program_.reset();
  program_ = std::make_unique<Program>(folder_);
}

void writeTextFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) ADD_FAILURE() << "cannot write " << path;
  out << text;
}

std::string readTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    ADD_FAILURE() << "cannot read " << path;
    return "";
  }
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string corpusFile(const std::string& corpusRoot, const std::string& relative) {
  std::string path = corpusRoot + "/" + relative;
  return std::filesystem::exists(path) ? path : std::string();
}
