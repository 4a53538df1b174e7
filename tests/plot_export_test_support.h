// The pages the publication-plot tests export: small fixtures loaded as a
// person would, and the scripts built from them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/files.h"
#include "platform/testing/session.h"
#include "plots/hplc_export.h"
#include "plots/irvcd_export.h"
#include "plots/ord_export.h"
#include "plots/vcdplotting.h"
#include "plots/plot_script.h"
#include "plots/uvecd_export.h"
#include "reader_test_support.h"  // boxTexts
#include "settings/settings.h"

// The name of a parameterised case from an exporter's name ("ECD EPS"):
// its blanks left out, as test names allow.
inline std::string CaseName(const std::string& exporterName) {
  std::string name;
  for (char c : exporterName)
    if (c != ' ') name += c;
  return name;
}

// A computed ECD curve beside a measured one (slots 1 and 2).
inline void loadEcdPair(Session& ui) {
  ui.act([] {
    Form1->Choose(fixture("plots/conf1.cd.bil"));
    Form1->CDXY(fixture("plots/film.cd.exp.xy"), 2);
  });
}

inline void loadUvPair(Session& ui) {
  ui.act([] {
    Form1->Choose(fixture("plots/conf1.uv.bil"));
    Form1->UVXY(fixture("plots/film.uv.exp.xy"), 2);
  });
}

// Computed rotations in ORD slot 1, a measured ORD curve in slot 2.
inline void loadOrdPair(Session& ui) {
  ui.act([] {
    Form1->Choose(fixture("measured/mol.or.bil"));
    Form1->ORDXY(fixture("plots/sample.or.exp.xy"), 2);
  });
}

