#include "tools/energy_readers.h"

#include <cctype>
#include <optional>

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "tools/heatEx.h"

namespace {

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The text from position `from` on; "" past the end.
std::string from(const std::string& text, size_t from) {
  return from < text.size() ? text.substr(from) : std::string();
}

// The text before the first `separator`; all of it when there is none.
std::string before(const std::string& text, const std::string& separator) {
  const size_t at = text.find(separator);
  return at == std::string::npos ? text : text.substr(0, at);
}

// The text after the first occurrence of `marker` (the marker dropped); the
// text unchanged when the marker is missing.
std::string afterFirst(const std::string& text, const std::string& marker) {
  const size_t at = text.find(marker);
  return at == std::string::npos ? text : text.substr(at + marker.size());
}

// Reads an output line by line; past the end every read gives "".
class OutputLines {
 public:
  explicit OutputLines(const std::string& path) : file_(path) {}
  bool left() { return !file_.eof(); }
  std::string next() {
    std::string line = file_.readLine();
    watchFor(line);
    return line;
  }
  // Archive lines begin with a blank, which the record does not hold.
  std::string continuation() { return from(next(), 1); }
  std::string nextTrimmed() { return TrimLeft(next()); }

  // From `text` on, watches the lines read for the end marker of an archive
  // record, also when an archive line break falls inside it. The watch ends
  // at the marker or at an empty line (a record holds none).
  void watch(const std::string& marker, const std::string& text) {
    marker_ = marker;
    watching_ = true;
    seen_ = false;
    tail_.clear();
    watchFor(text);
  }
  bool watching() const { return watching_; }
  bool seen() const { return seen_; }
  void unwatch() { watching_ = false; }

 private:
  void watchFor(const std::string& line) {
    if (!watching_) return;
    if (Trim(line).empty()) {
      watching_ = false;
      return;
    }
    const std::string text = tail_ + from(line, line.starts_with(' ') ? 1 : 0);
    seen_ = contains(text, marker_);
    if (seen_) watching_ = false;
    tail_ = text.size() < marker_.size() ? text : text.substr(text.size() - (marker_.size() - 1));
  }

