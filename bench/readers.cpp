// Reading a large Gaussian freq=VCD output into a VCD slot. The output is
// written once, about 50 MB: 800 atoms give 2394 modes in 798 blocks of
// three, each block with its property lines and one line of displacements
// per atom, as Gaussian prints them. The modes stay within the 4001 rows.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/files.h"
#include "readers/gaussian_vibrations.h"
#include "store/Store.h"

namespace {

constexpr int atoms = 800;
constexpr int modes = 3 * atoms - 6;

std::string fixed(double value, int width, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%*.*f", width, decimals, value);
  return text;
}

std::string largeVcdOutput() {
  std::string text =
      " Entering Gaussian System, Link 0=g16\n"
      " Gaussian 16:  ES64L-G16RevC.01  3-Jul-2019\n"
      " # freq=vcd b3lyp/6-31g(d)\n"
      " Harmonic frequencies (cm**-1), IR intensities (KM/Mole), Raman scattering\n"
      " activities (A**4/AMU), depolarization ratios for plane and unpolarized\n"
      " incident light, reduced masses (AMU), force constants (mDyne/A),\n"
      " and normal coordinates:\n";
  text.reserve(size_t{52} << 20);
  for (int first = 1; first <= modes; first += 3) {
    const int inBlock = std::min(3, modes - first + 1);
    auto row = [&](const char* label, auto value) {
      text += label;
      for (int k = 0; k < inBlock; ++k) text += fixed(value(first + k), k == 0 ? 12 : 23, 4);
      text += "\n";
    };
    text += "                  ";
    for (int k = 0; k < inBlock; ++k)
      text += "    " + std::to_string(first + k) + "                  ";
    text += "\n                     A                      A                      A\n";
    row(" Frequencies --", [](int m) { return 10.0 + m * 1.37; });
    row(" Red. masses --", [](int m) { return 1.0 + m % 7; });
    row(" Frc consts  --", [](int m) { return 0.01 * m; });
    row(" IR Inten    --", [](int m) { return 0.5 * (m % 11); });
    row(" Dip. str.   --", [](int m) { return 3.0 * (m % 13); });
    row(" Rot. str.   --", [](int m) { return (m % 2 ? -1.0 : 1.0) * (m % 17); });
    row(" E-M angle   --", [](int m) { return 90.0 + m % 5; });
    text += "  Atom  AN      X      Y      Z        X      Y      Z        X      Y      Z\n";
    for (int atom = 1; atom <= atoms; ++atom) {
      text += fixed(atom, 6, 0) + "   6";
      for (int k = 0; k < 3 * inBlock; ++k)
        text += fixed(((atom + k) % 9 - 4) * 0.01, k % 3 == 0 && k > 0 ? 9 : 7, 2);
      text += "\n";
    }
  }
  text += " Normal termination of Gaussian 16.\n";
  return text;
}

void BM_ReadGaussianVcdLog(benchmark::State& state) {
  const std::string path =
      (std::filesystem::temp_directory_path() / "orvanix_bench_freq_vcd.log").string();
  const std::string text = largeVcdOutput();
  {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
  auto store = std::make_unique<Store>();
  for (auto _ : state) {
    readers::LoadNotes notes;
    const bool found = ReadGaussianLineList(path, store->VCD, 1, readers::LineList::Vcd, notes);
    benchmark::DoNotOptimize(found);
    if (!found || store->VCD(modes - 1, 1, 1) == 0.0 || !notes.empty())
      state.SkipWithError("the modes were not read");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
  state.counters["modes"] = modes;
  state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
  std::filesystem::remove(path);
}
BENCHMARK(BM_ReadGaussianVcdLog)->Unit(benchmark::kMillisecond);

}  // namespace
