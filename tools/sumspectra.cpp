#include "tools/sumspectra.h"

#include <algorithm>

#include "app/Main.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "tools/folder_walk.h"

TForm4* Form4 = nullptr;

TForm4::TForm4() : Form("Form4", "sum spectra", {0, 0, 488, 428}) {
  GroupBox1 = addGroup("GroupBox1", "Method", {16, 12, 200, 76});
  RadioButton1 = addRadio("RadioButton1", "arithmetic", {12, 20, 170, 20}, GroupBox1);
  RadioButton2 = addRadio("RadioButton2", "Boltzmann", {12, 46, 170, 20}, GroupBox1, true);

  Label2 = addLabel("Label2", "T in K:", {232, 24, 60, 16});
  Edit2 = addEdit("Edit2", "298.0", {296, 20, 80, 24});
  Button1 = addButton("Button1", "Select Files", {232, 56, 110, 25});
  Label1 = addLabel("Label1", NoFilesSelectedText, {352, 60, 120, 16});

  GroupBox2 = addGroup("GroupBox2", "Spectra", {16, 96, 456, 52});
  RadioButton3 = addRadio("RadioButton3", "CD", {12, 22, 70, 20}, GroupBox2, true);
  RadioButton4 = addRadio("RadioButton4", "UV", {92, 22, 70, 20}, GroupBox2);
  RadioButton5 = addRadio("RadioButton5", "ORD", {172, 22, 70, 20}, GroupBox2);
  RadioButton6 = addRadio("RadioButton6", "VCD", {252, 22, 70, 20}, GroupBox2);
  RadioButton7 = addRadio("RadioButton7", "IR", {332, 22, 70, 20}, GroupBox2);

  Label3 = addLabel("Label3", "Heat Directory", {16, 160, 120, 16});
  Edit1 = addEdit("Edit1", "", {16, 180, 340, 24});
  Button4 = addButton("Button4", "Select Dir", {364, 179, 108, 25});

  Memo1 = addMemo("Memo1", {16, 216, 456, 160});

  Button2 = addButton("Button2", "Start", {16, 388, 100, 28});
  Button3 = addButton("Button3", "Close", {372, 388, 100, 28});

  OpenDialog1 = addOpenDialog("OpenDialog1");
  OpenDialog1->Filters = {{"all files", "*.*"},
                          {"CD Bil files", "*.cd.bil"},
                          {"UV Bil files", "*.uv.bil"},
                          {"VCD Bil files", "*.vc.bil"},
                          {"IR Bil files", "*.ir.bil"},
                          {"Bil-Files", "*.bil"}};
  OpenDialog1->MultiSelect = true;
  SelectDirectoryDialog1 = addSelectDirectoryDialog("SelectDirectoryDialog1");

  Button1->OnClick = [this] { Button1Click(); };
  Button4->OnClick = [this] { Button4Click(); };
  Button2->OnClick = [this] { Button2Click(); };
  Button3->OnClick = [this] { Button3Click(); };
}

std::string TForm4::SelectionText() const {
  if (OpenDialog1->Files.empty()) return NoFilesSelectedText;
  return IntToStr(static_cast<long long>(OpenDialog1->Files.size())) + " Files selected";
}

void TForm4::Button1Click() {
  // A cancelled dialog holds no files any more: the label says so too.
  const bool chosen = OpenDialog1->Execute();
  Label1->SetCaption(SelectionText());
  if (!chosen) ShowMessage(NoFilesSelectedText);
}

void TForm4::Button4Click() {
  // Heat files usually lie in a folder beside the one of the bil files:
  // propose the parent of the first file's folder.
  if (Edit1->Text().size() < 2 && !OpenDialog1->Files.empty()) {
    std::string folder = ExtractFilePath(OpenDialog1->Files.front());
    if (!folder.empty()) folder.pop_back();
    Edit1->SetText(ExtractFilePath(folder));
  }
  SelectDirectoryDialog1->InitialDir = Edit1->Text();
  if (!SelectDirectoryDialog1->Execute()) return;
  std::string chosen = SelectDirectoryDialog1->FileName;
  if (chosen.empty() || (chosen.back() != '/' && chosen.back() != '\\')) chosen += "/";
  Edit1->SetText(chosen);
}

