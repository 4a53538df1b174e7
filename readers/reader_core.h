// What every reader of quantum-chemistry output shares: the line source, the
// three ways of taking a value out of a line, the strict conversion, the bin
// of a wavelength with its range tests, the label texts, the bounded state
// table and the closing steps of a reader, described by data.
//
// A reader is then only its markers and its walk through the file: it fills
// a table or a line list through these pieces and hands a closing record to
// finishUvEcd / finishLineList.
#pragma once

#include <any>
#include <array>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/errors.h"
#include "platform/files.h"
#include "store/Store.h"

class TForm1;

namespace readers {

// The slot state of a computed line spectrum.
inline constexpr const char* computed = "calc";

// ---- Settings -----------------------------------------------------------------

// The formalism ticked in the settings window, read at each use. Without the
// settings window (start-up order, benchmarks) the length formalism holds.
bool velocityFormalism();
bool lengthFormalism();

// ---- Line source ---------------------------------------------------------

// The lines of one output file. "Reading a line" replaces the current line by
// the next one; past the end the current line is empty and pastEnd() holds,
// so every loop of a reader can end at the end of the file. CR LF and LF both
// end a line; a carriage return never reaches a field.
class LineSource {
 public:
  explicit LineSource(const std::string& path);
  ~LineSource();
  LineSource(const LineSource&) = delete;
  LineSource& operator=(const LineSource&) = delete;
  // True when no line is left to read.
  bool eof() { return file_.eof(); }
  // Reads the next line and returns it.
  const std::string& next();
  // Reads `count` lines; the last one is current.
  const std::string& skip(int count);
  const std::string& line() const { return line_; }
  // The last read found no line.
  bool pastEnd() const { return pastEnd_; }
  bool has(std::string_view marker) const { return line_.find(marker) != std::string::npos; }
  // The fast walk for large files: the next line as a view, valid until the
  // next read; nullopt at the end. The current line is not changed.
  std::optional<std::string_view> nextView();

 private:
  friend double toReal(std::string_view text);
  TextFileLines file_;
  std::string line_;
  bool pastEnd_ = false;
  const LineSource* outer_;  // the source read before this one opened
};

inline bool contains(std::string_view text, std::string_view marker) {
  return text.find(marker) != std::string_view::npos;
}

// ---- Field models -----------------------------------------------------------

// Blank-separated words: word n (from 1) once leading blanks are gone; "" when
// the line has fewer words. Every character of code 32 or below separates.
std::string_view word(std::string_view line, int n);
// The words of a text, at most `limit` of them.
std::vector<std::string_view> words(std::string_view text, size_t limit);

// The drop/take walk over the fields of a row: dropping removes the leading
// blanks and then everything up to and including the first blank (nothing
// when no blank is left); taking gives the text up to the first blank.
class FieldWalk {
 public:
  explicit FieldWalk(std::string_view text) : text_(text) {}
  void drop();
  void drop(int count) {
    for (int i = 0; i < count; ++i) drop();
  }
  std::string_view take() const;
  std::string_view rest() const { return text_; }

