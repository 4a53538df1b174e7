#include "plots/plot_script.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/Main.h"
#include "display/ranges.h"
#include "files/save_flow.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "platform/process.h"
#include "plots/cdplotting.h"
#include "plots/irplotting.h"
#include "plots/uvplotting.h"
#include "plots/vcdplotting.h"
#include "settings/settings.h"

namespace {

// The texts of the settings windows enter a script only through these
// reads: labels and fonts made safe between double quotes, sizes numbers.
// The y ranges are checked where they are written.
std::string quotedEdit(const Edit& edit) { return QuotedText(edit.Text()); }

std::string sizeEdit(const Edit& edit, std::string_view layoutValue) {
  return SizeText(edit.Text(), std::string(layoutValue));
}

UvEcdWindowControls windowControls(const UvEcdGnuplotSettingsForm& window) {
  // Both windows have the layout values of the CD window.
  const auto& layout = CdTextSettings;
  UvEcdWindowControls c;
  c.Edit1 = quotedEdit(*window.Edit1);
  c.Edit7 = window.Edit7->Text();
  c.Edit8 = window.Edit8->Text();
  c.Edit9 = quotedEdit(*window.Edit9);
  c.Edit10 = quotedEdit(*window.Edit10);
  c.Edit11 = quotedEdit(*window.Edit11);
  c.Edit12 = sizeEdit(*window.Edit12, layout[1].layout);
  c.Edit13 = sizeEdit(*window.Edit13, layout[2].layout);
  c.Edit14 = sizeEdit(*window.Edit14, layout[3].layout);
  c.Edit15 = quotedEdit(*window.Edit15);
  c.Edit16 = sizeEdit(*window.Edit16, layout[5].layout);
  c.Edit17 = sizeEdit(*window.Edit17, layout[6].layout);
  c.Edit18 = sizeEdit(*window.Edit18, layout[7].layout);
  c.CheckBox1 = window.CheckBox1->Checked();
  c.CheckBox2 = window.CheckBox2->Checked();
  c.CheckBox3 = window.CheckBox3->Checked();
  c.CheckBox4 = window.CheckBox4->Checked();
  c.CheckBox5 = window.CheckBox5->Checked();
  c.CheckBox6 = window.CheckBox6->Checked();
  c.CheckBox7 = window.CheckBox7->Checked();
  c.CheckBox8 = window.CheckBox8->Checked();
  return c;
}

// A number of the main window without white space at its ends; other texts
// as typed, refused by NumberText where the script would hold them.
std::string numberEdit(const Edit& edit) {
  const std::string text = edit.Text();
  return TryStrToFloat(text) ? Trim(text) : text;
}

bool numericallyEqual(const std::string& a, const std::string& b) {
  const std::optional<double> x = TryStrToFloat(a);
  const std::optional<double> y = TryStrToFloat(b);
  return x && y && *x == *y;
}

bool isControl(unsigned char c) { return c < 32 || c == 127; }

// The characters gnuplot's enhanced text takes as markup.
bool isEnhancedMarkup(char c) {
  return c == '\\' || c == '{' || c == '}' || c == '^' || c == '_' || c == '@' || c == '&' || c == '~';
}

// The length of the UTF-8 sequence a lead byte opens, 0 for a byte that opens
// none.
int sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead < 0xE0) return 2;
  if (lead >= 0xE0 && lead < 0xF0) return 3;
  if (lead >= 0xF0 && lead < 0xF5) return 4;
  return 0;
}

// Writes `lines` to `path` through the line buffer; the file error of the
// writer names the file.
void saveLines(TForm1& form, const std::string& path, const std::vector<std::string>& lines) {
  form.Memo2->SetLines(lines);
  form.Memo2->SaveToFile(path);
}

struct PictureStamp {
  bool exists = false;
  std::filesystem::file_time_type time{};
};

PictureStamp stampOf(const std::string& path) {
  std::error_code error;
  PictureStamp stamp;
  stamp.time = std::filesystem::last_write_time(NativePath(path), error);
  stamp.exists = !error;
  return stamp;
}

