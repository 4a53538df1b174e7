// The similarity searches as a person starts them: a button click in a
// running program, with its write-back re-broadening and redrawing the main
// window. 100 UV/ECD lines between 180 and 450 nm or 300 modes between 100
// and 3600 1/cm, and 10000 measured points over 100 to 1100 nm or 4000 to 0
// 1/cm. Before anything is timed, the program's trials must equal a plain
// single-threaded loop of the formulas; the program stops when they do not.
// Each click comes after string work, as a search in the program comes after
// a parse and a paint.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Main.h"
#include "bench/vector_state.h"
#include "platform/testing/session.h"
#include "settings/settings.h"
#include "similarity/kernels.h"
#include "similarity/search.h"
#include "similarity/similarity.h"
#include "similarity/similarityvcd.h"
#include "store/Store.h"
#include "tests/test_similarity_reference.h"

namespace {

namespace ref = similarity_reference;

constexpr int MEASURED_POINTS = 10000;

// A running program with both kinds loaded: slot 1 computed, slot 2 measured.
struct Loaded {
  Session ui;
  ref::Points uv, cd, ir, vcd;

  Loaded() {
    ui.menu(Form1->New1);
    Store& s = ui.store();
    for (int k = 0; k < 100; ++k) {
      const int bin = 1800 + k * 27;
      s.OSC(bin, 1) = 0.02 + 0.5 * std::sin(0.3 * k) * std::sin(0.3 * k);
      s.ROTS(bin, 1) = (k % 3 == 0 ? -1.0 : 1.0) * (5.0 + 37.0 * std::sin(0.7 * k) * std::sin(0.7 * k));
    }
    for (int k = 0; k < 300; ++k) {
      s.IR(k, 1, 1) = s.VCD(k, 1, 1) = 100.0 + k * 11.7 + 0.25 * (k % 4);
      s.IR(k, 2, 1) = 20.0 + (k * 37) % 180;
      s.VCD(k, 2, 1) = (k % 2 == 0 ? 1.0 : -1.0) * (10.0 + k % 17);
    }
    s.UVACTIVE[1] = s.CDACTIVE[1] = s.IRACTIVE[1] = s.VCDACTIVE[1] = "calc";
    uv = measured(s.EXPUVX, s.EXPUVY, s.UVDATAPTS, s.UVACTIVE, 1100, 100, [](double nm) {
      return 1.2 * std::exp(-std::pow((nm - 262) / 14, 2)) + 0.7 * std::exp(-std::pow((nm - 215) / 9, 2));
    });
    cd = measured(s.EXPCDX, s.EXPCDY, s.CDDATAPTS, s.CDACTIVE, 1100, 100, [](double nm) {
      return 30 * std::exp(-std::pow((nm - 262) / 14, 2)) - 20 * std::exp(-std::pow((nm - 310) / 12, 2));
    });
    ir = measured(s.EXPIRX, s.EXPIRY, s.IRDATAPTS, s.IRACTIVE, 4000, 0, [](double w) {
      return 0.9 / (1 + std::pow((w - 1010) / 9, 2)) + 0.5 / (1 + std::pow((w - 1730) / 7, 2));
    });
    vcd = measured(s.EXPVCDX, s.EXPVCDY, s.VCDDATAPTS, s.VCDACTIVE, 4000, 0, [](double w) {
      return 0.004 / (1 + std::pow((w - 1010) / 9, 2)) - 0.003 / (1 + std::pow((w - 1240) / 8, 2));
    });
    ui.menu(Form1->Determinesigma1);
  }

  template <class Grid, class Counts, class States>
  ref::Points measured(Grid& x, Grid& y, Counts& counts, States& states, double from, double to,
                       const std::function<double(double)>& curve) {
    ref::Points p{{0}, {0}};
    for (int k = 1; k <= MEASURED_POINTS; ++k) {
      const double at = from + (to - from) * (k - 1) / (MEASURED_POINTS - 1);
      x(k, 2) = at;
      y(k, 2) = curve(at);
      p.x.push_back(at);
      p.y.push_back(curve(at));
    }
    counts[2] = MEASURED_POINTS;
    states[2] = "exp";
    return p;
  }