 private:
  std::string_view text_;
};

// Fixed character columns: the text from column `column` (from 1) on,
// trimmed ("from column 26 on" drops the first 25 characters).
std::string_view fromColumn(std::string_view line, size_t column);
// The text before the first blank (all of it when there is none).
std::string_view firstWord(std::string_view text);
// The text after the first `marker` ("" when it is missing).
std::string_view after(std::string_view text, std::string_view marker);
// The text with every blank removed.
std::string withoutBlanks(std::string_view text);
std::string_view trimmed(std::string_view text);

// ---- Numbers ----------------------------------------------------------------

// The strict conversion of the readers: a point as decimal separator, the
// exponent letter E or, as Fortran writes it, D ("0.946E-01", "1.0D-02");
// raises EConvertError.
double toReal(std::string_view text);
// The same without raising.
std::optional<double> tryReal(std::string_view text);

// A number of the current line of a table. The last line of a file may be
// cut inside its fields: there a text that does not convert raises
// RowCutByEndOfFile (the row was not printed whole, the file ends inside its
// table); on any other line it raises EConvertError.
struct RowCutByEndOfFile {};
double tableReal(LineSource& source, std::string_view text);

// λ in nm of an excitation energy in eV (0 for an energy of 0).
double wavelengthOfEnergy(double electronVolts);

// ---- Bins and range tests -----------------------------------------------------

enum class RangeTest {
  Inclusive,  // 100 <= λ <= 4000
  Strict,     // 1000 < 10 λ < 40000 on the unrounded product
  GridOnly,   // no test of the reader's own; the grid's ends still hold
};

// nint(10 λ) when it lies on the grid (1000 to 40000) and λ passes the test.
std::optional<long> binOf(double wavelength, RangeTest test);
// Adds `value` into the bin of `wavelength` of one slot: two lines in one bin
// both count. False when the line has no bin.
bool addLine(Grid2<MINLAMBDA, MAXLAMBDA, 5>& grid, int slot, double wavelength, double value,
             RangeTest test);

// ---- Label texts ----------------------------------------------------------------

// "212.90 nm": two decimals.
std::string nanometreLabel(double wavelength);
// "291.6 nm", "300 nm": a bin in the general number form.
std::string binLabel(long bin);

// ---- Bounded tables ---------------------------------------------------------------

// What a load could not take (a fixed table was full, values Gaussian could
// not print) and whether the file ended inside a table; shown once, at the
// end of the load, naming the file.
class LoadNotes {
 public:
  void note(const std::string& what);
  // The file ends inside a table; `read` says what was read of it ("3 of 5
  // states"), `loaded` what was loaded instead or in its place.
  void endsInsideTable(const std::string& read, bool earlierTableLoaded);
  // The table of the kind belongs to earlier states than the last the file
  // prints (`table`: "velocity rotatory strengths"), so `spectrum` ("the
  // velocity ECD") is left empty.
  void finalStatesLack(const std::string& table, const std::string& spectrum);
  bool empty() const { return notes_.empty() && cut_.empty() && finalStates_.empty(); }
  // One message box naming the file, the table cut by its end and
  // everything left out.
  void report(const std::string& fileName) const;
  // The text of that box, "" when there is nothing to tell.
  std::string message(const std::string& fileName) const;
  // The same text naming the file as `shownName` stands (a folder walk's
  // "conf_a/job.log").
  std::string messageNaming(const std::string& shownName) const;
  static std::string message(const std::string& fileName, const std::vector<std::string>& notes);

 private:
  std::vector<std::string> notes_;
  std::string cut_;
  std::string finalStates_;
};

// One excited state: wavelength (nm), oscillator strength, rotatory strength.
struct StateRow {
  double wavelength = 0.0;
  double oscillator = 0.0;
  double rotatory = 0.0;
};

// The transition table of one reader run: rows 1 to 350. A row past the end
// is refused (nullptr) and noted once.
class StateTable {
 public:
  static constexpr int capacity = 350;
  explicit StateTable(LoadNotes& notes) : notes_(notes) {}
  void clear();
  // Row i (from 1) to fill, or nullptr past the end of the table.
  StateRow* row(int i);
  const StateRow& at(int i) const { return rows_.at(static_cast<size_t>(i - 1)); }
  // The number of rows a table of `count` entries really holds.
  static int held(int count) { return count < 0 ? 0 : (count > capacity ? capacity : count); }

