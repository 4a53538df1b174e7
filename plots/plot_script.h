// The exporter core that every publication plot shares: the snapshot of the
// controls a script is written from, the number texts and guards of its
// lines, the names of its data files, the joining of its plot lines, the
// data-file writer, the save flow and the run of gnuplot.
//
// The script builders are plain functions from the curve slots and a
// snapshot of controls to a `PlotScript`; the button handlers take the
// snapshot, call a builder, save what it made and run gnuplot.
#pragma once

#include <functional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "store/Store.h"

class TForm1;

// ---- The controls a script is written from ---------------------------------

// The controls of the CD or UV gnuplot settings window, under their own names.
struct UvEcdWindowControls {
  std::string Edit1;   // EPS font
  std::string Edit7;   // y1 range
  std::string Edit8;   // y2 range
  std::string Edit9;   // x-axis label
  std::string Edit10;  // y1-axis label
  std::string Edit11;  // y2-axis label
  std::string Edit12;  // EPS terminal size
  std::string Edit13;  // EPS axis-label size
  std::string Edit14;  // EPS key size
  std::string Edit15;  // PNG font
  std::string Edit16;  // PNG terminal size
  std::string Edit17;  // PNG axis-label size
  std::string Edit18;  // PNG key size
  bool CheckBox1 = false;  // "squared plot"
  bool CheckBox2 = false;  // "use second y axis"
  bool CheckBox3 = false;  // "user-defined yranges"
  bool CheckBox4 = false;  // "no band width and shift"
  bool CheckBox5 = false;  // "legend inside the plot"
  bool CheckBox6 = false;  // "tics inside"
  bool CheckBox7 = false;  // CD "zeroline dotted", UV "convert to eV"
  bool CheckBox8 = false;  // "transparent png"
};

// The controls of the VCD or IR gnuplot settings window.
struct IrVcdWindowControls {
  std::string Edit1;   // font
  std::string Edit9;   // x-axis label
  std::string Edit10;  // y-axis label
  std::string Edit12;  // terminal and axis-label size
  std::string Edit14;  // key and label size
  bool CheckBox1 = false;  // "overlay plot"
  bool CheckBox4 = false;  // "no gamma and scaling"
  bool CheckBox5 = false;  // "format y 'x10^x'"
  bool CheckBox6 = false;  // "tics inside"
  bool CheckBox7 = false;  // VCD "add zeroline"; the IR window has none
};

struct PlotControls {
  // Settings window.
  std::string gnuplotFolder;  // TForm2.Edit1
  bool gnuplot5 = false;      // TForm2.CheckBox1 "Gnuplot 5.x"
  bool lorentzian = false;    // TForm2.RadioButton4
  bool wavenumberUnit = false;  // TForm2.RadioButton6 alone
  UvEcdWindowControls cd;     // TForm10
  UvEcdWindowControls uv;     // TForm11
  IrVcdWindowControls vcd;    // TForm13
  IrVcdWindowControls ir;     // TForm15
  // Main window.
  std::string Edit2, Edit3, Edit4, Edit5, Edit12, Edit13, Edit31, Edit32, Edit35, Edit36;
  std::string Edit20, Edit21;
  bool CheckBox1 = false;   // bars of curve 1
  bool CheckBox2 = false;   // "enantiomeric ECD"
  bool CheckBox3 = false;   // "normal ECD"
  bool CheckBox5 = false;   // "UV"
  bool CheckBox8 = false;   // "auto scaling"
  bool CheckBox16 = false;  // "multiplot"
  bool CheckBox11 = false;  // "normal ORD"
  bool CheckBox12 = false;  // "mirrored ORD"
  bool CheckBox13 = false;  // "connect points"
  bool RadioButton3 = false;  // "molar ORD"
  bool RadioButton4 = false;  // "relative ORD"
  // IR/VCD page.
  std::string Edit8, Edit9, Edit17, Edit26, Edit27, Edit28, Edit33, Edit34;
  bool CheckBox6 = false;   // "normal VCD"
  bool CheckBox9 = false;   // "enantiomeric VCD"
  bool CheckBox18 = false;  // "auto scaling (y)"
  bool CheckBox19 = false;  // "IR"
  // HPLC page.
  std::string Edit1, Edit10;
  bool CheckBox4 = false;  // "auto scaling"
};

// The controls as they stand now (the settings windows through their globals).
PlotControls ReadPlotControls(const TForm1& form);

// ---- Number texts and guards -----------------------------------------------