// A stand-in gnuplot in a folder of its own, named in the settings window.
struct FakeGnuplot {
  TempFolder folder;
  explicit FakeGnuplot(const std::string& body) {
    const std::string path = folder.file("gnuplot");
    writeTextFile(path, "#!/bin/sh\n" + body + "\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    Form2->Edit1->SetText(folder.path());
  }
};

// Writes the picture the script names, as gnuplot would.
inline constexpr char WritesPicture[] = R"(b="${1%????}"; echo picture > "$b.eps"; echo picture > "$b.png")";

// The script as the file holds it: every line with CR LF.
inline std::string scriptText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// Writes the script and its data files into `folder`, as the program saves
// them.
inline void writePlot(const std::string& folder, const std::string& scriptName,
                      const PlotScript& script) {
  WriteLinesCRLF(folder + "/" + scriptName, script.lines);
  for (const DataFile& file : script.dataFiles) WriteLinesCRLF(folder + "/" + file.name, file.lines);
}

// The plot of each export button, built from the program's state now.
enum class PlotButton { EcdEps, EcdPng, UvEps, UvPng, OrdEps, OrdPng };

inline PlotScript buildPlot(Session& ui, PlotButton button, const std::string& scriptName) {
  const PlotControls controls = ReadPlotControls(*Form1);
  switch (button) {
    case PlotButton::EcdEps: return BuildUvEcdScript(UvEcdPlot::EcdEps, ui.store(), controls, scriptName);
    case PlotButton::EcdPng: return BuildUvEcdScript(UvEcdPlot::EcdPng, ui.store(), controls, scriptName);
    case PlotButton::UvEps: return BuildUvEcdScript(UvEcdPlot::UvEps, ui.store(), controls, scriptName);
    case PlotButton::UvPng: return BuildUvEcdScript(UvEcdPlot::UvPng, ui.store(), controls, scriptName);
    case PlotButton::OrdEps: return BuildOrdScript(Picture::Eps, ui.store(), controls, scriptName);
    case PlotButton::OrdPng: return BuildOrdScript(Picture::Png, ui.store(), controls, scriptName);
  }
  return {};
}

inline bool isPngButton(PlotButton button) {
  return button == PlotButton::EcdPng || button == PlotButton::UvPng || button == PlotButton::OrdPng;
}

// A line of the script that starts with `start`; "" when there is none.
inline std::string lineStarting(const std::vector<std::string>& lines, const std::string& start) {
  for (const std::string& line : lines)
    if (line.rfind(start, 0) == 0) return line;
  return std::string();
}

// The golden pages: each pair loaded with its boxes ticked so that the
// script holds a mirror image or bars and a second curve.
struct GoldenPage {
  const char* name;  // also the script's name, less ".plt"
  PlotButton button;
};
inline const std::vector<GoldenPage>& goldenPages() {
  static const std::vector<GoldenPage> pages = {
      {"ecd-eps", PlotButton::EcdEps}, {"ecd-png", PlotButton::EcdPng},
      {"uv-eps", PlotButton::UvEps},   {"uv-png", PlotButton::UvPng},
      {"ord-eps", PlotButton::OrdEps}, {"ord-png", PlotButton::OrdPng},
  };
  return pages;
}

inline void prepareGoldenPage(Session& ui, PlotButton button, bool gnuplot5) {
  if (gnuplot5) ui.tick(Form2->CheckBox1);
  switch (button) {
    case PlotButton::EcdEps:
    case PlotButton::EcdPng:
      loadEcdPair(ui);
      ui.tick(Form1->CheckBox2);  // "enantiomeric ECD" beside "normal ECD"
      ui.tick(Form1->CheckBox1);  // bars of curve 1
      break;
    case PlotButton::UvEps:
    case PlotButton::UvPng:
      loadUvPair(ui);
      ui.tick(Form1->CheckBox1);
      break;
    case PlotButton::OrdEps:
    case PlotButton::OrdPng:
      loadOrdPair(ui);
      ui.tick(Form1->CheckBox12);  // "mirrored ORD" beside "normal ORD"
      break;
  }
}

// ---- The IR/VCD and HPLC pages -------------------------------------------------

// Computed curves in slot 1 and `laterComputed`, a measured one in slot 2.
inline void loadIrVcdPage(Session& ui, bool vcd, int laterComputed) {
  ui.act([&] {
    if (vcd) {
      Form1->Choose(fixture("plots/conf1.vc.bil"));
      Form1->VCDXY(fixture("plots/film.vc.exp.xy"), 2);
      if (laterComputed > 0) Form1->VcdBilFile(fixture("plots/conf2.vc.bil"), laterComputed);
    } else {
      Form1->Choose(fixture("plots/conf1.ir.bil"));
      Form1->IRXY(fixture("plots/film.ir.exp.xy"), 2);
      if (laterComputed > 0) Form1->IrBilFile(fixture("plots/conf2.ir.bil"), laterComputed);
    }
  });
}

// `count` UV traces of peaks.cuv in slots 1 to count, titled run1 ... .
inline void loadHplcTraces(Session& ui, int count) {
  ui.act([&] {
    for (int slot = 1; slot <= count; ++slot) {
      Form1->HPLCUV(fixture("plots/peaks.cuv"), slot);
      ui.store().HPLCTITLE[slot] = "run" + std::to_string(slot) + ".cuv";
    }
  });
}

enum class PlotButton2 { Vcd, Ir, Hplc2D, Hplc3D };

inline PlotScript buildPlot(Session& ui, PlotButton2 button, const std::string& scriptName) {
  const PlotControls controls = ReadPlotControls(*Form1);
  switch (button) {
    case PlotButton2::Vcd: return BuildIrVcdScript(IrVcdPlot::Vcd, ui.store(), controls, scriptName);
    case PlotButton2::Ir: return BuildIrVcdScript(IrVcdPlot::Ir, ui.store(), controls, scriptName);
    case PlotButton2::Hplc2D: return BuildHplc2DScript(HplcDetector::UV, ui.store(), controls, scriptName);
    case PlotButton2::Hplc3D: return BuildHplc3DScript(ui.store(), controls, scriptName);
  }
  return {};
}

struct GoldenPage2 {
  const char* name;
  PlotButton2 button;
};
inline const std::vector<GoldenPage2>& goldenPages2() {
  static const std::vector<GoldenPage2> pages = {
      {"vcd-stacked", PlotButton2::Vcd}, {"vcd-overlay", PlotButton2::Vcd}, {"ir-stacked", PlotButton2::Ir},
      {"hplc-2d", PlotButton2::Hplc2D},  {"hplc-3d", PlotButton2::Hplc3D},
  };
  return pages;
}

inline void prepareGoldenPage2(Session& ui, const std::string& name, bool gnuplot5) {
  if (gnuplot5) ui.tick(Form2->CheckBox1);
  if (name == "vcd-stacked") loadIrVcdPage(ui, true, 4);
  if (name == "vcd-overlay") {
    loadIrVcdPage(ui, true, 0);
    Form13->CheckBox1->SetChecked(true);
    ui.tick(Form1->CheckBox9);  // "enantiomeric VCD"
  }
  if (name == "ir-stacked") loadIrVcdPage(ui, false, 3);
  if (name == "hplc-2d" || name == "hplc-3d") loadHplcTraces(ui, 3);
}
