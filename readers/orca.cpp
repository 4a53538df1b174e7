// ORCA excited-state outputs. Before version 4 the CD and absorption tables
// are read; from version 4 on also the sTDA state table ("state eV nm fL fV
// Rl RV"). Of the tables of one kind the last complete one gives the
// spectrum; when a file holds both a state table and a CD (or absorption)
// table, the latter does, so that no transition is counted twice.
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/Main.h"
#include "platform/errors.h"
#include "readers/parse.h"
#include "readers/reader_core.h"
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
// The X-ray tables ("X-RAY ABSORPTION SPECTRUM VIA TRANSITION ELECTRIC DIPOLE
// MOMENTS" and its velocity twin) list core excitations by their orbitals,
// "1  0a -> 63a  3969.362 ...", in columns of their own.
constexpr std::string_view xRay = "X-RAY";
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

// One parse of one file. Each table is read into its lines; of the tables
// of one kind the last complete one gives the spectrum.
class OrcaRun {
 public:
  OrcaRun(const std::string& fileName, Spectrum spectrum, readers::Formalism formalism,
          readers::LineParse& into)
      : spectrum_(spectrum), formalism_(formalism), fileName_(fileName), into_(into) {}

  // Reads the whole file; the current line is the marker line of each table.
  void readFile(bool withStateTable, bool convertibleUnits) {
    LineSource source(fileName_);
    while (!source.eof()) {
      source.next();
      if (withStateTable && source.has(stateTable)) readStateTable(source);
      if (source.has(xRay)) continue;
      if (spectrum_ == Spectrum::Ecd) {
        if (isElectricCdTable(source.line())) readCdTable(source, convertibleUnits);
      } else if (source.has(absorptionTable) && !source.has(spinOrbitCorrected)) {
        readAbsorptionTable(source);
      }
    }
  }

  // The lines of the table that counts: the CD or absorption table, or the
  // state table where the file has no CD or absorption table of its own, so
  // that no transition is counted twice; one note when the file ends inside
  // that table.
  void finish() {
    const readers::LastTable<readers::LineTable>& tables = counting();
    if (const readers::LineTable* table = tables.kept()) {
      into_.lines = table->lines;
      into_.count = table->states;
    }
    tables.noteCut(into_.notes);
  }

 private:
  const readers::LastTable<readers::LineTable>& counting() const {
    return spectrumTables_.kept() != nullptr ? spectrumTables_ : stateTables_;
  }

  static bool isElectricCdTable(std::string_view line) {
    return readers::contains(line, cdTable) && !readers::contains(line, velocityDipoles) &&
           !readers::contains(line, spinOrbitCorrected);
  }

  void markComputed() { into_.found = true; }

