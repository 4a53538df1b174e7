// Gaussian 09 and 16 frequency outputs: the modes come in blocks of up to
// three, each block a "Frequencies --" line followed by its property lines
// ("IR Inten --", "Dip. str. --", "Rot. str. --", ...), one value per mode.
// Each mode becomes one row of the slot's line list, in file order. A file
// may hold several analyses (an optimisation with a frequency job at each
// stationary point, a high-precision table before the normal one): the last
// complete one is the result.
#include "readers/gaussian_vibrations.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/Main.h"
#include "readers/parse.h"
#include "readers/reader_core.h"

namespace {

using readers::LineList;
using readers::LineSource;
using readers::Mode;

constexpr std::string_view analysisHeader = "Harmonic frequencies";
constexpr std::string_view frequencyMarker = "Frequencies --";
constexpr std::string_view lowFrequencies = "Low frequencies";
constexpr std::string_view rotationalStrengths = "Rot. str.";
constexpr std::string_view dipoleStrengths = "Dip. str.";
constexpr int modesPerBlock = 3;
// The property lines of a block sit right under its frequency line; the
// longest layout (Raman, VCD) has eight of them.
constexpr int propertyLinesAtMost = 12;

// The values of a block line: one field per mode after the "--" of its
// marker, at most three. A field that does not convert (Gaussian writes
// "**********" for a value too wide for its field) stays empty in its own
// place, so the other modes keep their own values.
struct BlockValues {
  std::optional<double> values[modesPerBlock];
  int count = 0;
};

BlockValues blockValues(std::string_view line) {
  BlockValues block;
  const size_t dash = line.find('-');
  if (dash == std::string_view::npos || dash + 2 > line.size()) return block;
  for (std::string_view text : readers::words(line.substr(dash + 2), modesPerBlock))
    block.values[block.count++] = readers::tryReal(text);
  return block;
}

// A frequency line of the normal layout. The high-precision table of
// freq=HPModes ("Frequencies ---", five modes a line) is not one: the normal
// table that follows it lists the same modes again.
bool isFrequencyLine(std::string_view line) {
  const size_t at = line.find(frequencyMarker);
  if (at == std::string_view::npos) return false;
  const size_t behind = at + frequencyMarker.size();
  if (behind < line.size() && line[behind] == '-') return false;
  return !readers::contains(line, lowFrequencies);
}

// One frequency analysis: its modes in file order.
struct Analysis {
  std::vector<Mode> modes;
  // Modes left out because a value of theirs did not convert.
  int unreadable = 0;
  bool strengthsFound = false;
  // The file ended inside one of its blocks.
  bool cut = false;
};

// One reading of a frequency output: the analyses of the file, of which the
// last complete one is kept.
class VibrationRun {
 public:
  VibrationRun(const std::string& fileName, LineList list) : list_(list), source_(fileName) {}

  void read() {
    std::optional<std::string_view> line = source_.nextView();
    while (line) {
      if (readers::contains(*line, analysisHeader)) {
        startAnalysis();
        line = source_.nextView();
        continue;
      }
      if (!isFrequencyLine(*line)) {
        line = source_.nextView();
        continue;
      }
      const BlockValues frequencies = blockValues(*line);
      BlockValues strengths;
      bool whole = true;
      line = findStrengths(strengths, whole);
      if (!whole) {
        current_.cut = true;
        break;
      }
      store(frequencies, strengths);
    }
    if (!current_.cut || kept_.modes.empty()) kept_ = current_;
  }

  // The analysis loaded: the last complete one, or the cut last one when
  // the file holds no complete one.
  const Analysis& result() const { return kept_; }
  // The file ended inside a block of its last analysis, after this many
  // modes printed whole.
  bool cutAtEnd() const { return current_.cut; }
  size_t cutModes() const { return current_.modes.size(); }

 private:
  void startAnalysis() {
    // An analysis without a block (the header of a table that never came)
    // does not replace the one before it.
    if (!current_.modes.empty() || current_.unreadable > 0) kept_ = current_;
    current_ = Analysis{};
  }

  // The strength line of the reader's kind among the property lines under
  // the frequency line. Returns the first line after the property lines,
  // which may start the next block; `whole` is false when the file ends
  // before the block has printed its strengths or its property lines ended.
  std::optional<std::string_view> findStrengths(BlockValues& strengths, bool& whole) {
    const std::string_view marker = list_ == LineList::Vcd ? rotationalStrengths : dipoleStrengths;
    bool found = false;
    for (int k = 0; k < propertyLinesAtMost; ++k) {
      std::optional<std::string_view> line = source_.nextView();
      if (!line) {
        whole = found;
        return line;
      }
      if (!readers::contains(*line, "--") || isFrequencyLine(*line)) return line;
      if (readers::contains(*line, marker)) {
        found = true;
        current_.strengthsFound = true;
        strengths = blockValues(*line);
      }
    }
    return source_.nextView();
  }

