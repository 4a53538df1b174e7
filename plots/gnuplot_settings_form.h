// What the four gnuplot settings windows share: the y-range texts, the choice
// of the largest maximum, the curve titles of the "OK" buttons, and the
// controls they declare alike. The CD and UV windows (TForm10, TForm11) share
// one layout, the VCD and IR windows (TForm13, TForm15) another; all four have
// the same curve fields, y1 range, axis-label group and "OK" button.
//
// Each window keeps its own section of the settings file, its own handlers
// and the controls only it has.
#pragma once

#include <array>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "platform/form.h"
#include "settings/settings.h"
#include "store/Store.h"

class TForm1;

// The x-axis labels of the UV/ECD plots in either unit, and of the IR/VCD
// plots, in gnuplot notation.
inline constexpr char WavelengthAxisLabel[] = "wavelength {/Symbol l} [nm]";
inline constexpr char WavenumberAxisLabel[] = "wavenumber [cm^{-1}]";

// The UV/ECD x-axis label of the unit in force.
inline const char* UnitAxisLabel(bool wavenumberUnit) {
  return wavenumberUnit ? WavenumberAxisLabel : WavelengthAxisLabel;
}

// The y1 range a window shows until one is computed or typed.
inline constexpr char SymmetricY1Range[] = "[-y1:y1]";

// A y range over a maximum M has the half-height H = M + M/10: "[-H:H]"
// around the zero line or "[0:H]" from it, with two decimals (more for a
// small H, as the scripts write it) or in the exponent form with two digits.
std::string YRangeText(double maximum, bool fromZero, bool exponentForm);

// The largest maximum of the slots whose state is one of `states`, taken in
// slot order from 0 (a slot counts only when strictly larger).
double LargestMaximum(const SlotReals& maxima, const SlotTexts& slotStates,
                      std::initializer_list<std::string_view> states);

// The "OK" buttons: each non-empty curve field becomes the title of its slot;
// an empty field keeps the slot's title.
void TakeCurveTitles(const std::array<Edit*, 5>& curveFields, SlotTexts& titles);

// Puts each setting's layout value into the control that holds it, in the
// order of ReadSection. A window does this before it binds its handlers, so
// nothing fires.
void ShowLayoutValues(std::span<const TextSetting> texts, std::span<Edit* const> edits,
                      std::span<const FlagSetting> flags, std::span<CheckBox* const> boxes);

// The controls of all four windows.
class GnuplotSettingsForm : public Form {
 public:
  Label* Label3;  // "Curve 1:" ... Label7 "Curve 5:"
  Label* Label4;
  Label* Label5;
  Label* Label6;
  Label* Label7;
  Edit* Edit2;  // titles of slots 1 to 5
  Edit* Edit3;
  Edit* Edit4;
  Edit* Edit5;
  Edit* Edit6;

  Label* Label8;  // "y1 range:"
  Edit* Edit7;

  GroupBox* GroupBox1;  // "Labels at the axes (GnuPlot notation)"
  Label* Label10;       // "x axis:"
  Edit* Edit9;
  Label* Label11;  // "y1 axis:"
  Edit* Edit10;

  Button* Button1;  // "OK"

 protected:
  GnuplotSettingsForm(const char* name, const char* caption, int height);

  // The windows differ in which controls stand between these, so each
  // declares its controls in its own order and these in between.
  void declareCurveFields(int top);
  void declareY1Range(int top, int width, const char* range);
  void declareAxisLabels(int top, int height, const char* xAxisLabel, const char* y1AxisLabel);
  void declareOkButton(int top);

  // "OK": the curve fields become the titles of the window's slots, the page
  // of those slots is repainted, and the window closes.
  void TakeCurveTitlesAndClose(SlotTexts Store::*titles, void (TForm1::*repaint)());
};

// The controls of the CD and UV windows; each window passes the layout values
// in which they differ.
class UvEcdGnuplotSettingsForm : public GnuplotSettingsForm {
 public:
  Label* Label1;  // "Font(EPS):"
  Edit* Edit1;    // EPS font
  Edit* Edit12;   // EPS terminal size
  Edit* Edit13;   // EPS axis-label size
  Edit* Edit14;   // EPS key and label size
  Label* Label2;  // "Font (PNG):"
  Edit* Edit15;   // PNG font
  Edit* Edit16;   // PNG terminal size
  Edit* Edit17;   // PNG axis-label size
  Edit* Edit18;   // PNG key and label size

  Label* Label9;  // "y2 range:"
  Edit* Edit8;
  Label* Label12;  // "y2 axis:", in GroupBox1
  Edit* Edit11;

  CheckBox* CheckBox1;  // "squared plot"
  CheckBox* CheckBox2;  // "use second y axis"
  CheckBox* CheckBox3;  // "user-defined yranges"
  CheckBox* CheckBox4;  // "no band width and shift"
  CheckBox* CheckBox5;  // "legend inside the plot"
  CheckBox* CheckBox6;  // "tics inside"
  CheckBox* CheckBox7;  // the window's own option
  CheckBox* CheckBox8;  // "transparent png"

  // The fonts and sizes kept in the settings file, in the order of the
  // window's text settings.
  std::array<Edit*, 8> StoredEdits() const;

  // With "use second y axis" ticked and the ranges not the user's: y1 from the
  // largest measured maximum, y2 from the largest computed one.
  void SecondAxisRangesFromMaxima();

 protected:
  struct Layout {
    const char* name;
    const char* caption;
    const char* y1Range;
    const char* y2Range;
    const char* y1AxisLabel;
    const char* y2AxisLabel;
    const char* checkBox7Caption;
    // The window's slots, and the form of its ranges.
    SlotReals Store::*maxima;
    SlotTexts Store::*states;
    std::string (*rangeText)(double maximum);
  };
  explicit UvEcdGnuplotSettingsForm(const Layout& layout);

 private:
  SlotReals Store::*maxima_;
  SlotTexts Store::*states_;
  std::string (*rangeText_)(double maximum);
};

// The controls of the VCD and IR windows.
class IrVcdGnuplotSettingsForm : public GnuplotSettingsForm {
 public:
  Label* Label1;  // "Font(EPS):"
  Edit* Edit1;
  Edit* Edit12;  // terminal and axis-label size
  Edit* Edit14;  // key and label size

  CheckBox* CheckBox1;  // "overlay plot"
  CheckBox* CheckBox3;  // "user-defined yranges", never enabled
  CheckBox* CheckBox4;  // "no gamma and scaling"
  CheckBox* CheckBox5;  // "format y 'x10^x'"
  CheckBox* CheckBox6;  // "tics inside"

  // The font and sizes kept in the settings file, in the order of the
  // window's text settings.
  std::array<Edit*, 3> StoredEdits() const;

 protected:
  IrVcdGnuplotSettingsForm(const char* name, const char* caption, const char* y1AxisLabel);
  // The shared option boxes from `top` down, then "OK": the VCD window puts
  // its own box above them.
  void declareOptionsAndOk(int top);
};