  // The sTDA table: state, eV, nm, fL, fV, Rl, RV, then the leading
  // excitations. Each strength comes from the column of its own name.
  void readStateTable(LineSource& source) {
    markComputed();
    const bool ecd = spectrum_ == Spectrum::Ecd;
    const bool velocity = formalism_.velocity;
    const int valueField = ecd ? (velocity ? 7 : 6) : (velocity ? 5 : 4);
    readers::LineTable table;
    try {
      for (source.next(); !tableEnded(source); source.next()) {
        const std::string_view row = source.line();
        const double wavelength = readers::tableReal(source, readers::word(row, 3));
        const bool inSpectrum = readers::binOf(wavelength, RangeTest::Strict).has_value();
        const double value = inSpectrum ? readers::tableReal(source, readers::word(row, valueField)) : 0.0;
        ++table.states;
        if (inSpectrum) table.lines.emplace_back(wavelength, value);
      }
      table.cut = source.pastEnd();
    } catch (const readers::RowCutByEndOfFile&) {
      table.cut = true;
    }
    stateTables_.offer(std::move(table));
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

  // Rows to the end of the table, the numbers taken in turn so that a row
  // stops being read where it leaves the spectrum; the count is that of the
  // rows that are no "spin forbidden" row.
  static readers::LineTable readRows(LineSource& source, const RowLayout& layout, double factor) {
    readers::LineTable table;
    try {
      for (; !tableEnded(source); source.next()) {
        const std::string_view row = source.line();
        if (readers::contains(row, spinForbidden)) continue;
        const std::optional<std::pair<double, double>> line = rowLine(source, layout, factor);
        ++table.states;
        if (line) table.lines.push_back(*line);
      }
      table.cut = source.pastEnd();
    } catch (const readers::RowCutByEndOfFile&) {
      table.cut = true;
    }
    return table;
  }

  // The wavelength and value of a row, or nothing when the row lies outside
  // the spectrum. Fields are taken by their place, so that a row cut short
  // lacks its value rather than repeating its last field, and in turn, so
  // that a row stops being read where it leaves the spectrum.
  static std::optional<std::pair<double, double>> rowLine(LineSource& source,
                                                          const RowLayout& layout, double factor) {
    const std::string_view fields = rowFields(source.line());
    const int energyField = layout.electronVoltColumn ? 3 : 2;
    const double energy = readers::tableReal(source, readers::word(fields, energyField));
    if (!(energy > 0.0)) return std::nullopt;
    const double wavelength = readers::tableReal(source, readers::word(fields, energyField + 1));
    if (!readers::binOf(wavelength, RangeTest::Strict)) return std::nullopt;
    const double value = readers::tableReal(source, readers::word(fields, energyField + 2));
    return std::make_pair(wavelength, value * factor);
  }

  void readCdTable(LineSource& source, bool convertibleUnits) {
    if (formalism_.velocity) {
      ++into_.refusedTables;
      return;
    }
    if (!formalism_.length) return;
    markComputed();
    const RowLayout layout = openTable(source);
    const double factor = convertibleUnits && !layout.sgs ? atomicToSgs : 1.0;
    spectrumTables_.offer(readRows(source, layout, factor));
  }

  // The velocity-dipole table with "velocity", every other absorption table
  // with "length".
  void readAbsorptionTable(LineSource& source) {
    const bool velocityTable = source.has(velocityAbsorptionTable);
    if ((velocityTable && formalism_.velocity) || (!velocityTable && formalism_.length)) {
      markComputed();
      spectrumTables_.offer(readRows(source, openTable(source), 1.0));
    }
  }

  Spectrum spectrum_;
  readers::Formalism formalism_;
  const std::string& fileName_;
  readers::LineParse& into_;
  readers::LastTable<readers::LineTable> spectrumTables_;
  readers::LastTable<readers::LineTable> stateTables_;
};

}  // namespace

void readers::parseOrca(const std::string& fileName, Spectrum spectrum, OrcaVersion version,
                        Formalism formalism, LineParse& into) {
  OrcaRun run(fileName, spectrum, formalism, into);
  // What was read before a file error stands.
  try {
    run.readFile(version == OrcaVersion::FourOrLater, version == OrcaVersion::BeforeFour);
  } catch (const EInOutError&) {
    run.finish();
    throw;
  }
  run.finish();
}

