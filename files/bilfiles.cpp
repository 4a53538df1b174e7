// bil files: the plain parsing and formatting, then the main window's five
// readers (a file into a slot, broadened and drawn) and five writers (slot 1
// through the save flow).
#include "files/bilfiles.h"

#include <algorithm>
#include <cmath>

#include "app/Main.h"
#include "files/save_flow.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "settings/settings.h"
#include "store/constants.h"

const char* const BilMarker = "Orvanix bil-file";
const char* const CdBilHeaderLength =
    "Orvanix bil-file (length formalism) wavelength (nm)       rotational strength "
    "(10**-40 esu**2-cm**2)";
const char* const CdBilHeaderVelocity =
    "Orvanix bil-file (velocity formalism) wavelength (nm)       rotational strength "
    "(10**-40 esu**2-cm**2)";
const char* const UvBilHeaderLength =
    "Orvanix bil-file (length formalism) wavelength (nm)       oscillator strength";
const char* const UvBilHeaderVelocity =
    "Orvanix bil-file (velocity formalism) wavelength (nm)       oscillator strength";
const char* const VcdBilHeader =
    "Orvanix bil-file VCD (wavenumber (cm**-1)   rotational strength (10**-44 esu**2-cm**2))";
const char* const IrBilHeader =
    "Orvanix bil-file (wavenumber (cm**-1)           dipole strength (10**-40 esu**2-cm**2))";

const char* const ExtractedCdBilHeaderLength = "Orvanix bil-file (length formalism) ECD";
const char* const ExtractedCdBilHeaderVelocity = "Orvanix bil-file (velocity formalism) ECD";
const char* const ExtractedUvBilHeaderLength = "Orvanix bil-file (length formalism) UV";
const char* const ExtractedUvBilHeaderVelocity = "Orvanix bil-file (velocity formalism) UV";
const char* const ExtractedOrdBilHeader = "Orvanix bil-file ORD";
const char* const ExtractedIrBilHeader =
    "Orvanix bil-file IR (wavenumber (cm**-1)   dipole strength (10**-40 esu**2-cm**2))";

const char* const NoVcdSpectrumSelectedText = "No VCD spectrum selected";
const char* const NoIrSpectrumSelectedText = "No IR spectrum selected";

namespace {

const char* const computedSlot = "calc";
const char* const noCdSpectrumSelected = "No CD spectrum selected";
const char* const noOrdSpectrumSelected = "No spectrum selected";

// Fixed-point texts of the writers: 10 significant digits at most.
constexpr int writerPrecision = 10;
std::string fixed(double value, int decimals) {
  return FloatToStrFixed(value, writerPrecision, decimals);
}

// The lines left in the file, the current one not included.
int countRemainingLines(TextFileLines& file) {
  int count = 0;
  while (!file.eof()) {
    file.readLineView();
    ++count;
  }
  return count;
}

template <class Grid>
std::span<double> slotSpan(Grid& grid, int slot) {
  return {grid.slotData(slot), static_cast<size_t>(Grid::size)};
}

std::span<double> lineListColumn(LineGrid& grid, int column, int slot) {
  return {grid.columnData(column, slot), static_cast<size_t>(LineGrid::size)};
}

void reportLinesNotLoaded(const std::string& fileName, const BilReadCount& count) {
  if (count.notLoaded > 0)
    ShowMessage(LinesNotLoadedMessage(ExtractFileName(fileName), count.notLoaded));
}

void addLines(Memo& buffer, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) buffer.Add(line);
}

}  // namespace

// ---- Plain parsing and formatting ----------------------------------------------

bool IsBilHeader(const std::string& firstLine) {
  return firstLine.find(BilMarker) != std::string::npos;
}

BilFields SplitBilLine(const std::string& line) {
  const size_t tab = line.find('\t');
  if (tab == std::string::npos) {
    const std::string whole = Trim(line);
    return {whole, whole};
  }
  return {Trim(line.substr(0, tab)), Trim(line.substr(tab + 1))};
}

BilPoint ParseBilLine(const std::string& line) {
  const BilFields fields = SplitBilLine(line);
  BilPoint point;
  point.x = StrToFloat(fields.x);
  point.y = StrToFloat(fields.y);
  return point;
}

