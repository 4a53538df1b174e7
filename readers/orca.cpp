// ORCA excited-state outputs. Before version 4 the CD and absorption tables
// are read; from version 4 on also the sTDA state table ("state eV nm fL fV
// Rl RV"). Every table row goes into its bin at once; when a file holds both
// a state table and a CD (or absorption) table, the latter gives the
// spectrum, so that no transition is counted twice.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/Main.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "readers/reader_core.h"
#include "settings/settings.h"
#include "store/constants.h"

namespace {

using readers::LineSource;
using readers::RangeTest;
using readers::Spectrum;

// ---- Markers ---------------------------------------------------------------------

constexpr std::string_view cdTable = "CD SPECTRUM";
constexpr std::string_view absorptionTable = "ABSORPTION SPECTRUM";
constexpr std::string_view velocityAbsorptionTable =
    "ABSORPTION SPECTRUM VIA TRANSITION VELOCITY DIPOLE MOMENTS";
// ORCA 5 and later print a CD table of the velocity dipoles beside the
// electric-dipole one; only the latter is ours.
constexpr std::string_view velocityDipoles = "VELOCITY DIPOLE MOMENTS";
// The spin-orbit tables list the spin-orbit states of the excitations that
// the spin-free table has already given (with complex moments in place of
// our columns): reading both would count each excitation twice.
constexpr std::string_view spinOrbitCorrected = "CORRECTED";
constexpr std::string_view stateTable =
    "state   eV        nm        fL         fV        Rl        RV";
constexpr std::string_view spinForbidden = "spin forbidden";
constexpr std::string_view sgsUnit = "1e40*sgs";
// The unit line of the ORCA 6 tables: an energy column in eV stands before
// the one in cm-1.
constexpr std::string_view electronVoltUnit = "(eV)";
// Rotatory strengths in atomic units (ORCA 2.6) to 10^-40 sgs.
constexpr double atomicToSgs = 471.450602;

constexpr const char* lengthOnlyMessage = "ORCA-CD-Values are always from Length-Formalism!";

bool velocityFormalism() { return Form2 != nullptr && Form2->RadioButton1->Checked(); }
bool lengthFormalism() { return Form2 == nullptr || Form2->RadioButton2->Checked(); }

// A table ends at a line without text (past the end of the file every line
// is empty) or at a note that follows its last row without one, as the
// "*The positivity of oscillator strengths ..." of ORCA 6: every row starts
// with its state's number.
bool tableEnded(const LineSource& source) {
  const std::string_view text = readers::trimmed(source.line());
  return source.pastEnd() || text.size() <= 1 || text.front() < '0' || text.front() > '9';
}

// What the unit line of a CD or absorption table tells of its rows.
struct RowLayout {
  // An eV column before the cm-1 one (ORCA 6).
  bool electronVoltColumn = false;
  // The rotatory strengths are in 10^-40 sgs.
  bool sgs = false;
};

// The text of a row from its state field on. State labels are cut: "0( 1)->
// 1( 1) 1 ..." up to its first ")" after the ">", "0-1Ag -> 1-3Bu ..." up
// to the arrow, so that the target label stands where the state number does.
std::string_view rowFields(std::string_view row) {
  row = readers::trimmed(row);
  if (readers::contains(row, "(")) {
    const size_t arrow = row.find('>');
    if (arrow != std::string_view::npos) row.remove_prefix(arrow + 1);
    const size_t close = row.find(')');
    if (close != std::string_view::npos) row.remove_prefix(close + 1);
    return readers::trimmed(row);
  }
  const size_t arrow = row.find("->");
  if (arrow != std::string_view::npos) row.remove_prefix(arrow + 2);
  return readers::trimmed(row);
}

// One ORCA reader over one file.
class OrcaRun {
 public:
  OrcaRun(TForm1& form, const std::string& fileName, int slot, Spectrum spectrum)
      : form_(form),
        store_(form.store),
        slot_(slot),
        spectrum_(spectrum),
        grid_(spectrum == Spectrum::Ecd ? form.store.ROTS : form.store.OSC),
        fileName_(fileName) {}

  void clear() { grid_.clearSlot(slot_); }

  // Reads the whole file; the current line is the marker line of each table.
  void readFile(bool withStateTable, bool convertibleUnits) {
    LineSource source(fileName_);
    while (!source.eof()) {
      source.next();
      if (withStateTable && source.has(stateTable)) readStateTable(source);
      if (spectrum_ == Spectrum::Ecd) {
        if (isElectricCdTable(source.line())) readCdTable(source, convertibleUnits);
      } else if (source.has(absorptionTable) && !source.has(spinOrbitCorrected)) {
        readAbsorptionTable(source);
      }
    }
  }

  // The state table's lines count only where the file has no CD or
  // absorption table of its own.
  void enterStateTableLines() {
    if (tableRead_) return;
    for (const auto& [wavelength, value] : stateLines_)
      readers::addLine(grid_, slot_, wavelength, value, RangeTest::Strict);
  }

  int states() const { return tableRead_ ? tableStates_ : stateTableStates_; }

 private:
  static bool isElectricCdTable(std::string_view line) {
    return readers::contains(line, cdTable) && !readers::contains(line, velocityDipoles) &&
           !readers::contains(line, spinOrbitCorrected);
  }

  void markComputed() {
    if (spectrum_ == Spectrum::Ecd) {
      form_.CDspectra1->SetEnabled(true);
      store_.CDACTIVE[slot_] = readers::computed;
    } else {
      form_.UVspectra1->SetEnabled(true);
      store_.UVACTIVE[slot_] = readers::computed;
    }
  }