bool newPictureWritten(const std::string& path, const PictureStamp& before) {
  std::error_code error;
  const auto size = std::filesystem::file_size(NativePath(path), error);
  if (error || size == 0) return false;
  const PictureStamp after = stampOf(path);
  return after.exists && (!before.exists || after.time != before.time);
}

IrVcdWindowControls windowControls(const IrVcdGnuplotSettingsForm& window) {
  // Both windows have the layout values of the VCD window.
  const auto& layout = VcdTextSettings;
  IrVcdWindowControls c;
  c.Edit1 = quotedEdit(*window.Edit1);
  c.Edit9 = quotedEdit(*window.Edit9);
  c.Edit10 = quotedEdit(*window.Edit10);
  c.Edit12 = sizeEdit(*window.Edit12, layout[1].layout);
  c.Edit14 = sizeEdit(*window.Edit14, layout[2].layout);
  c.CheckBox1 = window.CheckBox1->Checked();
  c.CheckBox4 = window.CheckBox4->Checked();
  c.CheckBox5 = window.CheckBox5->Checked();
  c.CheckBox6 = window.CheckBox6->Checked();
  return c;
}

}  // namespace

PlotControls ReadPlotControls(const TForm1& form) {
  PlotControls c;
  if (Form2 != nullptr) {
    c.gnuplotFolder = Form2->Edit1->Text();
    c.gnuplot5 = Form2->CheckBox1->Checked();
    c.lorentzian = Form2->RadioButton4->Checked();
  }
  c.wavenumberUnit = form.uvEcdUnit() == UvEcdUnit::Wavenumber;
  if (Form10 != nullptr) c.cd = windowControls(*Form10);
  if (Form11 != nullptr) c.uv = windowControls(*Form11);
  if (Form13 != nullptr) {
    c.vcd = windowControls(*Form13);
    c.vcd.CheckBox7 = Form13->CheckBox7->Checked();
  }
  if (Form15 != nullptr) c.ir = windowControls(*Form15);
  c.Edit2 = numberEdit(*form.Edit2);
  c.Edit3 = numberEdit(*form.Edit3);
  c.Edit4 = numberEdit(*form.Edit4);
  c.Edit5 = numberEdit(*form.Edit5);
  c.Edit12 = numberEdit(*form.Edit12);
  c.Edit13 = numberEdit(*form.Edit13);
  c.Edit31 = numberEdit(*form.Edit31);
  c.Edit32 = numberEdit(*form.Edit32);
  c.Edit35 = numberEdit(*form.Edit35);
  c.Edit36 = numberEdit(*form.Edit36);
  c.Edit20 = numberEdit(*form.Edit20);
  c.Edit21 = numberEdit(*form.Edit21);
  c.CheckBox1 = form.CheckBox1->Checked();
  c.CheckBox2 = form.CheckBox2->Checked();
  c.CheckBox3 = form.CheckBox3->Checked();
  c.CheckBox5 = form.CheckBox5->Checked();
  c.CheckBox8 = form.CheckBox8->Checked();
  c.CheckBox16 = form.CheckBox16->Checked();
  c.CheckBox11 = form.CheckBox11->Checked();
  c.CheckBox12 = form.CheckBox12->Checked();
  c.CheckBox13 = form.CheckBox13->Checked();
  c.RadioButton3 = form.RadioButton3->Checked();
  c.RadioButton4 = form.RadioButton4->Checked();
  c.Edit8 = numberEdit(*form.Edit8);
  c.Edit9 = numberEdit(*form.Edit9);
  c.Edit17 = numberEdit(*form.Edit17);
  c.Edit26 = numberEdit(*form.Edit26);
  c.Edit27 = numberEdit(*form.Edit27);
  c.Edit28 = numberEdit(*form.Edit28);
  c.Edit33 = numberEdit(*form.Edit33);
  c.Edit34 = numberEdit(*form.Edit34);
  c.CheckBox6 = form.CheckBox6->Checked();
  c.CheckBox9 = form.CheckBox9->Checked();
  c.CheckBox18 = form.CheckBox18->Checked();
  c.CheckBox19 = form.CheckBox19->Checked();
  c.Edit1 = numberEdit(*form.Edit1);
  c.Edit10 = numberEdit(*form.Edit10);
  c.CheckBox4 = form.CheckBox4->Checked();
  return c;
}

