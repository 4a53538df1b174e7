// NWChem TDDFT outputs: after "Ground state" each root is a line
// "Root   1 singlet bu   0.196071264 a.u.   5.3354 eV" followed by its block,
// which holds the oscillator strength and, where computed, the rotatory
// strength. The list ends at "Target root".
#include <functional>
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

constexpr std::string_view oscillatorMarker = "Dipole Oscillator Strength";
constexpr std::string_view rotatoryMarker = "Rotatory Strength (1E-40 esu**2cm**2):";
constexpr std::string_view listStart = "Ground state";
constexpr std::string_view listEnd = "Target root";


// The text after the first `count` words of a line, trimmed.
std::string_view afterWords(std::string_view line, int count) {
  readers::FieldWalk walk(line);
  walk.drop(count);
  return readers::trimmed(walk.rest());
}

bool opensPass(const LineSource& source) {
  return source.has("Root") || source.has("singlet") || source.has(listEnd);
}

// One reading of a file: the number of roots counted, and for the ECD reader
// the table of their bins and strengths. The UV reader adds each singlet at
// once.
class NwchemRun {
 public:
  NwchemRun(const std::string& fileName, Spectrum spectrum, StateTable& table,
            readers::LoadNotes& notes, readers::Boxes& boxes)
      : fileName_(fileName), spectrum_(spectrum), table_(table), notes_(notes), boxes_(boxes) {}

  void read() {
    const bool ecd = spectrum_ == Spectrum::Ecd;
    const std::string_view marker = ecd ? rotatoryMarker : oscillatorMarker;
    {
      LineSource source(fileName_);
      while (!source.has(marker) && !source.eof()) source.next();
      if (!source.has(marker)) return;
    }
    // The UV and ECD readers of one open both meet the marker: one box.
    if (readers::velocityFormalism()) boxes_.tellOnce("Velocity formalism not supported for NWChem");
    if (!readers::lengthFormalism()) return;
    computed_ = true;

    // A file lists its roots once per TDDFT run (singlets and triplets
    // apart, one run per geometry of an optimisation): the last complete
    // list that holds a singlet is the result, or, in a file without one
    // (unrestricted roots), the last list.
    LineSource source(fileName_);
    readers::LastTable<readers::LineTable> singletLists, otherLists;
    while (!source.eof()) {
      source.next();
      if (!source.has(listStart)) continue;
      bool singlets = false;
      readers::LineTable list = readList(source, marker, singlets);
      // "Ground state energy" after a list opens none.
      if (list.states == 0) continue;
      (singlets ? singletLists : otherLists).offer(std::move(list));
    }
    const readers::LastTable<readers::LineTable>& lists =
        singletLists.kept() != nullptr ? singletLists : otherLists;
    const readers::LineTable* list = lists.kept();
    if (list == nullptr) return;
    states_ = list->states;
    lists.noteCut(notes_);
    lines_ = list->lines;
  }

  int states() const { return states_; }
  // A table of the kind was met in the length formalism.
  bool computed() const { return computed_; }
  const std::vector<std::pair<double, double>>& lines() const { return lines_; }

 private:
  // The roots from the current line to "Target root" (or the end of the
  // file), each singlet with its value; `singlets` tells whether any root
  // was one.
  readers::LineTable readList(LineSource& source, std::string_view marker, bool& singlets) {
    const bool ecd = spectrum_ == Spectrum::Ecd;
    readers::LineTable list;
    for (;;) {
      while (!opensPass(source) && !source.pastEnd()) source.next();
      if (source.has(listEnd) || source.pastEnd()) break;
      ++list.states;
      if (source.has("Root") && source.has("singlet")) {
        singlets = true;
        const double energy = readers::toReal(readers::word(source.line(), 7));
        while (!source.has(marker) && !source.pastEnd()) source.next();
        if (source.pastEnd()) break;
        const double value = readers::toReal(afterWords(source.line(), ecd ? 4 : 3));
        // The ECD table holds 350 roots; the UV reader keeps every root.
        if (!ecd || table_.row(list.states) != nullptr)
          list.lines.emplace_back(readers::wavelengthOfEnergy(energy), value);
      }
      if (source.has(listEnd)) break;
      source.next();
    }
    list.cut = source.pastEnd();
    return list;
  }

  const std::string& fileName_;
  Spectrum spectrum_;
  StateTable& table_;
  readers::LoadNotes& notes_;
  readers::Boxes& boxes_;
  int states_ = 0;
  bool computed_ = false;
  std::vector<std::pair<double, double>> lines_;
};

// The roots of the list that counts, the count and whether the slot is computed.
readers::TableReading parseNwchem(const std::string& fileName, Spectrum spectrum) {
  readers::TableReading reading;
  StateTable table(reading.notes);
  table.clear();
  NwchemRun run(fileName, spectrum, table, reading.notes, reading.boxes);
  readers::readGuarded(reading.boxes, [&] { run.read(); });
  reading.lines = run.lines();
  reading.states = run.states();
  reading.computed = run.computed();
  return reading;
}

std::string rootsKey(Spectrum spectrum) { return readers::parseKey("NWChem", spectrum); }

// Reads the file into the slot.
readers::TableReading readNwchem(TForm1& form, const std::string& fileName, int slot,
                                 Spectrum spectrum) {
  const bool ecd = spectrum == Spectrum::Ecd;
  if (slot == 1) form.SetCaption(ExtractFileName(fileName));
  (ecd ? form.store.ROTS : form.store.OSC).clearSlot(slot);
  readers::TableReading parse = readers::keptOrParsed(
      form.LoadReading, rootsKey(spectrum), [&] { return parseNwchem(fileName, spectrum); });
  readers::enterTable(form, parse, spectrum, slot);
  return parse;
}

}  // namespace

void TForm1::NWCHEMUV(const std::string& fileName, int slot) {
  const readers::TableReading parse = readNwchem(*this, fileName, slot, Spectrum::Uv);
  if (slot == 1 && store.UVACTIVE[1] == readers::computed)
    readers::showStateCount(*this, parse.states);
  readers::finishUvEcd(*this, readers::UvEcdClosing{Spectrum::Uv}, fileName, slot);
  parse.notes.report(fileName);
}

void TForm1::NWCHEMCD(const std::string& fileName, int slot) {
  const readers::TableReading parse = readNwchem(*this, fileName, slot, Spectrum::Ecd);
  readers::finishEsuEcd(*this, fileName, slot, parse.states);
  parse.notes.report(fileName);
}

void readers::trialNwchem(const std::string& fileName, Spectrum spectrum, OutputReading& reading) {
  trialTable(fileName, spectrum, rootsKey(spectrum), [&] { return parseNwchem(fileName, spectrum); },
             reading);
}
