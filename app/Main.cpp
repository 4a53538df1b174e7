// The main window's declaration: every control with its place and layout
// value, then the binding of its handlers. No work is done here; the
// creation handler FormCreate runs once the program has set Form1.
#include "app/Main.h"

#include <initializer_list>
#include <string>
#include <vector>

#include "settings/about.h"

TForm1* Form1 = nullptr;

namespace {
std::string curveCaption(int curve) { return "Curve " + std::to_string(curve); }
}  // namespace

TForm1::TForm1(Store& store)
    : Form("Form1", std::string(ProgramName) + " " + ProgramVersion, {0, 0, 1120, 900}),
      store(store) {
  // ---- Menus (disabled kind menus and Add items until a loader enables them)
  MainMenu1 = addMainMenu("MainMenu1");
  File1 = addMenuItem(MainMenu1, "File1", "File");
  New1 = addMenuItem(File1, "New1", "New");
  Open1 = addMenuItem(File1, "Open1", "Open");
  OpenHPLC1 = addMenuItem(File1, "OpenHPLC1", "Open HPLC data");
  Settings1 = addMenuItem(File1, "Settings1", "Settings");
  Quit1 = addMenuItem(File1, "Quit1", "Quit");

  CDspectra1 = addMenuItem(MainMenu1, "CDspectra1", "ECD", false);
  SaveCD1 = addMenuItem(CDspectra1, "SaveCD1", "Save cd.bil");
  Savexy1 = addMenuItem(CDspectra1, "Savexy1", "Export as xy file");
  AddUVSpectrum1 = addMenuItem(CDspectra1, "AddUVSpectrum1", "Add UV Spectrum", false);

  UVspectra1 = addMenuItem(MainMenu1, "UVspectra1", "UV", false);
  SaveUV1 = addMenuItem(UVspectra1, "SaveUV1", "Save uv.bil");
  Savexy2 = addMenuItem(UVspectra1, "Savexy2", "Export as xy file");
  AddCDspectrum1 = addMenuItem(UVspectra1, "AddCDspectrum1", "Add CD spectrum", false);

  VCDspectra = addMenuItem(MainMenu1, "VCDspectra", "VCD", false);
  MenuItem4 = addMenuItem(VCDspectra, "MenuItem4", "Save vc.bil");
  MenuItem6 = addMenuItem(VCDspectra, "MenuItem6", "Save xy");
  AddIrSpectrum = addMenuItem(VCDspectra, "AddIrSpectrum", "Add IR spectrum", false);

  IRSpectra = addMenuItem(MainMenu1, "IRSpectra", "IR", false);
  saveIRBIL = addMenuItem(IRSpectra, "saveIRBIL", "Save ir.bil");
  saveIRxy = addMenuItem(IRSpectra, "saveIRxy", "Save xy file");
  AddVCDSpectrum = addMenuItem(IRSpectra, "AddVCDSpectrum", "Add VCD Spectrum", false);

  ORD1 = addMenuItem(MainMenu1, "ORD1", "ORD", false);
  Saveorbil1 = addMenuItem(ORD1, "Saveorbil1", "Save or.bil");

  N2ndSpectrum1 = addMenuItem(MainMenu1, "N2ndSpectrum1", "Compare", false);
  BilFile1 = addMenuItem(N2ndSpectrum1, "BilFile1", "ECD with ECD/UV Spectrum");
  xyFile1 = addMenuItem(N2ndSpectrum1, "xyFile1", "UV with UV Spectrum");
  MenuItem5 = addMenuItem(N2ndSpectrum1, "MenuItem5", "VCD with VCD/IR");
  cpwithIR = addMenuItem(N2ndSpectrum1, "cpwithIR", "IR with IR Spectrum");
  ORDwithORDCDSpectrum1 =
      addMenuItem(N2ndSpectrum1, "ORDwithORDCDSpectrum1", "ORD with ORD/CD Spectrum");
  withchromatogram1 = addMenuItem(N2ndSpectrum1, "withchromatogram1", "... with chromatogram");

  ools1 = addMenuItem(MainMenu1, "ools1", "Tools");
  sumspectra1 = addMenuItem(ools1, "sumspectra1", "sum spectra");
  heatextraction1 = addMenuItem(ools1, "heatextraction1", "extract heat");
  buildbilfiles1 = addMenuItem(ools1, "buildbilfiles1", "extract spectra");
  Determinesigma1 = addMenuItem(ools1, "Determinesigma1", "similarity factors");
  MenuItem1 = addMenuItem(ools1, "MenuItem1", "compare curves", false);

  about1 = addMenuItem(MainMenu1, "about1", "about");
  Info1 = addMenuItem(about1, "Info1", "Info");

  // ---- Tab pages: each plot at the left of its page, its controls in
  // columns to the right (captions from x = 690, edits from x = 800).
  PageControl1 = addPages("PageControl1", {4, 4, 1112, 846});
  TabSheet1 = addTab(PageControl1, "TabSheet1", "UV/ECD");
  TabSheet5 = addTab(PageControl1, "TabSheet5", "IR/VCD");
  TabSheet3 = addTab(PageControl1, "TabSheet3", "HPLC");
  TabSheet4 = addTab(PageControl1, "TabSheet4", "ORD");

  // ---- UV/ECD page
  Image1 = addImage("Image1", {4, 4, 673, 800}, TabSheet1);
  addLabel("sigmaCaption", "sigma/gamma (eV)", {690, 10, 105, 18}, TabSheet1);
  Edit3 = addEdit("Edit3", "0.16", {800, 8, 70, 22}, TabSheet1);
  addLabel("uvCorrectionCaption", "UV Correction", {690, 38, 105, 18}, TabSheet1);
  Edit2 = addEdit("Edit2", "0", {800, 36, 70, 22}, TabSheet1);
  Button5 = addButton("Button5", "same shift", {876, 35, 90, 25}, TabSheet1);
  addLabel("uvCurve2Caption", curveCaption(2), {690, 66, 50, 18}, TabSheet1);
  Edit12 = addEdit("Edit12", "0", {745, 64, 50, 22}, TabSheet1);
  addLabel("uvCurve3Caption", curveCaption(3), {805, 66, 50, 18}, TabSheet1);
  Edit13 = addEdit("Edit13", "0", {860, 64, 50, 22}, TabSheet1);
  addLabel("uvCurve4Caption", curveCaption(4), {690, 94, 50, 18}, TabSheet1);
  Edit31 = addEdit("Edit31", "0", {745, 92, 50, 22}, TabSheet1);
  addLabel("uvCurve5Caption", curveCaption(5), {805, 94, 50, 18}, TabSheet1);
  Edit32 = addEdit("Edit32", "0", {860, 92, 50, 22}, TabSheet1);

  // The range in nm; the range in 1/cm is shown only in the wavenumber unit.
  Label5 = addLabel("Label5", "wavelength (nm)", {690, 130, 105, 18}, TabSheet1);
  Edit4 = addEdit("Edit4", "150", {800, 128, 70, 22}, TabSheet1);
  Edit5 = addEdit("Edit5", "600", {876, 128, 70, 22}, TabSheet1);
  Button2 = addButton("Button2", "Redraw", {952, 127, 90, 25}, TabSheet1);
  Label35 = addLabel("Label35", "wavenumber 1/cm", {690, 158, 105, 18}, TabSheet1);
  Edit35 = addEdit("Edit35", "50000", {800, 156, 70, 22}, TabSheet1);
  Edit36 = addEdit("Edit36", "15000", {876, 156, 70, 22}, TabSheet1);
  Label35->SetVisible(false);
  Edit35->SetVisible(false);
  Edit36->SetVisible(false);

  CheckBox3 = addCheck("CheckBox3", "normal ECD", {690, 190, 150, 20}, TabSheet1, true);
  CheckBox2 = addCheck("CheckBox2", "enantiomeric ECD", {850, 190, 160, 20}, TabSheet1);
  CheckBox5 = addCheck("CheckBox5", "UV", {690, 214, 150, 20}, TabSheet1, true);
  CheckBox1 = addCheck("CheckBox1", "bars 1. spec", {850, 214, 160, 20}, TabSheet1);
  CheckBox8 = addCheck("CheckBox8", "auto scaling", {690, 238, 150, 20}, TabSheet1, true);
  CheckBox16 = addCheck("CheckBox16", "multiplot", {850, 238, 160, 20}, TabSheet1);
  CheckBox7 = addCheck("CheckBox7", "calculate g factor", {690, 262, 160, 20}, TabSheet1);

  // Full scales of the last drawing, for reading only.
  addLabel("ecdRangeCaption", "y-Range (ECD)", {690, 298, 105, 18}, TabSheet1);
  Edit6 = addEdit("Edit6", "0", {800, 296, 70, 22}, TabSheet1);
  Edit7 = addEdit("Edit7", "0", {876, 296, 70, 22}, TabSheet1);
  addLabel("uvRangeCaption", "y-Range (UV)", {690, 326, 105, 18}, TabSheet1);
  Edit14 = addEdit("Edit14", "0", {800, 324, 70, 22}, TabSheet1);
  Edit15 = addEdit("Edit15", "0", {876, 324, 70, 22}, TabSheet1);
  for (Edit* display : {Edit6, Edit7, Edit14, Edit15}) display->SetEnabled(false);

  // What the last reader found in slot 1.
  addLabel("statesCaption", "no. of excited states:", {690, 360, 140, 18}, TabSheet1);
  Label11 = addLabel("Label11", "--", {835, 360, 120, 18}, TabSheet1);
  addLabel("firstValueCaption", "first value at:", {690, 382, 140, 18}, TabSheet1);
  Label13 = addLabel("Label13", "--", {835, 382, 120, 18}, TabSheet1);
  addLabel("lastValueCaption", "last value at:", {690, 404, 140, 18}, TabSheet1);
  Label15 = addLabel("Label15", "--", {835, 404, 120, 18}, TabSheet1);

  GroupBox* ecdPlotting =
      addGroup("ecdPlottingGroup", "ECD Plotting", {690, 436, 200, 60}, TabSheet1);
  Button1 = addButton("Button1", "EPS", {8, 24, 55, 25}, ecdPlotting);
  Button12 = addButton("Button12", "PNG", {69, 24, 55, 25}, ecdPlotting);
  Button4 = addButton("Button4", "Settings", {130, 24, 62, 25}, ecdPlotting);
  GroupBox* uvPlotting =
      addGroup("uvPlottingGroup", "UV/Vis Plotting", {900, 436, 200, 60}, TabSheet1);
  Button7 = addButton("Button7", "EPS", {8, 24, 55, 25}, uvPlotting);
  Button13 = addButton("Button13", "PNG", {69, 24, 55, 25}, uvPlotting);
  Button6 = addButton("Button6", "Settings", {130, 24, 62, 25}, uvPlotting);

  Memo1 = addMemo("Memo1", {690, 508, 406, 296}, TabSheet1);

  // ---- IR/VCD page
  Image5 = addImage("Image5", {4, 4, 673, 800}, TabSheet5);
  addLabel("gammaCaption", "gamma (cm^-1)", {690, 10, 105, 18}, TabSheet5);
  Edit17 = addEdit("Edit17", "4", {800, 8, 70, 22}, TabSheet5);
  addLabel("scalingCaption", "scaling factors", {690, 38, 105, 18}, TabSheet5);
  Edit26 = addEdit("Edit26", "1.0", {800, 36, 70, 22}, TabSheet5);
  Button18 = addButton("Button18", "same scale", {876, 35, 90, 25}, TabSheet5);
  addLabel("irCurve2Caption", curveCaption(2), {690, 66, 50, 18}, TabSheet5);
  Edit27 = addEdit("Edit27", "1.0", {745, 64, 50, 22}, TabSheet5);
  addLabel("irCurve3Caption", curveCaption(3), {805, 66, 50, 18}, TabSheet5);
  Edit28 = addEdit("Edit28", "1.0", {860, 64, 50, 22}, TabSheet5);
  addLabel("irCurve4Caption", curveCaption(4), {690, 94, 50, 18}, TabSheet5);
  Edit33 = addEdit("Edit33", "1.0", {745, 92, 50, 22}, TabSheet5);
  addLabel("irCurve5Caption", curveCaption(5), {805, 94, 50, 18}, TabSheet5);
  Edit34 = addEdit("Edit34", "1.0", {860, 92, 50, 22}, TabSheet5);

  addLabel("irVcdRangeCaption", "wavenumber cm^-1", {690, 130, 105, 18}, TabSheet5);
  Edit8 = addEdit("Edit8", "500", {800, 128, 70, 22}, TabSheet5);
  Edit9 = addEdit("Edit9", "2000", {876, 128, 70, 22}, TabSheet5);
  Button10 = addButton("Button10", "Redraw", {952, 127, 90, 25}, TabSheet5);

  CheckBox6 = addCheck("CheckBox6", "normal VCD", {690, 164, 150, 20}, TabSheet5, true);
  CheckBox9 = addCheck("CheckBox9", "enantiomeric VCD", {850, 164, 160, 20}, TabSheet5);
  CheckBox19 = addCheck("CheckBox19", "IR", {690, 188, 150, 20}, TabSheet5, true);
  CheckBox18 = addCheck("CheckBox18", "auto scaling (y)", {850, 188, 160, 20}, TabSheet5, true);
  CheckBox17 = addCheck("CheckBox17", "multiplot", {690, 212, 150, 20}, TabSheet5);
  CheckBox10 = addCheck("CheckBox10", "calculate g factor", {850, 212, 160, 20}, TabSheet5);

  addLabel("vcdRangeCaption", "y-Range (VCD)", {690, 250, 105, 18}, TabSheet5);
  Edit11 = addEdit("Edit11", "0", {800, 248, 70, 22}, TabSheet5);
  Edit16 = addEdit("Edit16", "0", {876, 248, 70, 22}, TabSheet5);
  addLabel("irRangeCaption", "y-Range (IR)", {690, 278, 105, 18}, TabSheet5);
  Edit29 = addEdit("Edit29", "0", {800, 276, 70, 22}, TabSheet5);
  Edit30 = addEdit("Edit30", "0", {876, 276, 70, 22}, TabSheet5);
  for (Edit* display : {Edit11, Edit16, Edit29, Edit30}) display->SetEnabled(false);

  GroupBox* vcdPlotting =
      addGroup("vcdPlottingGroup", "VCD Plotting", {690, 312, 200, 60}, TabSheet5);
  Button17 = addButton("Button17", "plot EPS", {8, 24, 90, 25}, vcdPlotting);
  Button16 = addButton("Button16", "Settings", {104, 24, 88, 25}, vcdPlotting);
  GroupBox* irPlotting = addGroup("irPlottingGroup", "IR Plotting", {900, 312, 200, 60}, TabSheet5);
  Button20 = addButton("Button20", "plot EPS", {8, 24, 90, 25}, irPlotting);
  Button19 = addButton("Button19", "Settings", {104, 24, 88, 25}, irPlotting);

  Memo4 = addMemo("Memo4", {690, 384, 406, 420}, TabSheet5);

  // ---- HPLC page: the time window and its tools wait for a chromatogram.
  Image3 = addImage("Image3", {4, 4, 673, 500}, TabSheet3);
  Label1 = addLabel("Label1", "retention time (min)", {690, 10, 130, 18}, TabSheet3);
  Edit1 = addEdit("Edit1", "0", {825, 8, 60, 22}, TabSheet3);
  Edit10 = addEdit("Edit10", "30", {890, 8, 60, 22}, TabSheet3);
  Button8 = addButton("Button8", "Redraw", {956, 7, 90, 25}, TabSheet3);
  CheckBox4 = addCheck("CheckBox4", "auto scaling", {690, 44, 150, 20}, TabSheet3, true);
  CheckBox15 = addCheck("CheckBox15", "multiplot", {850, 44, 150, 20}, TabSheet3);
  addLabel("hplcRangeCaption", "y-Range", {690, 78, 130, 18}, TabSheet3);
  Edit18 = addEdit("Edit18", "0", {825, 76, 60, 22}, TabSheet3);
  Edit19 = addEdit("Edit19", "0", {890, 76, 60, 22}, TabSheet3);
  Button3 = addButton("Button3", "plot 2D eps", {690, 112, 100, 25}, TabSheet3);
  Button15 = addButton("Button15", "plot 3D eps", {800, 112, 100, 25}, TabSheet3);
  for (Control* waiting :
       std::initializer_list<Control*>{Label1, Edit1, Edit10, Button8, Button3, Button15})
    waiting->SetEnabled(false);
  for (Edit* display : {Edit18, Edit19}) display->SetEnabled(false);

  // ---- ORD page
  Image4 = addImage("Image4", {4, 4, 673, 500}, TabSheet4);
  addLabel("ordRangeCaption", "wavelength (nm)", {690, 10, 105, 18}, TabSheet4);
  Edit20 = addEdit("Edit20", "150", {800, 8, 70, 22}, TabSheet4);
  Edit21 = addEdit("Edit21", "600", {876, 8, 70, 22}, TabSheet4);
  Button9 = addButton("Button9", "Redraw", {952, 7, 90, 25}, TabSheet4);
  CheckBox11 = addCheck("CheckBox11", "normal ORD", {690, 44, 150, 20}, TabSheet4, true);
  CheckBox12 = addCheck("CheckBox12", "mirrored ORD", {850, 44, 160, 20}, TabSheet4);
  CheckBox13 = addCheck("CheckBox13", "connect points", {690, 68, 150, 20}, TabSheet4);
  CheckBox20 = addCheck("CheckBox20", "autoscale", {850, 68, 160, 20}, TabSheet4, true);
  // The y label of the ORD plots; only molar rotations are offered.
  RadioButton3 = addRadio("RadioButton3", "molar ORD", {690, 100, 150, 20}, TabSheet4, true);
  RadioButton4 = addRadio("RadioButton4", "relative ORD", {850, 100, 160, 20}, TabSheet4);
  RadioButton3->SetEnabled(false);
  RadioButton4->SetEnabled(false);
  addLabel("ordYRangeCaption", "y-Range", {690, 138, 105, 18}, TabSheet4);
  Edit22 = addEdit("Edit22", "0", {800, 136, 70, 22}, TabSheet4);
  Edit23 = addEdit("Edit23", "0", {876, 136, 70, 22}, TabSheet4);
  addLabel("ordYRange2Caption", "y-Range2", {690, 166, 105, 18}, TabSheet4);
  Edit24 = addEdit("Edit24", "0", {800, 164, 70, 22}, TabSheet4);
  Edit25 = addEdit("Edit25", "0", {876, 164, 70, 22}, TabSheet4);
  for (Edit* display : {Edit22, Edit23, Edit24, Edit25}) display->SetEnabled(false);
  Button11 = addButton("Button11", "plot EPS", {690, 200, 100, 25}, TabSheet4);
  Button14 = addButton("Button14", "plot PNG", {800, 200, 100, 25}, TabSheet4);

  // ---- Below the pages
  ProgressBar1 = addProgress("ProgressBar1", {8, 856, 400, 20});
  ProgressBar1->Min = 0;
  ProgressBar1->Max = 100;
  Label4 = addLabel("Label4", "Calculating", {420, 858, 120, 18});
  Label4->SetVisible(false);
  Memo2 = addMemo("Memo2", {560, 856, 100, 20});
  Memo2->SetVisible(false);

  // ---- Dialogs
  OpenDialog1 = addOpenDialog("OpenDialog1");
  OpenDialog1->Title = "Open File";
  OpenDialog1->Filters = {
      {"Bil-files(*.bil),Outfiles(*.out,*log,*dat),exp.xy-Files(*.exp.xy)",
       "*.bil;*.out;*.log;*.exp.xy;*.dat"},
      {"Outfiles(*.out,*log,*dat)", "*.out;*.log;*.dat"},
      {"exp.xy-Files(*.exp.xy)", "*.exp.xy"},
      {"Bil-files(*.bil)", "*.bil"},
      {"Alle Dateien (*.*)", "*.*"},
  };
  OpenDialog2 = addOpenDialog("OpenDialog2");
  OpenDialog2->Filters = {{"exp.xy-files", "*.exp.xy"},
                          {"calculations (*.out,*.log,*.dat)", "*.out;*.log;*.dat"},
                          {"cd.bil-files", "*.cd.bil"},
                          {"all Files", "*.*"}};
  OpenDialog3 = addOpenDialog("OpenDialog3");
  OpenDialog3->Filters = {{"exp.xy-files", "*.exp.xy"},
                          {"log/out/dat-files", "*.log;*.out;*.dat"},
                          {"uv.bil-files", "*.uv.bil"},
                          {"all Files", "*.*"}};
  OpenDialog4 = addOpenDialog("OpenDialog4");
  OpenDialog4->Filters = {
      {"HPLC-UV(*.cuv)", "*.cuv"}, {"HPLC-CD(*.ccd)", "*.ccd"}, {"all Files", "*.*"}};
  OpenDialog5 = addOpenDialog("OpenDialog5");
  OpenDialog5->Filters = {{"exp.xy-files", "*.exp.xy"},
                          {"or.bil-files", "*.or.bil"},
                          {"cd.bil-files", "*.cd.bil"},
                          {"all Files", "*.*"}};
  OpenDialog6 = addOpenDialog("OpenDialog6");
  OpenDialog6->Filters = {{"cuv files", "*.cuv"}, {"ccd files", "*.ccd"}, {"all Files", "*.*"}};
  OpenDialog7 = addOpenDialog("OpenDialog7");
  OpenDialog7->Filters = {{"exp.xy-files", "*.exp.xy"},
                          {"calculations (*.out,*.log)", "*.out;*.log"},
                          {"vc.bil-files", "*.vc.bil"},
                          {"ir.bil-files", "*.ir.bil"},
                          {"all Files", "*.*"}};
  OpenDialog8 = addOpenDialog("OpenDialog8");
  OpenDialog8->Filters = {{"exp.xy files", "*.exp.xy"},
                          {"calculations (*.out,*.log)", "*.out;*.log"},
                          {"bil files", "*.ir.bil"},
                          {"all files", "*.*"}};

  const FileFilter allFiles{"Alle Datein (*.*)", "*.*"};
  SaveDialog1 = addSaveDialog("SaveDialog1");
  SaveDialog1->DefaultExt = ".gjf";
  SaveDialog1->Filters = {
      {"CD-file (*.bil)", "*.cd.bil"}, {"UV-file (*.uv.bil)", "*.uv.bil"}, allFiles};
  SaveDialog2 = addSaveDialog("SaveDialog2");
  SaveDialog2->DefaultExt = ".gjf";
  SaveDialog2->Filters = {{"UV-file (*.uv.bil)", "*.uv.bil"}, allFiles};
  SaveDialog3 = addSaveDialog("SaveDialog3");
  SaveDialog3->DefaultExt = ".gjf";
  SaveDialog3->Filters = {{"cd.xy-File", "*.cd.xy"}, allFiles};
  SaveDialog4 = addSaveDialog("SaveDialog4");
  SaveDialog4->DefaultExt = ".gjf";
  SaveDialog4->Filters = {{"uv.xy-File", "*.uv.xy"}, allFiles};
  SaveDialog5 = addSaveDialog("SaveDialog5");
  SaveDialog5->DefaultExt = ".gjf";
  SaveDialog5->Filters = {{"Gnuplot plt-file", "*.plt"}, allFiles};
  SaveDialog6 = addSaveDialog("SaveDialog6");
  SaveDialog6->DefaultExt = ".gjf";
  SaveDialog6->Filters = {{"ORD-file (*.bil)", "*.or.bil"}, allFiles};
  SaveDialog7 = addSaveDialog("SaveDialog7");
  SaveDialog7->DefaultExt = ".vc.bil";
  SaveDialog7->Filters = {{"VCD-file (*.bil)", "*.vc.bil"}, allFiles};
  SaveDialog8 = addSaveDialog("SaveDialog8");
  SaveDialog8->DefaultExt = ".vc.bil";
  SaveDialog8->Filters = {{"xy file (*.vc.xy)", "*.vc.xy"}, allFiles};
  SaveDialog9 = addSaveDialog("SaveDialog9");
  SaveDialog9->DefaultExt = ".vc.bil";
  SaveDialog9->Filters = {{"IR bil-file (*.bil)", "*.ir.bil"}, allFiles};
  SaveDialog10 = addSaveDialog("SaveDialog10");
  SaveDialog10->DefaultExt = ".vc.bil";
  SaveDialog10->Filters = {{"xy file (*.ir.xy)", "*.ir.xy"}, allFiles};

  // ---- Handlers: the window
  OnCreate = [this] { FormCreate(); };
  AllowDropFiles = true;
  OnDropFiles = [this](const std::vector<std::string>& fileNames) { FormDropFiles(fileNames); };

  // ---- Handlers: menus
  New1->OnClick = [this] { New1Click(); };
  Open1->OnClick = [this] { DateiLaden(); };
  OpenHPLC1->OnClick = [this] { OpenHPLC1Click(); };
  Settings1->OnClick = [this] { Settings1Click(); };
  Quit1->OnClick = [this] { Quit1Click(); };
  SaveCD1->OnClick = [this] { SaveCD1Click(); };
  Savexy1->OnClick = [this] { Savexy1Click(); };
  AddUVSpectrum1->OnClick = [this] { AddUVSpectrum1Click(); };
  SaveUV1->OnClick = [this] { SaveUV1Click(); };
  Savexy2->OnClick = [this] { Savexy2Click(); };
  AddCDspectrum1->OnClick = [this] { AddCDspectrum1Click(); };
  MenuItem4->OnClick = [this] { MenuItem4Click(); };
  MenuItem6->OnClick = [this] { MenuItem6Click(); };
  AddIrSpectrum->OnClick = [this] { AddIrSpectrumClick(); };
  saveIRBIL->OnClick = [this] { saveIRBILClick(); };
  saveIRxy->OnClick = [this] { saveIRxyClick(); };
  AddVCDSpectrum->OnClick = [this] { AddVCDSpectrumClick(); };
  Saveorbil1->OnClick = [this] { Saveorbil1Click(); };
  BilFile1->OnClick = [this] { BilFile1Click(); };
  xyFile1->OnClick = [this] { xyFile1Click(); };
  MenuItem5->OnClick = [this] { MenuItem5Click(); };
  cpwithIR->OnClick = [this] { cpwithIRClick(); };
  ORDwithORDCDSpectrum1->OnClick = [this] { ORDwithORDCDSpectrum1Click(); };
  withchromatogram1->OnClick = [this] { withchromatogram1Click(); };
  sumspectra1->OnClick = [this] { sumspectra1Click(); };
  heatextraction1->OnClick = [this] { heatextraction1Click(); };
  buildbilfiles1->OnClick = [this] { buildbilfiles1Click(); };
  Determinesigma1->OnClick = [this] { Determinesigma1Click(); };
  Info1->OnClick = [this] { Info1Click(); };

  // ---- Handlers: UV/ECD page
  Edit3->OnChange = [this] { Edit3Change(); };
  Edit2->OnChange = [this] { Edit2Change(); };
  CheckBox3->OnClick = CheckBox8->OnClick = CheckBox5->OnClick = [this] { Edit2Change(); };
  CheckBox1->OnClick = [this] { CheckBox1Click(); };
  CheckBox2->OnClick = [this] { CheckBox2Click(); };
  Button2->OnClick = Edit4->OnChange = Edit5->OnChange = [this] { Button2Click(); };
  Edit12->OnChange = Edit13->OnChange = Edit31->OnChange =
      Edit32->OnChange = [this] { Edit12Change(); };
  Button5->OnClick = [this] { Button5Click(); };
  Edit35->OnChange = Edit36->OnChange = [this] { Edit35Change(); };
  Button1->OnClick = [this] { Button1Click(); };
  Button12->OnClick = [this] { Button12Click(); };
  Button4->OnClick = [this] { Button4Click(); };
  Button7->OnClick = [this] { Button7Click(); };
  Button13->OnClick = [this] { Button13Click(); };
  Button6->OnClick = [this] { Button6Click(); };
  Image1->OnMouseDown = [this](MouseButton button, int x, int y) { Image1MouseDown(button, x, y); };
  Image1->OnMouseMove = [this](int x, int y) { Image1MouseMove(x, y); };
  Image1->OnMouseUp = [this](MouseButton button, int x, int y) { Image1MouseUp(button, x, y); };

  // ---- Handlers: IR/VCD page
  Edit17->OnChange = [this] { Edit17Change(); };
  Edit26->OnChange = [this] { Edit26Change(); };
  Edit27->OnChange = Edit28->OnChange = Edit33->OnChange =
      Edit34->OnChange = [this] { Edit27Change(); };
  Button18->OnClick = [this] { Button18Click(); };
  Button10->OnClick = Edit8->OnChange = Edit9->OnChange = [this] { Button10Click(); };
  CheckBox6->OnChange = [this] { CheckBox6Change(); };
  CheckBox9->OnChange = [this] { CheckBox9Change(); };
  CheckBox6->OnClick = CheckBox9->OnClick = CheckBox18->OnClick =
      CheckBox19->OnClick = [this] { Button10Click(); };
  Button17->OnClick = [this] { Button17Click(); };
  Button16->OnClick = [this] { Button16Click(); };
  Button20->OnClick = [this] { Button20Click(); };
  Button19->OnClick = [this] { Button19Click(); };
  Image5->OnMouseDown = [this](MouseButton button, int x, int y) { Image5MouseDown(button, x, y); };
  Image5->OnMouseMove = [this](int x, int y) { Image5MouseMove(x, y); };
  Image5->OnMouseUp = [this](MouseButton button, int x, int y) { Image5MouseUp(button, x, y); };

  // ---- Handlers: HPLC page
  Button8->OnClick = CheckBox4->OnClick = [this] { Button8Click(); };
  Button3->OnClick = [this] { Button3Click(); };
  Button15->OnClick = [this] { Button15Click(); };

  // ---- Handlers: ORD page
  Button9->OnClick = Edit20->OnChange = Edit21->OnChange = [this] { Button9Click(); };
  CheckBox11->OnClick = CheckBox12->OnClick = CheckBox13->OnClick =
      CheckBox20->OnClick = [this] { Button9Click(); };
  Button11->OnClick = [this] { Button11Click(); };
  Button14->OnClick = [this] { Button14Click(); };
}