  // The sTDA table: state, eV, nm, fL, fV, Rl, RV, then the leading
  // excitations. Each strength comes from the column of its own name.
  void readStateTable(LineSource& source) {
    markComputed();
    const bool ecd = spectrum_ == Spectrum::Ecd;
    const int valueField = ecd ? (velocityFormalism() ? 7 : 6) : (velocityFormalism() ? 5 : 4);
    int count = 0;
    for (source.next(); !tableEnded(source); source.next()) {
      ++count;
      const std::string_view row = source.line();
      const double wavelength = readers::toReal(readers::word(row, 3));
      if (!readers::binOf(wavelength, RangeTest::Strict)) continue;
      stateLines_.emplace_back(wavelength, readers::toReal(readers::word(row, valueField)));
    }
    stateTableStates_ = count;
  }

  // The five lines from the marker to the first row; the third holds the units.
  static RowLayout openTable(LineSource& source) {
    source.skip(3);
    RowLayout layout;
    layout.electronVoltColumn = source.has(electronVoltUnit);
    layout.sgs = source.has(sgsUnit);
    source.skip(2);
    return layout;
  }

  // Rows to the end of the table, each into its bin, the numbers taken in
  // turn so that a row stops being read where it leaves the spectrum;
  // returns the count of rows that are no "spin forbidden" row.
  int readRows(LineSource& source, const RowLayout& layout, double factor) {
    int count = 0;
    for (; !tableEnded(source); source.next()) {
      const std::string_view row = source.line();
      if (readers::contains(row, spinForbidden)) continue;
      ++count;
      // Fields by their place, so that a row cut short lacks its value
      // rather than repeating its last field.
      const std::string_view fields = rowFields(row);
      const int energyField = layout.electronVoltColumn ? 3 : 2;
      const double energy = readers::toReal(readers::word(fields, energyField));
      if (!(energy > 0.0)) continue;
      const double wavelength = readers::toReal(readers::word(fields, energyField + 1));
      if (!readers::binOf(wavelength, RangeTest::Strict)) continue;
      const double value = readers::toReal(readers::word(fields, energyField + 2)) * factor;
      readers::addLine(grid_, slot_, wavelength, value, RangeTest::Strict);
    }
    return count;
  }

  void readCdTable(LineSource& source, bool convertibleUnits) {
    if (velocityFormalism()) {
      ShowMessage(lengthOnlyMessage);
      return;
    }
    if (!lengthFormalism()) return;
    markComputed();
    const RowLayout layout = openTable(source);
    const double factor = convertibleUnits && !layout.sgs ? atomicToSgs : 1.0;
    tableStates_ = readRows(source, layout, factor);
    tableRead_ = true;
  }

  // The velocity-dipole table with "velocity", every other absorption table
  // with "length".
  void readAbsorptionTable(LineSource& source) {
    const bool velocityTable = source.has(velocityAbsorptionTable);
    if ((velocityTable && velocityFormalism()) || (!velocityTable && lengthFormalism())) {
      markComputed();
      readRows(source, openTable(source), 1.0);
      tableRead_ = true;
    }
  }

  TForm1& form_;
  Store& store_;
  int slot_;
  Spectrum spectrum_;
  Grid2<MINLAMBDA, MAXLAMBDA, 5>& grid_;
  const std::string& fileName_;
  std::vector<std::pair<double, double>> stateLines_;
  bool tableRead_ = false;
  int tableStates_ = 0;
  int stateTableStates_ = 0;
};

// "291.6 nm": the first and the last bin of slot 1 that holds a line.
void showBinLabels(TForm1& form) {
  const auto& rotatory = form.store.ROTS;
  long first = 0;
  long last = 0;
  for (long bin = MINLAMBDA; bin <= MAXLAMBDA; ++bin)
    if (rotatory(bin, 1) != 0.0) {
      if (first == 0) first = bin;
      last = bin;
    }
  form.Label13->SetCaption(first == 0 ? "--" : readers::binLabel(first));
  form.Label15->SetCaption(last == 0 ? "--" : readers::binLabel(last));
}

enum class Version { BeforeFour, FourOrLater };

void readOrca(TForm1& form, const std::string& fileName, int slot, Spectrum spectrum,
              Version version) {
  if (slot == 1) form.SetCaption(ExtractFileName(fileName));
  OrcaRun run(form, fileName, slot, spectrum);
  run.clear();
  // An input/output error ends the reading; what was read is still shown,
  // then the error goes on to the detector's report.
  std::optional<EInOutError> failure;
  try {
    run.readFile(version == Version::FourOrLater, version == Version::BeforeFour);
  } catch (const EInOutError& error) {
    failure = error;
  }
  run.enterStateTableLines();
  const bool ecd = spectrum == Spectrum::Ecd;
  if (ecd && slot == 1 && form.store.CDACTIVE[slot] == readers::computed) {
    readers::showStateCount(form, run.states());
    showBinLabels(form);
  }
  readers::UvEcdClosing closing{spectrum};
  if (ecd) closing.cdUnitLabel = readers::orcaUnitLabel;
  readers::finishUvEcd(form, closing, fileName, slot);
  if (failure) throw *failure;
}

}  // namespace

void TForm1::ORCACD(const std::string& fileName, int slot) {
  readOrca(*this, fileName, slot, Spectrum::Ecd, Version::BeforeFour);
}

void TForm1::ORCA4CD(const std::string& fileName, int slot) {
  readOrca(*this, fileName, slot, Spectrum::Ecd, Version::FourOrLater);
}

void TForm1::ORCAUV(const std::string& fileName, int slot) {
  readOrca(*this, fileName, slot, Spectrum::Uv, Version::BeforeFour);
}

void TForm1::ORCA4UV(const std::string& fileName, int slot) {
  readOrca(*this, fileName, slot, Spectrum::Uv, Version::FourOrLater);
}
