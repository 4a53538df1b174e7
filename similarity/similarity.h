// The UV/ECD similarity window: the band width and the shift (or x scale
// factor) that make the computed curve of slot 1 most like the measured
// curve of slot 2.
#pragma once

#include <vector>

#include "platform/form.h"

class TForm9 : public Form {
 public:
  TForm9();

  Label* Label1;  // "shift range:"
  Label* Label2;  // column heading over the first nm edits
  Label* Label3;  // "To:"
  Label* Label4;  // "scaling:"
  Label* Label5;  // column heading over the 1/cm edits
  Label* Label6;  // "band width:"
  Label* Label7;  // "energy range:"
  Edit* Edit1;    // first shift, whole nm
  Edit* Edit2;    // last shift, whole nm
  Edit* Edit7;    // first x scale factor
  Edit* Edit8;    // last x scale factor
  Edit* Edit3;    // first band width, eV
  Edit* Edit4;    // last band width, eV
  Edit* Edit5;    // short wavelength edge, nm
  Edit* Edit6;    // long wavelength edge, nm
  Edit* Edit9;    // high wavenumber edge, 1/cm
  Edit* Edit10;   // low wavenumber edge, 1/cm
  Button* Button1;
  Button* Button3;
  Button* Button2;
  Memo* Memo1;  // result lines

  // Before the window is shown: the x unit of the settings decides which
  // pairs a run uses, so only the nm edits (wavelength) or only the 1/cm
  // edits (wavenumber) can be typed into. The band widths always can.
  void EnableUnitEdits(bool wavelengthUnit);

  // The trial bands of slot 1 on bins 1000..11000; they keep the last band a
  // run computed.
  std::vector<double> CMPUV;
  std::vector<double> CMPCD;
  void CalculateUV(double SIGMA);
  void CalculateCD(double SIGMA);

  void Button1Click();
  void Button3Click();
  void Button2Click();
};

extern TForm9* Form9;
