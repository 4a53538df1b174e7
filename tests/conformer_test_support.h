// What the conformer-tool tests share: running the heat extraction window as
// a person would, and reading the files it writes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/files.h"
#include "platform/testing/session.h"
#include "tools/heatEx.h"

// Tools > "extract heat", the folder typed into the field, the walk mode and
// Gibbs box set, Start pressed; the window is closed again afterwards.
inline void extractHeat(Session& ui, const std::string& folderField, bool subfolders, bool gibbs) {
  ui.onModal(Form5, [&] {
    ui.type(Form5->Edit1, folderField);
    if (Form5->CheckBox1->Checked() != subfolders)
      subfolders ? ui.tick(Form5->CheckBox1) : ui.untick(Form5->CheckBox1);
    if (Form5->CheckBox2->Checked() != gibbs)
      gibbs ? ui.tick(Form5->CheckBox2) : ui.untick(Form5->CheckBox2);
    ui.click(Form5->Button2);
  });
  ASSERT_TRUE(ui.menu(Form1->heatextraction1));
}

inline const std::vector<std::string>& heatLog() { return Form5->Memo1->Lines(); }

// The lines of a file written by the program (CR LF after every line).
inline std::vector<std::string> writtenLines(const std::string& path) {
  if (!std::filesystem::exists(path)) return {};
  const std::string text = readTextFile(path);
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  EXPECT_EQ(start, text.size()) << path << " does not end with CR LF";
  return lines;
}

inline void copyFile(const std::string& from, const std::string& to) {
  std::filesystem::create_directories(std::filesystem::path(to).parent_path());
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
}

// Writes text into a new file, making its folders first.
inline void writeNewFile(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  writeTextFile(path, text);
}

inline std::string heatLine(const std::string& energy) {
  return "HEAT OF FORMATION  =  " + energy + " kcal/mol";
}