std::optional<long> WavelengthBin(double wavelength) {
  const double tenths = 10.0 * wavelength;
  // Far outside the grid, and beyond what nint can take.
  if (!(std::fabs(tenths) < 1e9)) return std::nullopt;
  const long bin = static_cast<long>(nint(tenths));
  if (bin < MINLAMBDA || bin > MAXLAMBDA) return std::nullopt;
  return bin;
}

namespace {
BilReadCount readWavelengthBil(TextFileLines& file, std::span<double> bins) {
  std::fill(bins.begin(), bins.end(), 0.0);
  const long lastBin = MINLAMBDA + static_cast<long>(bins.size()) - 1;
  BilReadCount count;
  std::string line = file.readLine();
  if (IsBilHeader(line)) {
    while (file.readLine(line)) {
      const BilPoint point = ParseBilLine(line);
      const std::optional<long> bin = WavelengthBin(point.x);
      if (!bin || *bin > lastBin) {
        ++count.notLoaded;
        continue;
      }
      bins[static_cast<size_t>(*bin - MINLAMBDA)] = point.y;
      ++count.loaded;
    }
    return count;
  }
  // A bare column of values; line 1 is the first value.
  long bin = HeaderlessFirstBin;
  bool more = true;
  while (more) {
    if (bin > lastBin) {
      count.notLoaded = 1 + countRemainingLines(file);
      break;
    }
    bins[static_cast<size_t>(bin - MINLAMBDA)] = StrToFloat(Trim(line));
    ++count.loaded;
    ++bin;
    more = file.readLine(line);
  }
  return count;
}

// The body of an ORD or line-list file into two columns from position 0.
BilReadCount readTwoColumns(TextFileLines& file, std::span<double> xs, std::span<double> ys) {
  std::fill(xs.begin(), xs.end(), 0.0);
  std::fill(ys.begin(), ys.end(), 0.0);
  BilReadCount count;
  if (!IsBilHeader(file.readLine())) return count;
  const size_t capacity = std::min(xs.size(), ys.size());
  std::string line;
  size_t position = 0;
  while (file.readLine(line)) {
    if (position == capacity) {
      count.notLoaded = 1 + countRemainingLines(file);
      break;
    }
    const BilPoint point = ParseBilLine(line);
    xs[position] = point.x;
    ys[position] = point.y;
    ++position;
    ++count.loaded;
  }
  return count;
}
}  // namespace

// A number that does not convert names the file and its line.
BilReadCount ReadWavelengthBil(TextFileLines& file, std::span<double> bins) {
  return NamingTheLine(file, [&] { return readWavelengthBil(file, bins); });
}

BilReadCount ReadPointBil(TextFileLines& file, std::span<double> wavelengths,
                          std::span<double> rotations) {
  return NamingTheLine(file, [&] { return readTwoColumns(file, wavelengths, rotations); });
}

BilReadCount ReadLineListBil(TextFileLines& file, std::span<double> wavenumbers,
                             std::span<double> strengths) {
  return NamingTheLine(file, [&] { return readTwoColumns(file, wavenumbers, strengths); });
}

std::string LinesNotLoadedMessage(const std::string& fileName, int count) {
  return fileName + ": " + std::to_string(count) +
         " line(s) could not be loaded (outside the spectrum range).";
}

std::vector<std::string> WavelengthBilLines(std::span<const double> bins, bool mirrored) {
  std::vector<std::string> lines;
  for (size_t k = 0; k < bins.size(); ++k) {
    if (bins[k] == 0.0) continue;
    const double bin = static_cast<double>(MINLAMBDA + static_cast<long>(k));
    lines.push_back(fixed(bin / 10.0, 1) + "\t" + fixed(mirrored ? -bins[k] : bins[k], 6));
  }
  return lines;
}

std::vector<std::string> PointBilLines(std::span<const double> wavelengths,
                                       std::span<const double> rotations, int count,
                                       bool mirrored) {
  std::vector<std::string> lines;
  const size_t points =
      std::min({static_cast<size_t>(std::max(count, 0)), wavelengths.size(), rotations.size()});
  for (size_t k = 0; k < points; ++k)
    lines.push_back(fixed(wavelengths[k], 1) + "\t" +
                    fixed(mirrored ? -rotations[k] : rotations[k], 6));
  return lines;
}

