// TURBOMOLE escf and ricc2 outputs. escf prints one block per excited state
// whose values stand at fixed distances from its wavelength line; ricc2
// prints its one-photon absorption strengths state by state. In both the
// last table of the file is the one that counts.
#include <string>
#include <string_view>

#include "app/Main.h"
#include "readers/parse.h"
#include "readers/reader_core.h"

namespace {

using readers::LineSource;
using readers::Spectrum;
using readers::StateRow;
using readers::StateTable;
using readers::TurbomoleProgram;

constexpr std::string_view escfState = "Excitation energy / nm:";
constexpr std::string_view escfDone = "****  escf : all done  ****";
constexpr std::string_view ricc2Table = "ONE-PHOTON ABSORPTION STRENGTHS";
constexpr std::string_view ricc2Done = "****  ricc2 : all done  ****";
constexpr std::string_view ricc2Densities = "Exporting transition densities";
constexpr std::string_view ricc2Frequency = "|    frequency :";
constexpr std::string_view ricc2ElectronVolts = "e.V.";
constexpr std::string_view ricc2RotatoryUnit = "*erg*cm^3";


// One parse of a TURBOMOLE output.
class TurbomoleRun {
 public:
  TurbomoleRun(const std::string& fileName, Spectrum spectrum, readers::Formalism formalism)
      : fileName_(fileName), spectrum_(spectrum), formalism_(formalism), table_(notes_) {
    table_.clear();
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

  // The last table read: its states and their count.
  readers::StateParse result() const {
    readers::StateParse parse;
    const int held = StateTable::held(states_);
    parse.found = states_ > 0;
    parse.count = held;
    for (int i = 1; i <= held; ++i) parse.states.push_back(table_.at(i));
    parse.notes = notes_;
    return parse;
  }

 private:
  // Both strengths must convert; the current line is the rotatory one after.
  void readEscfState(LineSource& source, int i) {
    const double wavelength = readers::toReal(readers::fromColumn(source.line(), 26));
    const bool velocity = formalism_.velocity;
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
    const bool velocity = formalism_.velocity;
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

  const std::string& fileName_;
  Spectrum spectrum_;
  readers::Formalism formalism_;
  readers::LoadNotes notes_;
  StateTable table_;
  int states_ = 0;
};

std::string statesKey(TurbomoleProgram program, Spectrum spectrum) {
  return readers::parseKey(program == TurbomoleProgram::Escf ? "TURBOMOLE escf" : "TURBOMOLE ricc2",
                           spectrum);
}

readers::StateParse parseStates(const std::string& fileName, TurbomoleProgram program,
                                Spectrum spectrum) {
  return readers::parseTurbomole(fileName, program, spectrum, readers::chosenFormalism());
}

// Labels, lines and state, the kind menu for any slot; then the closing
// steps. Without `computed` the reader ends after clearing the slot.
void readTurbomole(TForm1& form, const std::string& fileName, int slot, Spectrum spectrum,
                   TurbomoleProgram program) {
  const bool ecd = spectrum == Spectrum::Ecd;
  auto& grid = ecd ? form.store.ROTS : form.store.OSC;
  if (slot == 1) form.SetCaption(ExtractFileName(fileName));
  grid.clearSlot(slot);
  const readers::StateParse parse =
      readers::keptOrParsed(form.LoadReading, statesKey(program, spectrum),
                            [&] { return parseStates(fileName, program, spectrum); });
  // Without a state the ricc2 ECD slot keeps its former state and is not redrawn.
  if (program == TurbomoleProgram::Ricc2 && ecd && !parse.found) return;
  if (slot == 1) readers::showStateLabels(form, parse.states);
  for (const StateRow& row : parse.states)
    readers::addLine(grid, slot, row.wavelength, ecd ? row.rotatory : row.oscillator,
                     readers::RangeTest::Inclusive);
  (ecd ? form.CDspectra1 : form.UVspectra1)->SetEnabled(true);
  readers::UvEcdClosing closing{spectrum};
  closing.alwaysComputed = true;
  if (ecd) closing.cdUnitLabel = readers::gaussianUnitLabel;
  readers::finishUvEcd(form, closing, fileName, slot);
  parse.notes.report(fileName);
}

}  // namespace

readers::StateParse readers::parseTurbomole(const std::string& fileName, TurbomoleProgram program,
                                            Spectrum spectrum, Formalism formalism) {
  TurbomoleRun run(fileName, spectrum, formalism);
  if (program == TurbomoleProgram::Escf)
    run.readEscf();
  else
    run.readRicc2();
  return run.result();
}

void readers::trialTurbomole(const std::string& fileName, TurbomoleProgram program,
                             Spectrum spectrum, OutputReading& reading) {
  const StateParse parse = keepParse(reading, statesKey(program, spectrum),
                                     [&] { return parseStates(fileName, program, spectrum); });
  const bool ecd = spectrum == Spectrum::Ecd;
  if (program == TurbomoleProgram::Ricc2 && ecd && !parse.found) return;
  for (const StateRow& row : parse.states)
    reading.drawing.state(spectrum, binOf(row.wavelength, RangeTest::Inclusive).has_value(),
                          ecd ? row.rotatory : row.oscillator);
  reading.boxes.report(parse.notes, fileName);
}

void TForm1::ESCFCD(const std::string& fileName, int slot) {
  readTurbomole(*this, fileName, slot, Spectrum::Ecd, TurbomoleProgram::Escf);
}

void TForm1::ESCFUV(const std::string& fileName, int slot) {
  readTurbomole(*this, fileName, slot, Spectrum::Uv, TurbomoleProgram::Escf);
}

void TForm1::RICC2CD(const std::string& fileName, int slot) {
  readTurbomole(*this, fileName, slot, Spectrum::Ecd, TurbomoleProgram::Ricc2);
}

void TForm1::RICC2UV(const std::string& fileName, int slot) {
  readTurbomole(*this, fileName, slot, Spectrum::Uv, TurbomoleProgram::Ricc2);
}
