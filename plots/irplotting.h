// The gnuplot settings window of the IR plots: the VCD window without "add
// zeroline".
#pragma once

#include <array>
#include <string>

#include "plots/vcdplotting.h"

// [IRsettings]: the keys and layout values of [VCDsettings], without
// "zeroline".
inline constexpr char IrSettingsSection[] = "IRsettings";
inline constexpr std::array<TextSetting, 3> IrTextSettings = VcdTextSettings;
inline constexpr std::array<FlagSetting, 2> IrFlagSettings{{
    VcdFlagSettings[1],  // tics_inside
    VcdFlagSettings[2],  // no.format
}};

// "[0:H]" in the exponent form with 2 digits, H = M + M/10.
std::string IrRangeText(double maximum);

// Edit2 to Edit6 title the IR slots.
class TForm15 : public IrVcdGnuplotSettingsForm {
 public:
  TForm15();

  // The boxes kept in [IRsettings], in the order of IrFlagSettings (the
  // edits are StoredEdits()).
  std::array<CheckBox*, 2> StoredBoxes() const;

  // Takes [IRsettings] from the settings file.
  void FormCreate();
  // "OK": the curve fields become the IR slot titles, then the page is
  // repainted.
  void Button1Click();
};

extern TForm15* Form15;
