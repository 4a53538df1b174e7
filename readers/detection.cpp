// Which program wrote an output file: the earliest line of the file that
// holds a program's banner decides, and that program's reader for the
// spectrum kind gets the file.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Main.h"
#include "platform/errors.h"
#include "platform/numbers.h"
#include "readers/gaussian_vibrations.h"
#include "readers/parse.h"
#include "readers/reader_core.h"

namespace {

using Reader = void (TForm1::*)(const std::string&, int);

struct NamedReader {
  Reader reader;
  const char* name;
};

enum class Kind { Uv, Ecd, Ir, Vcd };

// One banner: every text must stand in the same line. `byKind` holds the
// readers in the order of Kind; a null reader means the program gives no
// such spectrum. ORCA picks its readers by version, see orcaReader.
struct Banner {
  std::vector<std::string_view> texts;
  std::array<NamedReader, 4> byKind;
  bool orca = false;
};

#define READER(name) \
  NamedReader { &TForm1::name, #name }
#define NONE \
  NamedReader { nullptr, "" }

const std::vector<Banner>& banners() {
  static const std::vector<Banner> table = {
      {{"Gaussian 03"}, {READER(GAUSSIAN03UV), READER(GAUSSIAN03CD), NONE, NONE}},
      {{"Gaussian 98"}, {READER(GAUSSIAN03UV), READER(GAUSSIAN03CD), NONE, NONE}},
      {{"Gaussian 09"},
       {READER(GAUSSIAN09UV), READER(GAUSSIAN09CD), READER(GAUSSIAN09IR), READER(GAUSSIAN09VCD)}},
      {{"Gaussian 16"},
       {READER(GAUSSIAN09UV), READER(GAUSSIAN09CD), READER(GAUSSIAN09IR), READER(GAUSSIAN09VCD)}},
      {{"* O   R   C   A *"}, {NONE, NONE, NONE, NONE}, /*orca*/ true},
      {{"escf", "TURBOMOLE"}, {READER(ESCFUV), READER(ESCFCD), NONE, NONE}},
      {{"ricc2", "TURBOMOLE"}, {READER(RICC2UV), READER(RICC2CD), NONE, NONE}},
      {{"Amsterdam Density Functional", "(ADF)"}, {READER(ADFUV), READER(ADFCD), NONE, NONE}},
      {{"Northwest Computational Chemistry Package", "(NWChem)"},
       {READER(NWCHEMUV), READER(NWCHEMCD), NONE, NONE}},
      {{"Dalton - An Electronic Structure Program"},
       {READER(DALTONUV), READER(DALTONCD), NONE, NONE}},
  };
  return table;
}

bool matches(const Banner& banner, std::string_view line) {
  for (std::string_view text : banner.texts)
    if (!readers::contains(line, text)) return false;
  return true;
}

// The major version from "Program Version 4.2.1 -  RELEASE  -": blanks, the
// words up to the "n" of "Version", blanks, and everything from the first
// point on go.
int orcaMajorVersion(const std::string& versionLine) {
  std::string text = TrimLeft(versionLine);
  const size_t n = text.find('n');
  if (n != std::string::npos) text.erase(0, n + 1);
  text = TrimLeft(text);
  const size_t point = text.find('.');
  if (point != std::string::npos) text.erase(point);
  return StrToInt(text);
}

bool fourOrLater(int majorVersion) { return majorVersion > 3; }

// The ORCA version line that follows the banner; the current line counts.
std::optional<std::string> versionLineFrom(readers::LineSource& source) {
  while (!source.has("Program Version") && !source.eof()) source.next();
  if (!source.has("Program Version")) return std::nullopt;
  return source.line();
}

std::optional<NamedReader> orcaReader(Kind kind, int majorVersion) {
  const bool fourOrLater = ::fourOrLater(majorVersion);
  switch (kind) {
    case Kind::Uv:
      return fourOrLater ? READER(ORCA4UV) : READER(ORCAUV);
    case Kind::Ecd:
      return fourOrLater ? READER(ORCA4CD) : READER(ORCACD);
    default:
      return std::nullopt;
  }
}

#undef READER
#undef NONE

// Reads the file until a banner decides, closes it and returns the reader to
// call. The IR and VCD detectors know only Gaussian 09 and 16: for them the
// other banners are no banners at all.
std::optional<NamedReader> chooseReader(const std::string& fileName, Kind kind) {
  const size_t index = static_cast<size_t>(kind);
  const bool vibrational = kind == Kind::Ir || kind == Kind::Vcd;
  std::optional<std::string> orcaVersionLine;
  {
    readers::LineSource source(fileName);
    const Banner* found = nullptr;
    while (found == nullptr && !source.eof()) {
      const std::string& line = source.next();
      for (const Banner& banner : banners()) {
        if (vibrational && banner.byKind[index].reader == nullptr) continue;
        if (matches(banner, line)) {
          found = &banner;
          break;
        }
      }
    }
    if (found == nullptr) return std::nullopt;
    if (!found->orca) return found->byKind[index];
    orcaVersionLine = versionLineFrom(source);
    if (!orcaVersionLine) return std::nullopt;
  }
  // The file is closed before the version is converted.
  return orcaReader(kind, orcaMajorVersion(*orcaVersionLine));
}

}  // namespace

std::optional<readers::OrcaVersion> readers::orcaVersionOf(const std::string& fileName) {
  std::optional<std::string> versionLine;
  {
    LineSource source(fileName);
    while (!source.has("O   R   C   A") && !source.eof()) source.next();
    versionLine = versionLineFrom(source);
  }
  if (!versionLine) return std::nullopt;
  // The file is closed before the version is converted.
  return fourOrLater(orcaMajorVersion(*versionLine)) ? OrcaVersion::FourOrLater
                                                     : OrcaVersion::BeforeFour;
}

namespace {

// The guard of every detector: an input/output error while detecting or
// while the chosen reader runs ends the detection with one message.
void detect(TForm1& form, const std::string& fileName, int slot, Kind kind) {
  try {
    const std::optional<NamedReader> chosen = chooseReader(fileName, kind);
    if (!chosen) return;
    readers::announceReader(chosen->name);
    (form.*(chosen->reader))(fileName, slot);
  } catch (const EInOutError& error) {
    readers::showFileHandlingError(error);
  }
}

// A Gaussian 09 or 16 output (the programs whose vibrations are read) whose
// frequency blocks print no strengths.
bool isGaussianFrequencyJobWithoutStrengths(const std::string& fileName) {
  return chooseReader(fileName, Kind::Ir).has_value() &&
         IsFrequencyOutputWithoutStrengths(fileName);
}

}  // namespace

void TForm1::DetectQMSUV(const std::string& fileName, int slot) {
  detect(*this, fileName, slot, Kind::Uv);
}

void TForm1::DetectQMSCD(const std::string& fileName, int slot) {
  detect(*this, fileName, slot, Kind::Ecd);
}

void TForm1::DetectQMSIR(const std::string& fileName, int slot) {
  detect(*this, fileName, slot, Kind::Ir);
}

void TForm1::DetectQMSVCD(const std::string& fileName, int slot) {
  detect(*this, fileName, slot, Kind::Vcd);
}

void TForm1::LoadOutputFile(const std::string& fileName, const std::function<void()>& load) {
  const long toldBefore = readers::toldCount();
  readers::DrawnAccount account;
  {
    readers::TellEachTextOnce once;
    readers::AccountingScope accounting(account);
    load();
  }
  if (account.drewSomething() || readers::toldCount() != toldBefore) return;
  readers::tell(account.nothingDrawnMessage(fileName, isGaussianFrequencyJobWithoutStrengths(fileName)));
}
