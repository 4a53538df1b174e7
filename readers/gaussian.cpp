// Gaussian excited-state outputs: the rotatory-strength and dipole tables,
// the list of excited states that gives their wavelengths (and, in the
// length gauge, the oscillator strengths), and the optical rotations that
// go to the ORD page. Gaussian 09 and 16 share one layout, 03 and 98 another.
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/Main.h"
#include "readers/parse.h"
#include "readers/reader_core.h"

namespace {

using readers::LineSource;
using readers::Spectrum;
using readers::StateRow;
using readers::StateTable;

// ---- Markers ------------------------------------------------------------------

// Gaussian 09 and 16.
constexpr std::string_view velocityRotatoryTable =
    "<0|del|b> * <b|rxdel|0> + <0|del|b> * <b|delr+rdel|0>";
constexpr std::string_view lengthRotatoryTable =
    "1/2[<0|r|b>*<b|rxdel|0> + (<0|rxdel|b>*<b|r|0>)*]";
constexpr std::string_view lengthRotatoryTableEnd =
    "1/2[<0|del|b>*<b|r|0> + (<0|r|b>*<b|del|0>)*] (Au)";
constexpr std::string_view totalVelocityRotation = "Total R(velocity)";
constexpr std::string_view stateListEnd = "SavETr:  write IOETrn";
constexpr std::string_view stateListEndUvVelocity = "SavETr:  write IOETrn=";
// Both layouts.
constexpr std::string_view velocityDipoleTable =
    "Ground to excited state transition velocity dipole";
constexpr std::string_view magneticDipoleTable = "Ground to excited state transition magnetic";
constexpr std::string_view stateListStart = "Excitation energies and oscillator strengths:";
// Gaussian 03 and 98.
constexpr std::string_view velocityRotatoryTable03 = "<0|del|b> * <b|rxdel|0>";
constexpr std::string_view lengthRotatoryTable03 = "<0|r|b> * <b|rxdel|0>";
constexpr std::string_view lengthRotatoryTableEnd03 = "<0|del|b> * <b|r|0>";
// Optical rotations.
constexpr std::string_view rotationLine = "[Alpha]";
constexpr std::string_view staticRotationLine = "[Alpha]D (static)";
constexpr std::string_view sodiumRotationLine = "[Alpha]D";
constexpr std::string_view rotationsEnd = "Leave Link 1002";
constexpr double sodiumDLine = 589.3;  // nm
constexpr int ordRows = 100;
constexpr int ordSlots = 2;


// One parse of a Gaussian UV or ECD output.
class GaussianRun {
 public:
  explicit GaussianRun(const std::string& fileName) : source_(fileName), table_(notes_) {
    table_.clear();
  }

  LineSource& source() { return source_; }

  // ---- Tables: each fills one column of rows 1, 2, ... and returns the count.

  // Gaussian 09 R(velocity), field 5; a "Total R(velocity)" line and the nine
  // after it are passed over.
  int velocityRotations09() {
    source_.skip(3);
    int i = 1;
    while (!source_.has(lengthRotatoryTable) && !source_.pastEnd()) {
      double rotatory = 0.0;
      if (!rowValue(readers::word(source_.line(), 5), rotatory)) break;
      if (StateRow* row = table_.row(i)) row->rotatory = rotatory;
      ++i;
      source_.next();
      if (source_.has(totalVelocityRotation)) source_.skip(10);
    }
    return i - 1;
  }

  // Gaussian 09 R(length), field 5.
  int lengthRotations09() {
    source_.skip(3);
    int i = 1;
    while (!source_.has(lengthRotatoryTableEnd) && !source_.pastEnd()) {
      double rotatory = 0.0;
      if (!rowValue(readers::word(source_.line(), 5), rotatory)) break;
      if (StateRow* row = table_.row(i)) row->rotatory = rotatory;
      ++i;
      source_.next();
    }
    return i - 1;
  }

  // The velocity dipole table: the oscillator strength in field `field`.
  // EOM-CCSD outputs follow it with the excited-to-ground table before the
  // magnetic one: the rows end at the first line that is no row.
  int velocityOscillators(int field) {
    source_.skip(2);
    int i = 1;
    while (!source_.has(magneticDipoleTable) && !source_.pastEnd() && isTableRow(source_.line())) {
      double oscillator = 0.0;
      if (!rowValue(readers::word(source_.line(), field), oscillator)) break;
      if (StateRow* row = table_.row(i)) row->oscillator = oscillator;
      source_.next();
      ++i;
    }
    return i - 1;
  }