  TextFileLines file_;
  std::string marker_;
  bool watching_ = false;
  bool seen_ = false;
  std::string tail_;  // the end of the text read, shorter than the marker
};

// The archive's start marker, end marker and field separator, as the first
// archive line of the file sets them ("\" in most outputs, "|" in some).
struct ArchiveMarkers {
  std::string start;
  std::string end;
  std::string separator;
};

void takeMarkers(const std::string& line, ArchiveMarkers& markers) {
  if (contains(line, "|#")) markers = {"|#", "|V", "|"};
  if (contains(line, "\\#")) markers = {"\\#", "\\V", "\\"};
}

// Appends archive lines to `text` until it holds the separator: a long route
// or title wraps over several lines.
void joinToSeparator(std::string& text, const std::string& separator, OutputLines& lines) {
  while (!contains(text, separator) && lines.left()) text += lines.continuation();
}

// The text two after its first separator (the field and an empty one
// skipped); "" when it has none.
std::string pastFirstSeparator(const std::string& text, const std::string& separator) {
  const size_t at = text.find(separator);
  return at == std::string::npos ? std::string() : from(text, at + 2);
}

// The rest of a record after a field that may end on its line: two after the
// line's first separator, or, when the line has none, on the line where the
// field ends.
std::string pastField(const std::string& S, const std::string& separator, OutputLines& lines) {
  if (contains(S, separator)) return pastFirstSeparator(S, separator) + lines.continuation();
  std::string next = lines.continuation();
  joinToSeparator(next, separator, lines);
  return pastFirstSeparator(next, separator);
}

// The value of one archive field: from the separator before `field` on, to
// the next separator, less the `nameLength` characters of "HF=" and its kin.
std::string archiveValue(std::string EN, const std::string& separator, const std::string& field,
                         size_t nameLength) {
  const size_t at = EN.find(separator + field);
  if (at != std::string::npos) EN = EN.substr(at + separator.size());
  return from(before(EN, separator), nameLength);
}

std::string archiveCutMessage(const std::string& separator) {
  return "The archive record ends before its end marker " + separator + "@";
}

// The archive record's own first line: "1\1\" (or "1|1|") after the blank.
bool isArchiveStart(const std::string& line) {
  const std::string text = TrimLeft(line);
  return text.starts_with("1\\1\\") || text.starts_with("1|1|");
}

// Walks one archive record from the line S that holds its start marker and
// adds the energy its route asks for.
void readArchiveRecord(std::string S, const ArchiveMarkers& markers, bool gibbs,
                       OutputLines& lines, EnergyTexts& result) {
  const std::string& separator = markers.separator;
  ++result.records;
  lines.watch(separator + "@", S);
  S = from(S, S.find(markers.start) + separator.size());

  // The route, which may wrap onto the next lines.
  std::string route;
  if (contains(S, separator)) {
    route = before(S, separator);
    S = pastFirstSeparator(S, separator) + lines.continuation();
  } else {
    joinToSeparator(S, separator, lines);
    route = before(S, separator);
    S = pastFirstSeparator(S, separator);
  }
  const bool mp2 = contains(route, "MP2") || contains(route, "mp2");
  const bool qcisdt = contains(route, "QCISD(T)");
  const bool hf = !mp2 && !qcisdt;

  // The title, then on to the end marker.
  S += lines.continuation();
  S = pastField(S, separator, lines);
  std::string S1 = lines.continuation();
  while (!contains(S, markers.end) && lines.left()) {
    TForm5::ZeileSuchen(S, S1, separator);
    S1 = lines.continuation();
    if (contains(S, "Version")) break;
  }
  if (gibbs) {
    lines.unwatch();
    return;
  }

  std::string EN = S + S1;
  if (hf) {
    const size_t at = EN.find(separator + "HF");
    if (at != std::string::npos) EN = EN.substr(at + separator.size());
    EN += lines.nextTrimmed();
    result.energies.push_back(from(before(EN, separator), 3));
  }
  if (mp2) {
    EN += lines.nextTrimmed();
    result.energies.push_back(archiveValue(EN, separator, "M", 4));
  }
  if (qcisdt) {
    EN = lines.nextTrimmed();
    if (!contains(EN, separator + "Q")) EN = lines.nextTrimmed();
    EN += lines.nextTrimmed();
    result.energies.push_back(archiveValue(EN, separator, "QCISD(T)", 9));
  }
  // The values count only when the record runs to its end marker: a file
  // cut inside the record may have cut the number itself ("HF=-1201.").
  // An empty line or the end of the file before the marker means the record
  // was not printed whole.
  while (lines.watching() && lines.left()) lines.next();
  if (!lines.seen()) throw EInOutError(archiveCutMessage(separator));
}

// "FINAL SINGLE POINT ENERGY      -382.055108614123" gives the number text.
std::string orcaEnergy(const std::string& line) { return Trim(from(line, 25)); }

// "Final Gibbs free enthalpy         ...  -382.01 Eh" gives the number text.
std::string orcaGibbsEnergy(const std::string& line) {
  return Trim(before(Trim(from(line, 39)), " E"));
}

// From the current line S on to "ORCA TERMINATED" (or the end), takes every
// energy line of the mode. The line it stops at is left in S for the caller's
// own tests, which also look for a Gibbs line there.
void takeOrcaEnergiesToEnd(std::string& S, bool gibbs, OutputLines& lines, EnergyTexts& result) {
  for (;;) {
    const bool last = contains(S, "ORCA TERMINATED") || !lines.left();
    if (!gibbs && contains(S, "FINAL SINGLE POINT ENERGY")) result.energies.push_back(orcaEnergy(S));
    if (last) return;
    if (gibbs && contains(S, "Final Gibbs free enthalpy"))
      result.energies.push_back(orcaGibbsEnergy(S));
    S = lines.next();
  }
}

const char* const heatLineStart = "HEAT OF FORMATION  =  ";
const char* const heatLineEnd = " kcal/mol";

}  // namespace

void TForm5::ZeileSuchen(std::string& S, const std::string& S1, const std::string& TRENN) {
  const size_t last = TRENN.empty() ? std::string::npos : S.rfind(TRENN);
  if (last == std::string::npos) return;
  S = S.substr(last + TRENN.size()) + S1;
}

bool IsMopacBanner(const std::string& line) {
  for (size_t at = line.find("MOPAC"); at != std::string::npos; at = line.find("MOPAC", at + 1)) {
    std::string rest = line.substr(at + 5);
    if (rest.starts_with(" v")) rest = rest.substr(2);
    if (!rest.empty() && std::isdigit(static_cast<unsigned char>(rest[0]))) return true;
  }
  return false;
}