namespace {

// What a finished sum changes in the main window, by method and kind.
struct Finish {
  std::vector<MenuItem*> menus;
  TabSheet* page;  // brought to the front; none for the arithmetic sums
  void (TForm1::*broaden)(int);
  std::string* state;
  std::string* title;
  const char* titleText;
  std::vector<Edit*> disabled;
  void (TForm1::*redraw)();
};

Finish finishOf(TForm1& main, SumKind kind, SumMethod method) {
  Store& store = main.store;
  const bool boltzmann = method == SumMethod::Boltzmann;
  TabSheet* uvEcdPage = boltzmann ? main.TabSheet1 : nullptr;
  TabSheet* irVcdPage = boltzmann ? main.TabSheet5 : nullptr;
  const std::vector<Edit*> irVcdEdits{main.Edit17, main.Edit26};
  const std::vector<Edit*> uvEcdEdits{main.Edit2, main.Edit3};
  switch (kind) {
    case SumKind::Ecd:
      return {{main.CDspectra1, main.N2ndSpectrum1}, uvEcdPage, &TForm1::CalculateGaussCD,
              &store.CDACTIVE[1], &store.CDTITLE[1],
              boltzmann ? "Boltzmann-CD.bil" : "Arithmetic-CD.bil", irVcdEdits,
              &TForm1::RedrawUVCD};
    case SumKind::Uv: {
      std::vector<MenuItem*> menus{main.UVspectra1, main.N2ndSpectrum1};
      if (boltzmann) menus.push_back(main.AddCDspectrum1);
      return {menus, uvEcdPage, &TForm1::CalculateGaussUV, &store.UVACTIVE[1], &store.UVTITLE[1],
              boltzmann ? "Boltzmann-UV.bil" : "Arithmetic-UV.bil", irVcdEdits,
              &TForm1::RedrawUVCD};
    }
    case SumKind::Vcd:
      return {{main.VCDspectra, main.N2ndSpectrum1, main.AddIrSpectrum}, irVcdPage,
              &TForm1::CalculateCurveVCD, &store.VCDACTIVE[1], &store.VCDTITLE[1],
              boltzmann ? "Boltzmann.vc.bil" : "Arithmetic-VC.bil", uvEcdEdits,
              &TForm1::RedrawIRVCD};
    case SumKind::Ir:
      return {{main.IRSpectra, main.N2ndSpectrum1, main.AddVCDSpectrum}, irVcdPage,
              &TForm1::CalculateCurveIR, &store.IRACTIVE[1], &store.IRTITLE[1],
              boltzmann ? "Boltzmann.ir.bil" : "Arithmetic-IR.bil", uvEcdEdits,
              &TForm1::RedrawIRVCD};
    case SumKind::Ord:
      break;
  }
  return {{main.ORD1, main.N2ndSpectrum1}, main.TabSheet4, nullptr, &store.ORDACTIVE[1],
          &store.ORDTITLE[1], "Boltzmann-ORD", {}, &TForm1::DrawORD};
}

// The sum into slot 1 of its kind, over the whole of the slot.
void putIntoSlot1(Store& store, SumKind kind, const SumResult& sum) {
  switch (kind) {
    case SumKind::Ecd:
    case SumKind::Uv: {
      double* bins = (kind == SumKind::Ecd ? store.ROTS : store.OSC).slotData(1);
      std::copy(sum.bins.begin(), sum.bins.end(), bins);
      break;
    }
    case SumKind::Vcd:
    case SumKind::Ir: {
      LineGrid& lines = kind == SumKind::Vcd ? store.VCD : store.IR;
      std::copy(sum.wavenumbers.begin(), sum.wavenumbers.end(), lines.columnData(1, 1));
      std::copy(sum.strengths.begin(), sum.strengths.end(), lines.columnData(2, 1));
      break;
    }
    case SumKind::Ord:
      std::copy(sum.ordWavelengths.begin(), sum.ordWavelengths.end(), store.ORDCALCX.slotData(1));
      std::copy(sum.ordRotations.begin(), sum.ordRotations.end(), store.ORDCALCY.slotData(1));
      store.ORDDATAPTS[1] = sum.ordPoints;
      break;
  }
}

}  // namespace

SumKind TForm4::tickedKind() const {
  if (RadioButton4->Checked()) return SumKind::Uv;
  if (RadioButton5->Checked()) return SumKind::Ord;
  if (RadioButton6->Checked()) return SumKind::Vcd;
  if (RadioButton7->Checked()) return SumKind::Ir;
  return SumKind::Ecd;
}

void TForm4::Button2Click() {
  const std::vector<std::string>& files = OpenDialog1->Files;
  if (files.empty()) {
    ShowMessage(NoFilesSelectedText);
    return;
  }
  Memo1->Clear();
  const double temperature = TemperatureFromText(Edit2->Text());
  if (!RadioButton1->Checked() && !RadioButton2->Checked()) return;
  const SumMethod method = RadioButton1->Checked() ? SumMethod::Arithmetic : SumMethod::Boltzmann;
  const SumKind kind = tickedKind();

  TForm1& main = *Form1;
  main.SetCaption(LessLast(files.front(), 4) +
                  (method == SumMethod::Arithmetic ? "_arith.bil" : "_Boltz.bil"));
  SumRequest request{files, kind, method, temperature, Edit1->Text(),
                     [this](const std::string& line) { AddLogLine(*Memo1, line); }};
  const SumResult sum = SumSpectra(request);
  if (!sum.message.empty()) ShowMessage(sum.message);
  if (!sum.summed) return;

  putIntoSlot1(main.store, kind, sum);
  const Finish finish = finishOf(main, kind, method);
  for (MenuItem* menu : finish.menus) menu->SetEnabled(true);
  if (finish.page != nullptr) main.PageControl1->SetActivePage(finish.page);
  if (finish.broaden != nullptr) (main.*finish.broaden)(1);
  *finish.state = "calc";
  *finish.title = finish.titleText;
  for (Edit* edit : finish.disabled) edit->SetEnabled(false);
  (main.*finish.redraw)();
}

void TForm4::Button3Click() { Close(); }
