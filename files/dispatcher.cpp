// The one entry for opening a file into slot 1: reset everything, then pick
// the reader by the ending of the file name.
#include <string>

#include "app/Main.h"
#include "platform/application.h"
#include "platform/files.h"

void TForm1::Choose(const std::string& fileName) {
  // The number format (a point as decimal separator) is fixed program-wide by
  // platform/numbers, so there is nothing to set before the load.
  Initialisierung();
  const std::string name = ExtractFileName(fileName);
  Application::SetTitle(fileName);

  // Each test looks at the ending as the tests before it left it.
  std::string ending = LastCharacters(name, 3);
  if (ending == "bil") {
    ending = LastCharacters(name, 6);
    if (ending == "uv.bil") UvBilFile(fileName, 1);
    if (ending == "cd.bil") CdBilFile(fileName, 1);
    if (ending == "or.bil") BilOrdFile(fileName, 1);
    if (ending == "vc.bil") VcdBilFile(fileName, 1);
    if (ending == "ir.bil") IrBilFile(fileName, 1);
  }
  if (ending == "out" || ending == "log" || ending == "OUT" || ending == "LOG") {
    // The caption names this file also when no reader takes it.
    SetCaption(name);
    LoadOutputFile(
        fileName,
        [&] {
          DetectQMSUV(fileName, 1);
          DetectQMSCD(fileName, 1);
          DetectQMSIR(fileName, 1);
          DetectQMSVCD(fileName, 1);
        },
        [&] {
          for (const std::string* state : {&store.UVACTIVE[1], &store.CDACTIVE[1], &store.IRACTIVE[1],
                                           &store.VCDACTIVE[1], &store.ORDACTIVE[1]})
            if (*state == "calc") return true;
          return false;
        });
  }
  if (ending == ".xy") {
    ending = LastCharacters(name, 9);
    if (ending == "cd.exp.xy") CDXY(fileName, 1);
    if (ending == "uv.exp.xy") UVXY(fileName, 1);
    if (ending == "or.exp.xy") ORDXY(fileName, 1);
    if (ending == "vc.exp.xy") VCDXY(fileName, 1);
    if (ending == "ir.exp.xy") IRXY(fileName, 1);
  }
  if (ending == ".cd") CD_DFTMRCI(fileName, 1);
  if (ending == ".uv") UV_DFTMRCI(fileName, 1);
  if (ending == "cuv") HPLCUV(fileName, 1);
  if (ending == "ccd") HPLCCD(fileName, 1);
  if (ending == "dat") {
    STDA_UV(fileName, 1);
    STDA_CD(fileName, 1);
  }
  // Any other name loads nothing, silently: the store stays reset.
}
