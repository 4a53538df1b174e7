// The one entry for opening a file into slot 1: pick the reader by the
// ending of the file name, decide what the file draws, then reset
// everything and read. A file of no kind the program opens, or one that
// draws nothing, changes nothing.
#include <functional>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "readers/reader_core.h"

namespace {

using Reader = void (TForm1::*)(const std::string&, int);

struct Ending {
  const char* text;
  Reader reader;
};

const Ending bilFiles[] = {{"uv.bil", &TForm1::UvBilFile},
                           {"cd.bil", &TForm1::CdBilFile},
                           {"or.bil", &TForm1::BilOrdFile},
                           {"vc.bil", &TForm1::VcdBilFile},
                           {"ir.bil", &TForm1::IrBilFile}};
const Ending measuredFiles[] = {{"cd.exp.xy", &TForm1::CDXY},
                                {"uv.exp.xy", &TForm1::UVXY},
                                {"or.exp.xy", &TForm1::ORDXY},
                                {"vc.exp.xy", &TForm1::VCDXY},
                                {"ir.exp.xy", &TForm1::IRXY}};

std::string unknownKindMessage(const std::string& name) {
  return "\"" + name +
         "\" was not opened: it is of no kind the program opens. These are bil files "
         "(*.uv.bil, *.cd.bil, *.or.bil, *.vc.bil, *.ir.bil), measured spectra (*.uv.exp.xy, "
         "*.cd.exp.xy, *.or.exp.xy, *.vc.exp.xy, *.ir.exp.xy), chromatograms (*.cuv, *.ccd), "
         "outputs (*.out, *.log), DFT/MRCI files (*.cd, *.uv) and sTDA files (*.dat).";
}

// The load of a file into slot 1 as its ending picks it (empty when the
// program opens no file of its kind) and, for files of computed states, the
// trials that decide first whether the load draws anything.
struct Opening {
  std::function<void()> load;
  std::vector<readers::Trial> trials;
  bool chromatogram = false;
};

Opening openingOf(TForm1& form, const std::string& fileName, const std::string& name) {
  const auto read = [&form, fileName](Reader reader) -> std::function<void()> {
    return [&form, fileName, reader] { (form.*reader)(fileName, 1); };
  };
  const std::string ending = LastCharacters(name, 3);
  if (ending == "bil") {
    for (const Ending& bil : bilFiles)
      if (LastCharacters(name, 6) == bil.text) return {read(bil.reader), {}};
    return {};
  }
  if (ending == ".xy") {
    for (const Ending& measured : measuredFiles)
      if (LastCharacters(name, 9) == measured.text) return {read(measured.reader), {}};
    return {};
  }
  if (ending == "out" || ending == "log" || ending == "OUT" || ending == "LOG") {
    return {[&form, fileName, name] {
              form.SetCaption(name);
              form.DetectQMSUV(fileName, 1);
              form.DetectQMSCD(fileName, 1);
              form.DetectQMSIR(fileName, 1);
              form.DetectQMSVCD(fileName, 1);
            },
            {readers::trialUv, readers::trialEcd, readers::trialIr, readers::trialVcd}};
  }
  if (ending == ".cd") return {read(&TForm1::CD_DFTMRCI), {readers::trialDftMrciEcd}};
  if (ending == ".uv") return {read(&TForm1::UV_DFTMRCI), {readers::trialDftMrciUv}};
  if (ending == "cuv") return {read(&TForm1::HPLCUV), {}, true};
  if (ending == "ccd") return {read(&TForm1::HPLCCD), {}, true};
  if (ending == "dat") {
    return {[&form, fileName] {
              form.STDA_UV(fileName, 1);
              form.STDA_CD(fileName, 1);
            },
            {readers::trialStdaUv, readers::trialStdaEcd}};
  }
  return {};
}

}  // namespace

void TForm1::Choose(const std::string& fileName) {
  const std::string name = ExtractFileName(fileName);
  const Opening opening = openingOf(*this, fileName, name);
  if (!opening.load) {
    // The curves, captions and memo the person had stay as they were.
    ShowMessage(unknownKindMessage(name));
    return;
  }
  const auto resetAndLoad = [this, &fileName, &opening] {
    // The number format (a point as decimal separator) is fixed program-wide
    // by platform/numbers, so there is nothing to set before the load.
    Initialisierung();
    Application::SetTitle(fileName);
    // Dialogs start where the file came from, also when it was dropped.
    RememberFileFolder(fileName);
    opening.load();
  };
  // A file that draws nothing changes nothing: its boxes say why.
  if (opening.chromatogram && ChromatogramDrawsNothing(fileName)) return;
  if (opening.trials.empty()) {
    resetAndLoad();
    return;
  }
  LoadOutputFile(fileName, 1, opening.trials, resetAndLoad);
}