  static bool isTableRow(std::string_view line) {
    const std::string_view number = readers::word(line, 1);
    if (number.empty()) return false;
    for (char c : number)
      if (c < '0' || c > '9') return false;
    return true;
  }

  // Gaussian 03 rotatory strengths: the last 11 characters of each row.
  int rotations03Rows(std::string_view end, bool trimRows) {
    int i = 1;
    while (!source_.has(end) && !source_.pastEnd()) {
      std::string_view row = source_.line();
      if (trimRows) row = readers::trimmed(row);
      const std::string_view last = row.size() > 11 ? row.substr(row.size() - 11) : row;
      double rotatory = 0.0;
      if (!rowValue(readers::withoutBlanks(last), rotatory)) break;
      if (StateRow* tableRow = table_.row(i)) tableRow->rotatory = rotatory;
      ++i;
      source_.next();
    }
    return i - 1;
  }

  // Gaussian 03 velocity block: dipole table (count), then R(velocity).
  int velocityBlock03() {
    const int states = velocityOscillators(5);
    while (!source_.has(velocityRotatoryTable03) && !source_.pastEnd()) source_.next();
    source_.skip(3);
    rotations03Rows(lengthRotatoryTable03, false);
    return states;
  }

  // Gaussian 03 length block: R(length) of the trimmed rows, counted.
  int lengthBlock03() {
    source_.skip(3);
    return rotations03Rows(lengthRotatoryTableEnd03, true);
  }

  // ---- The list of excited states.

  // One state line: the wavelength before "nm" (after the "eV" and one
  // character), and with `withOscillator` the value after the first "=".
  // False for a state line cut by the end of the file.
  bool takeState(int i, bool withOscillator) {
    std::string_view text = source_.line();
    const size_t electronVolts = text.find("eV");
    if (electronVolts != std::string_view::npos)
      text.remove_prefix(std::min(text.size(), electronVolts + 3));
    const size_t nm = text.find("nm");
    double wavelength = 0.0;
    if (!rowValue(readers::withoutBlanks(nm == std::string_view::npos ? std::string_view{}
                                                                      : text.substr(0, nm)),
                  wavelength))
      return false;
    double oscillator = 0.0;
    if (withOscillator) {
      std::string_view rest = text;
      const size_t spin = rest.find("<S**2>");
      if (spin != std::string_view::npos) rest = rest.substr(0, spin);
      if (!rowValue(readers::withoutBlanks(readers::after(rest, "=")), oscillator)) return false;
    }
    if (StateRow* row = table_.row(i)) {
      row->wavelength = wavelength;
      if (withOscillator) row->oscillator = oscillator;
    }
    return true;
  }

  // The number of a row into `value`; false for the last line of the file
  // cut inside its fields.
  bool rowValue(std::string_view text, double& value) {
    try {
      value = readers::tableReal(source_, text);
      return true;
    } catch (const readers::RowCutByEndOfFile&) {
      rowCut_ = true;
      return false;
    }
  }

  void findStateList() {
    while (!source_.has(stateListStart) && !source_.pastEnd()) source_.next();
  }

  // Reads on to the next state line, stopping at the end of the list. The
  // usual layout has the transition lines, the optimization notes and one
  // blank line between two states; EOM-CCSD outputs print amplitude
  // sections there, which are passed over the same way.
  void nextStateLine(std::string_view end) {
    do source_.next();
    while (!source_.has("Excited State") && !source_.has(end) && !source_.pastEnd());
  }

  // Each returns the number of states taken.
  int stateList09(bool withOscillator, std::string_view end) {
    findStateList();
    nextStateLine(end);
    if (!(source_.has("Excited State") && source_.has("nm"))) return 0;
    if (!takeState(1, withOscillator)) return 0;
    for (int i = 2;; ++i) {
      nextStateLine(end);
      if (!source_.has("Excited State") || !takeState(i, withOscillator)) return i - 1;
    }
  }

  // Gaussian 03 and 98 end their list at the first line that belongs to no
  // state: the lines between two states are transitions, optimization and
  // symmetry notes and blank lines, in whatever order the run printed them.
  static bool betweenStates(std::string_view line) {
    return readers::trimmed(line).empty() || readers::contains(line, "->") ||
           readers::contains(line, "<-") ||
           readers::contains(line, "This state for optimization") ||
           readers::contains(line, "Total Energy,") ||
           readers::contains(line, "Copying the excited state") ||
           readers::contains(line, "Excited state symmetry could not be determined.");
  }

  void nextStateLine03() {
    do source_.next();
    while (!source_.has("Excited State") && betweenStates(source_.line()) && !source_.pastEnd());
  }

