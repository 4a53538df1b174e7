#include "tools/spectra_extraction.h"

#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "files/bilfiles.h"
#include "readers/gaussian_vibrations.h"
#include "readers/reader_core.h"
#include "store/bounded.h"
#include "store/constants.h"

const char* const NoSpectralDataFoundText = "No Spectral Data found in ";

namespace {

constexpr long extractionLastBin = 11000;  // 1100 nm
constexpr double extractionLastWavelength = 1100.0;

// ---- The parse the readers share ------------------------------------------------

// The transitions of one spectrum kind as a reader takes them: the lines
// (wavelength in nm, value) of the table that counts, in file order.
struct ParsedTransitions {
  bool tableFound = false;
  std::vector<std::pair<double, double>> lines;
  std::vector<std::string> notes;
};

// sTDA tables: after "DATXY" every line is a state (number, energy in eV,
// f length, f velocity, R length, R velocity).
ParsedTransitions parseStda(const std::string& path, readers::Spectrum spectrum,
                            ExtractionFormalism formalism) {
  ParsedTransitions parsed;
  if (formalism == ExtractionFormalism::None) return parsed;
  const bool velocity = formalism == ExtractionFormalism::Velocity;
  const int valueField = spectrum == readers::Spectrum::Ecd ? (velocity ? 6 : 5) : (velocity ? 4 : 3);
  readers::LineSource source(path);
  while (!source.eof() && !source.has("DATXY")) source.next();
  if (!source.has("DATXY")) return parsed;
  parsed.tableFound = true;
  while (!source.eof()) {
    const std::string& row = source.next();
    const double energy = readers::toReal(readers::word(row, 2));
    const double value = readers::toReal(readers::word(row, valueField));
    parsed.lines.emplace_back(readers::wavelengthOfEnergy(energy), value);
  }
  return parsed;
}

ParsedTransitions parseTransitions(const std::string& path, SpectraProgram program,
                                   readers::Spectrum spectrum, ExtractionFormalism formalism) {
  if (program == SpectraProgram::Stda) return parseStda(path, spectrum, formalism);
  return {};
}

// ---- The extraction's windows ---------------------------------------------------------

enum class Window {
  UpTo1100,      // 100 <= λ <= 1100 nm
  UpToBin11000,  // λ >= 100 nm and bin <= 11000 (Gaussian 09/16, velocity gauge)
  OrcaRows,      // 100 < λ < 4000 nm
  StdaBins,      // bins 1000 to 11000
};

Window windowOf(SpectraProgram program, ExtractionFormalism formalism) {
  switch (program) {
    case SpectraProgram::Orca:
      return Window::OrcaRows;
    case SpectraProgram::Stda:
      return Window::StdaBins;
    case SpectraProgram::Gaussian09:
      return formalism == ExtractionFormalism::Velocity ? Window::UpToBin11000 : Window::UpTo1100;
    default:
      return Window::UpTo1100;
  }
}

std::optional<long> extractionBin(double wavelength, Window window) {
  switch (window) {
    case Window::OrcaRows:
      return readers::binOf(wavelength, readers::RangeTest::Strict);
    case Window::UpTo1100:
      if (!(wavelength >= 100.0 && wavelength <= extractionLastWavelength)) return std::nullopt;
      return readers::binOf(wavelength, readers::RangeTest::Inclusive);
    case Window::UpToBin11000:
    case Window::StdaBins: {
      if (window == Window::UpToBin11000 && !(wavelength >= 100.0)) return std::nullopt;
      const std::optional<long> bin = readers::binOf(wavelength, readers::RangeTest::GridOnly);
      if (!bin || *bin > extractionLastBin) return std::nullopt;
      return bin;
    }
  }
  return std::nullopt;
}

void enter(const ParsedTransitions& parsed, Window window, std::vector<double>& grid,
           ExtractedSpectra& spectra) {
  for (const auto& [wavelength, value] : parsed.lines)
    if (const std::optional<long> bin = extractionBin(wavelength, window))
      grid[static_cast<size_t>(*bin - MINLAMBDA)] += value;
  for (const std::string& note : parsed.notes) spectra.notes.push_back(note);
}

void extractTransitions(const std::string& path, SpectraProgram program,
                        ExtractionFormalism formalism, ExtractedSpectra& spectra) {
  const Window window = windowOf(program, formalism);
  const ParsedTransitions rotatory =
      parseTransitions(path, program, readers::Spectrum::Ecd, formalism);
  const ParsedTransitions oscillator =
      parseTransitions(path, program, readers::Spectrum::Uv, formalism);
  spectra.transitions = rotatory.tableFound || oscillator.tableFound;
  enter(rotatory, window, spectra.rotatory, spectra);
  enter(oscillator, window, spectra.oscillator, spectra);
}

// Both line lists of a Gaussian 09/16 frequency output: the modes and their
// dipole and rotational strengths.
void extractLineLists(const std::string& path, ExtractedSpectra& spectra) {
  LineGrid grid;
  for (const readers::LineList list : {readers::LineList::Ir, readers::LineList::Vcd}) {
    const int slot = list == readers::LineList::Ir ? 1 : 2;
    readers::LoadNotes notes;
    const bool found = ReadGaussianLineList(path, grid, slot, list, notes);
    (list == readers::LineList::Ir ? spectra.ir : spectra.vcd) = found;
  }
  for (long row = LineGrid::low; row <= LineGrid::high; ++row) {
    const size_t k = static_cast<size_t>(row);
    // Both readings list the same modes; a strength the file lacks is 0.
    spectra.wavenumbers[k] = grid(row, 1, 1);
    spectra.dipoleStrengths[k] = grid(row, 2, 1);
    spectra.rotationalStrengths[k] = grid(row, 2, 2);
  }
}

std::vector<std::string> withHeader(const char* header, std::vector<std::string> body) {
  if (header != nullptr) body.insert(body.begin(), header);
  return body;
}

}  // namespace

