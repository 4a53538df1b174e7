#include "tools/spectra_extraction.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "files/bilfiles.h"
#include "readers/parse.h"
#include "readers/reader_core.h"
#include "store/constants.h"

const char* const NoSpectralDataFoundText = "No Spectral Data found in ";
const char* const NoTransitionBilFilesText = "No cd.bil or uv.bil written for ";

namespace {

using readers::Spectrum;

constexpr long extractionLastBin = 11000;  // 1100 nm
constexpr double extractionLastWavelength = 1100.0;

// ---- The readers' parse --------------------------------------------------------------

readers::Formalism readerFormalism(ExtractionFormalism formalism) {
  return {formalism == ExtractionFormalism::Velocity, formalism == ExtractionFormalism::Length};
}

// The transitions of one kind as the reader of the program takes them: the
// lines (wavelength in nm, value) of the table that counts, in file order.
struct Transitions {
  bool found = false;
  std::vector<std::pair<double, double>> lines;
  // The states of the table, also those a reader left out as off its range.
  int states = 0;
  readers::LoadNotes notes;
  // Gaussian ECD parses also give the optical rotations.
  std::vector<std::pair<double, double>> rotations;
  bool rotationsFound = false;
};

Transitions fromStates(readers::StateParse parse, Spectrum spectrum) {
  Transitions transitions;
  transitions.found = parse.found;
  transitions.states = static_cast<int>(parse.states.size());
  for (const readers::StateRow& row : parse.states)
    transitions.lines.emplace_back(row.wavelength,
                                   spectrum == Spectrum::Ecd ? row.rotatory : row.oscillator);
  transitions.notes = std::move(parse.notes);
  transitions.rotations = std::move(parse.rotations);
  transitions.rotationsFound = parse.rotationsFound;
  return transitions;
}

Transitions fromLines(readers::LineParse parse) {
  Transitions transitions;
  transitions.found = parse.found;
  transitions.states = parse.count;
  transitions.lines = std::move(parse.lines);
  transitions.notes = std::move(parse.notes);
  return transitions;
}

Transitions parseTransitions(const std::string& path, SpectraProgram program, Spectrum spectrum,
                             ExtractionFormalism formalism) {
  const readers::Formalism gauge = readerFormalism(formalism);
  switch (program) {
    case SpectraProgram::Gaussian09:
    case SpectraProgram::Gaussian03:
      // Without a formalism no table is read, but the optical rotations are.
      return fromStates(readers::parseGaussianStates(path, spectrum,
                                                     program == SpectraProgram::Gaussian09
                                                         ? readers::GaussianLayout::G09
                                                         : readers::GaussianLayout::G03,
                                                     gauge),
                        spectrum);
    default:
      break;
  }
  if (formalism == ExtractionFormalism::None) return {};
  switch (program) {
    case SpectraProgram::Stda:
      return fromLines(readers::parseStda(path, spectrum, gauge));
    case SpectraProgram::Orca: {
      const std::optional<readers::OrcaVersion> version = readers::orcaVersionOf(path);
      if (!version) return {};
      readers::LineParse parse;
      readers::parseOrca(path, spectrum, *version, gauge, parse);
      return fromLines(std::move(parse));
    }
    case SpectraProgram::Escf:
    case SpectraProgram::Ricc2:
      return fromStates(readers::parseTurbomole(path,
                                                program == SpectraProgram::Escf
                                                    ? readers::TurbomoleProgram::Escf
                                                    : readers::TurbomoleProgram::Ricc2,
                                                spectrum, gauge),
                        spectrum);
    default:
      return {};
  }
}

// The UV and ECD parses of one file often note the same: one line for both.
void keepNotes(const readers::LoadNotes& notes, ExtractedSpectra& spectra) {
  if (notes.empty()) return;
  const ExtractionNote note(notes);
  for (const ExtractionNote& known : spectra.notes)
    if (known.line("") == note.line("")) return;
  spectra.notes.push_back(note);
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

void enter(const Transitions& transitions, Window window, std::vector<double>& grid) {
  for (const auto& [wavelength, value] : transitions.lines)
    if (const std::optional<long> bin = extractionBin(wavelength, window))
      grid[static_cast<size_t>(*bin - MINLAMBDA)] += value;
}

// The states as the bil file would hold them: a file whose bil file would
// hold no line of non-zero strength writes none.
void account(const Transitions& transitions, Window window, Spectrum spectrum,
             readers::Drawing& drawn) {
  for (const auto& [wavelength, value] : transitions.lines)
    drawn.state(spectrum, extractionBin(wavelength, window).has_value(), value);
  drawn.statesOffGrid(spectrum, transitions.states - static_cast<int>(transitions.lines.size()));
}

// The wavelengths a bil file of the window holds, as the log names them.
const char* windowRange(Window window) {
  return window == Window::OrcaRows ? "100-4000 nm" : "100-1100 nm";
}

void extractTransitions(const std::string& path, SpectraProgram program,
                        ExtractionFormalism formalism, ExtractedSpectra& spectra,
                        readers::Drawing& drawn) {
  const Window window = windowOf(program, formalism);
  const Transitions rotatory = parseTransitions(path, program, Spectrum::Ecd, formalism);
  const Transitions oscillator = parseTransitions(path, program, Spectrum::Uv, formalism);
  spectra.transitions = rotatory.found || oscillator.found;
  enter(rotatory, window, spectra.rotatory);
  enter(oscillator, window, spectra.oscillator);
  account(rotatory, window, Spectrum::Ecd, drawn);
  account(oscillator, window, Spectrum::Uv, drawn);
  // The pair is judged on its own too: beside IR, VCD or ORD data it would
  // be written with no line.
  readers::Drawing states;
  account(rotatory, window, Spectrum::Ecd, states);
  account(oscillator, window, Spectrum::Uv, states);
  if (spectra.transitions && !states.drewSomething()) spectra.transitionsEmpty = states.whyNothing(windowRange(window));
  keepNotes(rotatory.notes, spectra);
  keepNotes(oscillator.notes, spectra);
  spectra.ord = rotatory.rotationsFound;
  drawn.rotations(static_cast<long>(rotatory.rotations.size()));
  for (const auto& [wavelength, rotation] : rotatory.rotations) {
    spectra.ordWavelengths.push_back(wavelength);
    spectra.ordRotations.push_back(rotation);
  }
}

// The IR and VCD line lists of a Gaussian 09/16 frequency output.
void extractLineLists(const std::string& path, ExtractedSpectra& spectra,
                      readers::Drawing& drawn) {
  for (const readers::LineList list : {readers::LineList::Vcd, readers::LineList::Ir}) {
    const readers::ModeParse parse = readers::parseGaussianModes(path, list);
    const bool ir = list == readers::LineList::Ir;
    (ir ? spectra.ir : spectra.vcd) = parse.strengthsFound;
    if (parse.strengthsFound) drawn.modes(static_cast<long>(parse.modes.size()));
    for (const readers::Mode& mode : parse.modes) {
      (ir ? spectra.irWavenumbers : spectra.vcdWavenumbers).push_back(mode.wavenumber);
      (ir ? spectra.dipoleStrengths : spectra.rotationalStrengths).push_back(mode.strength);
    }
    keepNotes(parse.notes, spectra);
  }
}

std::vector<std::string> withHeader(const char* header, std::vector<std::string> body) {
  if (header != nullptr) body.insert(body.begin(), header);
  return body;
}

}  // namespace

std::string NoSpectralDataLine(const std::string& shownName, const std::string& nothingDrawn) {
  std::string line = NoSpectralDataFoundText + shownName;
  if (!nothingDrawn.empty()) line += ": " + nothingDrawn + ".";
  return line;
}

ExtractionNote::ExtractionNote(const readers::LoadNotes& notes)
    : notes_(std::make_shared<const readers::LoadNotes>(notes)) {}

std::string ExtractionNote::line(const std::string& shownName) const {
  return notes_->messageNaming(shownName);
}

ExtractedSpectra::ExtractedSpectra()
    : rotatory(static_cast<size_t>(MAXLAMBDA - MINLAMBDA + 1), 0.0),
      oscillator(rotatory.size(), 0.0) {}

ExtractedSpectra ExtractSpectra(const std::string& path, SpectraProgram program,
                                ExtractionFormalism formalism) {
  ExtractedSpectra spectra;
  readers::Drawing drawn;
  extractTransitions(path, program, formalism, spectra, drawn);
  if (program == SpectraProgram::Gaussian09) extractLineLists(path, spectra, drawn);
  if (spectra.transitions && !drawn.drewSomething())
    spectra.nothingDrawn = drawn.whyNothing(windowRange(windowOf(program, formalism)));
  return spectra;
}

std::vector<ExtractedKind> ExtractedBilFiles(const ExtractedSpectra& spectra, SpectraProgram program,
                                             ExtractionFormalism formalism) {
  std::vector<ExtractedKind> kinds;
  if (!spectra.nothingDrawn.empty()) return kinds;
  if (spectra.transitions && !spectra.transitionsEmpty.empty()) {
    kinds.push_back({NoTransitionBilFilesText, {}, ": " + spectra.transitionsEmpty + "."});
  } else if (spectra.transitions) {
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
         {{"vc.bil", withHeader(VcdBilHeader, LineListBilLines(spectra.vcdWavenumbers,
                                                               spectra.rotationalStrengths, false))}}});
  if (spectra.ir)
    kinds.push_back(
        {"IR found in ",
         {{"ir.bil", withHeader(ExtractedIrBilHeader,
                                LineListBilLines(spectra.irWavenumbers, spectra.dipoleStrengths,
                                                 false))}}});
  return kinds;
}
