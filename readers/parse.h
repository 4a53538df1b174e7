// What the readers read from one output file, without touching a curve slot
// or a control: a state table with its count, ORCA's lines, optical
// rotations, a vibrational line list, and the notes of the load. A reader of
// the main window is its parse followed by its closing steps (grid, labels,
// state, broadening, redraw); the batch extractors call the same parse, so a
// file extracted in a batch and one saved after File > Open hold the same
// lines.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "readers/reader_core.h"

namespace readers {

// The formalism as the settings window holds it: each button is tested on
// its own, as the readers do (with neither ticked nothing of a gauge is read).
struct Formalism {
  bool velocity = false;
  bool length = true;
};
// The buttons of the settings window now.
Formalism chosenFormalism();

// A table of excited states: the rows of the table that counts (the last
// complete one of the file) and its count. `found` tells that a table of the
// kind was met at all.
struct StateParse {
  bool found = false;
  std::vector<StateRow> states;
  int count = 0;
  // Optical rotations (Gaussian ECD): wavelength in nm and rotation in
  // degrees, of the last block of rotations; `rotationsFound` when there was one.
  std::vector<std::pair<double, double>> rotations;
  bool rotationsFound = false;
  LoadNotes notes;
};

// A table given as its lines (wavelength in nm, value) and its count of
// states: ORCA's table that counts, each line past the strict bin test; an
// sTDA table, every row.
struct LineParse {
  // A table marker of the kind was accepted.
  bool found = false;
  std::vector<std::pair<double, double>> lines;
  int count = 0;
  // CD tables refused because the velocity formalism was chosen.
  int refusedTables = 0;
  LoadNotes notes;
};

// The reading of an ADF, NWChem or Dalton table: the lines of the table that
// counts with the range test they are entered by, the number of its states
// and those of them left out as lying off the spectrum, whether the slot
// is computed, the notes of the load and the boxes of the reading (a file
// error met while reading ends it with one box), which the reader shows
// before it enters the lines.
struct TableReading {
  std::vector<std::pair<double, double>> lines;
  RangeTest test = RangeTest::GridOnly;
  int states = 0;
  int offGrid = 0;
  bool computed = false;
  LoadNotes notes;
  Boxes boxes;
};

// One normal mode: wavenumber (cm-1) and strength as printed.
struct Mode {
  double wavenumber;
  double strength;
};

// A Gaussian frequency output: the modes of the analysis that counts, in
// file order; `strengthsFound` when a strength line of the kind was read.
struct ModeParse {
  std::vector<Mode> modes;
  bool strengthsFound = false;
  LoadNotes notes;
};

enum class GaussianLayout { G09, G03 };

// Gaussian UV (oscillator strengths) or ECD (rotatory strengths, and the
// optical rotations). Raises EInOutError when the file cannot be read.
StateParse parseGaussianStates(const std::string& fileName, Spectrum spectrum,
                               GaussianLayout layout, Formalism formalism);

enum class OrcaVersion { BeforeFour, FourOrLater };

// The version of an ORCA output as the detectors take it: the "Program
// Version" line from the first line that names ORCA on; none when the file
// lacks either. Raises EConvertError when the version is no number.
std::optional<OrcaVersion> orcaVersionOf(const std::string& fileName);

// ORCA CD (ECD) or absorption (UV) tables, and from version 4 the state
// table. Fills `into` as it reads, so that what was read before a file
// error stands. Raises EInOutError when the file cannot be read.
void parseOrca(const std::string& fileName, Spectrum spectrum, OrcaVersion version,
               Formalism formalism, LineParse& into);

// Gaussian 09/16 frequency outputs: IR (dipole strengths) or VCD
// (rotational strengths). Raises EInOutError when the file cannot be read.
ModeParse parseGaussianModes(const std::string& fileName, LineList list);

// An sTDA table: the rows after "DATXY", each a state's wavelength (from its
// energy) and its value for the kind and formalism. Raises EConvertError at
// a row that is no row.
LineParse parseStda(const std::string& fileName, Spectrum spectrum, Formalism formalism);

enum class TurbomoleProgram { Escf, Ricc2 };

// TURBOMOLE escf or ricc2 state tables; `found` when a state was read.
// Raises EInOutError when the file cannot be read.
StateParse parseTurbomole(const std::string& fileName, TurbomoleProgram program,
                          Spectrum spectrum, Formalism formalism);

// ---- Trials -----------------------------------------------------------------------------

// What each reader would draw of a file loaded into `slot` and the boxes its
// reading shows, entered into `reading`; nothing else is touched.
void trialGaussianStates(const std::string& fileName, int slot, Spectrum spectrum,
                         GaussianLayout layout, OutputReading& reading);
void trialGaussianModes(const std::string& fileName, LineList list, OutputReading& reading);
void trialOrca(const std::string& fileName, Spectrum spectrum, OrcaVersion version,
               OutputReading& reading);
void trialTurbomole(const std::string& fileName, TurbomoleProgram program, Spectrum spectrum,
                    OutputReading& reading);
void trialStda(const std::string& fileName, Spectrum spectrum, OutputReading& reading);
// The trial of a reader of a table: the reading `parsing` gives, kept under `key`.
void trialTable(const std::string& fileName, Spectrum spectrum, const std::string& key,
                const std::function<TableReading()>& parsing, OutputReading& reading);
void trialAdf(const std::string& fileName, Spectrum spectrum, OutputReading& reading);
void trialNwchem(const std::string& fileName, Spectrum spectrum, OutputReading& reading);
void trialDalton(const std::string& fileName, Spectrum spectrum, OutputReading& reading);
void trialDftMrci(const std::string& fileName, Spectrum spectrum, OutputReading& reading);

}  // namespace readers
