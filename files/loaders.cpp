// The Compare loaders (a further curve beside slot 1, or the removal of
// comparison curves through the load/remove curves window) and the Add
// loaders (slot 1 of the companion kind, without a reset). They choose the
// file, test its name and pick the reader and the slot; the readers do the
// rest.
#include <string>
#include <vector>

#include "app/Main.h"
#include "files/multiloadcd.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "plots/cdplotting.h"
#include "readers/reader_core.h"

namespace {

using Reader = void (TForm1::*)(const std::string&, int);
using Redraw = void (TForm1::*)();

const char* const noFileSelected = "No file selected!";
const char* const noFileSelectedCapital = "No File selected!";
const char* const wrongFileFormat = "Wrong File Format!";
const char* const wrongFileFormatAddCd = "Wrong File format!";
const char* const wrongFile = "Wrong File!";
const char* const noOrdFile = "NO *.or.bil-file or or.xy-File!";
const char* const cdBilOnOrdPage = "A cd.bil file holds no optical rotations to compare on the ORD page.";
const char* const noChromatogramFile = "No *.cuv or *.ccd file selected!";
const char* const maximumSpectraReached = "Maximum number of spectra reached";

const char* const emptySlot = "false";

// The last `count` characters of `name`, or all of it when it is shorter.

bool contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

// One Compare loader of a spectrum kind: its slots, window controls and
// readers.
struct SpectrumCompare {
  SlotTexts& state;
  SlotTexts& title;
  SlotCounts& count;
  SlotReals& maximum;
  SlotReals& factor;
  CheckBox* multiplot;
  OpenDialog* dialog;
  const char* cancelMessage;
  Reader detector;
  readers::Trial detectorTrial;
  std::vector<std::string> bilEndings;
  Reader bilReader;
  Reader xyReader;
  Reader datReader;  // null: .dat files are refused
  readers::Trial datTrial;
  Redraw redraw;
};

// Dialog, name test and reader for one slot.
void loadCompareFile(TForm1& form, const SpectrumCompare& kind, int slot) {
  if (!kind.dialog->Execute()) {
    ShowMessage(kind.cancelMessage);
    return;
  }
  const std::string path = kind.dialog->FileName;
  std::string ending = LastCharacters(ExtractFileName(path), 6);
  // Output files also come with upper-case endings.
  if (contains(ending, ".LOG")) ending = ".log";
  if (contains(ending, ".OUT")) ending = ".out";
  const bool output = contains(ending, ".log") || contains(ending, ".out");
  const bool sTda = kind.datReader != nullptr && contains(ending, ".dat");
  if (!output && !sTda && !contains(ending, ".bil") && !contains(ending, "exp.xy")) {
    ShowMessage(wrongFileFormat);
    return;
  }
  // Each test on its own; a name that passes none loads nothing. An output
  // that draws nothing leaves the slot as it was.
  if (output)
    form.LoadOutputFile(path, slot, {kind.detectorTrial}, [&] { (form.*kind.detector)(path, slot); });
  for (const std::string& bil : kind.bilEndings)
    if (ending == bil) (form.*kind.bilReader)(path, slot);
  if (ending == "exp.xy") (form.*kind.xyReader)(path, slot);
  if (sTda)
    form.LoadOutputFile(path, slot, {kind.datTrial}, [&] { (form.*kind.datReader)(path, slot); });
}

void emptyComparisonSlot(const SpectrumCompare& kind, int slot) {
  kind.count[slot] = 0;
  kind.state[slot] = emptySlot;
  kind.title[slot] = "";
  kind.maximum[slot] = 0.0;
  kind.factor[slot] = 1.0;
}

// Without "multiplot" into slot 2; with it, the load/remove curves window
// chooses the slot or the slots to empty.
void runCompare(TForm1& form, const SpectrumCompare& kind) {
  const std::string& main = kind.state[1];
  if (main != "exp" && main != "calc") return;
  if (!kind.multiplot->Checked() || Form7 == nullptr) {
    loadCompareFile(form, kind, 2);
    return;
  }
  TForm7& window = *Form7;
  Label* labels[] = {window.Label1, window.Label2, window.Label3, window.Label4};
  CheckBox* removeBoxes[] = {window.CheckBox1, window.CheckBox2, window.CheckBox3,
                             window.CheckBox4};
  for (int n = 0; n < 4; ++n) labels[n]->SetCaption(kind.title[n + 2]);
  for (CheckBox* box : removeBoxes) box->SetChecked(false);
  window.CheckBox5->SetChecked(false);
  window.ShowModal();

  // "Cancel": nothing removed, nothing loaded.
  if (window.CheckBox5->Checked()) {
    (form.*kind.redraw)();
    return;
  }
  bool removed = false;
  for (int n = 0; n < 4; ++n) {
    if (!removeBoxes[n]->Checked()) continue;
    emptyComparisonSlot(kind, n + 2);
    removed = true;
  }
  if (removed) {
    (form.*kind.redraw)();
    return;
  }
  // No load button pressed yet: the first comparison slot.
  const int chosen = form.store.CURVENO;
  loadCompareFile(form, kind, chosen >= 2 && chosen <= 5 ? chosen : 2);
}

// One Add item: a bil or exp.xy file of the companion kind into slot 1.
struct AddLoader {
  MenuItem* item;
  MenuItem* kindMenu;
  const char* bilEnding;
  Reader bilReader;
  const char* xyEnding;
  Reader xyReader;
  const char* wrongNameMessage;
};

void runAdd(TForm1& form, const AddLoader& add) {
  if (!form.OpenDialog1->Execute()) {
    ShowMessage(noFileSelectedCapital);
    return;
  }
  const std::string path = form.OpenDialog1->FileName;
  const std::string name = ExtractFileName(path);
  const std::string ending = LastCharacters(name, 3);
  if (ending != "bil" && ending != ".xy") {
    ShowMessage(add.wrongNameMessage);
    return;
  }
  // The reader enables its menus again; the Add item waits for a later load.
  if (LastCharacters(name, 6) == add.bilEnding) {
    add.item->SetEnabled(false);
    (form.*add.bilReader)(path, 1);
  }
  if (LastCharacters(name, 9) == add.xyEnding) {
    add.item->SetEnabled(false);
    add.kindMenu->SetEnabled(false);
    (form.*add.xyReader)(path, 1);
  }
}

}  // namespace