 private:
  std::vector<StateRow> rows_ = std::vector<StateRow>(capacity);
  LoadNotes& notes_;
  bool noted_ = false;
};

// ---- The last complete table --------------------------------------------------------

// "1 state", "3 states", "3 of 5 states" (`announced` > 0).
std::string stateCountText(int read, int announced = 0);

// A file may print a table of one kind several times (the steps of an
// optimisation, the guess before the final method, the right, left and
// left-right moments): the last complete one is the result. A table cut by
// the end of the file counts only when no complete one came before it.
// `Table` has the members `bool cut`, `int states` (those read) and `int
// announced` (the count the file printed for it, 0 when none).
template <class Table>
class LastTable {
 public:
  void offer(Table table) {
    endsCut_ = table.cut;
    if (table.cut) cutCount_ = stateCountText(table.states, table.announced);
    if (table.cut && kept_ && !kept_->cut) return;
    kept_ = std::move(table);
  }
  // The one note of a file that ends inside the last table offered.
  void noteCut(LoadNotes& notes) const {
    if (endsCut_) notes.endsInsideTable(cutCount_, earlierKept());
  }
  const Table* kept() const { return kept_ ? &*kept_ : nullptr; }
  // The last table offered was cut by the end of the file.
  bool endsCut() const { return endsCut_; }
  // Of that cut table, an earlier complete one was kept.
  bool earlierKept() const { return endsCut_ && kept_ && !kept_->cut; }

 private:
  std::optional<Table> kept_;
  bool endsCut_ = false;
  std::string cutCount_;
};

// A table given as its lines (wavelength in nm and value), the number of
// its states and whether the file ended inside it.
struct LineTable {
  std::vector<std::pair<double, double>> lines;
  int states = 0;
  int announced = 0;
  bool cut = false;
};

// ---- Closing steps ------------------------------------------------------------------

enum class Spectrum { Ecd, Uv };

// The rotatory-strength unit labels of the ECD gnuplot plots.
inline constexpr const char* gaussianUnitLabel = "CD [erg \\327 cm^3 \\327 10^{-40}]";
inline constexpr const char* orcaUnitLabel = "CD [sgs units \\327 10^{-40}]";
inline constexpr const char* esuUnitLabel = "CD [esu^2 \\327 cm^2 \\327 10^{-40}]";
// The y1 label every computed ECD load writes for slot 1.
inline constexpr const char* deltaEpsilonLabel = "{/Symbol De} [M^{-1}{/Symbol \\327}cm^{-1}]";

// How a UV or ECD reader ends, once it has filled its line spectrum.
struct UvEcdClosing {
  Spectrum spectrum;
  // Marks the slot computed whatever was read (sTDA tables).
  bool alwaysComputed = false;
  // The title is set for every load, computed or not.
  bool titleEveryLoad = false;
  // "Compare", the tab page and the IR/VCD edits for every slot, not only 1.
  bool pageStepsEverySlot = false;
  // Disables the IR/VCD band width and scale-factor edits (Edit17, Edit26).
  bool disableIrVcdEdits = true;
  // Slot 1 also enables the kind menu and the Add item of the companion kind.
  bool kindMenuAndAddItem = false;
  // The ECD gnuplot unit label, or nullptr to leave both labels alone.
  const char* cdUnitLabel = nullptr;
  // Redraws also when the slot is not computed.
  bool redrawAlways = false;
};

// Broadening, title, menus, tab page, edits, gnuplot labels and redraw by
// the record, when the slot is computed (or as the record says).
void finishUvEcd(TForm1& form, const UvEcdClosing& closing, const std::string& fileName, int slot);
// "File handling error occurred. Details: " with the error's class and message.
void showFileHandlingError(const Exception& error);
// The closing steps of the ECD readers whose strengths are in esu² cm²: for
// slot 1 the count and the lowest and highest non-zero bin ("--" when the
// spectrum has no line), then broadening, page, gnuplot labels and redraw.
void finishEsuEcd(TForm1& form, const std::string& fileName, int slot, int states);

struct TableReading;
// The boxes of the reading of a table, then, when the slot is computed, its
// menu (slot 1) and state and its lines.
void enterTable(TForm1& form, const TableReading& reading, Spectrum spectrum, int slot);

// The slot-1 labels beside "first value at:" and "last value at:": the
// lowest and the highest bin of ECD slot 1 that holds a line ("--" when the
// spectrum has none).
void showLineBinLabels(TForm1& form);

// The slot-1 labels of a table: count, first and last wavelength ("--" when
// the table is empty).
void showStateLabels(TForm1& form, const std::vector<StateRow>& states);
void showStateCount(TForm1& form, int states);

enum class LineList { Vcd, Ir };
// Broadening, title, page, menus and redraw of a computed IR or VCD slot.
void finishLineList(TForm1& form, LineList list, const std::string& fileName, int slot);

// ---- Messages -------------------------------------------------------------------------

// Every box a reader shows goes through here.
void tell(const std::string& text);
// `tell`, but within a TellEachTextOnce a text already shown is not shown
// again.
void tellOnce(const std::string& text);

// While one lives, `tellOnce` shows each text once: the readers of one
// output file, each reading it for its own spectrum, tell the person once
// what they all found about the file.
class TellEachTextOnce {
 public:
  TellEachTextOnce();
  ~TellEachTextOnce();
  TellEachTextOnce(const TellEachTextOnce&) = delete;
  TellEachTextOnce& operator=(const TellEachTextOnce&) = delete;

