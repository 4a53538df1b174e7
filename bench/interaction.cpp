// What a person waits for, with the scripted back end standing in for the
// screen: File > Open of a Gaussian TD output of 200 states (the reset, the
// four detectors, the UV and ECD readers, broadening and redraw), and typing
// a new band width σ until the page is drawn again. The output is written
// once by the benchmark, in the layout Gaussian prints.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "app/Main.h"
#include "platform/testing/session.h"
#include "store/Store.h"

namespace {

constexpr int states = 200;

std::string fixed(double value, int width, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%*.*f", width, decimals, value);
  return text;
}

// A table of one row per state: the state, three components and a value.
std::string stateTable(const std::string& heading, double (*value)(int)) {
  std::string text = heading;
  for (int k = 1; k <= states; ++k)
    text += fixed(k, 10, 0) + fixed(0.01 * (k % 7), 15, 4) + fixed(-0.02 * (k % 5), 12, 4) +
            fixed(0.003 * k, 12, 4) + fixed(value(k), 13, 4) + "\n";
  return text;
}

double wavelength(int k) { return 450.0 - 1.4 * k; }
double oscillator(int k) { return 0.001 * (k % 13) + 0.0005; }
double rotatory(int k) { return (k % 3 == 0 ? -1.0 : 1.0) * (2.0 + 11.0 * std::fabs(std::sin(0.37 * k))); }

std::string tdOutput() {
  std::string text =
      " Entering Gaussian System, Link 0=g03\n"
      " Gaussian 03:  IA32L-G03RevB.05 31-Oct-2003\n"
      " # td=(nstates=200) b3lyp/TZVP\n";
  text += stateTable(" Ground to excited state transition velocity dipole Moments (Au):\n"
                     "       state          X           Y           Z          Osc.\n",
                     oscillator);
  text += stateTable(" Ground to excited state transition magnetic dipole Moments (Au):\n"
                     "       state          X           Y           Z\n",
                     [](int) { return 0.0; });
  text += stateTable(" <0|del|b> * <b|rxdel|0>  (Au), Rotatory Strengths (R) in\n"
                     " cgs (10**-40 erg-esu-cm/Gauss)\n"
                     "       state          X           Y           Z     R(velocity)\n",
                     rotatory);
  text += stateTable(" <0|r|b> * <b|rxdel|0>  (Au), Rotatory Strengths (R) in\n"
                     " cgs (10**-40 erg-esu-cm/Gauss)\n"
                     "       state          X           Y           Z     R(length)\n",
                     rotatory);
  text += stateTable("  <0|del|b> * <b|r|0>  (Au)\n"
                     "       state          X           Y           Z       Osc.(frdel)\n",
                     oscillator);
  text += " Excitation energies and oscillator strengths:\n \n";
  for (int k = 1; k <= states; ++k) {
    text += " Excited State" + fixed(k, 4, 0) + ":   Singlet-A    " + fixed(1239.84 / wavelength(k), 8, 4) +
            " eV" + fixed(wavelength(k), 8, 2) + " nm  f=" + fixed(oscillator(k), 6, 4) + "\n";
    text += "      44 -> 46        -0.25597\n \n";
  }
  text += " Normal termination of Gaussian 03.\n";
  return text;
}

// A session with the output written into its folder.
struct OpenedOutput {
  Session ui;
  std::string path = ui.path("td200.log");
  OpenedOutput() { writeTextFile(path, tdOutput()); }
  void open() {
    ui.willChooseFile(path);
    ui.menu(Form1->Open1);
  }
  bool loaded() {
    return ui.store().CDACTIVE[1] == "calc" && ui.store().UVACTIVE[1] == "calc" && ui.errorBoxes().empty();
  }
  std::string why() {
    std::string text = "ECD " + ui.store().CDACTIVE[1] + ", UV " + ui.store().UVACTIVE[1];
    for (const Box& box : ui.boxes()) text += "; " + box.text;
    return text;
  }
};

void BM_OpenTdOutput(benchmark::State& state) {
  OpenedOutput output;
  for (auto _ : state) {
    output.open();
    output.ui.clearBoxes();
  }
  output.open();
  if (!output.loaded()) state.SkipWithError(("the output did not load: " + output.why()).c_str());
  state.counters["states"] = states;
}
BENCHMARK(BM_OpenTdOutput)->Unit(benchmark::kMillisecond);

void BM_BandWidthEdit(benchmark::State& state) {
  OpenedOutput output;
  output.open();
  if (!output.loaded()) state.SkipWithError(("the output did not load: " + output.why()).c_str());
  bool wide = false;
  for (auto _ : state) {
    wide = !wide;
    output.ui.type(Form1->Edit3, wide ? "0.2" : "0.16");
  }
  if (!output.ui.errorBoxes().empty()) state.SkipWithError("typing σ showed an error box");
}
BENCHMARK(BM_BandWidthEdit)->Unit(benchmark::kMillisecond);

}  // namespace
