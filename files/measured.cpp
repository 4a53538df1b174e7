// Measured spectra and chromatograms: the plain parsing, then the main
// window's seven readers (a file into a slot, drawn as read).
#include "files/measured.h"

#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

#include "app/Main.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "plots/cdplotting.h"

const char* const MolarCdAxisTitle = "{/Symbol De} [M^{-1}{/Symbol \\327}cm^{-1}]";
const char* const MdegCdAxisTitle = "CD[mdeg]";

namespace {

const char* const measuredSlot = "exp";
const char* const computedSlot = "calc";

bool contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

// The lines of a file with the last line read, as the readers walk them. A
// read past the end gives an empty line.
class LineCursor {
 public:
  explicit LineCursor(TextFileLines& file) : file_(file) {}
  bool atEnd() { return file_.eof(); }
  const std::string& read() {
    file_.readLine(last_);
    return last_;
  }
  const std::string& last() const { return last_; }
  // Back to line 1; the last line read stays what it was.
  void rewind() { file_.rewind(); }

 private:
  TextFileLines& file_;
  std::string last_;
};

// The text after the first `separator`, or all of it when there is none.
std::string afterFirst(const std::string& text, char separator) {
  const size_t at = text.find(separator);
  return at == std::string::npos ? text : text.substr(at + 1);
}
// The text before the first `separator`, or all of it when there is none.
std::string beforeFirst(const std::string& text, char separator) {
  const size_t at = text.find(separator);
  return at == std::string::npos ? text : text.substr(0, at);
}

// The second TAB field: a run of TABs with white space around it separates
// like one TAB.
std::string secondTabField(const std::string& line) {
  return Trim(beforeFirst(TrimLeft(afterFirst(line, '\t')), '\t'));
}
std::string thirdTabField(const std::string& line) {
  return secondTabField(TrimLeft(afterFirst(line, '\t')));
}

std::optional<double> numberField(std::string field) {
  TForm1::KommaZuPunkt(field);
  return DecimalNumberField(field);
}

double strictNumber(std::string field) {
  TForm1::KommaZuPunkt(field);
  return StrToFloat(field);
}

void clear(std::span<double> xs, std::span<double> ys) {
  std::fill(xs.begin(), xs.end(), 0.0);
  std::fill(ys.begin(), ys.end(), 0.0);
}

// Walks the header. Returns false for a headed file that has no "XYDATA"
// line; the cursor then stands at the end of the file.
bool skipHeader(LineCursor& cursor, MeasuredKind kind, bool& headed,
                std::optional<std::string>& cdAxisTitle) {
  cursor.read();
  headed = contains(cursor.last(), "TITLE");
  if (headed && kind == MeasuredKind::Uv) {
    // Eighteen header lines, whatever they hold.
    for (int line = 2; line <= 18; ++line) cursor.read();
  } else if (headed) {
    while (!contains(cursor.last(), "XYDATA")) {
      if (cursor.atEnd()) return false;
      const std::string& line = cursor.read();
      if (kind == MeasuredKind::Ecd) {
        if (contains(line, "Mol. CD")) cdAxisTitle = MolarCdAxisTitle;
        if (contains(line, "CD[mdeg]") || contains(line, "CD/DC[mdeg]"))
          cdAxisTitle = MdegCdAxisTitle;
      }
    }
  } else if (kind == MeasuredKind::Ecd || kind == MeasuredKind::Uv) {
    // No header: line 1 is data. VCD and IR files always begin with a
    // header line.
    cursor.rewind();
  }
  return true;
}

}  // namespace

// ---- Plain parsing -------------------------------------------------------------

