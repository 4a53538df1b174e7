// NWChem TDDFT outputs: after "Ground state" each root is a line
// "Root   1 singlet bu   0.196071264 a.u.   5.3354 eV" followed by its block,
// which holds the oscillator strength and, where computed, the rotatory
// strength. The list ends at "Target root".
#include <functional>
#include <string>
#include <string_view>

#include "app/Main.h"
#include "platform/dialogs.h"
#include "readers/reader_core.h"
#include "settings/settings.h"

namespace {

using readers::LineSource;
using readers::Spectrum;
using readers::StateRow;
using readers::StateTable;

constexpr std::string_view oscillatorMarker = "Dipole Oscillator Strength";
constexpr std::string_view rotatoryMarker = "Rotatory Strength (1E-40 esu**2cm**2):";
constexpr std::string_view listStart = "Ground state";
constexpr std::string_view listEnd = "Target root";

bool velocityFormalism() { return Form2 != nullptr && Form2->RadioButton1->Checked(); }
bool lengthFormalism() { return Form2 == nullptr || Form2->RadioButton2->Checked(); }

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
  NwchemRun(TForm1& form, const std::string& fileName, int slot, Spectrum spectrum,
            StateTable& table)
      : form_(form), fileName_(fileName), slot_(slot), spectrum_(spectrum), table_(table) {}

  void read() {
    const bool ecd = spectrum_ == Spectrum::Ecd;
    const std::string_view marker = ecd ? rotatoryMarker : oscillatorMarker;
    {
      LineSource source(fileName_);
      while (!source.has(marker) && !source.eof()) source.next();
      if (!source.has(marker)) return;
    }
    if (velocityFormalism()) ShowMessage("Velocity formalism not supported for NWChem");
    if (!lengthFormalism()) return;
    if (slot_ == 1) (ecd ? form_.CDspectra1 : form_.UVspectra1)->SetEnabled(true);
    (ecd ? form_.store.CDACTIVE : form_.store.UVACTIVE)[slot_] = readers::computed;

    LineSource source(fileName_);
    while (!source.has(listStart) && !source.eof()) source.next();
    for (;;) {
      while (!opensPass(source) && !source.pastEnd()) source.next();
      if (source.has(listEnd) || source.pastEnd()) break;
      ++states_;
      if (source.has("Root") && source.has("singlet")) {
        const double energy = readers::toReal(readers::word(source.line(), 7));
        const double wavelength = readers::wavelengthOfEnergy(energy);
        while (!source.has(marker) && !source.pastEnd()) source.next();
        const double value = readers::toReal(afterWords(source.line(), ecd ? 4 : 3));
        if (!ecd) {
          readers::addLine(form_.store.OSC, slot_, wavelength, value, readers::RangeTest::GridOnly);
        } else if (StateRow* row = table_.row(states_)) {
          row->wavelength = wavelength;
          row->rotatory = value;
        }
      }
      if (source.has(listEnd)) break;
      source.next();
    }
    if (!ecd) return;
    // Roots that are not singlets left their rows at 0: they have no bin.
    for (int i = 1; i <= StateTable::held(states_); ++i) {
      const StateRow& row = table_.at(i);
      readers::addLine(form_.store.ROTS, slot_, row.wavelength, row.rotatory,
                       readers::RangeTest::GridOnly);
    }
  }

  int states() const { return states_; }

 private:
  TForm1& form_;
  const std::string& fileName_;
  int slot_;
  Spectrum spectrum_;
  StateTable& table_;
  int states_ = 0;
};

// Reads the file into the slot; returns the number of roots counted.
int readNwchem(TForm1& form, const std::string& fileName, int slot, Spectrum spectrum,
               StateTable& table) {
  if (slot == 1) form.SetCaption(ExtractFileName(fileName));
  (spectrum == Spectrum::Ecd ? form.store.ROTS : form.store.OSC).clearSlot(slot);
  NwchemRun run(form, fileName, slot, spectrum, table);
  readers::readGuarded([&] { run.read(); });
  return run.states();
}

}  // namespace

void TForm1::NWCHEMUV(const std::string& fileName, int slot) {
  readers::LoadNotes notes;
  StateTable table(notes);
  const int states = readNwchem(*this, fileName, slot, Spectrum::Uv, table);
  if (slot == 1 && store.UVACTIVE[1] == readers::computed) readers::showStateCount(*this, states);
  readers::finishUvEcd(*this, readers::UvEcdClosing{Spectrum::Uv}, fileName, slot);
}

void TForm1::NWCHEMCD(const std::string& fileName, int slot) {
  readers::LoadNotes notes;
  StateTable table(notes);
  table.clear();
  const int states = readNwchem(*this, fileName, slot, Spectrum::Ecd, table);
  readers::finishEsuEcd(*this, fileName, slot, states);
  notes.report(fileName);
}