ExtractedSpectra::ExtractedSpectra()
    : rotatory(static_cast<size_t>(MAXLAMBDA - MINLAMBDA + 1), 0.0),
      oscillator(rotatory.size(), 0.0),
      wavenumbers(static_cast<size_t>(LineGrid::size), 0.0),
      dipoleStrengths(wavenumbers.size(), 0.0),
      rotationalStrengths(wavenumbers.size(), 0.0) {}

ExtractedSpectra ExtractSpectra(const std::string& path, SpectraProgram program,
                                ExtractionFormalism formalism) {
  ExtractedSpectra spectra;
  extractTransitions(path, program, formalism, spectra);
  if (program == SpectraProgram::Gaussian09) extractLineLists(path, spectra);
  return spectra;
}

std::vector<ExtractedKind> ExtractedBilFiles(const ExtractedSpectra& spectra, SpectraProgram program,
                                             ExtractionFormalism formalism) {
  std::vector<ExtractedKind> kinds;
  if (spectra.transitions) {
    const bool length = formalism == ExtractionFormalism::Length;
    const bool velocity = formalism == ExtractionFormalism::Velocity;
    const char* cdHeader = length ? ExtractedCdBilHeaderLength
                                  : (velocity ? ExtractedCdBilHeaderVelocity : nullptr);
    const char* uvHeader = length ? ExtractedUvBilHeaderLength
                                  : (velocity ? ExtractedUvBilHeaderVelocity : nullptr);
    kinds.push_back(
        {program == SpectraProgram::Gaussian09 ? "ECD/UV found in " : "Spectra found in ",
         {{"cd.bil", withHeader(cdHeader, WavelengthBilLines(spectra.rotatory, false))},
          {"uv.bil", withHeader(uvHeader, WavelengthBilLines(spectra.oscillator, false))}}});
  }
  if (spectra.ord)
    kinds.push_back({"ORD-values found in ",
                     {{"or.bil", withHeader(ExtractedOrdBilHeader,
                                            PointBilLines(spectra.ordWavelengths, spectra.ordRotations,
                                                          static_cast<int>(spectra.ordWavelengths.size()),
                                                          false))}}});
  if (spectra.vcd)
    kinds.push_back(
        {"VCD found in ",
         {{"vc.bil", withHeader(VcdBilHeader, LineListBilLines(spectra.wavenumbers,
                                                               spectra.rotationalStrengths, false))}}});
  if (spectra.ir)
    kinds.push_back(
        {"IR found in ",
         {{"ir.bil", withHeader(ExtractedIrBilHeader,
                                LineListBilLines(spectra.wavenumbers, spectra.dipoleStrengths,
                                                 false))}}});
  return kinds;
}
