// The gnuplot settings window of the VCD plots.
#pragma once

#include <array>
#include <string>

#include "plots/gnuplot_settings_form.h"
#include "settings/settings.h"

// [VCDsettings] in file order, with the layout values of its controls.
inline constexpr char VcdSettingsSection[] = "VCDsettings";
inline constexpr std::array<TextSetting, 3> VcdTextSettings{{
    {"Font_EPS", "Arial"},
    {"gen_size_EPS", "18"},
    {"label_size_EPS", "14"},
}};
inline constexpr std::array<FlagSetting, 3> VcdFlagSettings{{
    {"zeroline", true},
    {"tics_inside", false},
    {"no.format", false},
}};

// "[-H:H]" in the exponent form with 2 digits, H = M + M/10.
std::string VcdRangeText(double maximum);

// Its own box is CheckBox7, "add zeroline"; Edit2 to Edit6 title the VCD
// slots.
class TForm13 : public IrVcdGnuplotSettingsForm {
 public:
  TForm13();

  CheckBox* CheckBox7;  // "add zeroline"

  // The boxes kept in [VCDsettings], in the order of VcdFlagSettings (the
  // edits are StoredEdits()).
  std::array<CheckBox*, 3> StoredBoxes() const;

  // Takes [VCDsettings] from the settings file.
  void FormCreate();
  // "OK": the curve fields become the VCD slot titles, then the page is
  // repainted.
  void Button1Click();
};

extern TForm13* Form13;