// ---- Number texts and guards -------------------------------------------------

std::string TicStepText(double step) {
  const long long whole = nint(step);
  if (whole > 0) return IntToStr(whole);
  const double magnitude = std::abs(step);
  if (magnitude == 0) return std::string();
  return FloatToStr(StrToFloat(FloatToStrF(magnitude, SignificantDecimals(magnitude, 0))));
}

std::string TicsLine(const std::string& prefix, double step) {
  const std::string text = TicStepText(step);
  return text.empty() ? prefix : prefix + " " + text;
}

int SignificantDecimals(double scale, int decimals) {
  const double magnitude = std::abs(scale);
  if (!(magnitude > 0) || !std::isfinite(magnitude)) return decimals;
  // Beyond 15 decimals the value is noise of a curve of zeros.
  const int needed = 1 - static_cast<int>(std::floor(std::log10(magnitude)));
  return std::clamp(needed, decimals, std::max(decimals, 15));
}

std::string RangeBoundText(double bound, double scale, int decimals) {
  return FloatToStrF(bound, SignificantDecimals(scale, decimals));
}

std::string RangeText(const std::string& lower, const std::string& upper) {
  if (!numericallyEqual(lower, upper)) return lower + ":" + upper;
  const double bound = StrToFloat(upper);
  return FloatToStrF(bound - 1, 2) + ":" + FloatToStrF(bound + 1, 2);
}

std::string SymmetricRangeText(double half) {
  return RangeText(RangeBoundText(-half, half, 2), RangeBoundText(half, half, 2));
}

std::string FromZeroRangeText(double half) { return RangeText("0", RangeBoundText(half, half, 2)); }

namespace {

double roundedTo(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::round(value * scale) / scale;
}

// The range lower:upper of bounds shown with `decimals` decimals, guarded as
// RangeText.
YRange rangeOf(double lower, double upper, int decimals, const std::string& text) {
  const double low = roundedTo(lower, decimals), high = roundedTo(upper, decimals);
  if (low != high) return {text, low, high};
  return {text, high - 1, high + 1};
}

}  // namespace

YRange SymmetricRange(double half) {
  return rangeOf(-half, half, SignificantDecimals(half, 2), SymmetricRangeText(half));
}

YRange FromZeroRange(double half) { return rangeOf(0, half, SignificantDecimals(half, 2), FromZeroRangeText(half)); }

double TicStepValue(double step) {
  const long long whole = nint(step);
  if (whole > 0) return static_cast<double>(whole);
  const double magnitude = std::abs(step);
  if (magnitude == 0) return 0;
  return roundedTo(magnitude, SignificantDecimals(magnitude, 0));
}

double TwoDigitValue(double value) {
  if (value == 0 || !std::isfinite(value)) return value;
  const double power = std::pow(10.0, std::floor(std::log10(std::abs(value))));
  return std::round(value / power * 10) / 10 * power;
}

std::string FactorText(double factor, int decimals) {
  const std::string fixed = FloatToStrF(factor, decimals);
  if (factor != 0 && SignificantDecimals(factor, 0) + 1 > decimals) return FloatToStr(factor);
  return fixed;
}

double FactorValue(double factor, int decimals) {
  if (factor != 0 && SignificantDecimals(factor, 0) + 1 > decimals) return factor;
  const double scale = std::pow(10.0, decimals);
  return std::round(factor * scale) / scale;
}

