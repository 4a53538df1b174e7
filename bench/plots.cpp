// Writing an ECD EPS plot of five computed curves: the script and its five
// data files of 39 001 lines each, gnuplot not run. Beside it a plain loop
// that formats the same lines with the standard library and writes them the
// same way, as the floor of what the number texts can cost.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/files.h"
#include "plots/plot_script.h"
#include "plots/uvecd_export.h"
#include "store/Store.h"

namespace {

// Five computed ECD bands on the whole grid, as the broadening leaves them.
std::unique_ptr<Store> fiveComputedCurves() {
  auto store = std::make_unique<Store>();
  for (long slot = 1; slot <= 5; ++slot) {
    store->CDACTIVE[slot] = "calc";
    store->CDTITLE[slot] = "conformer" + std::to_string(slot) + ".cd.bil";
    store->CDMAX[slot] = 20.0 + slot;
    store->CDFACTOR[slot] = 1.0;
    for (long bin = MINLAMBDA; bin <= MAXLAMBDA; ++bin)
      store->EPS(bin, slot) = 25.0 * std::sin(bin * 0.003 * slot) * std::exp(-bin / 20000.0);
  }
  return store;
}

PlotControls layoutControls() {
  PlotControls c;
  c.cd = {.Edit1 = "Arial", .Edit7 = "[-y1:y1]", .Edit8 = "[-y2:y2]",
          .Edit9 = "wavelength {/Symbol l} [nm]", .Edit10 = "CD [mdeg]", .Edit11 = "",
          .Edit12 = "32", .Edit13 = "36", .Edit14 = "18", .Edit15 = "Arial", .Edit16 = "20",
          .Edit17 = "22", .Edit18 = "14", .CheckBox1 = true};
  c.uv = c.cd;
  for (std::string* shift : {&c.Edit2, &c.Edit12, &c.Edit13, &c.Edit31, &c.Edit32}) shift->assign(1, '0');
  c.Edit3 = "0.16";
  c.Edit4 = "150";
  c.Edit5 = "600";
  c.CheckBox3 = true;
  c.CheckBox8 = true;
  return c;
}

std::string benchFolder() {
  static std::string folder = [] {
    char name[] = "/tmp/orvanix-bench-plots-XXXXXX";
    const char* made = mkdtemp(name);
    return std::string(made != nullptr ? made : "/tmp");
  }();
  return folder;
}

void writeAll(const PlotScript& script) {
  const std::string folder = benchFolder() + "/";
  WriteLinesCRLF(folder + "five.plt", script.lines);
  for (const DataFile& file : script.dataFiles) WriteLinesCRLF(folder + file.name, file.lines);
}

void BM_WriteEcdEpsFiveCurves(benchmark::State& state) {
  const auto store = fiveComputedCurves();
  const PlotControls controls = layoutControls();
  for (auto _ : state) {
    const PlotScript script = BuildUvEcdScript(UvEcdPlot::EcdEps, *store, controls, "five.plt");
    writeAll(script);
    benchmark::DoNotOptimize(script.dataFiles.size());
  }
}
BENCHMARK(BM_WriteEcdEpsFiveCurves)->Unit(benchmark::kMillisecond);

// The same five data files from std::to_chars: x in the shortest form, y
// with six decimals.
void BM_PlainFormatting(benchmark::State& state) {
  const auto store = fiveComputedCurves();
  for (auto _ : state) {
    for (long slot = 1; slot <= 5; ++slot) {
      std::vector<std::string> lines;
      lines.reserve(MAXLAMBDA - MINLAMBDA + 1);
      for (long bin = MINLAMBDA; bin <= MAXLAMBDA; ++bin) {
        char text[64];
        char* end = std::to_chars(text, text + 30, bin / 10.0).ptr;
        *end++ = '\t';
        end = std::to_chars(end, text + sizeof text, store->EPS(bin, slot), std::chars_format::fixed, 6).ptr;
        lines.emplace_back(text, end);
      }
      WriteLinesCRLF(benchFolder() + "/plain" + std::to_string(slot) + ".xy", lines);
    }
  }
}
BENCHMARK(BM_PlainFormatting)->Unit(benchmark::kMillisecond);

}  // namespace