MeasuredRead ReadMeasuredSpectrum(TextFileLines& file, MeasuredKind kind, std::span<double> xs,
                                  std::span<double> ys) {
  clear(xs, ys);
  MeasuredRead result;
  LineCursor cursor(file);
  bool headed = false;
  if (!skipHeader(cursor, kind, headed, result.cdAxisTitle)) {
    result.noDataMarker = true;
    return result;
  }
  // JASCO files (headed VCD and IR) carry the value in a TAB column of
  // their own.
  const bool jasco = headed && (kind == MeasuredKind::Vcd || kind == MeasuredKind::Ir);

  char separator = '\t';
  if (contains(cursor.last(), ";")) {
    separator = ';';
    cursor.read();
    if (contains(cursor.last(), ";;")) cursor.read();
  }

  const size_t capacity = std::min(xs.size(), ys.size());
  size_t point = 0;  // index of the next point
  while (!cursor.atEnd() && !cursor.last().empty()) {
    const std::string& raw = cursor.read();
    if (raw.empty()) break;
    if (point == capacity) {
      // A slot is full: the rest of the file, however long, stays unread.
      result.full = true;
      break;
    }
    const std::string line = TrimLeft(raw);
    const std::string xField = Trim(beforeFirst(line, separator));
    const std::string rest = afterFirst(line, separator);
    std::string yField;
    if (jasco && kind == MeasuredKind::Vcd)
      yField = thirdTabField(line);
    else if (jasco)
      yField = secondTabField(line);
    else if (kind == MeasuredKind::Uv)
      yField = separator == '\t' ? Trim(rest) : beforeFirst(rest, ';');
    else
      yField = separator == '\t' ? Trim(beforeFirst(TrimLeft(rest), '\t'))
                                 : beforeFirst(rest, ';');

    const std::optional<double> x = numberField(xField);
    if (kind == MeasuredKind::Uv) {
      if (!x) {
        ++result.errors;
        continue;
      }
      if (*x < 100.0 || *x > 4000.0) continue;
    }
    if (x)
      xs[point] = *x;
    else
      ++result.errors;
    if (const std::optional<double> y = numberField(yField))
      ys[point] = *y;
    else
      ++result.errors;
    ++point;
  }
  result.points = static_cast<int>(point);
  return result;
}

void StoreDescending(std::span<double> xs, std::span<double> ys, int count) {
  const size_t n = std::min({static_cast<size_t>(std::max(count, 0)), xs.size(), ys.size()});
  if (n < 2 || !(xs[n - 1] > xs[0])) return;
  std::reverse(xs.begin(), xs.begin() + static_cast<long>(n));
  std::reverse(ys.begin(), ys.begin() + static_cast<long>(n));
}

MeasuredRead ReadMeasuredOrd(TextFileLines& file, std::span<double> xs, std::span<double> ys) {
  clear(xs, ys);
  MeasuredRead result;
  LineCursor cursor(file);
  bool headed = false;
  // The ORD header is walked as the ECD one (a file without header is read
  // from line 1); its axis titles are for ECD only, and ORD knows no ';'.
  std::optional<std::string> unusedTitle;
  if (!skipHeader(cursor, MeasuredKind::Ecd, headed, unusedTitle)) {
    result.noDataMarker = true;
    return result;
  }
  const size_t capacity = std::min(xs.size(), ys.size());
  size_t point = 0;
  while (!cursor.atEnd()) {
    const std::string& line = cursor.read();
    if (line.empty()) continue;
    if (point == capacity) {
      result.full = true;
      break;
    }
    NamingTheLine(file, [&] {
      xs[point] = strictNumber(Trim(beforeFirst(line, '\t')));
      ys[point] = strictNumber(secondTabField(line));
    });
    ++point;
  }
  result.points = static_cast<int>(point);
  return result;
}

MeasuredRead ReadChromatogram(TextFileLines& file, std::span<double> times,
                              std::span<double> signals) {
  clear(times, signals);
  MeasuredRead result;
  std::string line;
  if (!file.readLine(line)) return result;
  char separator = ',';
  if (contains(line, "Time\tValue"))
    separator = '\t';
  else if (contains(line, "Time;Value"))
    separator = ';';
  const size_t capacity = std::min(times.size(), signals.size());
  size_t point = 0;
  while (file.readLine(line)) {
    if (line.size() < 3) continue;
    if (point == capacity) {
      result.full = true;
      break;
    }
    // The signal is all text after the first separator.
    NamingTheLine(file, [&] {
      times[point] = strictNumber(beforeFirst(line, separator));
      signals[point] = strictNumber(afterFirst(line, separator));
    });
    ++point;
  }
  result.points = static_cast<int>(point);
  return result;
}

std::string MeasuredErrorsMessage(int count) {
  return std::to_string(count) + " Error(s) occured, please check the file!";
}

std::string MeasuredFullMessage(const std::string& fileName, int capacity) {
  return fileName + ": a curve holds at most " + std::to_string(capacity) +
         " points; the rest of the file was not loaded.";
}

std::string NoDataMarkerMessage(const std::string& fileName) {
  return fileName + ": no line with XYDATA found, no point loaded.";
}

std::string NoPointReadMessage(const std::string& fileName) {
  return fileName + ": no point read from the file, the curve is empty.";
}

// ---- Readers of the main window ------------------------------------------------

