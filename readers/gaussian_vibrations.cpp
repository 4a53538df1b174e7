// Gaussian 09 and 16 frequency outputs: the modes come in blocks of up to
// three, each block a "Frequencies --" line followed by its property lines
// ("IR Inten --", "Dip. str. --", "Rot. str. --", ...), one value per mode.
// Each mode becomes one row of the slot's line list, in file order.
#include "readers/gaussian_vibrations.h"

#include <optional>
#include <string>
#include <string_view>

#include "app/Main.h"
#include "readers/reader_core.h"

namespace {

using readers::LineList;
using readers::LineSource;

constexpr std::string_view frequencyMarker = "Frequencies --";
constexpr std::string_view lowFrequencies = "Low frequencies";
constexpr std::string_view rotationalStrengths = "Rot. str.";
constexpr std::string_view dipoleStrengths = "Dip. str.";
constexpr int modesPerBlock = 3;
// The property lines of a block sit right under its frequency line; the
// longest layout (Raman, VCD) has eight of them.
constexpr int propertyLinesAtMost = 12;

struct BlockValues {
  double values[modesPerBlock] = {0.0, 0.0, 0.0};
  int count = 0;
};

// The values of a block line: the numbers after the "--" of its marker, at
// most three; the first text that is no number ends them, so an odd line
// gives fewer values instead of a failed load.
BlockValues blockValues(std::string_view line) {
  BlockValues block;
  const size_t dash = line.find('-');
  if (dash == std::string_view::npos || dash + 2 > line.size()) return block;
  const std::string_view rest = line.substr(dash + 2);
  for (std::string_view text : readers::words(rest, modesPerBlock)) {
    const std::optional<double> value = readers::tryReal(text);
    if (!value) break;
    block.values[block.count++] = *value;
  }
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

// One reading of a frequency output into the line list of one slot.
class VibrationRun {
 public:
  VibrationRun(LineGrid& grid, const std::string& fileName, int slot, LineList list)
      : grid_(grid), slot_(slot), list_(list), source_(fileName) {
    for (long row = LineGrid::low; row <= LineGrid::high; ++row) {
      grid_(row, 1, slot) = 0.0;
      grid_(row, 2, slot) = 0.0;
    }
  }

  void read() {
    std::optional<std::string_view> line = source_.nextView();
    while (line) {
      if (!isFrequencyLine(*line)) {
        line = source_.nextView();
        continue;
      }
      const BlockValues frequencies = blockValues(*line);
      BlockValues strengths;
      line = list_ == LineList::Vcd ? findRotationalStrengths(strengths)
                                    : findDipoleStrengths(strengths);
      store(frequencies, strengths);
    }
  }

  const readers::LoadNotes& notes() const { return notes_; }
  bool strengthsFound() const { return strengthsFound_; }

 private:
  // The rotational strengths may stand anywhere below the frequency line:
  // the search goes on to the end of the file.
  std::optional<std::string_view> findRotationalStrengths(BlockValues& strengths) {
    while (std::optional<std::string_view> line = source_.nextView()) {
      if (readers::contains(*line, rotationalStrengths)) {
        strengthsFound_ = true;
        strengths = blockValues(*line);
        return source_.nextView();
      }
    }
    return std::nullopt;
  }

  // The dipole strengths are one of the property lines under the frequency
  // line (the fourth, or further down when Raman lines come first). Returns
  // the first line after the property lines, which may start the next block.
  std::optional<std::string_view> findDipoleStrengths(BlockValues& strengths) {
    for (int k = 0; k < propertyLinesAtMost; ++k) {
      std::optional<std::string_view> line = source_.nextView();
      if (!line || !readers::contains(*line, "--") || isFrequencyLine(*line)) return line;
      if (readers::contains(*line, dipoleStrengths)) {
        strengthsFound_ = true;
        strengths = blockValues(*line);
      }
    }
    return source_.nextView();
  }

  // Each mode of the block once, beside its strength (0 when none was read).
  void store(const BlockValues& frequencies, const BlockValues& strengths) {
    for (int k = 0; k < frequencies.count; ++k) {
      if (nextRow_ > LineGrid::high) {
        notes_.note("the modes after the first " + std::to_string(LineGrid::high + 1));
        return;
      }
      grid_(nextRow_, 1, slot_) = frequencies.values[k];
      grid_(nextRow_, 2, slot_) = k < strengths.count ? strengths.values[k] : 0.0;
      ++nextRow_;
    }
  }

  LineGrid& grid_;
  bool strengthsFound_ = false;
  int slot_;
  LineList list_;
  LineSource source_;
  readers::LoadNotes notes_;
  long nextRow_ = 0;
};

void readVibrations(TForm1& form, const std::string& fileName, int slot, LineList list) {
  if (slot == 1) form.SetCaption(ExtractFileName(fileName));
  const bool vcd = list == LineList::Vcd;
  readers::LoadNotes notes;
  const bool found =
      ReadGaussianLineList(fileName, vcd ? form.store.VCD : form.store.IR, slot, list, notes);
  // The slot becomes computed as soon as one strength line was read.
  if (found) (vcd ? form.store.VCDACTIVE[slot] : form.store.IRACTIVE[slot]) = readers::computed;
  readers::finishLineList(form, list, fileName, slot);
  notes.report(fileName);
}

}  // namespace

bool ReadGaussianLineList(const std::string& fileName, LineGrid& grid, int slot,
                          readers::LineList list, readers::LoadNotes& notes) {
  VibrationRun run(grid, fileName, slot, list);
  run.read();
  notes = run.notes();
  return run.strengthsFound();
}

void TForm1::GAUSSIAN09VCD(const std::string& fileName, int slot) {
  readVibrations(*this, fileName, slot, LineList::Vcd);
}

void TForm1::GAUSSIAN09IR(const std::string& fileName, int slot) {
  readVibrations(*this, fileName, slot, LineList::Ir);
}
