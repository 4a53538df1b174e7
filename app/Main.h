// The main window: menus, the four tab pages with their plots and view
// controls, and every operation on the curve slots.
//
// The class is declared here once; its member functions live in the folder of
// their concern (display/, files/, readers/, plots/ ...). Controls come first,
// grouped by tab page, then one section per concern.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/form.h"
#include "store/Store.h"

namespace readers {
struct OutputReading;
using Trial = void (*)(const std::string& fileName, int slot, OutputReading& reading);
}  // namespace readers

// "Calculating" in the status bar while a load works: shown for the life of
// the object, hidden when the load ends, also by an error.
class CalculatingShown {
 public:
  explicit CalculatingShown(Label& label) : label_(label) { label_.SetVisible(true); }
  ~CalculatingShown() { label_.SetVisible(false); }
  CalculatingShown(const CalculatingShown&) = delete;
  CalculatingShown& operator=(const CalculatingShown&) = delete;

 private:
  Label& label_;
};

enum class BandShape;  // display/broadening.h

// A short name of a curve title for legends and data-file names: drops the
// spectrum-file ending, blanks and underscores, keeps at most 20 characters.
std::string ShrinkFileName(const std::string& title);

enum class UvEcdUnit;

class TForm1 : public Form {
 public:
  explicit TForm1(Store& store);

  // ---- Menus -------------------------------------------------------------
  MainMenu* MainMenu1;
  MenuItem* File1;
  MenuItem* New1;
  MenuItem* Open1;
  MenuItem* OpenHPLC1;
  MenuItem* Settings1;
  MenuItem* Quit1;
  MenuItem* CDspectra1;  // "ECD"
  MenuItem* SaveCD1;
  MenuItem* Savexy1;
  MenuItem* AddUVSpectrum1;
  MenuItem* UVspectra1;  // "UV"
  MenuItem* SaveUV1;
  MenuItem* Savexy2;
  MenuItem* AddCDspectrum1;
  MenuItem* VCDspectra;  // "VCD"
  MenuItem* MenuItem4;   // "Save vc.bil"
  MenuItem* MenuItem6;   // "Save xy"
  MenuItem* AddIrSpectrum;
  MenuItem* IRSpectra;  // "IR"
  MenuItem* saveIRBIL;
  MenuItem* saveIRxy;
  MenuItem* AddVCDSpectrum;
  MenuItem* ORD1;  // "ORD"
  MenuItem* Saveorbil1;
  MenuItem* N2ndSpectrum1;  // "Compare"
  MenuItem* BilFile1;
  MenuItem* xyFile1;
  MenuItem* MenuItem5;  // "VCD with VCD/IR"
  MenuItem* cpwithIR;
  MenuItem* ORDwithORDCDSpectrum1;
  MenuItem* withchromatogram1;
  MenuItem* ools1;  // "Tools"
  MenuItem* sumspectra1;
  MenuItem* heatextraction1;
  MenuItem* buildbilfiles1;
  MenuItem* Determinesigma1;
  MenuItem* MenuItem1;  // "compare curves", never enabled
  MenuItem* about1;
  MenuItem* Info1;

  // ---- Tab pages -----------------------------------------------------------
  PageControl* PageControl1;
  TabSheet* TabSheet1;  // "UV/ECD"
  TabSheet* TabSheet5;  // "IR/VCD"
  TabSheet* TabSheet3;  // "HPLC"
  TabSheet* TabSheet4;  // "ORD"