  MeasuredPoints points(const Grid2<1, 10000, 5>& x, const Grid2<1, 10000, 5>& y) {
    return {{x.slotData(2), MEASURED_POINTS}, {y.slotData(2), MEASURED_POINTS}, MEASURED_POINTS};
  }
};

Loaded& loaded() {
  static Loaded program;
  return program;
}

void setUnit(bool wavenumber) {
  loaded().ui.act([&] { (wavenumber ? Form2->RadioButton6 : Form2->RadioButton5)->SetChecked(true); });
  loaded().ui.menu(Form1->Determinesigma1);
}

void type(Edit* edit, const char* text) { loaded().ui.type(edit, text); }

// The main window's edits as the search found them, so that every click
// writes back, re-broadens and redraws.
void restoreMainEdits(bool wavenumber) {
  type(Form1->Edit2, wavenumber ? "1.0" : "0");
  type(Form1->Edit3, "0.16");
  type(Form1->Edit26, "1.0");
  type(Form1->Edit17, "4");
}

void uvDefaults() {
  setUnit(false);
  for (auto [edit, text] : {std::pair{Form9->Edit1, "-30"}, {Form9->Edit2, "+30"}, {Form9->Edit3, "0.1"},
                            {Form9->Edit4, "0.3"}, {Form9->Edit5, "200"}, {Form9->Edit6, "400"}})
    type(edit, text);
}

void uvWidest() {
  setUnit(true);
  for (auto [edit, text] : {std::pair{Form9->Edit7, "0.7"}, {Form9->Edit8, "1.3"}, {Form9->Edit3, "0.01"},
                            {Form9->Edit4, "0.9"}, {Form9->Edit9, "53000"}, {Form9->Edit10, "5000"}})
    type(edit, text);
}

void irDefaults() {
  for (auto [edit, text] : {std::pair{Form12->Edit1, "0.9"}, {Form12->Edit2, "1.1"}, {Form12->Edit3, "2"},
                            {Form12->Edit4, "10"}, {Form12->Edit5, "500"}, {Form12->Edit6, "2000"}})
    type(edit, text);
}

void irWidest() {
  for (auto [edit, text] : {std::pair{Form12->Edit1, "0.1"}, {Form12->Edit2, "2.0"}, {Form12->Edit3, "1"},
                            {Form12->Edit4, "50"}, {Form12->Edit5, "1"}, {Form12->Edit6, "4000"}})
    type(edit, text);
}

void clicks(benchmark::State& state, const std::function<void()>& setUp, Button* button, bool wavenumber) {
  setUp();
  for (auto _ : state) {
    state.PauseTiming();
    restoreMainEdits(wavenumber);
    DirtyVectorState();
    state.ResumeTiming();
    loaded().ui.click(button);
  }
}

void BM_UvSearchDefault(benchmark::State& state) { clicks(state, uvDefaults, Form9->Button1, false); }
void BM_IrSearchDefault(benchmark::State& state) { clicks(state, irDefaults, Form12->Button1, false); }
void BM_UvSearchWidest(benchmark::State& state) { clicks(state, uvWidest, Form9->Button1, true); }
void BM_EcdFineTuningWidest(benchmark::State& state) { clicks(state, uvWidest, Form9->Button3, true); }
void BM_IrSearchWidest(benchmark::State& state) { clicks(state, irWidest, Form12->Button1, false); }
void BM_VcdFineTuningWidest(benchmark::State& state) { clicks(state, irWidest, Form12->Button3, false); }

BENCHMARK(BM_UvSearchDefault)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IrSearchDefault)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UvSearchWidest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EcdFineTuningWidest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IrSearchWidest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VcdFineTuningWidest)->Unit(benchmark::kMillisecond);

// ---- The check before timing ---------------------------------------------------------

bool same(const std::vector<TrialRecord>& program, const std::vector<TrialRecord>& reference, const char* what) {
  bool equal = program.size() == reference.size();
  const double largestFirst = ref::largestOver(reference, &TrialRecord::first);
  const double largestSecond = ref::largestOver(reference, &TrialRecord::second);
  for (std::size_t k = 0; equal && k < program.size(); ++k)
    equal = ref::sameTrial(program[k], reference[k], largestFirst, largestSecond);
  if (!equal) std::fprintf(stderr, "%s: the search differs from the plain loop\n", what);
  return equal;
}

ref::Builder uvEcdBuilder(std::span<const double> lines, bool cd) {
  return [=](double sigma) {
    std::vector<double> band(UVECD_TRIAL_SIZE);
    (cd ? trialCdBand : trialUvBand)(lines, sigma, BandShape::Gaussian, band);
    return band;
  };
}