double PowerLabelStep(double step) {
  const double magnitude = std::abs(step);
  if (!(magnitude > 0) || !std::isfinite(magnitude)) return step;
  const double unit = std::pow(10.0, std::floor(std::log10(magnitude)) - 1);
  // A hair of tolerance, so that 2.6E4 stays 2.6E4 in binary.
  const double rounded = std::floor(magnitude / unit + 1e-9) * unit;
  return std::copysign(rounded, step);
}

int MantissaDecimals(double lower, double upper, double step) {
  step = std::abs(step);
  if (!(step > 0) || !std::isfinite(step) || !(lower <= upper)) return 0;
  const double first = std::ceil(lower / step - 1e-9);
  const double last = std::floor(upper / step + 1e-9);
  // Enough tics to judge by; a range of thousands of tics is no axis to label.
  const double end = std::min(last, first + 100);
  for (int decimals = 0; decimals < 3; ++decimals) {
    bool close = true;
    for (double k = first; k <= end && close; ++k) {
      const double value = k * step;
      if (std::abs(value) < step * 1e-6) continue;
      const double power = std::pow(10.0, std::floor(std::log10(std::abs(value))));
      const double mantissa = value / power;
      const double shown = StrToFloat(FloatToStrF(mantissa, decimals));
      close = std::abs(shown - mantissa) <= 0.01 * std::abs(mantissa);
    }
    if (close) return decimals;
  }
  return 3;
}

std::vector<std::string> PowerLabelLines(const std::string& axis, int decimals, const std::string& exponent,
                                         char quote) {
  const std::string q(1, quote);
  return {"set format " + axis + " " + q + "%." + IntToStr(decimals) + "t{/Symbol \\327}10^{" + exponent +
              "}" + q,
          "set " + axis + "tics add (\"0\" 0)"};
}

// ---- Typed texts -----------------------------------------------------------------

std::string QuotedText(const std::string& text) {
  std::string quoted;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '`') {
      quoted += "\\140";
    } else if (c == '"') {
      quoted += "\\\"";
    } else if (isControl(static_cast<unsigned char>(c))) {
      quoted += ' ';
    } else if (c != '\\') {
      quoted += c;
    } else if (i + 1 < text.size() && text[i + 1] == '"') {
      // A typed \" is the quote it escapes.
      quoted += "\\\"";
      ++i;
    } else if (i + 1 < text.size() && text[i + 1] != '`' && !isControl(static_cast<unsigned char>(text[i + 1]))) {
      // An escape as typed: \327, \\, \n.
      quoted += c;
      quoted += text[++i];
    } else {
      // A backslash before the end, a backquote or a control character
      // would swallow what follows it: it stands for itself.
      quoted += "\\\\";
    }
  }
  return quoted;
}

std::string NumberText(const std::string& text) {
  StrToFloat(text);
  return Trim(text);
}

std::string SizeText(const std::string& text, const std::string& fallback) {
  return TryStrToFloat(text) ? Trim(text) : fallback;
}

std::string UserRangeText(const std::string& range) {
  std::string bounds = Trim(range);
  if (!bounds.empty() && bounds.front() == '[') bounds.erase(0, 1);
  if (!bounds.empty() && bounds.back() == ']') bounds.pop_back();
  const size_t colon = bounds.find(':');
  const auto isBound = [](const std::string& bound) {
    const std::string b = Trim(bound);
    return b.empty() || b == "*" || TryStrToFloat(b).has_value();
  };
  if (colon == std::string::npos || !isBound(bounds.substr(0, colon)) || !isBound(bounds.substr(colon + 1)))
    throw EConvertError("\"" + range + "\"" + UserRangeRefusal);
  return Trim(range);
}

// ---- Names ---------------------------------------------------------------------

std::string GnuplotString(const std::string& text) {
  std::string quoted(1, '\'');
  for (char c : text) {
    quoted += c;
    if (c == '\'') quoted += c;
  }
  quoted += '\'';
  return quoted;
}