  // UV/ECD page: UV panel above, ECD panel below.
  Image* Image1;
  Edit* Edit3;    // band width sigma (eV)
  Edit* Edit2;    // x correction of curve 1 (shift in nm or x scale factor)
  Edit* Edit12;   // x correction of curve 2
  Edit* Edit13;   // curve 3
  Edit* Edit31;   // curve 4
  Edit* Edit32;   // curve 5
  Button* Button5;  // "same shift"
  Label* Label5;  // "wavelength (nm)"
  Edit* Edit4;    // range start, nm
  Edit* Edit5;    // range end, nm
  Button* Button2;  // "Redraw"
  Label* Label35;  // "wavenumber 1/cm", wavenumber unit only
  Edit* Edit35;   // range start, 1/cm
  Edit* Edit36;   // range end, 1/cm
  CheckBox* CheckBox3;   // "normal ECD"
  CheckBox* CheckBox2;   // "enantiomeric ECD"
  CheckBox* CheckBox5;   // "UV"
  CheckBox* CheckBox1;   // bars of curve 1
  CheckBox* CheckBox8;   // "auto scaling"
  CheckBox* CheckBox16;  // "multiplot"
  CheckBox* CheckBox7;   // "calculate g factor"
  Edit* Edit6;    // y range of the ECD panel, low (display only)
  Edit* Edit7;    // high
  Edit* Edit14;   // y range of the UV panel, low (display only)
  Edit* Edit15;   // high
  Label* Label11;  // number of excited states
  Label* Label13;  // first value
  Label* Label15;  // last value
  Button* Button1;   // ECD "EPS"
  Button* Button12;  // ECD "PNG"
  Button* Button4;   // ECD gnuplot "Settings"
  Button* Button7;   // UV "EPS"
  Button* Button13;  // UV "PNG"
  Button* Button6;   // UV gnuplot "Settings"
  Memo* Memo1;       // scale factors and mouse-selection results

  // IR/VCD page: IR panel above, VCD panel below.
  Image* Image5;
  Edit* Edit17;   // band width gamma (1/cm)
  Edit* Edit26;   // x scale factor of curve 1
  Edit* Edit27;   // curve 2
  Edit* Edit28;   // curve 3
  Edit* Edit33;   // curve 4
  Edit* Edit34;   // curve 5
  Button* Button18;  // "same scale"
  Edit* Edit8;    // range low end, 1/cm
  Edit* Edit9;    // range high end, 1/cm
  Button* Button10;  // "Redraw"
  CheckBox* CheckBox6;   // "normal VCD"
  CheckBox* CheckBox9;   // "enantiomeric VCD"
  CheckBox* CheckBox19;  // "IR"
  CheckBox* CheckBox18;  // "auto scaling (y)"
  CheckBox* CheckBox17;  // "multiplot"
  CheckBox* CheckBox10;  // "calculate g factor"
  Edit* Edit11;   // y range of the VCD panel, low (display only)
  Edit* Edit16;   // high
  Edit* Edit29;   // y range of the IR panel, low (display only)
  Edit* Edit30;   // high
  Button* Button17;  // VCD "plot EPS"
  Button* Button16;  // VCD gnuplot "Settings"
  Button* Button20;  // IR "plot EPS"
  Button* Button19;  // IR gnuplot "Settings"
  Memo* Memo4;       // scale factors and mouse-selection results

  // HPLC page.
  Image* Image3;
  Label* Label1;  // "retention time (min)"
  Edit* Edit1;    // time window start, min
  Edit* Edit10;   // time window end, min
  Button* Button8;  // "Redraw"
  CheckBox* CheckBox4;   // "auto scaling"
  CheckBox* CheckBox15;  // "multiplot"
  Edit* Edit18;   // y range, low (display only)
  Edit* Edit19;   // high
  Button* Button3;   // "plot 2D eps"
  Button* Button15;  // "plot 3D eps"

  // ORD page.
  Image* Image4;
  Edit* Edit20;   // wavelength window start, nm
  Edit* Edit21;   // wavelength window end, nm
  Button* Button9;  // "Redraw"
  CheckBox* CheckBox11;  // "normal ORD"
  CheckBox* CheckBox12;  // "mirrored ORD"
  CheckBox* CheckBox13;  // "connect points"
  CheckBox* CheckBox20;  // "autoscale"
  RadioButton* RadioButton3;  // "molar ORD"
  RadioButton* RadioButton4;  // "relative ORD"
  Edit* Edit22;   // y range of slot 1, low (display only)
  Edit* Edit23;   // high
  Edit* Edit24;   // y range of slot 2, low (display only)
  Edit* Edit25;   // high
  Button* Button11;  // "plot EPS"
  Button* Button14;  // "plot PNG"

  // Below the pages.
  ProgressBar* ProgressBar1;  // broadening progress, 0 to 100
  Label* Label4;              // "Calculating", shown while a reader works
  Memo* Memo2;                // hidden line buffer of every file written

