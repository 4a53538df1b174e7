// The gnuplot settings window of the UV plots: the controls of the CD window
// without "zeroline dotted", with "convert to eV" in its place.
#pragma once

#include <array>
#include <string>

#include "platform/form.h"
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

// "[0:H]" with two decimals, H = M + M/10.
std::string UvRangeText(double maximum);

class TForm11 : public Form {
 public:
  TForm11();

  Label* Label1;  // "Font(EPS):"
  Edit* Edit1;
  Edit* Edit12;
  Edit* Edit13;
  Edit* Edit14;
  Label* Label2;  // "Font (PNG):"
  Edit* Edit15;
  Edit* Edit16;
  Edit* Edit17;
  Edit* Edit18;

  Label* Label3;  // "Curve 1:" ... Label7 "Curve 5:"
  Label* Label4;
  Label* Label5;
  Label* Label6;
  Label* Label7;
  Edit* Edit2;  // titles of UV slots 1 to 5
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
  CheckBox* CheckBox7;  // "convert to eV"
  CheckBox* CheckBox8;  // "transparent png"
  Button* Button1;      // "OK"

  // The controls kept in [UVsettings], in the order of UvTextSettings and
  // UvFlagSettings.
  std::array<Edit*, 8> StoredEdits() const;
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

  // With "use second y axis" ticked and the ranges not the user's: y1 from the
  // largest measured maximum, y2 from the largest computed one.
  void SecondAxisRangesFromMaxima();
};

extern TForm11* Form11;
