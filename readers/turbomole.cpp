// TURBOMOLE escf and ricc2 outputs. escf prints one block per excited state
// whose values stand at fixed distances from its wavelength line; ricc2
// prints its one-photon absorption strengths state by state. In both the
// last table of the file is the one that counts.
#include <string>
#include <string_view>

#include "app/Main.h"
#include "readers/reader_core.h"

namespace {

using readers::LineSource;
using readers::Spectrum;
using readers::StateRow;
using readers::StateTable;

constexpr std::string_view escfState = "Excitation energy / nm:";
constexpr std::string_view escfDone = "****  escf : all done  ****";
constexpr std::string_view ricc2Table = "ONE-PHOTON ABSORPTION STRENGTHS";
constexpr std::string_view ricc2Done = "****  ricc2 : all done  ****";
constexpr std::string_view ricc2Densities = "Exporting transition densities";
constexpr std::string_view ricc2Frequency = "|    frequency :";
constexpr std::string_view ricc2ElectronVolts = "e.V.";
constexpr std::string_view ricc2RotatoryUnit = "*erg*cm^3";


// One TURBOMOLE reader over one file.
class TurbomoleRun {
 public:
  TurbomoleRun(TForm1& form, const std::string& fileName, int slot, Spectrum spectrum)
      : form_(form), fileName_(fileName), slot_(slot), spectrum_(spectrum), table_(notes_) {}

  void start() {
    if (slot_ == 1) form_.SetCaption(ExtractFileName(fileName_));
    table_.clear();
    grid().clearSlot(slot_);
  }

  // ---- escf: the wavelength from the marker line, the strengths from the
  // lines of the formalism below it.
  void readEscf() {
    LineSource source(fileName_);
    while (!source.eof()) {
      source.next();
      if (!source.has(escfState)) continue;
      int count = 0;
      while (!source.pastEnd() && !source.has(escfDone)) {
        if (source.has(escfState)) readEscfState(source, ++count);
        source.next();
      }
      states_ = count;
    }
  }

  // ---- ricc2: a frequency line opens a state, the gauge line of the
  // formalism gives its value.
  void readRicc2() {
    LineSource source(fileName_);
    const bool ecd = spectrum_ == Spectrum::Ecd;
    while (!source.eof()) {
      source.next();
      if (!source.has(ricc2Table)) continue;
      int count = 0;
      while (!source.pastEnd() && !source.has(ricc2Done) && !(!ecd && source.has(ricc2Densities))) {
        if (source.has(ricc2Frequency) && source.has(ricc2ElectronVolts)) {
          if (ricc2State(source, count + 1)) ++count;
        }
        source.next();
      }
      states_ = count;
    }
  }

  // Labels, lines and state, the kind menu for any slot; then the closing steps.
  void finish(bool computed) {
    if (!computed) return;
    const int held = StateTable::held(states_);
    if (slot_ == 1) {
      readers::showStateCount(form_, held);
      readers::showStateLabels(form_, table_, held);
    }
    const bool ecd = spectrum_ == Spectrum::Ecd;
    for (int i = 1; i <= held; ++i) {
      const StateRow& row = table_.at(i);
      readers::addLine(grid(), slot_, row.wavelength, ecd ? row.rotatory : row.oscillator,
                       readers::RangeTest::Inclusive);
    }
    (ecd ? form_.CDspectra1 : form_.UVspectra1)->SetEnabled(true);
    readers::UvEcdClosing closing{spectrum_};
    closing.alwaysComputed = true;
    if (ecd) closing.cdUnitLabel = readers::gaussianUnitLabel;
    readers::finishUvEcd(form_, closing, fileName_, slot_);
    notes_.report(fileName_);
  }

  int states() const { return states_; }

 private:
  Grid2<MINLAMBDA, MAXLAMBDA, 5>& grid() {
    return spectrum_ == Spectrum::Ecd ? form_.store.ROTS : form_.store.OSC;
  }

  // Both strengths must convert; the current line is the rotatory one after.
  void readEscfState(LineSource& source, int i) {
    const double wavelength = readers::toReal(readers::fromColumn(source.line(), 26));
    const bool velocity = readers::velocityFormalism();
    const double oscillator =
        readers::toReal(readers::fromColumn(source.skip(velocity ? 7 : 9), 31));
    const double rotatory =
        readers::toReal(readers::fromColumn(source.skip(velocity ? 11 : 13), 40));
    if (StateRow* row = table_.row(i)) *row = StateRow{wavelength, oscillator, rotatory};
  }

  // True when the state counts; the current line is then its gauge line.
  bool ricc2State(LineSource& source, int i) {
    const double energy =
        readers::toReal(readers::firstWord(readers::fromColumn(source.line(), 41)));
    const bool ecd = spectrum_ == Spectrum::Ecd;
    const bool velocity = readers::velocityFormalism();
    const std::string_view gauge =
        ecd ? (velocity ? "Rotator strength (velocity gauge)" : "Rotator strength (length gauge)")
            : (velocity ? "oscillator strength (velocity gauge)"
                        : "oscillator strength (length gauge)");
    do source.next();
    while (!source.has(gauge) && !source.pastEnd());
    StateRow state{readers::wavelengthOfEnergy(energy), 0.0, 0.0};
    if (ecd) {
      if (!source.has(ricc2RotatoryUnit)) return false;
      state.rotatory =
          readers::toReal(readers::firstWord(readers::trimmed(readers::after(source.line(), ":"))));
      if (!velocity && state.rotatory == 0.0) return false;
    } else {
      // A file that ends before the state's gauge line gives it no value.
      if (!source.has(gauge)) return false;
      state.oscillator = readers::toReal(readers::trimmed(readers::after(source.line(), ":")));
    }
    if (StateRow* row = table_.row(i)) *row = state;
    return true;
  }

  TForm1& form_;
  const std::string& fileName_;
  int slot_;
  Spectrum spectrum_;
  readers::LoadNotes notes_;
  StateTable table_;
  int states_ = 0;
};

void readEscf(TForm1& form, const std::string& fileName, int slot, Spectrum spectrum) {
  TurbomoleRun run(form, fileName, slot, spectrum);
  run.start();
  run.readEscf();
  run.finish(true);
}

}  // namespace

void TForm1::ESCFCD(const std::string& fileName, int slot) {
  readEscf(*this, fileName, slot, Spectrum::Ecd);
}

void TForm1::ESCFUV(const std::string& fileName, int slot) {
  readEscf(*this, fileName, slot, Spectrum::Uv);
}

// Without a state the ECD slot keeps its former state and is not redrawn.
void TForm1::RICC2CD(const std::string& fileName, int slot) {
  TurbomoleRun run(*this, fileName, slot, Spectrum::Ecd);
  run.start();
  run.readRicc2();
  run.finish(run.states() > 0);
}

void TForm1::RICC2UV(const std::string& fileName, int slot) {
  TurbomoleRun run(*this, fileName, slot, Spectrum::Uv);
  run.start();
  run.readRicc2();
  run.finish(true);
}