namespace {

template <class Grid>
std::span<double> slotSpan(Grid& grid, int slot) {
  // The slot's first point checks the slot against the store's bounds.
  return {&grid(Grid::low, slot), static_cast<size_t>(Grid::size)};
}

void reportRead(const std::string& fileName, const MeasuredRead& read, int capacity) {
  if (read.errors > 0) ShowMessage(MeasuredErrorsMessage(read.errors));
  if (read.noDataMarker)
    ShowMessage(NoDataMarkerMessage(ExtractFileName(fileName)));
  else if (read.points == 0)
    // Every line outside the reader's range looks like a load that worked.
    ShowMessage(NoPointReadMessage(ExtractFileName(fileName)));
  if (read.full) ShowMessage(MeasuredFullMessage(ExtractFileName(fileName), capacity));
}

// The slot of one measured kind, as the four spectrum readers fill it.
struct MeasuredSlots {
  Grid2<1, 10000, 5>& x;
  Grid2<1, 10000, 5>& y;
  SlotCounts& count;
  SlotTexts& state;
  SlotTexts& title;
};

// Reads, counts and orders the points of a slot; the caller does the
// controls and the redraw.
void readMeasuredInto(const std::string& fileName, TextFileLines& file, MeasuredKind kind,
                      MeasuredSlots slots, int slot, MeasuredRead& read) {
  const std::span<double> xs = slotSpan(slots.x, slot);
  const std::span<double> ys = slotSpan(slots.y, slot);
  read = ReadMeasuredSpectrum(file, kind, xs, ys);
  reportRead(fileName, read, MeasuredSpectrumCapacity);
  slots.count[slot] = read.points;
  slots.state[slot] = measuredSlot;
  slots.title[slot] = ExtractFileName(fileName);
  StoreDescending(xs, ys, read.points);
}

}  // namespace

void TForm1::CDXY(const std::string& fileName, int slot) {
  if (slot == 1) SetCaption(ExtractFileName(fileName));
  TextFileLines file(fileName);
  // A measured curve beside a computed one: the computed curve's title moves
  // to the second y axis.
  if (slot > 1 && store.CDACTIVE[1] == computedSlot && Form10 != nullptr) {
    Form10->Edit11->SetText(Form10->Edit10->Text());
    Form10->Edit10->SetText(MdegCdAxisTitle);
  }
  MeasuredRead read;
  readMeasuredInto(fileName, file, MeasuredKind::Ecd,
                   {store.EXPCDX, store.EXPCDY, store.CDDATAPTS, store.CDACTIVE, store.CDTITLE},
                   slot, read);
  if (read.cdAxisTitle && Form10 != nullptr) Form10->Edit10->SetText(*read.cdAxisTitle);
  if (slot == 1) {
    for (Control* control : std::initializer_list<Control*>{
             CheckBox1, CheckBox2, CheckBox3, CheckBox5, Edit2, Edit3, SaveCD1, Savexy1})
      control->SetEnabled(false);
    N2ndSpectrum1->SetEnabled(true);
    CDspectra1->SetEnabled(true);
    AddUVSpectrum1->SetEnabled(true);
    PageControl1->SetActivePage(TabSheet1);
  }
  RedrawUVCD();
}

void TForm1::UVXY(const std::string& fileName, int slot) {
  if (slot == 1) SetCaption(ExtractFileName(fileName));
  TextFileLines file(fileName);
  MeasuredRead read;
  readMeasuredInto(fileName, file, MeasuredKind::Uv,
                   {store.EXPUVX, store.EXPUVY, store.UVDATAPTS, store.UVACTIVE, store.UVTITLE},
                   slot, read);
  if (slot == 1) {
    for (Control* control :
         std::initializer_list<Control*>{CheckBox3, CheckBox5, Edit2, Edit3, SaveUV1, Savexy2})
      control->SetEnabled(false);
    N2ndSpectrum1->SetEnabled(true);
    UVspectra1->SetEnabled(true);
    AddCDspectrum1->SetEnabled(true);
    PageControl1->SetActivePage(TabSheet1);
  }
  RedrawUVCD();
}

void TForm1::VCDXY(const std::string& fileName, int slot) {
  if (slot == 1) SetCaption(ExtractFileName(fileName));
  TextFileLines file(fileName);
  MeasuredRead read;
  readMeasuredInto(
      fileName, file, MeasuredKind::Vcd,
      {store.EXPVCDX, store.EXPVCDY, store.VCDDATAPTS, store.VCDACTIVE, store.VCDTITLE}, slot,
      read);
  if (slot == 1) {
    for (Control* control : std::initializer_list<Control*>{CheckBox6, CheckBox9, Edit2, Edit3,
                                                            Edit26, MenuItem6, MenuItem4})
      control->SetEnabled(false);
    Edit17->SetEnabled(true);
    N2ndSpectrum1->SetEnabled(true);
    VCDspectra->SetEnabled(true);
    AddIrSpectrum->SetEnabled(true);
    PageControl1->SetActivePage(TabSheet5);
  }
  RedrawIRVCD();
}