std::string Latin1Text(const std::string& utf8) {
  std::string text;
  size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int length = sequenceLength(lead);
    bool whole = length > 0 && i + static_cast<size_t>(length) <= utf8.size();
    for (int k = 1; whole && k < length; ++k)
      whole = (static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]) & 0xC0) == 0x80;
    if (!whole) {
      text += '?';
      ++i;
      continue;
    }
    if (length == 1) {
      text += static_cast<char>(lead);
    } else if (length == 2) {
      // Two bytes from C2 and C3 hold the code points 80 to FF.
      const auto next = static_cast<unsigned char>(utf8[i + 1]);
      text += lead <= 0xC3 ? static_cast<char>(((lead & 0x1F) << 6) | (next & 0x3F)) : '?';
    } else {
      text += '?';
    }
    i += static_cast<size_t>(length);
  }
  return text;
}

std::string LegendName(const std::string& title) {
  std::string shown;
  for (char c : Latin1Text(ShrinkFileName(title))) {
    if (isControl(static_cast<unsigned char>(c))) continue;
    if (isEnhancedMarkup(c)) shown += '\\';
    shown += c;
  }
  return shown;
}

DataFileNames::DataFileNames(const std::string& scriptFileName)
    : base_(PictureBaseName(scriptFileName)) {}

std::string DataFileNames::take() {
  ++taken_;
  return base_ + "-" + IntToStr(taken_);
}

// ---- Plot lines ------------------------------------------------------------------

std::vector<std::string> JoinPlotEntries(const std::vector<PlotEntry>& entries,
                                         const std::string& indent) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < entries.size(); ++i) {
    const bool last = i + 1 == entries.size();
    const PlotEntry& entry = entries[i];
    std::string line = i == 0 ? "plot " : indent;
    line += last && !entry.lastText.empty() ? entry.lastText : entry.text;
    if (!last) line += ContinuationMark;
    lines.push_back(std::move(line));
  }
  return lines;
}

// ---- Data files ------------------------------------------------------------------

std::string KeyLine(Picture picture, bool inside) {
  if (picture == Picture::Eps)
    return inside ? R"(set key right top Left reverse samplen 1 spacing 1.25 title "" nobox)"
                  : R"(set key right top Left outside reverse samplen 1 spacing 1.25 title "" nobox)";
  return inside ? R"(set key right Left top reverse samplen 1 spacing 1.25 title "" nobox)"
                : R"(set key right Left top outside reverse samplen 1 spacing 1.25 title "" nobox)";
}

void EpsLineStyles(std::vector<std::string>& lines, bool gnuplot5) {
  const std::string width = gnuplot5 ? " lw 2" : " lw 4";
  const char* types[] = {"1", "7", "2", "5", "4", "3"};
  for (int i = 0; i < 6; ++i) lines.push_back("set style line " + IntToStr(i + 1) + " lt " + types[i] + width);
}

std::string DataLine(std::string x, std::string y) {
  TForm1::KommaZuPunkt(x);
  TForm1::KommaZuPunkt(y);
  x += '\t';
  x += y;
  return x;
}

std::vector<std::string> GridDataLines(std::span<const double> band, bool wavenumberUnit,
                                       double sign) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(MAXLAMBDA - MINLAMBDA + 1));
  for (long bin = MINLAMBDA; bin <= MAXLAMBDA; ++bin) {
    const double value = band[static_cast<size_t>(bin - MINLAMBDA)];
    const std::string x = wavenumberUnit ? IntToStr(nint(1.0e8 / static_cast<double>(bin)))
                                         : FloatToStr(static_cast<double>(bin) / 10);
    lines.push_back(DataLine(x, FloatToStrF(sign * value, 6)));
  }
  return lines;
}

std::vector<std::string> MeasuredDataLines(std::span<const double> x, std::span<const double> y,
                                           int count, bool wavenumberUnit, double sign) {
  std::vector<std::string> lines;
  const size_t points = std::min({static_cast<size_t>(std::max(count, 0)), x.size(), y.size()});
  lines.reserve(points);
  for (size_t p = 0; p < points; ++p) {
    const std::string xText = wavenumberUnit ? FloatToStrWhole(1.0e7 / x[p]) : FloatToStr(x[p]);
    lines.push_back(DataLine(xText, FloatToStrF(sign * y[p], 6)));
  }
  return lines;
}

