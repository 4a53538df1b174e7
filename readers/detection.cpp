// Which program wrote an output file: the earliest line of the file that
// holds a program's banner decides, and that program's reader for the
// spectrum kind gets the file.
#include <any>
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
  // The same reader's parse, judged before the load enters anything.
  readers::Trial trial;
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

using readers::GaussianLayout;
using readers::LineList;
using readers::OrcaVersion;
using readers::OutputReading;
using readers::Spectrum;
using readers::TurbomoleProgram;

#define TRIAL(call) [](const std::string& f, [[maybe_unused]] int slot, OutputReading& r) { call; }
#define READER(name, call) \
  NamedReader { &TForm1::name, #name, TRIAL(call) }
#define NONE \
  NamedReader { nullptr, "", nullptr }

#define GAUSSIAN_STATES(name, spectrum, layout) \
  READER(name, readers::trialGaussianStates(f, slot, Spectrum::spectrum, GaussianLayout::layout, r))
#define GAUSSIAN_MODES(name, list) READER(name, readers::trialGaussianModes(f, LineList::list, r))
#define TURBOMOLE(name, program, spectrum) \
  READER(name, readers::trialTurbomole(f, TurbomoleProgram::program, Spectrum::spectrum, r))
#define OTHER(name, trial, spectrum) READER(name, readers::trial(f, Spectrum::spectrum, r))

const std::vector<Banner>& banners() {
  static const std::vector<Banner> table = {
      {{"Gaussian 03"},
       {GAUSSIAN_STATES(GAUSSIAN03UV, Uv, G03), GAUSSIAN_STATES(GAUSSIAN03CD, Ecd, G03), NONE,
        NONE}},
      {{"Gaussian 98"},
       {GAUSSIAN_STATES(GAUSSIAN03UV, Uv, G03), GAUSSIAN_STATES(GAUSSIAN03CD, Ecd, G03), NONE,
        NONE}},
      {{"Gaussian 09"},
       {GAUSSIAN_STATES(GAUSSIAN09UV, Uv, G09), GAUSSIAN_STATES(GAUSSIAN09CD, Ecd, G09),
        GAUSSIAN_MODES(GAUSSIAN09IR, Ir), GAUSSIAN_MODES(GAUSSIAN09VCD, Vcd)}},
      {{"Gaussian 16"},
       {GAUSSIAN_STATES(GAUSSIAN09UV, Uv, G09), GAUSSIAN_STATES(GAUSSIAN09CD, Ecd, G09),
        GAUSSIAN_MODES(GAUSSIAN09IR, Ir), GAUSSIAN_MODES(GAUSSIAN09VCD, Vcd)}},
      {{"* O   R   C   A *"}, {NONE, NONE, NONE, NONE}, /*orca*/ true},
      {{"escf", "TURBOMOLE"},
       {TURBOMOLE(ESCFUV, Escf, Uv), TURBOMOLE(ESCFCD, Escf, Ecd), NONE, NONE}},
      {{"ricc2", "TURBOMOLE"},
       {TURBOMOLE(RICC2UV, Ricc2, Uv), TURBOMOLE(RICC2CD, Ricc2, Ecd), NONE, NONE}},
      {{"Amsterdam Density Functional", "(ADF)"},
       {OTHER(ADFUV, trialAdf, Uv), OTHER(ADFCD, trialAdf, Ecd), NONE, NONE}},
      {{"Northwest Computational Chemistry Package", "(NWChem)"},
       {OTHER(NWCHEMUV, trialNwchem, Uv), OTHER(NWCHEMCD, trialNwchem, Ecd), NONE, NONE}},
      {{"Dalton - An Electronic Structure Program"},
       {OTHER(DALTONUV, trialDalton, Uv), OTHER(DALTONCD, trialDalton, Ecd), NONE, NONE}},
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
      return fourOrLater ? READER(ORCA4UV, readers::trialOrca(f, Spectrum::Uv, OrcaVersion::FourOrLater, r))
                         : READER(ORCAUV, readers::trialOrca(f, Spectrum::Uv, OrcaVersion::BeforeFour, r));
    case Kind::Ecd:
      return fourOrLater ? READER(ORCA4CD, readers::trialOrca(f, Spectrum::Ecd, OrcaVersion::FourOrLater, r))
                         : READER(ORCACD, readers::trialOrca(f, Spectrum::Ecd, OrcaVersion::BeforeFour, r));
    default:
      return std::nullopt;
  }
}

#undef OTHER
#undef TURBOMOLE
#undef GAUSSIAN_MODES
#undef GAUSSIAN_STATES
#undef READER
#undef NONE
#undef TRIAL

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
    const std::any* known =
        form.LoadReading != nullptr ? &form.LoadReading->chosen[static_cast<size_t>(kind)] : nullptr;
    const std::optional<NamedReader> chosen =
        known != nullptr && known->has_value() ? std::any_cast<std::optional<NamedReader>>(*known)
                                               : chooseReader(fileName, kind);
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

namespace {
void trialOf(Kind kind, const std::string& fileName, int slot, OutputReading& reading) {
  const std::optional<NamedReader> chosen = chooseReader(fileName, kind);
  reading.chosen[static_cast<size_t>(kind)] = chosen;
  if (chosen) chosen->trial(fileName, slot, reading);
}
}  // namespace

void readers::trialUv(const std::string& fileName, int slot, OutputReading& reading) {
  trialOf(Kind::Uv, fileName, slot, reading);
}
void readers::trialEcd(const std::string& fileName, int slot, OutputReading& reading) {
  trialOf(Kind::Ecd, fileName, slot, reading);
}
void readers::trialIr(const std::string& fileName, int slot, OutputReading& reading) {
  trialOf(Kind::Ir, fileName, slot, reading);
}
void readers::trialVcd(const std::string& fileName, int slot, OutputReading& reading) {
  trialOf(Kind::Vcd, fileName, slot, reading);
}
void readers::trialStdaUv(const std::string& fileName, int, OutputReading& reading) {
  trialStda(fileName, Spectrum::Uv, reading);
}
void readers::trialStdaEcd(const std::string& fileName, int, OutputReading& reading) {
  trialStda(fileName, Spectrum::Ecd, reading);
}
void readers::trialDftMrciUv(const std::string& fileName, int, OutputReading& reading) {
  trialDftMrci(fileName, Spectrum::Uv, reading);
}
void readers::trialDftMrciEcd(const std::string& fileName, int, OutputReading& reading) {
  trialDftMrci(fileName, Spectrum::Ecd, reading);
}

bool TForm1::LoadOutputFile(const std::string& fileName, int slot,
                            const std::vector<readers::Trial>& trials,
                            const std::function<void()>& load) {
  OutputReading reading = readers::readForLoad(fileName, slot, trials);
  if (!reading.drawing.drewSomething()) {
    // Nothing is entered: the window stays as it was, the boxes of the
    // reading tell what was found, or one box says why nothing is drawn.
    const bool told = !reading.boxes.empty();
    {
      readers::TellEachTextOnce once;
      reading.boxes.show();
    }
    if (reading.failure) std::rethrow_exception(reading.failure);
    if (!told)
      readers::tell(reading.drawing.nothingDrawnMessage(
          fileName, isGaussianFrequencyJobWithoutStrengths(fileName)));
    return false;
  }
  readers::TellEachTextOnce once;
  struct Handing {
    TForm1& form;
    ~Handing() { form.LoadReading = nullptr; }
  } handing{*this};
  LoadReading = &reading;
  load();
  return true;
}
