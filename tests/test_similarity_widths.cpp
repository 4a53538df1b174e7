// The searches give the same result on every processor: every trial, every
// memo line and every value written back are the same at the baseline width,
// with AVX2 and with AVX-512.
#include <gtest/gtest.h>

#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/testing/session.h"
#include "platform/testing/time_limit.h"
#include "settings/settings.h"
#include "similarity/kernels.h"
#include "similarity/search.h"
#include "similarity/similarity.h"
#include "similarity/similarityvcd.h"
#include "store/Store.h"
#include "tests/vector_width_limit.h"

namespace {

using Lines = std::vector<std::string>;

constexpr int MEASURED_POINTS = 1500;
constexpr std::chrono::seconds SEARCH_TIME_LIMIT(120);

std::string nameOf(VectorWidth width) {
  return width == VectorWidth::Baseline ? "baseline" : width == VectorWidth::Avx2 ? "AVX2" : "AVX-512";
}

// Computed lines that match the measured curves only roughly, so that the
// searches' bests are decided by small differences; the measured curves
// sample x at steps that are no whole number, so points share no grid index
// pattern.
double uvCurve(double nm) {
  return 1.2 * std::exp(-std::pow((nm - 262) / 14, 2)) + 0.7 * std::exp(-std::pow((nm - 215) / 9, 2));
}
double cdCurve(double nm) {
  return 30 * std::exp(-std::pow((nm - 262) / 14, 2)) - 20 * std::exp(-std::pow((nm - 310) / 12, 2));
}
double irCurve(double w) { return 0.9 / (1 + std::pow((w - 1010) / 9, 2)) + 0.5 / (1 + std::pow((w - 1730) / 7, 2)); }
double vcdCurve(double w) {
  return 0.004 / (1 + std::pow((w - 1010) / 9, 2)) - 0.003 / (1 + std::pow((w - 1240) / 8, 2));
}
double uvLine(int k) { return 0.02 + 0.5 * std::sin(0.3 * k) * std::sin(0.3 * k); }
double cdLine(int k) { return (k % 3 == 0 ? -1.0 : 1.0) * (5.0 + 37.0 * std::sin(0.7 * k) * std::sin(0.7 * k)); }
double modeWavenumber(int k) { return 100.0 + k * 11.7 + 0.25 * (k % 4); }
double irStrength(int k) { return 20.0 + (k * 37) % 180; }
double vcdStrength(int k) { return (k % 2 == 0 ? 1.0 : -1.0) * (10.0 + k % 17); }
int lineBin(int k) { return 1800 + k * 27; }
double measuredX(double from, double to, int k) { return from + (to - from) * (k - 1) / (MEASURED_POINTS - 1); }

// ---- Through the windows ---------------------------------------------------------------

struct Loaded : Session {
  Loaded() {
    menu(Form1->New1);
    Store& s = store();
    for (int k = 0; k < 40; ++k) {
      s.OSC(lineBin(k), 1) = uvLine(k);
      s.ROTS(lineBin(k), 1) = cdLine(k);
    }
    for (int k = 0; k < 120; ++k) {
      s.IR(k, 1, 1) = s.VCD(k, 1, 1) = modeWavenumber(k);
      s.IR(k, 2, 1) = irStrength(k);
      s.VCD(k, 2, 1) = vcdStrength(k);
    }
    s.UVACTIVE[1] = s.CDACTIVE[1] = s.IRACTIVE[1] = s.VCDACTIVE[1] = "calc";
    for (int k = 1; k <= MEASURED_POINTS; ++k) {
      const double nm = measuredX(1100, 100, k), w = measuredX(4000, 0, k);
      s.EXPUVX(k, 2) = s.EXPCDX(k, 2) = nm;
      s.EXPUVY(k, 2) = uvCurve(nm);
      s.EXPCDY(k, 2) = cdCurve(nm);
      s.EXPIRX(k, 2) = s.EXPVCDX(k, 2) = w;
      s.EXPIRY(k, 2) = irCurve(w);
      s.EXPVCDY(k, 2) = vcdCurve(w);
    }
    s.UVDATAPTS[2] = s.CDDATAPTS[2] = s.IRDATAPTS[2] = s.VCDDATAPTS[2] = MEASURED_POINTS;
    s.UVACTIVE[2] = s.CDACTIVE[2] = s.IRACTIVE[2] = s.VCDACTIVE[2] = "exp";
  }

