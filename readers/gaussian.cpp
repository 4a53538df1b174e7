// Gaussian excited-state outputs: the rotatory-strength and dipole tables,
// the list of excited states that gives their wavelengths (and, in the
// length gauge, the oscillator strengths), and the optical rotations that
// go to the ORD page. Gaussian 09 and 16 share one layout, 03 and 98 another.
#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/Main.h"
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


enum class Layout { G09, G03 };

// One run of a Gaussian UV or ECD reader over one file.
class GaussianRun {
 public:
  GaussianRun(TForm1& form, const std::string& fileName, int slot, Spectrum spectrum)
      : form_(form),
        store_(form.store),
        fileName_(fileName),
        slot_(slot),
        spectrum_(spectrum),
        source_(fileName),
        table_(notes_) {
    table_.clear();
    (spectrum == Spectrum::Ecd ? store_.ROTS : store_.OSC).clearSlot(slot);
  }

  LineSource& source() { return source_; }
  readers::LoadNotes& notes() { return notes_; }

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
    block.announced = count;
    block.states = block.cut ? std::min(count, listed) : count;
    const int rows = StateTable::held(block.states);
    for (int i = 1; i <= rows; ++i) block.rows.push_back(table_.at(i));
    if (block.cut) {
      cutStates_ = block.states;
      cutAnnounced_ = count;
    }
    blocks_.offer(std::move(block));
    table_.clear();
  }

  void enterResult() {
    const Block* block = blocks_.kept();
    if (blocks_.endsCut())
      notes_.endsInsideTable(readers::stateCountText(cutStates(), cutAnnounced_),
                             blocks_.earlierKept());
    if (block == nullptr) return;
    for (size_t i = 0; i < block->rows.size(); ++i)
      *table_.row(static_cast<int>(i) + 1) = block->rows[i];
    const int states = StateTable::held(block->states);
    if (slot_ == 1) {
      readers::showStateCount(form_, states);
      readers::showStateLabels(form_, table_, states);
    }
    const bool ecd = spectrum_ == Spectrum::Ecd;
    bool anyRotation = false;
    for (const StateRow& row : block->rows) {
      readers::addLine(ecd ? store_.ROTS : store_.OSC, slot_, row.wavelength,
                       ecd ? row.rotatory : row.oscillator, readers::RangeTest::Inclusive);
      anyRotation = anyRotation || row.rotatory != 0.0;
    }
    if (ecd) {
      if (anyRotation) {
        store_.CDACTIVE[slot_] = readers::computed;
        if (slot_ == 1) form_.CDspectra1->SetEnabled(true);
      }
    } else {
      form_.UVspectra1->SetEnabled(true);
      store_.UVACTIVE[slot_] = readers::computed;
    }
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

  void storeRotation(int row, double wavelength, double rotation) {
    if (slot_ > ordSlots) {
      notes_.note("the optical rotations (the ORD page holds curves 1 and 2 only)");
      return;
    }
    if (row > ordRows) {
      notes_.note("the optical rotations after the first " + std::to_string(ordRows));
      return;
    }
    store_.ORDCALCX(row, slot_) = wavelength;
    store_.ORDCALCY(row, slot_) = rotation;
  }

  // The rotations from the current line (row 1, already parsed) to "Leave
  // Link 1002". Lines without a wavelength, such as the static one, are passed.
  void opticalRotations(double firstWavelength, double firstRotation) {
    storeRotation(1, firstWavelength, firstRotation);
    int i = 2;
    source_.next();
    while (!source_.has(rotationsEnd) && !source_.pastEnd()) {
      double wavelength = 0.0, rotation = 0.0;
      if (source_.has(rotationLine) && parseRotation(source_.line(), wavelength, rotation)) {
        storeRotation(i, wavelength, rotation);
        ++i;
      }
      source_.next();
    }
    if (slot_ > ordSlots) return;
    store_.ORDDATAPTS[slot_] = std::min(i - 1, ordRows);
    form_.ORD1->SetEnabled(true);
    store_.ORDACTIVE[slot_] = readers::computed;
    store_.ORDTITLE[slot_] = ExtractFileName(fileName_);
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
  TForm1& form_;
  Store& store_;
  const std::string& fileName_;
  int slot_;
  Spectrum spectrum_;
  LineSource source_;
  // One block of states: the rows it gives, their number, the number its
  // table announced, and whether the file ended inside it.
  struct Block {
    std::vector<StateRow> rows;
    int states = 0;
    int announced = 0;
    bool cut = false;
  };

  int cutStates() const { return cutStates_; }

  readers::LoadNotes notes_;
  StateTable table_;
  readers::LastTable<Block> blocks_;
  int cutStates_ = 0;
  int cutAnnounced_ = 0;
  // A row of the block was cut by the end of the file.
  bool rowCut_ = false;
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

void captionForSlotOne(TForm1& form, const std::string& fileName, int slot) {
  if (slot == 1) form.SetCaption(ExtractFileName(fileName));
}

void readEcd(TForm1& form, const std::string& fileName, int slot, Layout layout) {
  captionForSlotOne(form, fileName, slot);
  readers::LoadNotes notes;
  {
    GaussianRun run(form, fileName, slot, Spectrum::Ecd);
    LineSource& source = run.source();
    while (!source.eof()) {
      source.next();
      if (layout == Layout::G09) {
        if (readers::velocityFormalism() && source.has(velocityRotatoryTable)) {
          const int count = run.velocityRotations09();
          run.closeBlock(count, run.stateList09(false, stateListEnd));
        }
        if (readers::lengthFormalism() && source.has(lengthRotatoryTable)) {
          const int count = run.lengthRotations09();
          run.closeBlock(count, run.stateList09(true, stateListEnd));
        }
        if (source.has(rotationLine) && !source.has(staticRotationLine)) run.opticalRotations09();
      } else {
        if (readers::velocityFormalism() && source.has(velocityDipoleTable)) {
          const int count = run.velocityBlock03();
          run.closeBlock(count, run.stateList03(false));
        }
        if (readers::lengthFormalism() && source.has(lengthRotatoryTable03)) {
          const int count = run.lengthBlock03();
          run.closeBlock(count, run.stateList03(true));
        }
        if (source.has(sodiumRotationLine)) run.opticalRotations03();
      }
    }
    run.enterResult();
    notes = run.notes();
  }
  readers::UvEcdClosing closing{Spectrum::Ecd};
  closing.cdUnitLabel = readers::gaussianUnitLabel;
  closing.disableIrVcdEdits = layout == Layout::G09;
  readers::finishUvEcd(form, closing, fileName, slot);
  showOpticalRotations(form, slot);
  notes.report(fileName);
}

}  // namespace

void TForm1::GAUSSIAN09CD(const std::string& fileName, int slot) {
  readEcd(*this, fileName, slot, Layout::G09);
}

void TForm1::GAUSSIAN03CD(const std::string& fileName, int slot) {
  readEcd(*this, fileName, slot, Layout::G03);
}

void TForm1::GAUSSIAN09UV(const std::string& fileName, int slot) {
  captionForSlotOne(*this, fileName, slot);
  readers::LoadNotes notes;
  {
    GaussianRun run(*this, fileName, slot, Spectrum::Uv);
    LineSource& source = run.source();
    while (!source.eof()) {
      source.next();
      if (readers::velocityFormalism() && source.has(velocityDipoleTable)) {
        const int count = run.velocityOscillators(6);
        run.closeBlock(count, run.stateList09(false, stateListEndUvVelocity));
      }
      if (readers::lengthFormalism() && source.has(lengthRotatoryTable)) {
        const int count = run.lengthRotations09();
        run.closeBlock(count, run.stateList09(true, stateListEnd));
      }
    }
    run.enterResult();
    notes = run.notes();
  }
  readers::UvEcdClosing closing{Spectrum::Uv};
  closing.titleEveryLoad = true;
  closing.pageStepsEverySlot = true;
  readers::finishUvEcd(*this, closing, fileName, slot);
  notes.report(fileName);
}

void TForm1::GAUSSIAN03UV(const std::string& fileName, int slot) {
  SetCaption(fileName);
  readers::LoadNotes notes;
  {
    GaussianRun run(*this, fileName, slot, Spectrum::Uv);
    LineSource& source = run.source();
    while (!source.eof()) {
      source.next();
      if (readers::velocityFormalism() && source.has(velocityDipoleTable)) {
        const int count = run.velocityBlock03();
        run.closeBlock(count, run.stateList03(false));
      }
      if (readers::lengthFormalism() && source.has(lengthRotatoryTable03)) {
        const int count = run.lengthBlock03();
        run.closeBlock(count, run.stateList03(true));
      }
    }
    run.enterResult();
    notes = run.notes();
  }
  readers::UvEcdClosing closing{Spectrum::Uv};
  closing.redrawAlways = true;
  readers::finishUvEcd(*this, closing, fileName, slot);
  notes.report(fileName);
}