void TForm1::IRXY(const std::string& fileName, int slot) {
  if (slot == 1) SetCaption(ExtractFileName(fileName));
  TextFileLines file(fileName);
  MeasuredRead read;
  readMeasuredInto(fileName, file, MeasuredKind::Ir,
                   {store.EXPIRX, store.EXPIRY, store.IRDATAPTS, store.IRACTIVE, store.IRTITLE},
                   slot, read);
  if (slot == 1) {
    for (Control* control : std::initializer_list<Control*>{CheckBox19, CheckBox17, Edit2, Edit3,
                                                            Edit26, saveIRBIL, saveIRxy})
      control->SetEnabled(false);
    Edit17->SetEnabled(true);
    N2ndSpectrum1->SetEnabled(true);
    IRSpectra->SetEnabled(true);
    AddVCDSpectrum->SetEnabled(true);
    PageControl1->SetActivePage(TabSheet5);
  }
  RedrawIRVCD();
}

void TForm1::ORDXY(const std::string& fileName, int slot) {
  if (slot == 1) SetCaption(ExtractFileName(fileName));
  TextFileLines file(fileName);
  // A number that does not convert ends the load here, before the slot's
  // count, state and title change.
  const MeasuredRead read =
      ReadMeasuredOrd(file, slotSpan(store.EXPORDX, slot), slotSpan(store.EXPORDY, slot));
  reportRead(fileName, read, MeasuredOrdCapacity);
  store.ORDTITLE[slot] = ExtractFileName(fileName);
  store.ORDDATAPTS[slot] = read.points;
  store.ORDACTIVE[slot] = measuredSlot;
  if (slot == 1) {
    CheckBox11->SetEnabled(false);
    CheckBox12->SetEnabled(false);
    Edit2->SetEnabled(false);
  }
  Edit3->SetEnabled(false);
  N2ndSpectrum1->SetEnabled(true);
  PageControl1->SetActivePage(TabSheet4);
  if (slot == 1)
    DrawXYORD();
  else
    AddXYORD(slot);
}

namespace {
enum class Detector { Uv, Cd };

// The two chromatogram readers differ only in their flag and in the 3D plot
// button, which only UV traces have.
void readChromatogramInto(TForm1& form, const std::string& fileName, int slot,
                                 Detector detector) {
  Store& store = form.store;
  store.HPLCDATAPTS[slot] = 0;
  const CalculatingShown calculating(*form.Label4);
  form.SetCaption(fileName);
  TextFileLines file(fileName);
  const MeasuredRead read =
      ReadChromatogram(file, slotSpan(store.HPLCX, slot), slotSpan(store.HPLCY, slot));
  store.HPLCDATAPTS[slot] = read.points;
  store.HPLCTITLE[slot] = ExtractFileName(fileName);
  reportRead(fileName, read, ChromatogramCapacity);
  if (slot == 1) {
    // A trace without points leaves the time window as it was.
    if (read.points > 0) {
      form.Edit1->SetText(FloatToStr(store.HPLCX(1, 1)));
      form.Edit10->SetText(FloatToStr(store.HPLCX(read.points, 1)));
    }
    if (detector == Detector::Uv) {
      for (Control* control : std::initializer_list<Control*>{
               form.Button1, form.Edit4, form.Edit5, form.Label5, form.CheckBox1, form.CheckBox2,
               form.CheckBox3, form.CheckBox5})
        control->SetEnabled(false);
      form.Button15->SetEnabled(true);
    }
    for (Control* control : std::initializer_list<Control*>{form.Edit1, form.Edit10, form.Label1,
                                                            form.Button3, form.Button8})
      control->SetEnabled(true);
  }
  // A slot holds one trace: the other detector's flag goes.
  store.HPLC_UV[slot] = detector == Detector::Uv;
  store.HPLC_CD[slot] = detector == Detector::Cd;
  form.N2ndSpectrum1->SetEnabled(true);
  form.PageControl1->SetActivePage(form.TabSheet3);
  form.DetermineHPLCRange();
  form.DrawHPLC();
  for (int k = 2; k <= slot; ++k) form.AddHPLC(k);
}
}  // namespace

bool TForm1::ChromatogramDrawsNothing(const std::string& fileName) {
  std::vector<double> times(static_cast<size_t>(ChromatogramCapacity));
  std::vector<double> signals(times.size());
  MeasuredRead read;
  {
    TextFileLines file(fileName);
    read = ReadChromatogram(file, times, signals);
  }
  if (read.points > 0) return false;
  reportRead(fileName, read, ChromatogramCapacity);
  return true;
}

void TForm1::HPLCUV(const std::string& fileName, int slot) {
  readChromatogramInto(*this, fileName, slot, Detector::Uv);
}

void TForm1::HPLCCD(const std::string& fileName, int slot) {
  readChromatogramInto(*this, fileName, slot, Detector::Cd);
}
