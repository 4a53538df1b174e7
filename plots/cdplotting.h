// The gnuplot settings window of the ECD plots, and what the four gnuplot
// settings windows share: the y-range texts and the choice of the largest
// maximum.
//
// The window computes nothing for the scripts: its controls are the plot
// settings, read by the exporters when they write a script. Its EPS font and
// EPS terminal size serve the UV, ORD and HPLC scripts as well.
#pragma once

#include <array>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "platform/form.h"
#include "settings/settings.h"
#include "store/Store.h"

// The x-axis labels of the UV/ECD plots in either unit, and of the IR/VCD
// plots, in gnuplot notation.
inline constexpr char WavelengthAxisLabel[] = "wavelength {/Symbol l} [nm]";
inline constexpr char WavenumberAxisLabel[] = "wavenumber [cm^{-1}]";

// [CDsettings]: the stored fonts and sizes, then the stored options, in file
// order, with the layout values of the controls that hold them.
inline constexpr char CdSettingsSection[] = "CDsettings";
inline constexpr std::array<TextSetting, 8> CdTextSettings{{
    {"Font_EPS", "Arial"},
    {"gen_size_EPS", "32"},
    {"axis_size_EPS", "36"},
    {"label_size_EPS", "18"},
    {"Font_PNG", "Arial"},
    {"gen_size_PNG", "20"},
    {"axis_size_PNG", "22"},
    {"label_size_PNG", "14"},
}};
inline constexpr std::array<FlagSetting, 7> CdFlagSettings{{
    {"square", true},
    {"secondy", false},
    {"nolabel", false},
    {"legend_inside", false},
    {"tics_inside", false},
    {"zeroline", false},
    {"transparent", false},
}};

// The y ranges the windows write: a maximum M gives the half-height
// H = M + M/10, shown as "[-H:H]" with two decimals.
std::string CdRangeText(double maximum);

// The largest maximum of the slots whose state is one of `states`, taken in
// slot order from 0 (a slot counts only when strictly larger).
double LargestMaximum(const SlotReals& maxima, const SlotTexts& slotStates,
                      std::initializer_list<std::string_view> states);

// The wavelengths, in whole nm, over which the bars of curve 1 are drawn:
// the shown window less the shift of curve 1, starting at 100 nm at the
// earliest; an end beyond the grid falls back to the unshifted end, and
// neither goes beyond 4000 nm.
struct BarWindow {
  int start = 0;
  int end = 0;
};
BarWindow barWindow(int shownStart, int shownEnd, int shift);

// The largest absolute rotatory strength of one slot over the bar window,
// starting from the signed value at its start; a window that ends before it
// starts gives that signed value alone. `rotatoryStrengths` holds the slot's
// bins from MINLAMBDA on.
double largestBarStrength(std::span<const double> rotatoryStrengths, BarWindow window);

// The "OK" buttons: each non-empty curve field becomes the title of its slot;
// an empty field keeps the slot's title.
void TakeCurveTitles(const std::array<Edit*, 5>& curveFields, SlotTexts& titles);

class TForm10 : public Form {
 public:
  TForm10();

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

  Label* Label3;  // "Curve 1:" ... Label7 "Curve 5:"
  Label* Label4;
  Label* Label5;
  Label* Label6;
  Label* Label7;
  Edit* Edit2;  // titles of ECD slots 1 to 5
  Edit* Edit3;
  Edit* Edit4;
  Edit* Edit5;
  Edit* Edit6;

  Label* Label8;  // "y1 range:"
  Edit* Edit7;
  Label* Label9;  // "y2 range:"
  Edit* Edit8;

  GroupBox* GroupBox1;  // "Labels at the axes (GnuPlot notation)"
  Label* Label10;       // "x axis:"
  Edit* Edit9;
  Label* Label11;  // "y1 axis:"
  Edit* Edit10;
  Label* Label12;  // "y2 axis:"
  Edit* Edit11;

  CheckBox* CheckBox1;  // "squared plot"
  CheckBox* CheckBox2;  // "use second y axis"
  CheckBox* CheckBox3;  // "user-defined yranges"
  CheckBox* CheckBox4;  // "no band width and shift"
  CheckBox* CheckBox5;  // "legend inside the plot"
  CheckBox* CheckBox6;  // "tics inside"
  CheckBox* CheckBox7;  // "zeroline dotted"
  CheckBox* CheckBox8;  // "transparent png"
  Button* Button1;      // "OK"

  // The controls kept in [CDsettings], in the order of CdTextSettings and
  // CdFlagSettings.
  std::array<Edit*, 8> StoredEdits() const;
  std::array<CheckBox*, 7> StoredBoxes() const;

  // Takes [CDsettings] from the settings file.
  void FormCreate();
  // "OK": the curve fields become the ECD slot titles, then the page is
  // repainted.
  void Button1Click();
  // Any font or size: all eight are copied into the UV window.
  void Edit1Change();
  // "use second y axis".
  void CheckBox2Change();

  // With "use second y axis" ticked and the ranges not the user's: y1 from the
  // largest measured maximum, y2 from the largest computed one.
  void SecondAxisRangesFromMaxima();
  // With bars of curve 1 drawn as well: y2 from the largest bar over the bar
  // window, y1 from the largest maximum of every loaded slot.
  void SecondAxisRangesFromBars();
};

extern TForm10* Form10;
