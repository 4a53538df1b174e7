// The spectra extraction of one output file, apart from the window: the
// readers' own parse of the file, entered into the extraction's grids with
// its wavelength windows, and the bil files that result.
//
// The extraction and File > "Open" share the parse, so a file extracted in a
// batch and one saved after opening hold the same lines; only the windows
// differ: Gaussian, escf and ricc2 states count from 100 to 1100 nm (the
// Gaussian 09/16 velocity gauge up to bin 11000, so 1100.04 nm is kept),
// ORCA rows above 100 and below 4000 nm, sTDA rows in bins 1000 to 11000.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace readers {
class LoadNotes;
}

// The formalism ticked in the settings window; the window is modal, so one
// Start reads it once.
enum class ExtractionFormalism { None, Length, Velocity };

// The programs whose outputs the extraction recognises.
enum class SpectraProgram { Stda, Orca, Gaussian03, Gaussian09, Escf, Ricc2 };

// What the readers would tell about a file after File > Open (a table cut by
// the end of the file, states a full table left out): one log line, which
// names the file as the log does ("conf_a/job.log").
class ExtractionNote {
 public:
  explicit ExtractionNote(const readers::LoadNotes& notes);
  std::string line(const std::string& shownName) const;

 private:
  std::shared_ptr<const readers::LoadNotes> notes_;
};

// What one output file gives.
struct ExtractedSpectra {
  ExtractedSpectra();

  // A transition table was met: cd.bil and uv.bil are written, also when no
  // state lies in the window.
  bool transitions = false;
  // Bins MINLAMBDA to MAXLAMBDA (element k is bin MINLAMBDA + k); every
  // state of the window adds into its bin.
  std::vector<double> rotatory;
  std::vector<double> oscillator;

  // Optical rotations: wavelength (nm) and specific rotation, in file order.
  bool ord = false;
  std::vector<double> ordWavelengths;
  std::vector<double> ordRotations;

  // The vibrational line lists in mode order: wavenumber and dipole
  // strength (IR), wavenumber and rotational strength (VCD).
  bool ir = false;   // dipole strengths were read
  bool vcd = false;  // rotational strengths were read
  std::vector<double> irWavenumbers;
  std::vector<double> dipoleStrengths;
  std::vector<double> vcdWavenumbers;
  std::vector<double> rotationalStrengths;

  // What a full table left out and whether the file ended inside a table,
  // in the readers' words: one log line each.
  std::vector<ExtractionNote> notes;

  // A transition table was met, but the bil files would hold nothing (their
  // bins, not those of File > Open, decide): why, in the words of the open's
  // box ("all 5 states lie outside 100-1100 nm"); then no bil file is
  // written. Empty otherwise.
  std::string nothingDrawn;
  // A transition table was met whose states give cd.bil and uv.bil no line,
  // while other kinds are written: why, as above; then the pair is left out
  // and the log says so. Empty otherwise.
  std::string transitionsEmpty;
};

// Parses the output with the readers' parse of its program and fills the
// grids. Raises EInOutError when the file cannot be read and EConvertError
// where the readers' parse does.
ExtractedSpectra ExtractSpectra(const std::string& path, SpectraProgram program,
                                ExtractionFormalism formalism);

// One bil file to write: the ending after the stem ("cd.bil") and its lines,
// header first.
struct ExtractedBilFile {
  std::string ending;
  std::vector<std::string> lines;
};
// One kind found: the log text that names it (the file's name follows) and
// its files, in the order they are written.
struct ExtractedKind {
  std::string foundText;
  std::vector<ExtractedBilFile> files;
  // Follows the file name in the log line ("" for a kind found).
  std::string reason = "";
};
// The kinds found, in the order UV/ECD (cd.bil, uv.bil), ORD, VCD, IR; none
// when nothing was found or nothing would be drawn.
std::vector<ExtractedKind> ExtractedBilFiles(const ExtractedSpectra& spectra, SpectraProgram program,
                                             ExtractionFormalism formalism);

// The log texts of the extraction.
extern const char* const NoSpectralDataFoundText;  // "No Spectral Data found in "
extern const char* const NoTransitionBilFilesText;  // "No cd.bil or uv.bil written for "
// The log line of a file that gives no bil file: the text above, the file's
// name as the log names it and, where a table was met, why it gives nothing.
std::string NoSpectralDataLine(const std::string& shownName, const std::string& nothingDrawn);
