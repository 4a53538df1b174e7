// What the conformer-tool tests share: running the heat extraction window as
// a person would, and reading the files it writes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

// Boltzmann weights in per cent of energies in hartree, computed here from the
// constants alone: 627.51 kcal/mol per hartree, R = 1.9863490372210806
// cal/(mol K).
inline std::vector<double> expectedPercents(const std::vector<double>& hartrees, double temperature) {
  double lowest = hartrees[0] * 627.51;
  for (double h : hartrees) lowest = std::min(lowest, h * 627.51);
  std::vector<double> terms;
  double sum = 0.0;
  for (double h : hartrees) {
    terms.push_back(std::exp(-(h * 627.51 - lowest) * 1000.0 / (1.9863490372210806 * temperature)));
    sum += terms.back();
  }
  for (double& term : terms) term = 100.0 * term / sum;
  return terms;
}