 private:
  friend void tellOnce(const std::string& text);
  std::vector<std::string> told_;
  TellEachTextOnce* outer_;
};

// ---- What a load would draw --------------------------------------------------------

// What the readers of one file would enter: per spectrum the states offered
// to its grid and those on the grid, whether one of non-zero strength lands
// there, the IR/VCD modes and the optical rotations. A file that puts nothing
// on the plots is told apart from a reader that fails: the drawing says why.
class Drawing {
 public:
  // One UV or ECD state offered to the grid of `spectrum`.
  void state(Spectrum spectrum, bool onGrid, double value);
  // Lines offered to the grid of `spectrum` through the range test `test`.
  void lines(Spectrum spectrum, const std::vector<std::pair<double, double>>& lines, RangeTest test);
  // States a reader left out itself as lying off its range.
  void statesOffGrid(Spectrum spectrum, int count);
  void modes(long count);
  void rotations(long count);
  bool drewSomething() const;
  // Why nothing was drawn, as the end of a sentence: "all 5 states lie
  // outside 100-4000 nm" (`range` names the grid).
  std::string whyNothing(const std::string& range = "100-4000 nm") const;
  // The box of a file that drew nothing, naming the file and the reason; a
  // Gaussian frequency output without dipole and rotational strengths gets
  // the hint where such spectra come from.
  std::string nothingDrawnMessage(const std::string& fileName,
                                  bool frequenciesWithoutStrengths) const;

 private:
  struct Tally {
    int states = 0;
    int onGrid = 0;
  };
  Tally tallies_[2];
  bool drawn_ = false;
};

// The boxes a reading would show, in order, kept until the load decides
// whether anything is entered.
class Boxes {
 public:
  void tell(const std::string& text) { boxes_.push_back({text, false}); }
  // Shown once within one open, as `tellOnce` does.
  void tellOnce(const std::string& text) { boxes_.push_back({text, true}); }
  // The box of the notes, as LoadNotes::report shows it.
  void report(const LoadNotes& notes, const std::string& fileName);
  // The box of a caught file error, as showFileHandlingError shows it.
  void fileError(const Exception& error);
  bool empty() const { return boxes_.empty(); }
  // Shows the boxes and forgets them.
  void show();
  void append(Boxes& later);

 private:
  struct Box {
    std::string text;
    bool once;
  };
  std::vector<Box> boxes_;
};

// Runs the reading part of a reader: a file error ends the reading with one
// box, and the reader goes on with what it had read.
void readGuarded(Boxes& boxes, const std::function<void()>& reading);

// What the readers of one load parsed, before anything is entered.
struct OutputReading {
  Drawing drawing;
  Boxes boxes;
  // A reading ended by an error other than a file error: the load raises it
  // again, as the reader does.
  std::exception_ptr failure;