std::vector<std::string> LineListBilLines(std::span<const double> wavenumbers,
                                          std::span<const double> strengths, bool mirrored) {
  std::vector<std::string> lines;
  const size_t rows = std::min(wavenumbers.size(), strengths.size());
  for (size_t k = 0; k < rows; ++k) {
    if (wavenumbers[k] == 0.0 && strengths[k] == 0.0) continue;
    lines.push_back(fixed(wavenumbers[k], 2) + "\t" +
                    fixed(mirrored ? -strengths[k] : strengths[k], 6));
  }
  return lines;
}

// ---- Readers of the main window -------------------------------------------------

void TForm1::CdBilFile(const std::string& fileName, int slot) {
  const CalculatingShown calculating(*Label4);
  SetCaption(fileName);
  BilReadCount count;
  {
    TextFileLines file(fileName);
    count = ReadWavelengthBil(file, slotSpan(store.ROTS, slot));
  }
  reportLinesNotLoaded(fileName, count);
  CalculateGaussCD(slot);
  store.CDTITLE[slot] = ExtractFileName(fileName);
  store.CDACTIVE[slot] = computedSlot;
  if (slot == 1) {
    PageControl1->SetActivePage(TabSheet1);
    N2ndSpectrum1->SetEnabled(true);
    CDspectra1->SetEnabled(true);
    AddUVSpectrum1->SetEnabled(true);
  }
  RedrawUVCD();
}

void TForm1::UvBilFile(const std::string& fileName, int slot) {
  UVspectra1->SetEnabled(true);
  const CalculatingShown calculating(*Label4);
  SetCaption(fileName);
  BilReadCount count;
  {
    TextFileLines file(fileName);
    count = ReadWavelengthBil(file, slotSpan(store.OSC, slot));
  }
  reportLinesNotLoaded(fileName, count);
  store.UVTITLE[slot] = ExtractFileName(fileName);
  store.UVACTIVE[slot] = computedSlot;
  CalculateGaussUV(slot);
  if (slot == 1) {
    PageControl1->SetActivePage(TabSheet1);
    N2ndSpectrum1->SetEnabled(true);
    UVspectra1->SetEnabled(true);
    AddCDspectrum1->SetEnabled(true);
  }
  RedrawUVCD();
}

void TForm1::BilOrdFile(const std::string& fileName, int slot) {
  if (slot == 1) SetCaption(ExtractFileName(fileName));
  BilReadCount count;
  {
    TextFileLines file(fileName);
    count = ReadPointBil(file, slotSpan(store.ORDCALCX, slot), slotSpan(store.ORDCALCY, slot));
  }
  store.ORDDATAPTS[slot] = count.loaded;
  reportLinesNotLoaded(fileName, count);
  store.ORDTITLE[slot] = ExtractFileName(fileName);
  store.ORDACTIVE[slot] = computedSlot;
  // The ORD menu stays as it is: only optical rotations read from an output
  // enable it.
  PageControl1->SetActivePage(TabSheet4);
  N2ndSpectrum1->SetEnabled(true);
  if (slot == 1)
    DrawORD();
  else
    AddORD(slot);
}

void TForm1::VcdBilFile(const std::string& fileName, int slot) {
  BilReadCount count;
  {
    TextFileLines file(fileName);
    count = ReadLineListBil(file, lineListColumn(store.VCD, 1, slot),
                            lineListColumn(store.VCD, 2, slot));
  }
  reportLinesNotLoaded(fileName, count);
  store.VCDTITLE[slot] = ExtractFileName(fileName);
  store.VCDACTIVE[slot] = computedSlot;
  CalculateCurveVCD(slot);
  if (slot == 1) {
    PageControl1->SetActivePage(TabSheet5);
    N2ndSpectrum1->SetEnabled(true);
    VCDspectra->SetEnabled(true);
    AddIrSpectrum->SetEnabled(true);
    SetCaption(fileName);
    Edit2->SetEnabled(false);
    Edit3->SetEnabled(false);
  }
  RedrawIRVCD();
}

