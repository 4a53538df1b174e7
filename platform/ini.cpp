#include "platform/ini.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/numbers.h"

namespace {

bool sameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
           return lower(x) == lower(y);
         });
}

// The name of a section header line ("[ Units ]" gives "Units"); false for
// other lines.
bool sectionName(const std::string& line, std::string& name) {
  const std::string trimmed = Trim(line);
  if (trimmed.empty() || trimmed[0] != '[') return false;
  const size_t close = trimmed.find(']');
  if (close == std::string::npos) return false;
  name = Trim(trimmed.substr(1, close - 1));
  return true;
}

bool isComment(const std::string& trimmed) {
  return !trimmed.empty() && (trimmed[0] == ';' || trimmed[0] == '#');
}

// Splits a key line into trimmed key and value; false for other lines.
bool keyValue(const std::string& line, std::string& key, std::string& value) {
  const std::string trimmed = Trim(line);
  if (trimmed.empty() || isComment(trimmed)) return false;
  const size_t equals = trimmed.find('=');
  if (equals == std::string::npos) return false;
  key = Trim(trimmed.substr(0, equals));
  value = Trim(trimmed.substr(equals + 1));
  return !key.empty();
}

}  // namespace

IniFile::IniFile(const std::string& path) : path_(path) {
  if (FileExists(path_) || DirectoryExists(path_)) lines_ = ReadLines(path_);
  // A byte-order mark would hide the first section's name.
  if (!lines_.empty() && lines_[0].compare(0, 3, "\xEF\xBB\xBF") == 0) lines_[0].erase(0, 3);
}

IniFile::Found IniFile::find(const std::string& section, const std::string& key) const {
  Found found;
  bool inSection = false;
  std::string name, lineKey, lineValue;
  for (size_t i = 0; i < lines_.size(); ++i) {
    const long index = static_cast<long>(i);
    if (sectionName(lines_[i], name)) {
      if (inSection) break;  // the first matching section is complete
      if (sameName(name, section)) {
        inSection = true;
        found.sectionLine = index;
        found.sectionEnd = index + 1;
      }
      continue;
    }
    if (!inSection) continue;
    if (!Trim(lines_[i]).empty()) found.sectionEnd = index + 1;
    if (found.keyLine < 0 && keyValue(lines_[i], lineKey, lineValue) && sameName(lineKey, key))
      found.keyLine = index;
  }
  return found;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
  const Found found = find(section, key);
  if (found.keyLine < 0) return defaultValue;
  std::string lineKey, value;
  keyValue(lines_[static_cast<size_t>(found.keyLine)], lineKey, value);
  return value;
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
  const std::string value = ReadString(section, key, "");
  if (value.empty()) return defaultValue;
  return value[0] == '1';
}

bool IniFile::SectionExists(const std::string& section) const {
  return find(section, "").sectionLine >= 0;
}

bool IniFile::ValueExists(const std::string& section, const std::string& key) const {
  return find(section, key).keyLine >= 0;
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
  std::string oneLine = value;
  std::replace(oneLine.begin(), oneLine.end(), '\r', ' ');
  std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');

  const Found found = find(section, key);
  std::vector<std::string> lines = lines_;
  if (found.keyLine >= 0) {
    std::string lineKey, oldValue;
    std::string& line = lines[static_cast<size_t>(found.keyLine)];
    keyValue(line, lineKey, oldValue);
    line = lineKey + "=" + oneLine;
  } else if (found.sectionLine >= 0) {
    lines.insert(lines.begin() + found.sectionEnd, key + "=" + oneLine);
  } else {
    if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
    lines.push_back("[" + section + "]");
    lines.push_back(key + "=" + oneLine);
  }
  if (!collecting_) WriteLinesCRLF(path_, lines);  // raises before anything here changed
  lines_ = std::move(lines);
  if (collecting_) changed_ = true;
}

void IniFile::BeginUpdate() { collecting_ = true; }

void IniFile::UpdateFile() {
  collecting_ = false;
  if (!changed_) return;
  WriteLinesCRLF(path_, lines_);
  changed_ = false;
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}
