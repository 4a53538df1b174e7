// INI files: sections in square brackets, each followed by lines of
// key=value.
//
// Section and key names match without regard to case (ASCII letters); the
// first of several equal sections or keys counts. Keys and values are read
// with white space trimmed. Every write updates the file on disk at once, so
// nothing is lost when the program ends or fails later, unless the writes of
// one save are collected with BeginUpdate and written once by UpdateFile;
// lines, comments, other sections and other keys stay where they were. The file is written
// with CR LF line ends; files with CR LF or LF line ends are read.
#pragma once

#include <string>
#include <vector>

class IniFile {
 public:
  // Reads the file when it exists; a missing file is an empty one and is
  // created by the first write. An existing file that cannot be read raises
  // EInOutError.
  explicit IniFile(const std::string& path);

  const std::string& path() const { return path_; }

  // The value, or `defaultValue` when the section or key is missing.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // True exactly when the value begins with "1" ("1abc" is true, "yes" is
  // false); a missing or empty value gives `defaultValue`.
  bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;

  // Sets the value (an existing key keeps its place and spelling, a new key
  // goes to the end of its section, a new section to the end of the file)
  // and writes the file. A failed write raises EInOutError with the system's
  // text and leaves this object as it was. Line breaks inside a value become
  // blanks.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  // Writes "1" or "0".
  void WriteBool(const std::string& section, const std::string& key, bool value);

  // From here on the writes change only this object, until UpdateFile writes
  // them all at once: a save of many keys replaces the file once, and a save
  // that fails half-way leaves the file as it was.
  void BeginUpdate();
  // Writes the collected changes in one go (nothing when there are none) and
  // goes back to writing each change at once. Raises EInOutError when the
  // write fails; the file then keeps what it had, this object the changes.
  void UpdateFile();

 private:
  struct Found {
    long sectionLine = -1;  // line index of the section header
    long keyLine = -1;      // line index of the key
    long sectionEnd = -1;   // one past the last key or other line of the section
  };
  Found find(const std::string& section, const std::string& key) const;

  std::string path_;
  std::vector<std::string> lines_;
  bool collecting_ = false;  // between BeginUpdate and UpdateFile
  bool changed_ = false;     // collected changes not yet on disk
};