  int stateList03(bool withOscillator) {
    findStateList();
    nextStateLine03();
    if (!(source_.has("Excited State") && source_.has("nm"))) return 0;
    if (!takeState(1, withOscillator)) return 0;
    for (int i = 2;; ++i) {
      nextStateLine03();
      if (!source_.has("Excited State") || !takeState(i, withOscillator)) return i - 1;
    }
  }

  // ---- After each block: the block is offered as the result; after the
  // file: labels, lines into the grid, state.

  // The table gave `count` states (the number the block announces), the
  // state list `listed` of them. A block the file ends inside holds the
  // states it printed whole: those with a row and a state line.
  void closeBlock(int count, int listed) {
    Block block;
    block.cut = source_.pastEnd() || rowCut_;
    rowCut_ = false;
    laterStates_ = false;
    block.announced = count;
    block.states = block.cut ? std::min(count, listed) : count;
    const int rows = StateTable::held(block.states);
    for (int i = 1; i <= rows; ++i) block.rows.push_back(table_.at(i));
    blocks_.offer(std::move(block));
    table_.clear();
  }

  // The main pass met a list of states that no block of the kind read.
  void statesWithoutTable() { laterStates_ = true; }

  // The block that counts and the optical rotations, with the notes. With
  // `finalStatesOnly`, a table that belongs to earlier states than the last
  // list the file prints is no result: EOM-CCSD outputs print velocity
  // rotatory strengths for their CIS guess states only.
  readers::StateParse result(bool finalStatesOnly, Spectrum spectrum) {
    if (finalStatesOnly && laterStates_ && blocks_.kept() != nullptr) {
      blocks_ = {};
      const bool ecd = spectrum == Spectrum::Ecd;
      notes_.finalStatesLack(ecd ? "velocity rotatory strengths" : "velocity oscillator strengths",
                             ecd ? "the velocity ECD" : "the velocity UV");
    }
    blocks_.noteCut(notes_);
    readers::StateParse parse;
    if (const Block* block = blocks_.kept()) {
      parse.found = true;
      parse.states = block->rows;
      parse.count = StateTable::held(block->states);
    }
    parse.rotations = std::move(rotations_);
    parse.rotationsFound = rotationsFound_;
    parse.notes = notes_;
    return parse;
  }

  // ---- Optical rotations.

  // "[Alpha] ( 5890.0 A) =   12.34 deg.": wavelength in Ångström, rotation.
  static bool parseRotation(std::string_view line, double& wavelength, double& rotation) {
    const size_t open = line.find("] (");
    if (open == std::string_view::npos) return false;
    std::string_view rest = line.substr(std::min(line.size(), open + 4));
    rest = readers::trimmed(rest);
    wavelength = readers::toReal(readers::firstWord(rest)) / 10.0;
    rotation = readers::toReal(readers::firstWord(readers::trimmed(readers::after(rest, "="))));
    return true;
  }

  // The rotations from the current line (row 1, already parsed) to "Leave
  // Link 1002"; a later block of rotations replaces an earlier one. Lines
  // without a wavelength, such as the static one, are passed.
  void opticalRotations(double firstWavelength, double firstRotation) {
    rotations_.clear();
    keepRotation(firstWavelength, firstRotation);
    source_.next();
    while (!source_.has(rotationsEnd) && !source_.pastEnd()) {
      double wavelength = 0.0, rotation = 0.0;
      if (source_.has(rotationLine) && parseRotation(source_.line(), wavelength, rotation))
        keepRotation(wavelength, rotation);
      source_.next();
    }
    rotationsFound_ = true;
  }

  void opticalRotations09() {
    double wavelength = 0.0, rotation = 0.0;
    if (!parseRotation(source_.line(), wavelength, rotation)) return;
    opticalRotations(wavelength, rotation);
  }

  void opticalRotations03() {
    std::string_view rest = source_.line();
    const size_t equals = rest.find("D =");
    if (equals == std::string_view::npos) return;
    rest = readers::trimmed(rest.substr(std::min(rest.size(), equals + 4)));
    opticalRotations(sodiumDLine, readers::toReal(readers::firstWord(rest)));
  }

 private:
  // The ORD store holds 100 rows.
  void keepRotation(double wavelength, double rotation) {
    if (rotations_.size() >= static_cast<size_t>(ordRows)) {
      notes_.note("the optical rotations after the first " + std::to_string(ordRows));
      return;
    }
    rotations_.emplace_back(wavelength, rotation);
  }

  LineSource source_;
  // One block of states: the rows it gives, their number, the number its
  // table announced, and whether the file ended inside it.
  struct Block {
    std::vector<StateRow> rows;
    int states = 0;
    int announced = 0;
    bool cut = false;
  };

