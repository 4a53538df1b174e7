#include "readers/reader_core.h"

#include "readers/parse.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "app/Main.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/numbers.h"
#include "plots/cdplotting.h"
#include "settings/settings.h"
#include "store/constants.h"

namespace readers {

namespace {
bool isBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
}  // namespace

// ---- Settings ------------------------------------------------------------------

bool velocityFormalism() { return Form2 != nullptr && Form2->RadioButton1->Checked(); }
bool lengthFormalism() { return Form2 == nullptr || Form2->RadioButton2->Checked(); }

Formalism chosenFormalism() { return Formalism{velocityFormalism(), lengthFormalism()}; }

// ---- Line source -----------------------------------------------------------

namespace {
// The file being read, whose line a conversion error names.
thread_local const LineSource* readingNow = nullptr;
}  // namespace

namespace {
OpenWatcher& openWatcher() {
  static OpenWatcher instance;
  return instance;
}
}  // namespace

void watchOpens(OpenWatcher watcher) { openWatcher() = std::move(watcher); }

LineSource::LineSource(const std::string& path) : file_(path), outer_(readingNow) {
  readingNow = this;
  if (openWatcher()) openWatcher()(path);
}

LineSource::~LineSource() { readingNow = outer_; }

const std::string& LineSource::next() {
  pastEnd_ = !file_.readLine(line_);
  return line_;
}

const std::string& LineSource::skip(int count) {
  for (int i = 0; i < count; ++i) next();
  return line_;
}

std::optional<std::string_view> LineSource::nextView() {
  if (file_.eof()) {
    pastEnd_ = true;
    return std::nullopt;
  }
  return file_.readLineView();
}

// ---- Field models --------------------------------------------------------------

std::string_view trimmed(std::string_view text) {
  size_t begin = 0;
  while (begin < text.size() && isBlank(text[begin])) ++begin;
  size_t end = text.size();
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string_view word(std::string_view line, int n) {
  size_t position = 0;
  for (int k = 1;; ++k) {
    while (position < line.size() && isBlank(line[position])) ++position;
    if (position >= line.size()) return {};
    size_t end = position;
    while (end < line.size() && !isBlank(line[end])) ++end;
    if (k == n) return line.substr(position, end - position);
    position = end;
  }
}

std::vector<std::string_view> words(std::string_view text, size_t limit) {
  std::vector<std::string_view> result;
  size_t position = 0;
  while (result.size() < limit) {
    while (position < text.size() && isBlank(text[position])) ++position;
    if (position >= text.size()) break;
    size_t end = position;
    while (end < text.size() && !isBlank(text[end])) ++end;
    result.push_back(text.substr(position, end - position));
    position = end;
  }
  return result;
}

void FieldWalk::drop() {
  size_t begin = 0;
  while (begin < text_.size() && text_[begin] == ' ') ++begin;
  text_.remove_prefix(begin);
  const size_t blank = text_.find(' ');
  if (blank != std::string_view::npos) text_.remove_prefix(blank + 1);
}

std::string_view FieldWalk::take() const {
  std::string_view text = text_;
  size_t begin = 0;
  while (begin < text.size() && text[begin] == ' ') ++begin;
  text.remove_prefix(begin);
  return text.substr(0, text.find(' '));
}

std::string_view fromColumn(std::string_view line, size_t column) {
  if (column < 1 || column - 1 >= line.size()) return {};
  return trimmed(line.substr(column - 1));
}

std::string_view firstWord(std::string_view text) {
  size_t end = 0;
  while (end < text.size() && !isBlank(text[end])) ++end;
  return text.substr(0, end);
}

std::string_view after(std::string_view text, std::string_view marker) {
  const size_t at = text.find(marker);
  if (at == std::string_view::npos) return {};
  return text.substr(at + marker.size());
}

std::string withoutBlanks(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text)
    if (c != ' ') result += c;
  return result;
}

// ---- Numbers ------------------------------------------------------------------------

double toReal(std::string_view text) {
  if (readingNow == nullptr) return StrToFloatFortran(std::string(text));
  return NamingTheLine(readingNow->file_, [&] { return StrToFloatFortran(std::string(text)); });
}

std::optional<double> tryReal(std::string_view text) {
  double value = 0.0;
  if (TryStrToFloatFortran(std::string(text), value)) return value;
  return std::nullopt;
}

double tableReal(LineSource& source, std::string_view text) {
  if (!source.eof()) return toReal(text);
  const std::optional<double> value = tryReal(text);
  if (!value) throw RowCutByEndOfFile{};
  return *value;
}

double wavelengthOfEnergy(double electronVolts) {
  if (electronVolts == 0.0) return 0.0;
  return ENERGY_WAVELENGTH_FACTOR / electronVolts;
}

// ---- Bins -------------------------------------------------------------------------------

std::optional<long> binOf(double wavelength, RangeTest test) {
  if (!std::isfinite(wavelength)) return std::nullopt;
  const double tenfold = wavelength * 10.0;
  switch (test) {
    case RangeTest::Inclusive:
      if (wavelength < 100.0 || wavelength > MAXLAMBDA / 10.0) return std::nullopt;
      break;
    case RangeTest::Strict:
      if (!(tenfold > MINLAMBDA && tenfold < MAXLAMBDA)) return std::nullopt;
      break;
    case RangeTest::GridOnly:
      // Far outside the grid the rounding itself could overflow.
      if (tenfold < MINLAMBDA - 1.0 || tenfold > MAXLAMBDA + 1.0) return std::nullopt;
      break;
  }
  const long long bin = nint(tenfold);
  if (bin < MINLAMBDA || bin > MAXLAMBDA) return std::nullopt;
  return static_cast<long>(bin);
}

bool addLine(Grid2<MINLAMBDA, MAXLAMBDA, 5>& grid, int slot, double wavelength, double value,
             RangeTest test) {
  const std::optional<long> bin = binOf(wavelength, test);
  if (!bin) return false;
  grid(*bin, slot) += value;
  return true;
}

// ---- Labels ---------------------------------------------------------------------------------

std::string nanometreLabel(double wavelength) { return FloatToStrF(wavelength, 2) + " nm"; }

std::string binLabel(long bin) { return FloatToStr(static_cast<double>(bin) / 10.0) + " nm"; }

// ---- Bounded tables ----------------------------------------------------------------------------

void LoadNotes::note(const std::string& what) {
  for (const std::string& known : notes_)
    if (known == what) return;
  notes_.push_back(what);
}

namespace {
std::string leftOutText(const std::string& shownName, const std::vector<std::string>& notes) {
  std::string text = "Not everything of " + shownName + " was loaded: ";
  for (size_t i = 0; i < notes.size(); ++i) text += (i == 0 ? "" : "; ") + notes[i];
  return text + ".";
}
}  // namespace

std::string LoadNotes::message(const std::string& fileName, const std::vector<std::string>& notes) {
  return leftOutText(ExtractFileName(fileName), notes);
}

std::string stateCountText(int read, int announced) {
  std::string text = std::to_string(read);
  if (announced > 0) text += " of " + std::to_string(announced);
  return text + ((announced > 0 ? announced : read) == 1 ? " state" : " states");
}

void LoadNotes::endsInsideTable(const std::string& read, bool earlierTableLoaded) {
  cut_ = " ends inside a table (" + read + " read); " +
         (earlierTableLoaded ? "the last complete table was loaded."
                             : "the rows it prints whole were loaded.");
}

void LoadNotes::finalStatesLack(const std::string& table, const std::string& spectrum) {
  finalStates_ = " prints no " + table + " for its final states; " + spectrum + " is left empty.";
}

std::string LoadNotes::message(const std::string& fileName) const {
  return messageNaming(ExtractFileName(fileName));
}

std::string LoadNotes::messageNaming(const std::string& shownName) const {
  std::string text;
  if (!finalStates_.empty()) text = "\"" + shownName + "\"" + finalStates_;
  if (!cut_.empty()) text += std::string(text.empty() ? "" : " ") + "The file \"" + shownName + "\"" + cut_;
  if (!notes_.empty()) text += (text.empty() ? "" : " ") + leftOutText(shownName, notes_);
  return text;
}

void LoadNotes::report(const std::string& fileName) const {
  if (!empty()) tellOnce(message(fileName));
}

void StateTable::clear() {
  for (StateRow& row : rows_) row = StateRow{};
}

StateRow* StateTable::row(int i) {
  if (i >= 1 && i <= capacity) return &rows_[static_cast<size_t>(i - 1)];
  if (!noted_) {
    notes_.note("the states after the first " + std::to_string(capacity) + " of a table");
    noted_ = true;
  }
  return nullptr;
}

// ---- Closing steps
// ---------------------------------------------------------------------------------

namespace {

bool anyMeasuredEcdUpTo(const Store& store, int slot) {
  for (int s = 1; s <= slot && s <= 5; ++s)
    if (store.CDACTIVE[s] == "exp") return true;
  return false;
}

void setCdGnuplotLabels(TForm1& form, const char* unitLabel, int slot) {
  if (Form10 == nullptr) return;
  if (slot == 1) {
    Form10->Edit10->SetText(deltaEpsilonLabel);
    Form10->Edit11->SetText(unitLabel);
  } else if (anyMeasuredEcdUpTo(form.store, slot)) {
    Form10->Edit11->SetText(unitLabel);
  }
}

}  // namespace

void finishUvEcd(TForm1& form, const UvEcdClosing& closing, const std::string& fileName, int slot) {
  Store& store = form.store;
  const bool ecd = closing.spectrum == Spectrum::Ecd;
  auto& state = ecd ? store.CDACTIVE[slot] : store.UVACTIVE[slot];
  auto& title = ecd ? store.CDTITLE[slot] : store.UVTITLE[slot];
  const std::string name = ExtractFileName(fileName);

  if (closing.alwaysComputed) state = computed;
  if (closing.titleEveryLoad) title = name;
  if (state != computed) {
    if (closing.redrawAlways) form.RedrawUVCD();
    return;
  }
  if (ecd)
    form.CalculateGaussCD(slot);
  else
    form.CalculateGaussUV(slot);
  title = name;
  if (slot == 1 || closing.pageStepsEverySlot) {
    form.N2ndSpectrum1->SetEnabled(true);
    form.PageControl1->SetActivePage(form.TabSheet1);
    if (closing.disableIrVcdEdits) {
      form.Edit17->SetEnabled(false);
      form.Edit26->SetEnabled(false);
    }
  }
  if (slot == 1 && closing.kindMenuAndAddItem) {
    (ecd ? form.CDspectra1 : form.UVspectra1)->SetEnabled(true);
    (ecd ? form.AddUVSpectrum1 : form.AddCDspectrum1)->SetEnabled(true);
  }
  if (ecd && closing.cdUnitLabel != nullptr) setCdGnuplotLabels(form, closing.cdUnitLabel, slot);
  form.RedrawUVCD();
}

void showStateCount(TForm1& form, int states) { form.Label11->SetCaption(IntToStr(states)); }

void showStateLabels(TForm1& form, const std::vector<StateRow>& states) {
  showStateCount(form, static_cast<int>(states.size()));
  if (states.empty()) {
    form.Label13->SetCaption("--");
    form.Label15->SetCaption("--");
    return;
  }
  form.Label13->SetCaption(nanometreLabel(states.front().wavelength));
  form.Label15->SetCaption(nanometreLabel(states.back().wavelength));
}

void finishLineList(TForm1& form, LineList list, const std::string& fileName, int slot) {
  Store& store = form.store;
  const bool vcd = list == LineList::Vcd;
  if ((vcd ? store.VCDACTIVE[slot] : store.IRACTIVE[slot]) != computed) return;
  if (vcd)
    form.CalculateCurveVCD(slot);
  else
    form.CalculateCurveIR(slot);
  (vcd ? store.VCDTITLE[slot] : store.IRTITLE[slot]) = ExtractFileName(fileName);
  if (slot == 1) {
    form.N2ndSpectrum1->SetEnabled(true);
    form.PageControl1->SetActivePage(form.TabSheet5);
    (vcd ? form.VCDspectra : form.IRSpectra)->SetEnabled(true);
    form.Edit2->SetEnabled(false);
    form.Edit3->SetEnabled(false);
  }
  form.RedrawIRVCD();
}

// ---- Watching
// ----------------------------------------------------------------------------------------

namespace {
ReaderWatcher& watcher() {
  static ReaderWatcher instance;
  return instance;
}
}  // namespace

void watchReaders(ReaderWatcher newWatcher) { watcher() = std::move(newWatcher); }

void announceReader(const std::string& readerName) {
  if (watcher()) watcher()(readerName);
}

void showLineBinLabels(TForm1& form) {
  long lowest = 0, highest = 0;
  for (long bin = MINLAMBDA; bin <= MAXLAMBDA; ++bin) {
    if (form.store.ROTS(bin, 1) == 0.0) continue;
    if (lowest == 0) lowest = bin;
    highest = bin;
  }
  form.Label13->SetCaption(lowest == 0 ? "--" : binLabel(lowest));
  form.Label15->SetCaption(highest == 0 ? "--" : binLabel(highest));
}

// ---- Messages -----------------------------------------------------------------------------

namespace {
TellEachTextOnce*& onceScope() {
  static TellEachTextOnce* scope = nullptr;
  return scope;
}
}  // namespace

TellEachTextOnce::TellEachTextOnce() : outer_(onceScope()) { onceScope() = this; }
TellEachTextOnce::~TellEachTextOnce() { onceScope() = outer_; }

void tell(const std::string& text) { ShowMessage(text); }

void tellOnce(const std::string& text) {
  if (TellEachTextOnce* scope = onceScope()) {
    for (const std::string& told : scope->told_)
      if (told == text) return;
    scope->told_.push_back(text);
  }
  tell(text);
}


// ---- What a load would draw ----------------------------------------------------------

namespace {
// "its one state", "all 5 states".
std::string allStates(int count) {
  return count == 1 ? "its one state" : "all " + std::to_string(count) + " states";
}

std::string fileHandlingErrorText(const Exception& error) {
  return std::string("File handling error occurred. Details: ") + error.ClassName() + "/" +
         error.Message();
}
}  // namespace

void Drawing::state(Spectrum spectrum, bool onGrid, double value) {
  Tally& counts = tallies_[spectrum == Spectrum::Ecd ? 0 : 1];
  ++counts.states;
  if (!onGrid) return;
  ++counts.onGrid;
  drawn_ = drawn_ || value != 0.0;
}

void Drawing::lines(Spectrum spectrum, const std::vector<std::pair<double, double>>& lines,
                    RangeTest test) {
  for (const auto& [wavelength, value] : lines)
    state(spectrum, binOf(wavelength, test).has_value(), value);
}

void Drawing::statesOffGrid(Spectrum spectrum, int count) {
  if (count > 0) tallies_[spectrum == Spectrum::Ecd ? 0 : 1].states += count;
}

void Drawing::modes(long count) { drawn_ = drawn_ || count > 0; }

void Drawing::rotations(long count) { drawn_ = drawn_ || count > 0; }

bool Drawing::drewSomething() const { return drawn_; }

std::string Drawing::whyNothing(const std::string& range) const {
  int states = 0, onGrid = 0;
  for (const Tally& counts : tallies_) {
    states = std::max(states, counts.states);
    onGrid = std::max(onGrid, counts.onGrid);
  }
  if (states == 0) return "it prints no excited state, or none in a table the program reads";
  if (onGrid == 0) return allStates(states) + (states == 1 ? " lies" : " lie") + " outside " + range;
  return allStates(onGrid) + " within " + range + " " + (onGrid == 1 ? "has" : "have") +
         " zero strength";
}

std::string Drawing::nothingDrawnMessage(const std::string& fileName,
                                         bool frequenciesWithoutStrengths) const {
  std::string text = "No UV/ECD, IR/VCD or optical-rotation data were found in \"" +
                     ExtractFileName(fileName) + "\": " + whyNothing() + ".";
  if (frequenciesWithoutStrengths)
    text += " IR and VCD spectra are read from frequency jobs run with VCD (freq=VCD), which "
            "print both.";
  return text;
}

void Boxes::report(const LoadNotes& notes, const std::string& fileName) {
  if (!notes.empty()) tellOnce(notes.message(fileName));
}

void Boxes::fileError(const Exception& error) { tellOnce(fileHandlingErrorText(error)); }

void Boxes::show() {
  for (const Box& box : boxes_) {
    if (box.once)
      readers::tellOnce(box.text);
    else
      readers::tell(box.text);
  }
  boxes_.clear();
}

void Boxes::append(Boxes& later) {
  boxes_.insert(boxes_.end(), later.boxes_.begin(), later.boxes_.end());
  later.boxes_.clear();
}

void readGuarded(Boxes& boxes, const std::function<void()>& reading) {
  try {
    reading();
  } catch (const EInOutError& error) {
    boxes.fileError(error);
  }
}

OutputReading readForLoad(const std::string& fileName, int slot, const std::vector<Trial>& trials) {
  OutputReading reading;
  for (const Trial trial : trials) {
    try {
      trial(fileName, slot, reading);
    } catch (const EInOutError& error) {
      reading.boxes.fileError(error);
    } catch (...) {
      reading.failure = std::current_exception();
    }
    if (reading.failure) break;
  }
  return reading;
}

namespace {
std::string withFormalism(std::string key) {
  if (velocityFormalism()) key += " velocity";
  if (lengthFormalism()) key += " length";
  return key;
}
}  // namespace

std::string parseKey(std::string_view reader, Spectrum spectrum) {
  return withFormalism(std::string(reader) + (spectrum == Spectrum::Ecd ? " ECD" : " UV"));
}

std::string parseKey(std::string_view reader, LineList list) {
  return withFormalism(std::string(reader) + (list == LineList::Vcd ? " VCD" : " IR"));
}

void trialTable(const std::string& fileName, Spectrum spectrum, const std::string& key,
                const std::function<TableReading()>& parsing, OutputReading& reading) {
  TableReading parse = keepParse(reading, key, parsing);
  reading.boxes.append(parse.boxes);
  if (parse.computed) reading.drawing.lines(spectrum, parse.lines, parse.test);
  reading.drawing.statesOffGrid(spectrum, parse.offGrid);
  reading.boxes.report(parse.notes, fileName);
}

// The one message of a caught file error: once per open, though each
// detector meets it.
void showFileHandlingError(const Exception& error) {
  tellOnce(fileHandlingErrorText(error));
}


void enterTable(TForm1& form, const TableReading& reading, Spectrum spectrum, int slot) {
  Boxes boxes = reading.boxes;
  boxes.show();
  if (!reading.computed) return;
  const bool ecd = spectrum == Spectrum::Ecd;
  if (slot == 1) (ecd ? form.CDspectra1 : form.UVspectra1)->SetEnabled(true);
  (ecd ? form.store.CDACTIVE : form.store.UVACTIVE)[slot] = computed;
  for (const auto& [wavelength, value] : reading.lines)
    addLine(ecd ? form.store.ROTS : form.store.OSC, slot, wavelength, value, reading.test);
}

// The closing steps of the ECD readers whose strengths are in esu² cm²: for
// slot 1 the count and the lowest and highest non-zero bin ("--" when the
// spectrum has no line), then broadening, page, gnuplot labels and redraw.
void finishEsuEcd(TForm1& form, const std::string& fileName, int slot, int states) {
  if (slot == 1 && form.store.CDACTIVE[1] == computed) {
    showStateCount(form, states);
    showLineBinLabels(form);
  }
  UvEcdClosing closing{Spectrum::Ecd};
  closing.cdUnitLabel = esuUnitLabel;
  finishUvEcd(form, closing, fileName, slot);
}

}  // namespace readers