// A tic step: the whole number when it is above 0; otherwise its magnitude
// with two significant digits in the general form, so that a small or
// negative step still gives a few tidy tics; "" (no step at all) for a step
// of exactly 0.
std::string TicStepText(double step);
// `prefix` followed by one blank and the step, or `prefix` alone without one.
std::string TicsLine(const std::string& prefix, double step);

// The decimals that show `scale` with at least two significant digits, and
// never fewer than `decimals`: 2 for 0.88 or 13.75, 5 for 0.00088.
int SignificantDecimals(double scale, int decimals);
// A range bound in the fixed form with `decimals` decimals, or with as many
// more as the range's largest magnitude `scale` needs to keep two
// significant digits: a curve of height 0.0008 fills its panel as one of
// height 50 does.
std::string RangeBoundText(double bound, double scale, int decimals);

// A range "lower:upper" from the texts of its bounds; bounds of equal value
// (a curve of zeros) become b-1:b+1 with two decimals, which gnuplot accepts.
std::string RangeText(const std::string& lower, const std::string& upper);
// -H:H and 0:H with two decimals (more for a small H), guarded as RangeText.
std::string SymmetricRangeText(double half);
std::string FromZeroRangeText(double half);

// A y range as the script writes it and the bounds that text holds.
struct YRange {
  std::string text;
  double lower = 0;
  double upper = 0;
};
YRange SymmetricRange(double half);
YRange FromZeroRange(double half);
// The value TicStepText(step) writes, 0 for no step.
double TicStepValue(double step);
// `value` in the exponent form with two digits, as a number: 1.2346E-2 is 1.2E-2.
double TwoDigitValue(double value);

// A y factor in the fixed form; a factor that is not 0 but shows fewer than
// three significant digits there is written in the general form instead.
std::string FactorText(double factor, int decimals);
// The factor FactorText writes, as a number.
double FactorValue(double factor, int decimals);

// Tic labels as a mantissa times a power of ten ("2.6x10^4"). The step such
// labels show exactly: rounded down to two significant digits (a step of
// 26497 becomes 26000; 28 or 0.44 stay).
double PowerLabelStep(double step);
// The mantissa decimals (0 to 3) with which every tic k * step from lower to
// upper shows its value to within 1 %.
int MantissaDecimals(double lower, double upper, double step);
// The lines that make `axis` ("y", "y2") label its tics so, with the zero
// tic labelled "0" rather than "0x10^0". `quote` is the quote gnuplot's
// format string is written in.
std::vector<std::string> PowerLabelLines(const std::string& axis, int decimals, const std::string& exponent,
                                         char quote);



// ---- Typed texts ---------------------------------------------------------------

// A text typed into an edit (an axis label, a font) as it goes between the
// double quotes of a gnuplot string, where it stays enhanced-text markup with
// its backslash escapes (\327): each backquote becomes the escape \140,
// which prints a backquote but runs nothing (gnuplot runs backquoted text
// before it reads escapes); a '"' is escaped, a backslash that would escape
// the closing quote is doubled, and control characters become blanks.
std::string QuotedText(const std::string& text);

// A number typed into an edit, for a place where the script holds it
// unquoted (a shift, a range bound, a scale): the number without white space
// at its ends. Any other text raises EConvertError, so that nothing typed
// there is ever run by gnuplot.
std::string NumberText(const std::string& text);

// A font size typed into a settings window: the number, or the window's
// layout value `fallback` for a text that is no number.
std::string SizeText(const std::string& text, const std::string& fallback);

// A y range typed into a settings window ("[-50:50]", brackets optional;
// a bound may be empty or "*"): as typed, without white space at its ends.
// Any other text raises EConvertError with UserRangeRefusal.
std::string UserRangeText(const std::string& range);
inline constexpr char UserRangeRefusal[] = " is no y range: write it as [lower:upper], e.g. [-50:50]";

// ---- Names -------------------------------------------------------------------

// A gnuplot string in single quotes, each ' doubled: gnuplot runs no
// backquoted command and expands no escape or macro in it, so any file name
// or text reaches gnuplot as it stands.
std::string GnuplotString(const std::string& text);

// UTF-8 as ISO 8859-1, the encoding every script head declares; a character
// outside it, or a byte that is not UTF-8, becomes '?'.
std::string Latin1Text(const std::string& utf8);

// The legend text of a curve title as gnuplot's enhanced text shows it as
// typed: ShrinkFileName, without control characters, in ISO 8859-1, with a
// backslash before each character the enhanced text would take as markup.
std::string LegendName(const std::string& title);