// ---- Compare ---------------------------------------------------------------------

void TForm1::BilFile1Click() {
  runCompare(*this, {store.CDACTIVE, store.CDTITLE, store.CDDATAPTS, store.CDMAX, store.CDFACTOR,
                     CheckBox16, OpenDialog2, noFileSelected, &TForm1::DetectQMSCD,
                     readers::trialEcd, {"cd.bil", "uv.bil"}, &TForm1::CdBilFile, &TForm1::CDXY,
                     &TForm1::STDA_CD, readers::trialStdaEcd, &TForm1::RedrawUVCD});
}

void TForm1::xyFile1Click() {
  runCompare(*this, {store.UVACTIVE, store.UVTITLE, store.UVDATAPTS, store.UVMAX, store.UVFACTOR,
                     CheckBox16, OpenDialog3, noFileSelectedCapital, &TForm1::DetectQMSUV,
                     readers::trialUv, {"uv.bil"}, &TForm1::UvBilFile, &TForm1::UVXY,
                     &TForm1::STDA_UV, readers::trialStdaUv, &TForm1::RedrawUVCD});
  // Whatever happened above: with auto scaling the CD plot has one y axis.
  if (CheckBox8->Checked() && Form10 != nullptr) Form10->CheckBox2->SetChecked(false);
}