  readers::LoadNotes notes_;
  StateTable table_;
  readers::LastTable<Block> blocks_;
  // A row of the block was cut by the end of the file.
  bool rowCut_ = false;
  // A list of states came after the last block read.
  bool laterStates_ = false;
  std::vector<std::pair<double, double>> rotations_;
  bool rotationsFound_ = false;
};

// The last step of the ECD readers: when the ORD menu is on (by this file or
// an earlier one), the ORD page draws and comes to the front. The ORD store
// holds curves 1 and 2 only.
void showOpticalRotations(TForm1& form, int slot) {
  if (!form.ORD1->Enabled() || slot > ordSlots) return;
  if (slot == 1)
    form.DrawORD();
  else
    form.AddORD(slot);
  form.N2ndSpectrum1->SetEnabled(true);
  form.PageControl1->SetActivePage(form.TabSheet4);
  form.Edit2->SetEnabled(false);
  form.Edit3->SetEnabled(false);
  form.Edit17->SetEnabled(false);
  form.Edit26->SetEnabled(false);
}

std::string statesKey(Spectrum spectrum, readers::GaussianLayout layout) {
  return readers::parseKey(
      layout == readers::GaussianLayout::G09 ? "Gaussian 09 states" : "Gaussian 03 states", spectrum);
}

readers::StateParse parseStates(const std::string& fileName, Spectrum spectrum,
                                readers::GaussianLayout layout) {
  return readers::parseGaussianStates(fileName, spectrum, layout, readers::chosenFormalism());
}

// The states as the trial of this load parsed them, or parsed now.
readers::StateParse statesOf(TForm1& form, const std::string& fileName, Spectrum spectrum,
                             readers::GaussianLayout layout) {
  return readers::keptOrParsed(form.LoadReading, statesKey(spectrum, layout),
                               [&] { return parseStates(fileName, spectrum, layout); });
}

void captionForSlotOne(TForm1& form, const std::string& fileName, int slot) {
  if (slot == 1) form.SetCaption(ExtractFileName(fileName));
}

// Labels, lines and state of the block that counts.
void enterStates(TForm1& form, const readers::StateParse& parse, Spectrum spectrum, int slot) {
  if (!parse.found) return;
  Store& store = form.store;
  if (slot == 1) readers::showStateLabels(form, parse.states);
  const bool ecd = spectrum == Spectrum::Ecd;
  bool anyRotation = false;
  for (const StateRow& row : parse.states) {
    readers::addLine(ecd ? store.ROTS : store.OSC, slot, row.wavelength,
                     ecd ? row.rotatory : row.oscillator, readers::RangeTest::Inclusive);
    anyRotation = anyRotation || row.rotatory != 0.0;
  }
  if (ecd) {
    if (anyRotation) {
      store.CDACTIVE[slot] = readers::computed;
      if (slot == 1) form.CDspectra1->SetEnabled(true);
    }
  } else {
    form.UVspectra1->SetEnabled(true);
    store.UVACTIVE[slot] = readers::computed;
  }
}

// The ORD store holds curves 1 and 2 only: the rotations of a later slot are
// left out, and the load says so.
void noteRotationsLeftOut(readers::StateParse& parse, int slot) {
  if (parse.rotationsFound && slot > ordSlots)
    parse.notes.note("the optical rotations (the ORD page holds curves 1 and 2 only)");
}

// The optical rotations into the ORD slot of the same number.
void enterRotations(TForm1& form, readers::StateParse& parse, const std::string& fileName,
                    int slot) {
  if (!parse.rotationsFound) return;
  if (slot > ordSlots) return;
  Store& store = form.store;
  int row = 0;
  for (const auto& [wavelength, rotation] : parse.rotations) {
    ++row;
    store.ORDCALCX(row, slot) = wavelength;
    store.ORDCALCY(row, slot) = rotation;
  }
  store.ORDDATAPTS[slot] = row;
  form.ORD1->SetEnabled(true);
  store.ORDACTIVE[slot] = readers::computed;
  store.ORDTITLE[slot] = ExtractFileName(fileName);
}

void readEcd(TForm1& form, const std::string& fileName, int slot, readers::GaussianLayout layout) {
  captionForSlotOne(form, fileName, slot);
  form.store.ROTS.clearSlot(slot);
  readers::StateParse parse = statesOf(form, fileName, Spectrum::Ecd, layout);
  enterStates(form, parse, Spectrum::Ecd, slot);
  noteRotationsLeftOut(parse, slot);
  enterRotations(form, parse, fileName, slot);
  readers::UvEcdClosing closing{Spectrum::Ecd};
  closing.cdUnitLabel = readers::gaussianUnitLabel;
  closing.disableIrVcdEdits = layout == readers::GaussianLayout::G09;
  readers::finishUvEcd(form, closing, fileName, slot);
  showOpticalRotations(form, slot);
  parse.notes.report(fileName);
}

}  // namespace

