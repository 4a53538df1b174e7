// The gnuplot settings window of the ECD plots.
//
// The window computes nothing for the scripts: its controls are the plot
// settings, read by the exporters when they write a script. Its EPS font and
// EPS terminal size serve the UV, ORD and HPLC scripts as well.
#pragma once

#include <array>
#include <span>
#include <string>

#include "plots/gnuplot_settings_form.h"
#include "settings/settings.h"
#include "store/Store.h"

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

// "[-H:H]" with two decimals, H = M + M/10.
std::string CdRangeText(double maximum);

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

// Its CheckBox7 is "zeroline dotted"; Edit2 to Edit6 title the ECD slots.
class TForm10 : public UvEcdGnuplotSettingsForm {
 public:
  TForm10();

  // The boxes kept in [CDsettings], in the order of CdFlagSettings (the
  // edits are StoredEdits()).
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

  // With bars of curve 1 drawn as well: y2 from the largest bar over the bar
  // window, y1 from the largest maximum of every loaded slot.
  void SecondAxisRangesFromBars();
};

extern TForm10* Form10;