  // Dialogs.
  OpenDialog* OpenDialog1;  // File > Open and the Add items
  OpenDialog* OpenDialog2;  // ECD Compare
  OpenDialog* OpenDialog3;  // UV Compare
  OpenDialog* OpenDialog4;  // File > Open HPLC data
  OpenDialog* OpenDialog5;  // ORD Compare
  OpenDialog* OpenDialog6;  // chromatogram Compare
  OpenDialog* OpenDialog7;  // VCD Compare
  OpenDialog* OpenDialog8;  // IR Compare
  SaveDialog* SaveDialog1;   // cd.bil
  SaveDialog* SaveDialog2;   // uv.bil
  SaveDialog* SaveDialog3;   // cd.xy
  SaveDialog* SaveDialog4;   // uv.xy
  SaveDialog* SaveDialog5;   // gnuplot scripts
  SaveDialog* SaveDialog6;   // or.bil
  SaveDialog* SaveDialog7;   // vc.bil
  SaveDialog* SaveDialog8;   // vc.xy
  SaveDialog* SaveDialog9;   // ir.bil
  SaveDialog* SaveDialog10;  // ir.xy

  // ---- Store access, start-up and reset ----------------------------------
  Store& store;
  // While an output's readers run after their trials decided, what the
  // trials found, so that the readers take it instead of reading again.
  readers::OutputReading* LoadReading = nullptr;
  // Sets the number format; no reset.
  void FormCreate();
  // The full reset: every slot emptied, the controls put back.
  void Initialisierung();
  // Replaces every comma of S by a point, in place.
  static void KommaZuPunkt(std::string& S);
  // The framework's drop-files message, passed on to the default handling.
  void WMDropFiles(const std::vector<std::string>& fileNames);

  // ---- File, Tools and about menus ---------------------------------------
  void New1Click();
  void DateiLaden();  // "Open"
  void OpenHPLC1Click();
  void Settings1Click();
  void Quit1Click();
  void sumspectra1Click();
  void heatextraction1Click();
  void buildbilfiles1Click();
  void Determinesigma1Click();
  void Info1Click();

  // ---- Dispatcher and files ------------------------------------------------
  // Resets and loads a file into slot 1 by its ending.
  void Choose(const std::string& fileName);
  // Opens the first dropped file through the dispatcher.
  void FormDropFiles(const std::vector<std::string>& fileNames);
  // bil files of each kind into a slot.
  void CdBilFile(const std::string& fileName, int slot);
  void UvBilFile(const std::string& fileName, int slot);
  void BilOrdFile(const std::string& fileName, int slot);
  void VcdBilFile(const std::string& fileName, int slot);
  void IrBilFile(const std::string& fileName, int slot);
  // Saving slot 1 as a bil file.
  void SaveCD1Click();
  void SaveUV1Click();
  void Saveorbil1Click();
  void MenuItem4Click();  // "Save vc.bil"
  void saveIRBILClick();
  // Measured spectra (exp.xy) and chromatograms (cuv, ccd) into a slot.
  void CDXY(const std::string& fileName, int slot);
  void UVXY(const std::string& fileName, int slot);
  void ORDXY(const std::string& fileName, int slot);
  void VCDXY(const std::string& fileName, int slot);
  void IRXY(const std::string& fileName, int slot);
  void HPLCUV(const std::string& fileName, int slot);
  void HPLCCD(const std::string& fileName, int slot);
  // A chromatogram that gives no point: its boxes are shown and nothing else
  // happens, so the open leaves the window as it was.
  bool ChromatogramDrawsNothing(const std::string& fileName);
  // xy exports of the band of slot 1.
  void Savexy1Click();     // ECD
  void Savexy2Click();     // UV
  void MenuItem6Click();   // VCD "Save xy"
  void saveIRxyClick();    // IR
  // Compare loaders: a further curve beside slot 1.
  void BilFile1Click();    // ECD
  void xyFile1Click();     // UV
  void MenuItem5Click();   // VCD
  void cpwithIRClick();    // IR
  void ORDwithORDCDSpectrum1Click();
  void withchromatogram1Click();
  // Add loaders: slot 1 of the companion kind.
  void AddUVSpectrum1Click();
  void AddCDspectrum1Click();
  void AddIrSpectrumClick();
  void AddVCDSpectrumClick();