namespace {

using readers::OrcaVersion;

void markComputed(TForm1& form, Spectrum spectrum, int slot) {
  if (spectrum == Spectrum::Ecd) {
    form.CDspectra1->SetEnabled(true);
    form.store.CDACTIVE[slot] = readers::computed;
  } else {
    form.UVspectra1->SetEnabled(true);
    form.store.UVACTIVE[slot] = readers::computed;
  }
}

// The tables read and the error the reading ended in, if any.
struct OrcaReading {
  readers::LineParse parse;
  std::exception_ptr failure;
};

OrcaReading readTables(const std::string& fileName, Spectrum spectrum, OrcaVersion version) {
  OrcaReading reading;
  try {
    readers::parseOrca(fileName, spectrum, version, readers::chosenFormalism(), reading.parse);
  } catch (...) {
    reading.failure = std::current_exception();
  }
  return reading;
}

std::string tablesKey(Spectrum spectrum, OrcaVersion version) {
  return readers::parseKey(version == OrcaVersion::FourOrLater ? "ORCA 4" : "ORCA", spectrum);
}

void readOrca(TForm1& form, const std::string& fileName, int slot, Spectrum spectrum,
              OrcaVersion version) {
  if (slot == 1) form.SetCaption(ExtractFileName(fileName));
  auto& grid = spectrum == Spectrum::Ecd ? form.store.ROTS : form.store.OSC;
  grid.clearSlot(slot);
  const OrcaReading reading = readers::keptOrParsed(
      form.LoadReading, tablesKey(spectrum, version),
      [&] { return readTables(fileName, spectrum, version); });
  const readers::LineParse& parse = reading.parse;
  // An input/output error ends the reading; what was read is still shown,
  // then the error goes on to the detector's report. A table marker makes
  // the slot computed even when a number of the table fails to convert.
  std::optional<EInOutError> failure;
  try {
    if (reading.failure) std::rethrow_exception(reading.failure);
  } catch (const EInOutError& error) {
    failure = error;
  } catch (...) {
    if (parse.found) markComputed(form, spectrum, slot);
    throw;
  }
  for (int i = 0; i < parse.refusedTables; ++i) readers::tell(lengthOnlyMessage);
  if (parse.found) markComputed(form, spectrum, slot);
  for (const auto& [wavelength, value] : parse.lines)
    readers::addLine(grid, slot, wavelength, value, RangeTest::Strict);
  const bool ecd = spectrum == Spectrum::Ecd;
  if (ecd && slot == 1 && form.store.CDACTIVE[slot] == readers::computed) {
    readers::showStateCount(form, parse.count);
    readers::showLineBinLabels(form);
  }
  readers::UvEcdClosing closing{spectrum};
  if (ecd) closing.cdUnitLabel = readers::orcaUnitLabel;
  readers::finishUvEcd(form, closing, fileName, slot);
  parse.notes.report(fileName);
  if (failure) throw *failure;
}

}  // namespace

void readers::trialOrca(const std::string& fileName, Spectrum spectrum, OrcaVersion version,
                        OutputReading& reading) {
  const OrcaReading kept = keepParse(reading, tablesKey(spectrum, version),
                                     [&] { return readTables(fileName, spectrum, version); });
  const LineParse& parse = kept.parse;
  std::exception_ptr failure;
  try {
    if (kept.failure) std::rethrow_exception(kept.failure);
  } catch (const EInOutError&) {
    // What was read before the error is drawn; the detector tells the error.
    failure = std::current_exception();
  }
  for (int i = 0; i < parse.refusedTables; ++i) reading.boxes.tell(lengthOnlyMessage);
  reading.drawing.lines(spectrum, parse.lines, RangeTest::Strict);
  // The rows the parse left out lie off the spectrum.
  reading.drawing.statesOffGrid(spectrum, parse.count - static_cast<int>(parse.lines.size()));
  reading.boxes.report(parse.notes, fileName);
  if (failure) std::rethrow_exception(failure);
}

void TForm1::ORCACD(const std::string& fileName, int slot) {
  readOrca(*this, fileName, slot, Spectrum::Ecd, OrcaVersion::BeforeFour);
}

void TForm1::ORCA4CD(const std::string& fileName, int slot) {
  readOrca(*this, fileName, slot, Spectrum::Ecd, OrcaVersion::FourOrLater);
}

void TForm1::ORCAUV(const std::string& fileName, int slot) {
  readOrca(*this, fileName, slot, Spectrum::Uv, OrcaVersion::BeforeFour);
}

void TForm1::ORCA4UV(const std::string& fileName, int slot) {
  readOrca(*this, fileName, slot, Spectrum::Uv, OrcaVersion::FourOrLater);
}