ref::Builder irVcdBuilder(IrVcdLines lines, bool vcd) {
  return [=](double gamma) {
    std::vector<double> band(IRVCD_TRIAL_SIZE);
    (vcd ? trialVcdBand : trialIrBand)(lines.wavenumbers, lines.strengths, gamma, band);
    return band;
  };
}

// The default searches whole; the widest ones over their first band widths.
bool searchesAgreeWithThePlainLoop() {
  Loaded& l = loaded();
  Store& s = l.ui.store();
  const std::span<const double> osc{s.OSC.slotData(1), UVECD_TRIAL_SIZE};
  const std::span<const double> rots{s.ROTS.slotData(1), UVECD_TRIAL_SIZE};
  const IrVcdLines ir{{s.IR.columnData(1, 1), IRVCD_TRIAL_SIZE}, {s.IR.columnData(2, 1), IRVCD_TRIAL_SIZE}};
  const IrVcdLines vcd{{s.VCD.columnData(1, 1), IRVCD_TRIAL_SIZE}, {s.VCD.columnData(2, 1), IRVCD_TRIAL_SIZE}};
  const MeasuredPoints uvPoints = l.points(s.EXPUVX, s.EXPUVY), cdPoints = l.points(s.EXPCDX, s.EXPCDY);
  const MeasuredPoints irPoints = l.points(s.EXPIRX, s.EXPIRY), vcdPoints = l.points(s.EXPVCDX, s.EXPVCDY);
  bool agree = true;
  std::vector<TrialRecord> trials;

  const double uvMax = *EXPUVMAX(uvPoints, UvEcdMode::Wavelength, 200, 400);
  searchUv({osc, BandShape::Gaussian}, UvEcdMode::Wavelength, uvPoints, {200, 400, -30, 30, 0.1, 0.3}, uvMax, &trials);
  agree &= same(trials,
                ref::overlapReference(uvEcdBuilder(osc, false), 1000, l.uv, ref::IndexRule::Shift, 200, 400, -30, 30,
                                      0.1, 0.3, 0.01, uvMax)
                    .trials,
                "UV search");

  const double uvWideMax = *EXPUVMAX(uvPoints, UvEcdMode::Wavenumber, 53000, 5000);
  trials.clear();
  searchUv({osc, BandShape::Gaussian}, UvEcdMode::Wavenumber, uvPoints, {53000, 5000, 0.7, 1.3, 0.01, 0.03},
           uvWideMax, &trials);
  agree &= same(trials,
                ref::overlapReference(uvEcdBuilder(osc, false), 1000, l.uv, ref::IndexRule::Scale, 53000, 5000, 0.7,
                                      1.3, 0.01, 0.03, 0.01, uvWideMax)
                    .trials,
                "widest UV search");

  const double cdMax = *EXPCDMAX(cdPoints, EcdMaximumRule::WavenumberEcdRun, 53000, 5000);
  trials.clear();
  fineTuneEcd({rots, BandShape::Gaussian}, UvEcdMode::Wavenumber, cdPoints, {53000, 5000, 0.7, 1.3, 0.01, 0.03}, cdMax,
              false, &trials);
  agree &= same(trials,
                ref::fineTuningReference(uvEcdBuilder(rots, true), 1000, l.cd, ref::IndexRule::Scale, 53000, 5000, 0.7,
                                         1.3, 0.01, 0.03, 0.01, cdMax, false, false)
                    .trials,
                "widest ECD fine tuning");

  const double irMax = *EXPIRMAX(irPoints, 500, 2000);
  trials.clear();
  searchIr(ir, irPoints, {500, 2000, 0.9, 1.1, 2, 10}, irMax, &trials);
  agree &= same(trials,
                ref::overlapReference(irVcdBuilder(ir, false), 0, l.ir, ref::IndexRule::Ir, 500, 2000, 0.9, 1.1, 2, 10,
                                      1, irMax)
                    .trials,
                "IR search");

  const double vcdMax = *EXPVCDMAX(vcdPoints, 1, 4000);
  trials.clear();
  fineTuneVcd(vcd, vcdPoints, {1, 4000, 0.1, 2.0, 1, 2}, vcdMax, false, &trials);
  agree &= same(trials,
                ref::fineTuningReference(irVcdBuilder(vcd, true), 0, l.vcd, ref::IndexRule::Ir, 1, 4000, 0.1, 2.0, 1,
                                         2, 1, vcdMax, true, false)
                    .trials,
                "widest VCD fine tuning");
  return agree;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  if (!searchesAgreeWithThePlainLoop()) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