// The data-file names of one script, which belong to that script alone:
// "<picture base name>-<n>" for n = 1, 2, ... in the order taken, so no
// picture saved into the same folder replaces them and saving the script
// again replaces only its own.
class DataFileNames {
 public:
  explicit DataFileNames(const std::string& scriptFileName);
  // The next base name (without ".xy" or ".xyz").
  std::string take();

 private:
  std::string base_;
  int taken_ = 0;
};

// ---- Plot lines --------------------------------------------------------------

// One curve of the plot command: the text after "plot " or after the five
// blanks of a continuation line. A few lines take other fonts when they end
// the command; `lastText` then holds that form.
struct PlotEntry {
  std::string text;
  std::string lastText;
};
// The plot command: the first entry after "plot ", the others on
// continuation lines of five blanks (or `indent`), every one but the last
// ending with the continuation mark " ,\".
std::vector<std::string> JoinPlotEntries(const std::vector<PlotEntry>& entries,
                                         const std::string& indent = "     ");

inline constexpr char ContinuationMark[] = " ,\\";

// ---- Data files and scripts --------------------------------------------------

struct DataFile {
  std::string name;  // file name without folder
  std::vector<std::string> lines;
};

struct PlotScript {
  std::vector<std::string> lines;
  std::vector<DataFile> dataFiles;
};

enum class Picture { Eps, Png };

// The top margin of a picture whose frame would touch the top edge: room
// for the upper half of a tic label standing on the top tic, and for the
// border line's width.
inline constexpr char TopMarginLine[] = "set tmargin 0.6";

// The key of a picture, inside the plot or outside on its right.
std::string KeyLine(Picture picture, bool inside);

// The six line styles of an EPS picture: red, black, green, ... by line
// type, thinner in the gnuplot 5 dialect.
void EpsLineStyles(std::vector<std::string>& lines, bool gnuplot5);

// A data-file line: x, TAB, y, each with any comma made a point.
std::string DataLine(std::string x, std::string y);

// The band of a computed UV/ECD slot on the whole wavelength grid: x in nm
// (general form) or, in the wavenumber unit, the nearest whole wavenumber;
// y = sign * band with 6 decimals.
std::vector<std::string> GridDataLines(std::span<const double> band, bool wavenumberUnit,
                                       double sign = 1.0);
// Measured UV/ECD points 1..count: x in nm (general form) or the nearest whole
// wavenumber, y with 6 decimals.
std::vector<std::string> MeasuredDataLines(std::span<const double> x, std::span<const double> y,
                                           int count, bool wavenumberUnit, double sign = 1.0);

// ---- Saving and rendering ----------------------------------------------------

// The save flow of the exporters up to the chosen script path: the dialog
// preset from the main window's caption, ".plt" added to a name without it,
// the overwrite question. "" when nothing is to be written (the messages
// are shown).
std::string ChooseScriptPath(TForm1& form);

// Writes every data file beside the script, then the script, each through
// the main window's line buffer, and only then shows "File saved!". A file
// that cannot be written raises EInOutError naming that file, before the
// message.
void SavePlotScript(TForm1& form, const std::string& scriptPath, const PlotScript& script);

// Runs gnuplot on a saved script in the script's folder and checks that it
// wrote its picture (`pictureEnding` ".eps" or ".png"). Shows one box when
// gnuplot is missing or the render fails; true when the picture was written.
bool RunGnuplot(const std::string& gnuplotFolder, const std::string& scriptPath,
                const std::string& pictureEnding);

// The first line of gnuplot's error output that explains a failed render of
// `scriptName`: an error line of the script, else the first non-blank line,
// else "no picture was written".
std::string GnuplotFailureLine(const std::string& scriptName, const std::string& errorOutput);

// The save flow of the HPLC plots, with their own messages.
std::string ChooseHplcScriptPath(TForm1& form);

// The export of the UV/ECD and IR/VCD pages, whose ranges are taken again
// on every path: with equal names or nothing to draw it shows why and stops
// before the dialog; otherwise it builds the script for the chosen file,
// saves it and renders it.
struct PageExport {
  bool identicalNames = false;
  bool drawsSomething = true;
  std::function<PlotScript(const std::string& scriptFileName)> build;
  std::string pictureEnding;
  std::function<void()> determineRange;
};
void RunPageExport(TForm1& form, const PlotControls& controls, const PageExport& page);

// The script's name without folder, less its last four characters: the base
// name of the picture.
std::string PictureBaseName(const std::string& scriptPath);

inline constexpr char PlottingCanceledText[] = "Plotting canceled!";
inline constexpr char IdenticalCurveNamesText[] =
    "Identical curve names found (curve names must differ within their first 20 characters), "
    "please rename a curve in the settings window and try again";