  // ---- Broadening ------------------------------------------------------------
  // The UV/ECD band shape ticked in the settings window (None when neither).
  static BandShape ChosenBandShape();
  void CalculateGaussCD(int slot);
  void CalculateGaussUV(int slot);
  void CalculateCurveVCD(int slot);
  void CalculateCurveIR(int slot);

  // ---- Ranges and scale factors ----------------------------------------------
  void DetermineCDRange();
  void DetermineUVRange();
  void DetermineVCDRange();
  void DetermineIRRange();
  void DetermineHPLCRange();
  // The UV/ECD x unit of the settings window (wavelength unless only
  // "wavenumber (1/cm)" is ticked).
  UvEcdUnit uvEcdUnit() const;
  void determineUvEcdRange(bool ecd);
  void determineIrVcdRange(bool vcd);

  // ---- Painters ----------------------------------------------------------------
  // UV/ECD page.
  void RedrawUVCD();
  void DrawUV();
  void DrawCD();
  void DrawXYUV();
  void DrawXYCD();
  void AddUV(int slot);
  void AddCD(int slot);
  void AddXYUV(int slot);
  void AddXYCD(int slot);
  // IR/VCD page.
  void RedrawIRVCD();
  void DrawVCD();
  void DrawIR();
  void DrawXYVCD();
  void DrawXYIR();
  void AddVCD(int slot);
  void AddIR(int slot);
  void AddXYVCD(int slot);
  void AddXYIR(int slot);
  // HPLC and ORD pages.
  void DrawHPLC();
  void AddHPLC(int slot);
  void DrawORD();
  void AddORD(int slot);
  void DrawXYORD();
  void AddXYORD(int slot);

  // ---- View controls ---------------------------------------------------------
  void Edit3Change();     // UV/ECD band width
  void Edit2Change();     // curve-1 correction; "normal ECD", "auto scaling", "UV"
  void CheckBox1Click();  // bars of curve 1
  void CheckBox2Click();  // "enantiomeric ECD"
  void Button2Click();    // UV/ECD "Redraw"; range edits in nm
  void Edit12Change();    // corrections of curves 2 to 5
  void Button5Click();    // "same shift"
  void Edit35Change();    // range edits in 1/cm
  void Button10Click();   // IR/VCD "Redraw"; its range edits and boxes
  void Edit26Change();    // x scale factor of IR/VCD curve 1
  void Edit27Change();    // x scale factors of IR/VCD curves 2 to 5
  void Button18Click();   // "same scale"
  void Edit17Change();    // IR/VCD band width
  void CheckBox6Change();  // "normal VCD" keeps "enantiomeric VCD" opposite
  void CheckBox9Change();  // and the reverse
  void Button8Click();    // HPLC "Redraw"; its "auto scaling"
  void Button9Click();    // ORD "Redraw"; its range edits and boxes
  // Handlers that no control triggers.
  void Image1Click();
  void CheckBox6Click();
  void CheckBox7Click();

  // ---- Mouse selection -------------------------------------------------------
  void Image1MouseDown(MouseButton button, int x, int y);
  void Image1MouseMove(int x, int y);
  void Image1MouseUp(MouseButton button, int x, int y);
  void Image5MouseDown(MouseButton button, int x, int y);
  void Image5MouseMove(int x, int y);
  void Image5MouseUp(MouseButton button, int x, int y);
  // The selection band on the UV/ECD and on the IR/VCD plot.
  void DrawShape(TPoint TopLeft, TPoint BottomRight, PenMode AMode);
  void DrawShapeVCD(TPoint TopLeft, TPoint BottomRight, PenMode AMode);