  // Each mode of the block once, beside its own strength (0 when the block
  // prints none); a mode whose wavenumber or strength did not convert is
  // left out.
  void store(const BlockValues& frequencies, const BlockValues& strengths) {
    for (int k = 0; k < frequencies.count; ++k) {
      const std::optional<double>& wavenumber = frequencies.values[k];
      std::optional<double> strength = 0.0;
      if (strengths.count > 0) strength = k < strengths.count ? strengths.values[k] : std::nullopt;
      if (!wavenumber || !strength) {
        ++current_.unreadable;
        continue;
      }
      current_.modes.push_back(Mode{*wavenumber, *strength});
    }
  }

  LineList list_;
  LineSource source_;
  Analysis current_;
  Analysis kept_;
};

std::string modesKey(LineList list) { return readers::parseKey("Gaussian modes", list); }

void readVibrations(TForm1& form, const std::string& fileName, int slot, LineList list) {
  if (slot == 1) form.SetCaption(ExtractFileName(fileName));
  const bool vcd = list == LineList::Vcd;
  readers::LoadNotes notes;
  const bool found = EnterGaussianLineList(
      readers::keptOrParsed(form.LoadReading, modesKey(list),
                            [&] { return readers::parseGaussianModes(fileName, list); }),
      vcd ? form.store.VCD : form.store.IR, slot, notes);
  // The slot becomes computed as soon as one strength line was read.
  if (found) (vcd ? form.store.VCDACTIVE[slot] : form.store.IRACTIVE[slot]) = readers::computed;
  readers::finishLineList(form, list, fileName, slot);
  notes.report(fileName);
}

std::string modeCount(size_t count) {
  return std::to_string(count) + (count == 1 ? " mode" : " modes");
}

}  // namespace

readers::ModeParse readers::parseGaussianModes(const std::string& fileName, LineList list) {
  VibrationRun run(fileName, list);
  run.read();
  const Analysis& analysis = run.result();
  ModeParse parse;
  parse.strengthsFound = analysis.strengthsFound;
  // The line list holds rows 0 to 4000.
  const size_t rows = static_cast<size_t>(LineGrid::high + 1);
  parse.modes.assign(analysis.modes.begin(),
                     analysis.modes.size() > rows ? analysis.modes.begin() + static_cast<long>(rows)
                                                  : analysis.modes.end());
  if (analysis.modes.size() > rows)
    parse.notes.note("the modes after the first " + std::to_string(rows));
  if (analysis.unreadable > 0)
    parse.notes.note(modeCount(static_cast<size_t>(analysis.unreadable)) +
                     " whose values Gaussian could not print");
  if (run.cutAtEnd()) parse.notes.endsInsideTable(modeCount(run.cutModes()), !analysis.cut);
  return parse;
}

bool ReadGaussianLineList(const std::string& fileName, LineGrid& grid, int slot,
                          readers::LineList list, readers::LoadNotes& notes) {
  return EnterGaussianLineList(readers::parseGaussianModes(fileName, list), grid, slot, notes);
}

bool EnterGaussianLineList(readers::ModeParse parse, LineGrid& grid, int slot,
                           readers::LoadNotes& notes) {
  for (long row = LineGrid::low; row <= LineGrid::high; ++row) {
    grid(row, 1, slot) = 0.0;
    grid(row, 2, slot) = 0.0;
  }
  long row = 0;
  for (const Mode& mode : parse.modes) {
    grid(row, 1, slot) = mode.wavenumber;
    grid(row, 2, slot) = mode.strength;
    ++row;
  }
  notes = std::move(parse.notes);
  return parse.strengthsFound;
}

void readers::trialGaussianModes(const std::string& fileName, LineList list, OutputReading& reading) {
  const ModeParse parse =
      keepParse(reading, modesKey(list), [&] { return parseGaussianModes(fileName, list); });
  if (parse.strengthsFound) reading.drawing.modes(static_cast<long>(parse.modes.size()));
  reading.boxes.report(parse.notes, fileName);
}

bool IsFrequencyOutputWithoutStrengths(const std::string& fileName) {
  LineSource source(fileName);
  bool frequencies = false;
  while (std::optional<std::string_view> line = source.nextView()) {
    if (readers::contains(*line, dipoleStrengths) || readers::contains(*line, rotationalStrengths))
      return false;
    frequencies = frequencies || isFrequencyLine(*line);
  }
  return frequencies;
}

void TForm1::GAUSSIAN09VCD(const std::string& fileName, int slot) {
  readVibrations(*this, fileName, slot, LineList::Vcd);
}

void TForm1::GAUSSIAN09IR(const std::string& fileName, int slot) {
  readVibrations(*this, fileName, slot, LineList::Ir);
}