void readers::trialGaussianStates(const std::string& fileName, int slot, Spectrum spectrum,
                                  GaussianLayout layout, OutputReading& reading) {
  StateParse parse = keepParse(reading, statesKey(spectrum, layout),
                               [&] { return parseStates(fileName, spectrum, layout); });
  const bool ecd = spectrum == Spectrum::Ecd;
  if (parse.found)
    for (const StateRow& row : parse.states)
      reading.drawing.state(spectrum, binOf(row.wavelength, RangeTest::Inclusive).has_value(),
                            ecd ? row.rotatory : row.oscillator);
  if (ecd) {
    if (parse.rotationsFound) reading.drawing.rotations(static_cast<long>(parse.rotations.size()));
    noteRotationsLeftOut(parse, slot);
  }
  reading.boxes.report(parse.notes, fileName);
}

readers::StateParse readers::parseGaussianStates(const std::string& fileName, Spectrum spectrum,
                                                 GaussianLayout layout, Formalism formalism) {
  GaussianRun run(fileName);
  LineSource& source = run.source();
  const bool ecd = spectrum == Spectrum::Ecd;
  while (!source.eof()) {
    source.next();
    if (layout == GaussianLayout::G09) {
      if (formalism.velocity && ecd && source.has(velocityRotatoryTable)) {
        const int count = run.velocityRotations09();
        run.closeBlock(count, run.stateList09(false, stateListEnd));
      }
      if (formalism.velocity && !ecd && source.has(velocityDipoleTable)) {
        const int count = run.velocityOscillators(6);
        run.closeBlock(count, run.stateList09(false, stateListEndUvVelocity));
      }
      // The length block: R(length) for ECD; for UV the table counts the
      // states whose oscillator strengths the state list gives.
      if (formalism.length && source.has(lengthRotatoryTable)) {
        const int count = run.lengthRotations09();
        run.closeBlock(count, run.stateList09(true, stateListEnd));
      }
      if (ecd && source.has(rotationLine) && !source.has(staticRotationLine))
        run.opticalRotations09();
    } else {
      if (formalism.velocity && source.has(velocityDipoleTable)) {
        const int count = run.velocityBlock03();
        run.closeBlock(count, run.stateList03(false));
      }
      if (formalism.length && source.has(lengthRotatoryTable03)) {
        const int count = run.lengthBlock03();
        run.closeBlock(count, run.stateList03(true));
      }
      if (ecd && source.has(sodiumRotationLine)) run.opticalRotations03();
    }
    // Every block reads its own list of states; one left over is printed
    // for states the tables read do not belong to.
    if (source.has(stateListStart)) run.statesWithoutTable();
  }
  return run.result(formalism.velocity && !formalism.length, spectrum);
}

void TForm1::GAUSSIAN09CD(const std::string& fileName, int slot) {
  readEcd(*this, fileName, slot, readers::GaussianLayout::G09);
}

void TForm1::GAUSSIAN03CD(const std::string& fileName, int slot) {
  readEcd(*this, fileName, slot, readers::GaussianLayout::G03);
}

void TForm1::GAUSSIAN09UV(const std::string& fileName, int slot) {
  captionForSlotOne(*this, fileName, slot);
  store.OSC.clearSlot(slot);
  readers::StateParse parse = statesOf(*this, fileName, Spectrum::Uv, readers::GaussianLayout::G09);
  enterStates(*this, parse, Spectrum::Uv, slot);
  readers::UvEcdClosing closing{Spectrum::Uv};
  closing.titleEveryLoad = true;
  closing.pageStepsEverySlot = true;
  readers::finishUvEcd(*this, closing, fileName, slot);
  parse.notes.report(fileName);
}

void TForm1::GAUSSIAN03UV(const std::string& fileName, int slot) {
  SetCaption(fileName);
  store.OSC.clearSlot(slot);
  readers::StateParse parse = statesOf(*this, fileName, Spectrum::Uv, readers::GaussianLayout::G03);
  enterStates(*this, parse, Spectrum::Uv, slot);
  readers::UvEcdClosing closing{Spectrum::Uv};
  closing.redrawAlways = true;
  readers::finishUvEcd(*this, closing, fileName, slot);
  parse.notes.report(fileName);
}