  void typeAll(const std::vector<std::pair<Edit*, const char*>>& edits) {
    for (const auto& [edit, text] : edits) type(edit, text);
  }
};

// What a search leaves behind: its memo and the main window's edits it may
// write back.
struct Outcome {
  Lines memo;
  std::vector<std::string> written;
  bool operator==(const Outcome&) const = default;
};

struct SearchRow {
  const char* what;
  bool wavenumber;  // the UV/ECD unit
  std::function<std::vector<std::pair<Edit*, const char*>>()> ranges;
  std::function<Button*()> button;
  std::function<Memo*()> memo;
};

Outcome run(const SearchRow& row, VectorWidth width) {
  VectorWidthLimit limit(width);
  Loaded ui;
  ui.act([&] { (row.wavenumber ? Form2->RadioButton6 : Form2->RadioButton5)->SetChecked(true); });
  ui.menu(Form1->Determinesigma1);
  ui.typeAll({{Form1->Edit2, row.wavenumber ? "1.0" : "0"},
              {Form1->Edit3, "0.16"},
              {Form1->Edit26, "1.0"},
              {Form1->Edit17, "4"}});
  ui.typeAll(row.ranges());
  WithinTimeLimit(std::string(row.what) + " at " + nameOf(width), SEARCH_TIME_LIMIT,
                  [&] { ui.click(row.button()); });
  EXPECT_TRUE(ui.errorBoxes().empty()) << row.what;
  return {row.memo()->Lines(),
          {Form1->Edit2->Text(), Form1->Edit3->Text(), Form1->Edit26->Text(), Form1->Edit17->Text()}};
}

TEST(SearchesAtEveryWidth, PrintAndWriteBackTheSame) {
  if (KernelVectorWidth() == VectorWidth::Baseline) GTEST_SKIP() << "the processor has no AVX2";
  auto uvDefault = [] {
    return std::vector<std::pair<Edit*, const char*>>{{Form9->Edit1, "-30"}, {Form9->Edit2, "+30"},
                                                      {Form9->Edit3, "0.1"}, {Form9->Edit4, "0.3"},
                                                      {Form9->Edit5, "200"}, {Form9->Edit6, "400"}};
  };
  auto uvWidest = [] {
    return std::vector<std::pair<Edit*, const char*>>{{Form9->Edit7, "0.7"},   {Form9->Edit8, "1.3"},
                                                      {Form9->Edit3, "0.01"},  {Form9->Edit4, "0.9"},
                                                      {Form9->Edit9, "53000"}, {Form9->Edit10, "5000"}};
  };
  auto irDefault = [] {
    return std::vector<std::pair<Edit*, const char*>>{{Form12->Edit1, "0.9"}, {Form12->Edit2, "1.1"},
                                                      {Form12->Edit3, "2"},   {Form12->Edit4, "10"},
                                                      {Form12->Edit5, "500"}, {Form12->Edit6, "2000"}};
  };
  auto irWidest = [] {
    return std::vector<std::pair<Edit*, const char*>>{{Form12->Edit1, "0.1"}, {Form12->Edit2, "2.0"},
                                                      {Form12->Edit3, "1"},   {Form12->Edit4, "50"},
                                                      {Form12->Edit5, "1"},   {Form12->Edit6, "4000"}};
  };
  auto uvMemo = [] { return Form9->Memo1; };
  auto irMemo = [] { return Form12->Memo1; };
  const SearchRow rows[] = {
      {"UV, default ranges", false, uvDefault, [] { return Form9->Button1; }, uvMemo},
      {"ECD fine tuning, default ranges", false, uvDefault, [] { return Form9->Button3; }, uvMemo},
      {"UV, widest ranges", true, uvWidest, [] { return Form9->Button1; }, uvMemo},
      {"ECD fine tuning, widest ranges", true, uvWidest, [] { return Form9->Button3; }, uvMemo},
      {"IR, default ranges", false, irDefault, [] { return Form12->Button1; }, irMemo},
      {"VCD fine tuning, default ranges", false, irDefault, [] { return Form12->Button3; }, irMemo},
      {"IR, widest ranges", false, irWidest, [] { return Form12->Button1; }, irMemo},
      {"VCD fine tuning, widest ranges", false, irWidest, [] { return Form12->Button3; }, irMemo},
  };
  for (const SearchRow& row : rows) {
    const Outcome baseline = run(row, VectorWidth::Baseline);
    EXPECT_GT(baseline.memo.size(), 3u) << row.what;
    for (VectorWidth width : WideVectorWidths()) {
      const Outcome wide = run(row, width);
      EXPECT_EQ(wide.memo, baseline.memo) << row.what << " at " << nameOf(width);
      EXPECT_EQ(wide.written, baseline.written) << row.what << " at " << nameOf(width);
    }
  }
}

// ---- Every trial, bit for bit --------------------------------------------------------------

struct Measured {
  std::vector<double> x, y;
  MeasuredPoints points() const { return {x, y, static_cast<int>(x.size())}; }
};

Measured measured(double from, double to, double (*curve)(double)) {
  Measured m;
  for (int k = 1; k <= MEASURED_POINTS; ++k) {
    m.x.push_back(measuredX(from, to, k));
    m.y.push_back(curve(m.x.back()));
  }
  return m;
}

std::uint64_t bits(double value) { return std::bit_cast<std::uint64_t>(value); }

void expectSameTrials(const std::vector<TrialRecord>& wide, const std::vector<TrialRecord>& baseline,
                      const std::string& what) {
  ASSERT_EQ(wide.size(), baseline.size()) << what;
  std::size_t differing = 0;
  for (std::size_t k = 0; k < wide.size(); ++k) {
    const TrialRecord &a = wide[k], &b = baseline[k];
    const bool same = bits(a.width) == bits(b.width) && bits(a.position) == bits(b.position) &&
                      a.counted == b.counted && bits(a.computedMaximum) == bits(b.computedMaximum) &&
                      bits(a.SCALE) == bits(b.SCALE) && bits(a.first) == bits(b.first) &&
                      bits(a.second) == bits(b.second);
    if (!same && differing++ == 0)
      ADD_FAILURE() << what << ": trial " << k << " (width " << a.width << ", position " << a.position
                    << ") gives " << a.first << ", " << a.second << " against " << b.first << ", " << b.second;
  }
  EXPECT_EQ(differing, 0u) << what;
}

TEST(SearchesAtEveryWidth, GiveEveryTrialTheSameBits) {
  if (KernelVectorWidth() == VectorWidth::Baseline) GTEST_SKIP() << "the processor has no AVX2";
  std::vector<double> uv(UVECD_TRIAL_SIZE), cd(UVECD_TRIAL_SIZE);
  for (int k = 0; k < 40; ++k) {
    uv[lineBin(k) - TRIAL_FIRST_BIN] = uvLine(k);
    cd[lineBin(k) - TRIAL_FIRST_BIN] = cdLine(k);
  }
  std::vector<double> wavenumbers, irStrengths, vcdStrengths;
  for (int k = 0; k < 120; ++k) {
    wavenumbers.push_back(modeWavenumber(k));
    irStrengths.push_back(irStrength(k));
    vcdStrengths.push_back(vcdStrength(k));
  }
  const Measured uvPoints = measured(1100, 100, uvCurve), cdPoints = measured(1100, 100, cdCurve);
  const Measured irPoints = measured(4000, 0, irCurve), vcdPoints = measured(4000, 0, vcdCurve);
  const SearchRanges shifts{200, 400, -30, 30, 0.1, 0.3};
  const SearchRanges scales{53000, 5000, 0.9, 1.1, 0.1, 0.3};
  const SearchRanges irRanges{500, 2000, 0.9, 1.1, 2, 10};
  struct Row {
    const char* what;
    std::function<void(std::vector<TrialRecord>&)> search;
  };
  const Row rows[] = {
      {"UV, shifts",
       [&](auto& t) {
         searchUv({uv, BandShape::Gaussian}, UvEcdMode::Wavelength, uvPoints.points(), shifts, 1.2, &t);
       }},
      {"UV, x scales, Lorentzian",
       [&](auto& t) {
         searchUv({uv, BandShape::Lorentzian}, UvEcdMode::Wavenumber, uvPoints.points(), scales, 1.2, &t);
       }},
      {"ECD, shifts",
       [&](auto& t) {
         fineTuneEcd({cd, BandShape::Gaussian}, UvEcdMode::Wavelength, cdPoints.points(), shifts, 30, false, &t);
       }},
      {"ECD, x scales",
       [&](auto& t) {
         fineTuneEcd({cd, BandShape::Gaussian}, UvEcdMode::Wavenumber, cdPoints.points(), scales, 30, true, &t);
       }},
      {"IR", [&](auto& t) { searchIr({wavenumbers, irStrengths}, irPoints.points(), irRanges, 0.9, &t); }},
      {"VCD",
       [&](auto& t) { fineTuneVcd({wavenumbers, vcdStrengths}, vcdPoints.points(), irRanges, 0.004, false, &t); }},
  };
  for (const Row& row : rows) {
    std::vector<TrialRecord> baseline;
    {
      VectorWidthLimit limit(VectorWidth::Baseline);
      row.search(baseline);
    }
    std::size_t counted = 0;
    for (const TrialRecord& trial : baseline) counted += trial.counted;
    EXPECT_GT(counted, 0u) << row.what;
    for (VectorWidth width : WideVectorWidths()) {
      VectorWidthLimit limit(width);
      std::vector<TrialRecord> wide;
      row.search(wide);
      expectSameTrials(wide, baseline, std::string(row.what) + " at " + nameOf(width));
    }
  }
}

// ---- The same bits with every compiler ------------------------------------------------------

// Every trial's bits folded into one number (FNV-1a).
std::uint64_t fingerprint(const std::vector<TrialRecord>& trials) {
  std::uint64_t hash = 14695981039346656037ull;
  auto mix = [&](std::uint64_t value) {
    for (int byte = 0; byte < 8; ++byte) {
      hash ^= (value >> (8 * byte)) & 0xff;
      hash *= 1099511628211ull;
    }
  };
  for (const TrialRecord& t : trials) {
    for (double v : {t.width, t.position, t.computedMaximum, t.SCALE, t.first, t.second}) mix(bits(v));
    mix(t.counted ? 1 : 0);
  }
  return hash;
}

double lorentzian(double x, double at, double width) {
  const double d = (x - at) / width;
  return 1 / (1 + d * d);
}

// Inputs made with the four operations alone, so that nothing but the
// program's own arithmetic decides the bits: a build by another compiler, or
// at another optimisation level, must print these same fingerprints. A change
// in the order of the sums, a fused multiply-add or another exponential
// changes them.
TEST(SearchesAtEveryWidth, GiveTheSameBitsWithEveryCompiler) {
  std::vector<double> uv(UVECD_TRIAL_SIZE), cd(UVECD_TRIAL_SIZE);
  for (int k = 0; k < 40; ++k) {
    uv[lineBin(k) - TRIAL_FIRST_BIN] = 0.02 + (k % 7) / 8.0;
    cd[lineBin(k) - TRIAL_FIRST_BIN] = (k % 3 == 0 ? -1.0 : 1.0) * (5 + k % 11);
  }
  std::vector<double> wavenumbers, irStrengths, vcdStrengths;
  for (int k = 0; k < 120; ++k) {
    wavenumbers.push_back(100.0 + k * 11.7 + 0.25 * (k % 4));
    irStrengths.push_back(20.0 + (k * 37) % 180);
    vcdStrengths.push_back((k % 2 == 0 ? 1.0 : -1.0) * (10.0 + k % 17));
  }
  Measured uvPoints, cdPoints, irPoints, vcdPoints;
  for (int k = 1; k <= MEASURED_POINTS; ++k) {
    const double nm = measuredX(1100, 100, k), w = measuredX(4000, 0, k);
    uvPoints.x.push_back(nm);
    cdPoints.x.push_back(nm);
    irPoints.x.push_back(w);
    vcdPoints.x.push_back(w);
    uvPoints.y.push_back(1.2 * lorentzian(nm, 262, 14) + 0.7 * lorentzian(nm, 215, 9));
    cdPoints.y.push_back(30 * lorentzian(nm, 262, 14) - 20 * lorentzian(nm, 310, 12));
    irPoints.y.push_back(0.9 * lorentzian(w, 1010, 9) + 0.5 * lorentzian(w, 1730, 7));
    vcdPoints.y.push_back(0.004 * lorentzian(w, 1010, 9) - 0.003 * lorentzian(w, 1240, 8));
  }
  const SearchRanges shifts{200, 400, -30, 30, 0.1, 0.3};
  const SearchRanges irRanges{500, 2000, 0.9, 1.1, 2, 10};
  std::vector<TrialRecord> uvTrials, cdTrials, irTrials, vcdTrials;
  searchUv({uv, BandShape::Gaussian}, UvEcdMode::Wavelength, uvPoints.points(), shifts, 1.2, &uvTrials);
  fineTuneEcd({cd, BandShape::Gaussian}, UvEcdMode::Wavelength, cdPoints.points(), shifts, 30, false, &cdTrials);
  searchIr({wavenumbers, irStrengths}, irPoints.points(), irRanges, 0.9, &irTrials);
  fineTuneVcd({wavenumbers, vcdStrengths}, vcdPoints.points(), irRanges, 0.004, false, &vcdTrials);
  EXPECT_EQ(fingerprint(uvTrials), std::uint64_t{0x5d588063743e7af9}) << "UV";
  EXPECT_EQ(fingerprint(cdTrials), std::uint64_t{0x8cf32ee07e2efb17}) << "ECD";
  EXPECT_EQ(fingerprint(irTrials), std::uint64_t{0x7e64ac49734478c9}) << "IR";
  EXPECT_EQ(fingerprint(vcdTrials), std::uint64_t{0x489c1d9fb18ac33c}) << "VCD";
}

}  // namespace