// ---- Saving and rendering --------------------------------------------------------

std::string ChooseScriptPath(TForm1& form) {
  return ChooseScriptFile(*form.SaveDialog5, form.Caption(), ScriptSaveWording{});
}

std::string ChooseHplcScriptPath(TForm1& form) {
  return ChooseScriptFile(*form.SaveDialog5, form.Caption(),
                          ScriptSaveWording{FileNotSavedPlainText, /*plainNoticeAfterRefusal*/ false});
}

void SavePlotScript(TForm1& form, const std::string& scriptPath, const PlotScript& script) {
  const std::string folder = ExtractFilePath(scriptPath);
  for (const DataFile& file : script.dataFiles) saveLines(form, folder + file.name, file.lines);
  saveLines(form, scriptPath, script.lines);
  ShowMessage(FileSavedText);
}

void RunPageExport(TForm1& form, const PlotControls& controls, const PageExport& page) {
  form.Memo2->Clear();
  if (page.identicalNames) ShowMessage(IdenticalCurveNamesText);
  if (page.identicalNames || !page.drawsSomething) {
    ShowMessage(PlottingCanceledText);
    page.determineRange();
    return;
  }
  const std::string path = ChooseScriptPath(form);
  if (!path.empty()) {
    SavePlotScript(form, path, page.build(ExtractFileName(path)));
    RunGnuplot(controls.gnuplotFolder, path, page.pictureEnding);
  }
  page.determineRange();
}

std::string PictureBaseName(const std::string& scriptPath) {
  const std::string name = ExtractFileName(scriptPath);
  return name.size() >= 4 ? name.substr(0, name.size() - 4) : std::string();
}

std::string GnuplotFailureLine(const std::string& scriptName, const std::string& errorOutput) {
  const std::string scriptMark = "\"" + scriptName + "\" line ";
  std::string firstNonBlank;
  size_t start = 0;
  while (start < errorOutput.size()) {
    size_t end = errorOutput.find('\n', start);
    if (end == std::string::npos) end = errorOutput.size();
    const std::string line = TrimRight(errorOutput.substr(start, end - start));
    start = end + 1;
    if (firstNonBlank.empty() && !Trim(line).empty()) firstNonBlank = Trim(line);
    if (line.rfind(scriptMark, 0) != 0) continue;
    const size_t colon = line.find(':', scriptMark.size());
    if (colon == std::string::npos) continue;
    if (TrimLeft(line.substr(colon + 1)).rfind("warning:", 0) == 0) continue;
    return line;
  }
  return firstNonBlank.empty() ? std::string("no picture was written") : firstNonBlank;
}

bool RunGnuplot(const std::string& gnuplotFolder, const std::string& scriptPath,
                const std::string& pictureEnding) {
  const std::string gnuplot = GnuplotExecutable(gnuplotFolder);
  if (gnuplot.empty()) {
    ShowMessage("gnuplot not found in \"" + gnuplotFolder + "\" or on PATH; \"" + scriptPath +
                "\" was not rendered");
    return false;
  }
  const std::string folder = ExtractFilePath(scriptPath);
  const std::string scriptName = ExtractFileName(scriptPath);
  const std::string picture = folder + PictureBaseName(scriptPath) + pictureEnding;
  const PictureStamp before = stampOf(picture);
  std::string errorOutput;
  int exitCode = 0;
  try {
    exitCode = RunAndCapture(gnuplot, scriptName, folder, errorOutput);
  } catch (const EInOutError& error) {
    errorOutput = error.Message();
    exitCode = -1;
  }
  if (exitCode == 0 && newPictureWritten(picture, before)) return true;
  ShowMessage("gnuplot could not render \"" + scriptPath +
              "\": " + GnuplotFailureLine(scriptName, errorOutput));
  return false;
}