EnergyProgram RecognizeEnergyOutput(const std::string& path) {
  TextFileLines file(path);
  std::string line;
  while (file.readLine(line)) {
    if (contains(line, "Gaussian 03:")) return EnergyProgram::Gaussian03;
    if (contains(line, "Gaussian 09:")) return EnergyProgram::Gaussian09;
    if (contains(line, "Gaussian 16:")) return EnergyProgram::Gaussian16;
    if (IsMopacBanner(line)) return EnergyProgram::Mopac;
    if (contains(line, "O   R   C   A")) return EnergyProgram::Orca;
  }
  return EnergyProgram::None;
}

const char* RecognitionText(EnergyProgram program) {
  switch (program) {
    case EnergyProgram::Gaussian03: return " is a Gaussian03 File";
    case EnergyProgram::Gaussian09: return " is a Gaussian09 File";
    case EnergyProgram::Gaussian16: return " is a Gaussian16 File";
    case EnergyProgram::Mopac: return " is a MOPAC File";
    case EnergyProgram::Orca: return " is an ORCA File";
    case EnergyProgram::None: break;
  }
  return "";
}

EnergyTexts GaussianEnergies(const std::string& path, bool gibbs) {
  OutputLines lines(path);
  EnergyTexts result;
  ArchiveMarkers markers;
  while (lines.left()) {
    std::string S = lines.next();
    if (gibbs && contains(S, "Sum of electronic and thermal Free Energies"))
      result.energies.push_back(Trim(afterFirst(S, "=")));
    // The record is found by its own first line, however far after the
    // "(Enter ...l9999.exe)" line (TD jobs may print their transition
    // elements between the two); its second line holds the route.
    if (isArchiveStart(S)) S += lines.continuation();
    takeMarkers(S, markers);
    if (!markers.start.empty() && contains(S, markers.start))
      readArchiveRecord(S, markers, gibbs, lines, result);
  }
  return result;
}

EnergyTexts MopacEnergies(const std::string& path) {
  OutputLines lines(path);
  EnergyTexts result;
  // "HEAT OF FORMATION = -57.798979 KCALS/MOLE": FORCE jobs of MOPAC 2016
  // and earlier print no FINAL line; their last such value is the heat.
  std::optional<std::string> lastHeat;
  while (lines.left()) {
    const std::string S = lines.next();
    const bool final = contains(S, "FINAL HEAT OF FORMATION");
    if (!final && !contains(S, "HEAT OF FORMATION =")) continue;
    const std::string value = before(TrimLeft(afterFirst(TrimLeft(S), "=")), " ");
    if (final)
      result.energies.push_back(value);
    else
      lastHeat = value;
  }
  if (result.energies.empty() && lastHeat) result.energies.push_back(*lastHeat);
  return result;
}

EnergyTexts OrcaEnergies(const std::string& path, bool gibbs) {
  OutputLines lines(path);
  EnergyTexts result;
  while (lines.left()) {
    std::string S = lines.next();
    if (contains(S, "Geometry Optimization Run")) {
      while (!contains(S, "THE OPTIMIZATION HAS CONVERGED") && lines.left()) S = lines.next();
      // A frequency run after the optimisation prints its free energy here.
      takeOrcaEnergiesToEnd(S, gibbs, lines, result);
    }
    if (!gibbs && contains(S, "Single Point Calculation"))
      takeOrcaEnergiesToEnd(S, gibbs, lines, result);
    if (gibbs && contains(S, "Final Gibbs free enthalpy"))
      result.energies.push_back(orcaGibbsEnergy(S));
    if (contains(S, "ORCA TERMINATED")) break;
  }
  return result;
}

std::string HartreeHeatLine(const std::string& hartree) {
  std::string kcal = FloatToStr(StrToFloat(hartree) * HartreeInKcalPerMol);
  TForm5::KommaZuPunkt(kcal);
  return heatLineStart + kcal + heatLineEnd;
}

std::string KcalHeatLine(const std::string& kcalPerMol) {
  static_cast<void>(StrToFloat(kcalPerMol));
  return heatLineStart + kcalPerMol + heatLineEnd;
}