void TForm1::MenuItem5Click() {
  runCompare(*this, {store.VCDACTIVE, store.VCDTITLE, store.VCDDATAPTS, store.VCDMAX,
                     store.VCDFACTOR, CheckBox17, OpenDialog7, noFileSelected,
                     &TForm1::DetectQMSVCD, readers::trialVcd, {"vc.bil", "ir.bil"},
                     &TForm1::VcdBilFile, &TForm1::VCDXY, nullptr, nullptr, &TForm1::RedrawIRVCD});
}

void TForm1::cpwithIRClick() {
  runCompare(*this, {store.IRACTIVE, store.IRTITLE, store.IRDATAPTS, store.IRMAX, store.IRFACTOR,
                     CheckBox17, OpenDialog8, noFileSelected, &TForm1::DetectQMSIR,
                     readers::trialIr, {"ir.bil"}, &TForm1::IrBilFile, &TForm1::IRXY, nullptr,
                     nullptr, &TForm1::RedrawIRVCD});
}

void TForm1::ORDwithORDCDSpectrum1Click() {
  if (store.ORDACTIVE[1] == emptySlot) return;
  if (!OpenDialog5->Execute()) {
    ShowMessage(noFileSelected);
    return;
  }
  const std::string path = OpenDialog5->FileName;
  const std::string name = ExtractFileName(path);
  const std::string ending = LastCharacters(name, 6);
  if (ending == "or.bil") {
    BilOrdFile(path, 2);
  } else if (ending == "exp.xy") {
    if (LastCharacters(name, 9) == "or.exp.xy") ORDXY(path, 2);
  } else if (ending == "cd.bil") {
    // The dialog offers cd.bil files, but their line spectrum has no place
    // among optical rotations.
    ShowMessage(cdBilOnOrdPage);
  } else {
    ShowMessage(noOrdFile);
  }
}

void TForm1::withchromatogram1Click() {
  if (!store.HPLC_CD[1] && !store.HPLC_UV[1]) return;
  if (!OpenDialog6->Execute()) {
    ShowMessage(noFileSelected);
    return;
  }
  const std::string path = OpenDialog6->FileName;
  const std::string ending = LastCharacters(ExtractFileName(path), 3);
  if (ending != "cuv" && ending != "ccd") {
    ShowMessage(noChromatogramFile);
    return;
  }
  int slot = 2;
  if (CheckBox15->Checked()) {
    // The first slot that holds no trace of either detector, so that no
    // trace is overwritten.
    slot = 0;
    for (int s = 1; s <= 5 && slot == 0; ++s)
      if (!store.HPLC_UV[s] && !store.HPLC_CD[s]) slot = s;
    if (slot == 0) {
      ShowMessage(maximumSpectraReached);
      return;
    }
  }
  if (ending == "cuv")
    HPLCUV(path, slot);
  else
    HPLCCD(path, slot);
}

// ---- Add -------------------------------------------------------------------------

void TForm1::AddCDspectrum1Click() {
  runAdd(*this, {AddCDspectrum1, CDspectra1, "cd.bil", &TForm1::CdBilFile, "cd.exp.xy",
                 &TForm1::CDXY, wrongFileFormatAddCd});
}

void TForm1::AddUVSpectrum1Click() {
  runAdd(*this, {AddUVSpectrum1, UVspectra1, "uv.bil", &TForm1::UvBilFile, "uv.exp.xy",
                 &TForm1::UVXY, wrongFile});
}

void TForm1::AddIrSpectrumClick() {
  runAdd(*this, {AddIrSpectrum, IRSpectra, "ir.bil", &TForm1::IrBilFile, "ir.exp.xy",
                 &TForm1::IRXY, wrongFile});
}

void TForm1::AddVCDSpectrumClick() {
  runAdd(*this, {AddVCDSpectrum, VCDspectra, "vc.bil", &TForm1::VcdBilFile, "vc.exp.xy",
                 &TForm1::VCDXY, wrongFile});
}