void TForm1::IrBilFile(const std::string& fileName, int slot) {
  BilReadCount count;
  {
    TextFileLines file(fileName);
    count = ReadLineListBil(file, lineListColumn(store.IR, 1, slot),
                            lineListColumn(store.IR, 2, slot));
  }
  reportLinesNotLoaded(fileName, count);
  store.IRTITLE[slot] = ExtractFileName(fileName);
  store.IRACTIVE[slot] = computedSlot;
  CalculateCurveIR(slot);
  if (slot == 1) {
    PageControl1->SetActivePage(TabSheet5);
    N2ndSpectrum1->SetEnabled(true);
    IRSpectra->SetEnabled(true);
    AddVCDSpectrum->SetEnabled(true);
    SetCaption(fileName);
    Edit2->SetEnabled(false);
    Edit3->SetEnabled(false);
  }
  RedrawIRVCD();
}

// ---- Writers of slot 1 ----------------------------------------------------------

void TForm1::SaveCD1Click() {
  PresetSaveDialog(*SaveDialog1, Caption());
  Memo2->Clear();
  const bool normal = CheckBox3->Checked();
  const bool mirrored = CheckBox2->Checked();
  // With both boxes ticked the file holds the spectrum as computed.
  if (normal || mirrored) {
    if (Form2->RadioButton2->Checked()) Memo2->Add(CdBilHeaderLength);
    if (Form2->RadioButton1->Checked()) Memo2->Add(CdBilHeaderVelocity);
    addLines(*Memo2, WavelengthBilLines(slotSpan(store.ROTS, 1), /*mirrored*/ !normal));
  } else {
    ShowMessage(noCdSpectrumSelected);
    return;
  }
  SaveThroughDialog(*SaveDialog1, *Memo2, {FileNotSavedText});
}

void TForm1::SaveUV1Click() {
  PresetSaveDialog(*SaveDialog2, Caption());
  Memo2->Clear();
  if (Form2->RadioButton2->Checked()) Memo2->Add(UvBilHeaderLength);
  if (Form2->RadioButton1->Checked()) Memo2->Add(UvBilHeaderVelocity);
  addLines(*Memo2, WavelengthBilLines(slotSpan(store.OSC, 1), /*mirrored*/ false));
  SaveThroughDialog(*SaveDialog2, *Memo2, {FileNotSavedPlainText});
}

void TForm1::Saveorbil1Click() {
  PresetSaveDialog(*SaveDialog6, Caption());
  Memo2->Clear();
  const bool normal = CheckBox11->Checked();
  const bool mirrored = CheckBox12->Checked();
  if (!normal && !mirrored) {
    ShowMessage(noOrdSpectrumSelected);
    return;
  }
  Memo2->Add(BilMarker);
  addLines(*Memo2, PointBilLines(slotSpan(store.ORDCALCX, 1), slotSpan(store.ORDCALCY, 1),
                                 store.ORDDATAPTS[1], /*mirrored*/ !normal));
  SaveThroughDialog(*SaveDialog6, *Memo2, {FileNotSavedText});
}

void TForm1::MenuItem4Click() {
  PresetSaveDialog(*SaveDialog7, Caption());
  Memo2->Clear();
  bool mirrored = false;
  if (!ChosenVcdSpectrum(*this, mirrored)) return;
  Memo2->Add(VcdBilHeader);
  addLines(*Memo2, LineListBilLines(lineListColumn(store.VCD, 1, 1),
                                    lineListColumn(store.VCD, 2, 1), mirrored));
  SaveThroughDialog(*SaveDialog7, *Memo2, {FileNotSavedText});
}

void TForm1::saveIRBILClick() {
  PresetSaveDialog(*SaveDialog9, Caption());
  Memo2->Clear();
  if (!CheckBox19->Checked()) {
    ShowMessage(NoIrSpectrumSelectedText);
    return;
  }
  Memo2->Add(IrBilHeader);
  addLines(*Memo2, LineListBilLines(lineListColumn(store.IR, 1, 1),
                                    lineListColumn(store.IR, 2, 1), /*mirrored*/ false));
  SaveThroughDialog(*SaveDialog9, *Memo2, {FileNotSavedText});
}

bool ChosenVcdSpectrum(const TForm1& form, bool& mirrored) {
  const bool normal = form.CheckBox6->Checked();
  mirrored = form.CheckBox9->Checked();
  // The view controls keep exactly one of the two ticked; anything else
  // names no spectrum.
  if (normal == mirrored) {
    ShowMessage(NoVcdSpectrumSelectedText);
    return false;
  }
  return true;
}
