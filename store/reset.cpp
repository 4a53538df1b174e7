// The full reset of the main window: every slot emptied, the controls put
// back. Setting controls runs their handlers; with every slot empty they
// compute no band and draw no curve.
#include "app/Main.h"
#include "display/blank_plot.h"
#include "plots/cdplotting.h"
#include "plots/uvplotting.h"
#include "settings/settings.h"
#include "store/Store.h"

namespace {
const char* const emptySlot = "false";

void emptyKindSlots(Store& s, int slot) {
  s.CDDATAPTS[slot] = s.UVDATAPTS[slot] = s.VCDDATAPTS[slot] = s.IRDATAPTS[slot] = 0;
  s.CDACTIVE[slot] = s.UVACTIVE[slot] = s.VCDACTIVE[slot] = s.IRACTIVE[slot] = emptySlot;
  s.CDTITLE[slot].clear();
  s.UVTITLE[slot].clear();
  s.VCDTITLE[slot].clear();
  s.IRTITLE[slot].clear();
  s.CDMAX[slot] = s.UVMAX[slot] = s.VCDMAX[slot] = s.IRMAX[slot] = 0;
  s.CDFACTOR[slot] = s.UVFACTOR[slot] = s.VCDFACTOR[slot] = s.IRFACTOR[slot] = 1.0;
  s.HPLC_CD[slot] = false;
  s.HPLC_UV[slot] = false;
}
}  // namespace

void TForm1::Initialisierung() {
  // 1. Blank plots, from a fresh picture each.
  for (Image* image : {Image1, Image5, Image3, Image4}) {
    image->Picture().SetSize(image->Bounds().Width, image->Bounds().Height);
    BlankPlot(*image);
  }
  // 2.
  Button2->SetEnabled(true);
  // 3., 4.
  for (int slot = 1; slot <= 5; ++slot) emptyKindSlots(store, slot);
  for (int slot = 1; slot <= 2; ++slot) {
    store.ORDDATAPTS[slot] = 0;
    store.ORDACTIVE[slot] = emptySlot;
    store.ORDTITLE[slot].clear();
  }
  // 5.
  ProgressBar1->SetPosition(0);
  // 6.
  for (MenuItem* menu : {CDspectra1, UVspectra1, ORD1, VCDspectra, IRSpectra, N2ndSpectrum1,
                         AddCDspectrum1, AddUVSpectrum1, AddVCDSpectrum, AddIrSpectrum})
    menu->SetEnabled(false);
  for (MenuItem* item : {SaveCD1, SaveUV1, MenuItem4, saveIRBIL, Savexy1, Savexy2, MenuItem6,
                         saveIRxy})
    item->SetEnabled(true);
  // 7. UV/ECD page.
  for (CheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox5}) box->SetEnabled(true);
  CheckBox8->SetChecked(true);
  // 8. IR/VCD page.
  for (CheckBox* box : {CheckBox6, CheckBox9, CheckBox19, CheckBox17}) box->SetEnabled(true);
  CheckBox6->SetChecked(true);
  CheckBox9->SetChecked(false);
  // 9.
  for (Edit* edit : {Edit2, Edit3, Edit17, Edit26}) edit->SetEnabled(true);
  // 10.
  Memo2->Clear();
  // 11.
  Edit3->SetText("0.16");
  for (Edit* edit : {Edit6, Edit7, Edit14, Edit15}) edit->SetText("0");
  Edit17->SetText("4");
  Edit26->SetText("1.0");
  for (Label* label : {Label11, Label13, Label15}) label->SetCaption("--");
  // 12. HPLC page.
  for (Control* control : std::initializer_list<Control*>{Edit1, Edit10, Label1, Button3, Button8,
                                                           Button15})
    control->SetEnabled(false);
  // 13.
  for (Control* control : std::initializer_list<Control*>{Button1, Edit4, Edit5, Label5, CheckBox1,
                                                           CheckBox2, CheckBox3})
    control->SetEnabled(true);
  // 14.
  CheckBox4->SetChecked(true);
  // 15. ORD page.
  CheckBox11->SetEnabled(true);
  CheckBox12->SetEnabled(true);
  RadioButton3->SetChecked(true);
  RadioButton3->SetEnabled(false);
  RadioButton4->SetEnabled(false);
  // 16. Axis labels of the gnuplot settings for CD and UV.
  const bool wavelength = Form2 != nullptr && Form2->RadioButton5->Checked();
  const bool wavenumber = Form2 != nullptr && Form2->RadioButton6->Checked();
  for (Edit* axis : {Form10 != nullptr ? Form10->Edit9 : nullptr,
                     Form11 != nullptr ? Form11->Edit9 : nullptr}) {
    if (axis == nullptr) continue;
    if (wavelength) axis->SetText(WavelengthAxisLabel);
    if (wavenumber) axis->SetText(WavenumberAxisLabel);
  }
  if (Form10 != nullptr) {
    Form10->Edit10->SetText("CD [mdeg]");
    Form10->Edit11->SetText("");
  }
  if (Form11 != nullptr) {
    Form11->Edit10->SetText("absorption [a.u.]");
    Form11->Edit11->SetText(ComputedAbsorptionLabel);
  }
  // 17.
  store.DRAWING = false;
  // 18., 19. The UV/ECD unit: shifts in nm, or x scale factors in 1/cm.
  if (wavelength) {
    Edit4->SetEnabled(true);
    Edit5->SetEnabled(true);
    for (Control* control : std::initializer_list<Control*>{Edit35, Edit36, Label35})
      control->SetVisible(false);
    for (Edit* edit : {Edit2, Edit12, Edit13, Edit31, Edit32}) edit->SetText("0");
  }
  if (wavenumber) {
    Edit4->SetEnabled(false);
    Edit5->SetEnabled(false);
    for (Control* control : std::initializer_list<Control*>{Edit35, Edit36, Label35})
      control->SetVisible(true);
    for (Edit* edit : {Edit2, Edit12, Edit13, Edit31, Edit32}) edit->SetText("1.0");
  }
}