  // ---- Readers of quantum-chemistry outputs ----------------------------------
  // Detectors: find the producing program and call its reader.
  void DetectQMSCD(const std::string& fileName, int slot);
  void DetectQMSUV(const std::string& fileName, int slot);
  void DetectQMSVCD(const std::string& fileName, int slot);
  void DetectQMSIR(const std::string& fileName, int slot);
  // sTDA tables.
  void STDA_CD(const std::string& fileName, int slot);
  void STDA_UV(const std::string& fileName, int slot);
  // ORCA before version 4 and from version 4.
  void ORCACD(const std::string& fileName, int slot);
  void ORCAUV(const std::string& fileName, int slot);
  void ORCA4CD(const std::string& fileName, int slot);
  void ORCA4UV(const std::string& fileName, int slot);
  // TURBOMOLE escf and ricc2.
  void ESCFCD(const std::string& fileName, int slot);
  void ESCFUV(const std::string& fileName, int slot);
  void RICC2CD(const std::string& fileName, int slot);
  void RICC2UV(const std::string& fileName, int slot);
  // Gaussian UV/ECD (with optical rotations) and vibrational spectra.
  void GAUSSIAN03CD(const std::string& fileName, int slot);
  void GAUSSIAN03UV(const std::string& fileName, int slot);
  void GAUSSIAN09CD(const std::string& fileName, int slot);
  void GAUSSIAN09UV(const std::string& fileName, int slot);
  void GAUSSIAN09VCD(const std::string& fileName, int slot);
  void GAUSSIAN09IR(const std::string& fileName, int slot);
  // DFT/MRCI spectrum files and ADF.
  void CD_DFTMRCI(const std::string& fileName, int slot);
  void UV_DFTMRCI(const std::string& fileName, int slot);
  void ADFCD(const std::string& fileName, int slot);
  void ADFUV(const std::string& fileName, int slot);
  // NWChem and Dalton.
  void NWCHEMCD(const std::string& fileName, int slot);
  void NWCHEMUV(const std::string& fileName, int slot);
  void DALTONCD(const std::string& fileName, int slot);
  void DALTONUV(const std::string& fileName, int slot);
  // An output file for `slot`: the trials of its readers decide first what
  // the load draws. When it draws nothing, nothing is changed: the boxes of
  // the reading are shown, or one box names the file and says why nothing
  // was drawn, and false is returned. Otherwise `load` runs (the reset, if
  // any, and the readers).
  bool LoadOutputFile(const std::string& fileName, int slot,
                      const std::vector<readers::Trial>& trials, const std::function<void()>& load);

  // ---- Publication plots -----------------------------------------------------
  // Script header and plot line of curve 1 of a UV, CD or ORD plot.
  void FirstCurveEPS(const std::string& PLOT, const std::string& COMMENT,
                     const std::string& XRANGE, const std::string& YRANGE,
                     const std::string& YTICS, const std::string& PLOTNAME,
                     const std::string& PSNAME, const std::string& COLOR,
                     const std::string& SCALING, bool MULTIPLOT, bool SIGMA);
  void FirstCurvePNG(const std::string& PLOT, const std::string& COMMENT,
                     const std::string& XRANGE, const std::string& YRANGE,
                     const std::string& YTICS, const std::string& PLOTNAME,
                     const std::string& PSNAME, const std::string& COLOR,
                     const std::string& SCALING, bool MULTIPLOT, bool SIGMA);
  // Script headers of the two- and three-dimensional HPLC plots.
  void HPLC2DEPS(const std::string& PLOT, const std::string& COMMENT, const std::string& XRANGE,
                 const std::string& YRANGE, const std::string& PLOTNAME,
                 const std::string& PSNAME, const std::string& SCALING, bool MULTIPLOT);
  void HPLC3DEPS(const std::string& PLOT, const std::string& COMMENT, const std::string& YRANGE,
                 const std::string& ZRANGE, const std::string& PLOTNAME,
                 const std::string& PSNAME, const std::string& SCALING, bool MULTIPLOT);
  // The plot buttons of the four pages.
  void Button1Click();   // ECD EPS
  void Button12Click();  // ECD PNG
  void Button7Click();   // UV EPS
  void Button13Click();  // UV PNG
  void Button11Click();  // ORD EPS
  void Button14Click();  // ORD PNG
  void Button17Click();  // VCD EPS
  void Button20Click();  // IR EPS
  void Button3Click();   // HPLC 2D EPS
  void Button15Click();  // HPLC 3D EPS
  // The "Settings" buttons that open the gnuplot settings windows.
  void Button4Click();   // CD
  void Button6Click();   // UV
  void Button16Click();  // VCD
  void Button19Click();  // IR
};

extern TForm1* Form1;