  // What the trials found, kept for the readers of the same load so that
  // the file is not read twice: the reader each detector chose (by the
  // order of the kinds UV, ECD, IR, VCD) and parses by name.
  std::array<std::any, 4> chosen;
  void keep(const std::string& key, std::any parse) { parses_.emplace_back(key, std::move(parse)); }
  // The parse kept under `key`, handed over once.
  template <class Parse>
  std::optional<Parse> take(const std::string& key) {
    for (auto& [known, parse] : parses_) {
      if (known != key || !parse.has_value()) continue;
      Parse* kept = std::any_cast<Parse>(&parse);
      if (kept == nullptr) return std::nullopt;
      std::optional<Parse> result(std::move(*kept));
      parse.reset();
      return result;
    }
    return std::nullopt;
  }

 private:
  std::vector<std::pair<std::string, std::any>> parses_;
};

// A reader's parse as its trial kept it: the parse, or the error it ended in.
template <class Parse>
struct KeptParse {
  std::optional<Parse> parse;
  std::exception_ptr failure;
};

// The name a trial keeps its parse under: the reader (with the program,
// version or layout it reads) and what else changes the parse, the spectrum
// and the formalism ticked.
std::string parseKey(std::string_view reader, Spectrum spectrum);
std::string parseKey(std::string_view reader, LineList list);

// A trial's parse: runs `parsing` and keeps what it gives, or the error it
// ends in (raised again), under `key` for the reader of the same load.
template <class Parsing>
auto keepParse(OutputReading& reading, const std::string& key, Parsing&& parsing)
    -> decltype(parsing()) {
  using Parse = decltype(parsing());
  try {
    Parse parse = parsing();
    reading.keep(key, KeptParse<Parse>{parse, nullptr});
    return parse;
  } catch (...) {
    reading.keep(key, KeptParse<Parse>{std::nullopt, std::current_exception()});
    throw;
  }
}

// A reader's parse: the one the trial of this load kept under `key` (its
// error raised again), or `parsing()` now when there is none (a batch
// extraction, a reader called on its own), so that a load reads the file
// once.
template <class Parsing>
auto keptOrParsed(OutputReading* reading, const std::string& key, Parsing&& parsing)
    -> decltype(parsing()) {
  using Parse = decltype(parsing());
  if (reading != nullptr)
    if (std::optional<KeptParse<Parse>> kept = reading->take<KeptParse<Parse>>(key)) {
      if (kept->failure) std::rethrow_exception(kept->failure);
      if (kept->parse) return std::move(*kept->parse);
    }
  return parsing();
}

// The parse of one reader for a load into `slot`, without touching the store
// or a window.
using Trial = void (*)(const std::string& fileName, int slot, OutputReading& reading);

// The trials of the readers the detectors would hand the file to.
void trialUv(const std::string& fileName, int slot, OutputReading& reading);
void trialEcd(const std::string& fileName, int slot, OutputReading& reading);
void trialIr(const std::string& fileName, int slot, OutputReading& reading);
void trialVcd(const std::string& fileName, int slot, OutputReading& reading);
// sTDA and DFT/MRCI files, read without a detector.
void trialStdaUv(const std::string& fileName, int slot, OutputReading& reading);
void trialStdaEcd(const std::string& fileName, int slot, OutputReading& reading);
void trialDftMrciUv(const std::string& fileName, int slot, OutputReading& reading);
void trialDftMrciEcd(const std::string& fileName, int slot, OutputReading& reading);

// Runs the trials in order as the load would run its readers: a file error
// is one box, another error ends the reading. A trial whose reader has no
// guard of its own keeps any error in `failure`.
OutputReading readForLoad(const std::string& fileName, int slot, const std::vector<Trial>& trials);

// ---- Watching the readers ------------------------------------------------------------

// Tests watch which reader a detector hands a file to; nothing else does.
using ReaderWatcher = std::function<void(const std::string& readerName)>;
void watchReaders(ReaderWatcher watcher);
void announceReader(const std::string& readerName);

// Tests watch which files the readers open; nothing else does.
using OpenWatcher = std::function<void(const std::string& path)>;
void watchOpens(OpenWatcher watcher);

}  // namespace readers
