// The conformer tools on the sizes a conformer search gives:
// - BM_ExtractEnergies: Start of the heat extraction over 1 000 subfolders,
//   each with one Gaussian 16 conformer output of about 100 KB (30-state TD
//   tables, three optical rotations, a freq=VCD block, thermochemistry and
//   the archive; the energies vary), written once.
// - BM_ExtractSpectra: Start of the spectra extraction over the same 1 000
//   subfolders, length formalism.
// - BM_BoltzmannSum20: Start of a Boltzmann ECD sum of 20 cd.bil files of
//   100 lines, broadening and redraw included.
// Run with QT_QPA_PLATFORM=offscreen (the sum draws the UV/ECD page).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/Main.h"
#include "app/Program.h"
#include "platform/files.h"
#include "store/Store.h"
#include "tools/heatEx.h"
#include "tools/specEx.h"
#include "tools/sumspectra.h"

namespace {

namespace fs = std::filesystem;

constexpr int conformers = 1000;

std::string number(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

void writeFile(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  std::FILE* file = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}

// One conformer's Gaussian 16 output; `variant` moves its energies.
std::string conformerOutput(int variant) {
  const double shift = 0.0001 * variant;
  std::string text =
      " Entering Gaussian System, Link 0=g16\n"
      " Gaussian 16:  ES64L-G16RevC.01  3-Jul-2019\n"
      " #p td(nstates=30) b3lyp/6-31g(d) polar=optrot freq=vcd\n";
  text.reserve(size_t{110} << 10);
  for (int state = 1; state <= 30; ++state) {
    text += " Excited State" + number("%4.0f", state) + ":      Singlet-A    " +
            number("%8.4f", 4.0 + 0.05 * state) + " eV " + number("%7.2f", 300.0 - 4.0 * state) +
            " nm  f=" + number("%6.4f", 0.001 * state) + "  <S**2>=0.000\n";
    for (int k = 0; k < 8; ++k)
      text += "      " + number("%3.0f", 40 - k) + " ->" + number("%4.0f", 41 + k) + "        " +
              number("%8.5f", 0.1 * (k + 1)) + "\n";
  }
  text += " Rotatory Strengths (R) in cgs (10**-40 erg-esu-cm/Gauss)\n";
  text += "       state          XX          YY          ZZ    R(velocity)    E-M Angle\n";
  for (int state = 1; state <= 30; ++state)
    text += number("%12.0f", state) + "      0.1234     -0.2345      0.3456" +
            number("%15.4f", (state % 2 ? 1 : -1) * 3.5 * state) + "        88.12\n";
  text += " Rotatory Strengths (R) in cgs (10**-40 erg-esu-cm/Gauss)\n";
  text += "       state          XX          YY          ZZ     R(length)\n";
  for (int state = 1; state <= 30; ++state)
    text += number("%12.0f", state) + "      0.1234     -0.2345      0.3456" +
            number("%15.4f", (state % 2 ? 1 : -1) * 3.1 * state) + "\n";
  for (const double wavelength : {5893.0, 4350.0, 3650.0})
    text += " [Alpha] ( " + number("%6.1f", wavelength) + " A) =" + number("%12.2f", 12.3 + shift) + " deg.\n";
  text += " Harmonic frequencies (cm**-1), IR intensities (KM/Mole), and normal coordinates:\n";
  for (int first = 1; first <= 117; first += 3) {
    text += "                      " + std::to_string(first) + "                      " +
            std::to_string(first + 1) + "                      " + std::to_string(first + 2) + "\n";
    for (const char* label : {" Frequencies --", " Red. masses --", " IR Inten    --", " Dip. str.   --",
                              " Rot. str.   --", " E-M angle   --"})
      text += std::string(label) + number("%12.4f", 100.0 + first * 20) + number("%23.4f", 110.0 + first * 20) +
              number("%23.4f", 120.0 + first * 20) + "\n";
    text += "  Atom  AN      X      Y      Z        X      Y      Z        X      Y      Z\n";
    for (int atom = 1; atom <= 22; ++atom)
      text += number("%6.0f", atom) + "   6   0.01   0.02  -0.03     0.04  -0.05   0.06    -0.07   0.08   0.09\n";
  }
  text += " Sum of electronic and thermal Free Energies=        " + number("%.6f", -500.123456 + shift) + "\n";
  text += " (Enter /g16/l9999.exe)\n";
  text += " 1\\1\\GINC-N\\Freq\\RB3LYP\\6-31G(d)\\C10H20O1\\USER\\01-Jan-2020\\0\\\\#p td b3lyp/6-31g(d) \n";
  text += " polar=optrot freq=vcd\\\\conformer\\\\0,1\\C,0.,0.,0.\\C,1.5,0.,0.\\C,3.,0.,0.\\C,4.5\n";
  for (int line = 0; line < 8; ++line) text += " ,0.,0.\\C,1.,1.,1.\\H,0.5,0.5,0.5\\H,0.1,0.2,0.3\\O,2.,2.,2.\\C,1.\n";
  text += " ,2.,3.\\\\Version=ES64L-G16RevC.01\\State=1-A\\HF=" + number("%.7f", -500.4567891 + shift) +
          "\\RMSD=1.e-09\n";
  text += " \\PG=C01 [X(C10H20O1)]\\\\@\n";
  text += " Normal termination of Gaussian 16.\n";
  return text;
}

const std::string& conformerFolder() {
  static const std::string folder = [] {
    const std::string root = (fs::temp_directory_path() / "orvanix_bench_conformers").string();
    fs::remove_all(root);
    for (int k = 0; k < conformers; ++k)
      writeFile(root + "/conf" + std::to_string(k) + "/job.log", conformerOutput(k));
    return root + "/";
  }();
  return folder;
}

void BM_ExtractEnergies(benchmark::State& state) {
  const std::string& folder = conformerFolder();
  TForm5 window;
  window.Edit1->SetText(folder);
  window.CheckBox1->SetChecked(true);
  for (auto _ : state) {
    window.Button2Click();
    if (window.Memo1->Count() != 2 * conformers ||
        !window.Memo1->Lines().back().starts_with("Energy found in "))
      state.SkipWithError("the energies were not extracted");
  }
  state.counters["files"] = conformers;
  state.counters["KB per file"] = static_cast<double>(conformerOutput(0).size()) / 1024.0;
}
BENCHMARK(BM_ExtractEnergies)->Unit(benchmark::kMillisecond);

void BM_ExtractSpectra(benchmark::State& state) {
  const std::string& folder = conformerFolder();
  TForm6 window;
  window.Edit1->SetText(folder);
  window.CheckBox1->SetChecked(true);
  for (auto _ : state) {
    window.Button2Click();
    if (window.Memo1->Count() < 2 * conformers ||
        window.Memo1->Lines().front() != "job.log is a Gaussian16 File")
      state.SkipWithError("the spectra were not extracted");
  }
  fs::remove_all(folder + "spectra");
  state.counters["files"] = conformers;
}
BENCHMARK(BM_ExtractSpectra)->Unit(benchmark::kMillisecond);

void BM_BoltzmannSum20(benchmark::State& state) {
  const std::string root = (fs::temp_directory_path() / "orvanix_bench_sum").string();
  fs::remove_all(root);
  std::vector<std::string> files;
  for (int k = 0; k < 20; ++k) {
    std::string text = "Orvanix bil-file (length formalism) ECD\r\n";
    for (int line = 0; line < 100; ++line)
      text += number("%.1f", 180.0 + 3.0 * line + 0.1 * k) + "\t" + number("%.6f", (line % 2 ? 1 : -1) * 10.0 * (k + 1)) + "\r\n";
    files.push_back(root + "/conf" + std::to_string(k) + ".cd.bil");
    writeFile(files.back(), text);
    writeFile(root + "/conf" + std::to_string(k) + ".heat",
              "HEAT OF FORMATION  =  " + number("%.6f", -313000.0 + 0.1 * k) + " kcal/mol\r\n");
  }
  Program program(root + "/program");
  Form4->OpenDialog1->Files = files;
  for (auto _ : state) {
    Form4->Button2Click();
    if (program.store().CDACTIVE[1] != "calc" || program.store().ROTS(1800, 1) == 0.0)
      state.SkipWithError("the spectra were not summed");
  }
  fs::remove_all(root);
}
BENCHMARK(BM_BoltzmannSum20)->Unit(benchmark::kMillisecond);

}  // namespace
