// The gnuplot settings window of the UV plots: the controls of the CD window
// without "zeroline dotted", with "convert to eV" in its place.
#pragma once

#include <array>
#include <string>

#include "plots/cdplotting.h"

// [UVsettings]: the keys and layout values of [CDsettings], without
// "zeroline".
inline constexpr char UvSettingsSection[] = "UVsettings";
inline constexpr std::array<TextSetting, 8> UvTextSettings = CdTextSettings;
inline constexpr std::array<FlagSetting, 6> UvFlagSettings{{
    CdFlagSettings[0],  // square
    CdFlagSettings[1],  // secondy
    CdFlagSettings[2],  // nolabel
    CdFlagSettings[3],  // legend_inside
    CdFlagSettings[4],  // tics_inside
    CdFlagSettings[6],  // transparent
}};

// The second y axis's label of the UV plots as the reset sets it: the
// computed absorption beside a measured curve 1.
inline constexpr char ComputedAbsorptionLabel[] = "calc. absorption [a.u.]";

// "[0:H]" with two decimals, H = M + M/10.
std::string UvRangeText(double maximum);

// Its CheckBox7 is "convert to eV"; Edit2 to Edit6 title the UV slots.
class TForm11 : public UvEcdGnuplotSettingsForm {
 public:
  TForm11();

  // The boxes kept in [UVsettings], in the order of UvFlagSettings (the
  // edits are StoredEdits()).
  std::array<CheckBox*, 6> StoredBoxes() const;

  // Takes [UVsettings] from the settings file.
  void FormCreate();
  // "OK": the curve fields become the UV slot titles, then the page is
  // repainted.
  void Button1Click();
  // "use second y axis".
  void CheckBox2Change();
  // "convert to eV": the x-axis label follows the energy axis.
  void CheckBox7Change();
};

extern TForm11* Form11;
