// What the spectra-extraction tests share: running the extract spectra
// window as a person would, with the formalism of the settings window.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "conformer_test_support.h"
#include "settings/settings.h"
#include "tools/specEx.h"

enum class Gauge { Length, Velocity, Neither };

// Ticks the formalism in the settings window; Neither unticks both, as a
// hand-edited settings file can leave them.
inline void chooseGauge(Session& ui, Gauge gauge) {
  if (gauge == Gauge::Length) ui.tick(Form2->RadioButton2);
  if (gauge == Gauge::Velocity) ui.tick(Form2->RadioButton1);
  if (gauge == Gauge::Neither)
    ui.act([] {
      Form2->RadioButton1->SetChecked(false);
      Form2->RadioButton2->SetChecked(false);
    });
}

// Tools > "extract spectra", the folder typed into the field, the walk mode
// set, Start pressed; the window is closed again afterwards.
inline void extractSpectra(Session& ui, const std::string& folderField, bool subfolders) {
  ui.onModal(Form6, [&] {
    ui.type(Form6->Edit1, folderField);
    if (Form6->CheckBox1->Checked() != subfolders)
      subfolders ? ui.tick(Form6->CheckBox1) : ui.untick(Form6->CheckBox1);
    ui.click(Form6->Button2);
  });
  ASSERT_TRUE(ui.menu(Form1->buildbilfiles1));
}

inline const std::vector<std::string>& spectraLog() { return Form6->Memo1->Lines(); }

// An sTDA table of states (energy in eV, f length, f velocity, R length,
// R velocity), one line each after "DATXY".
inline std::string stdaTable(const std::vector<std::string>& rows) {
  std::string text = " sTDA spectrum\nDATXY\n";
  for (const std::string& row : rows) text += row + "\n";
  return text;
}
