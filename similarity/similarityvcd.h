// The IR/VCD similarity window: the band width and the x scale factor that
// make the computed curve of slot 1 most like the measured curve of slot 2.
#pragma once

#include <vector>

#include "platform/form.h"

class TForm12 : public Form {
 public:
  TForm12();

  Label* Label1;  // "From:"
  Label* Label2;  // "To:"
  Label* Label3;  // "scaling:"
  Label* Label4;  // "band width:"
  Label* Label5;  // "wavenumber:"
  Edit* Edit1;    // first x scale factor
  Edit* Edit2;    // last x scale factor
  Edit* Edit3;    // first band width, whole 1/cm
  Edit* Edit4;    // last band width, whole 1/cm
  Edit* Edit5;    // low wavenumber edge, 1/cm
  Edit* Edit6;    // high wavenumber edge, 1/cm
  Button* Button1;
  Button* Button3;
  Button* Button2;
  Memo* Memo1;  // result lines

  // The trial bands of slot 1 on wavenumbers 0..4000; they keep the last band
  // a run computed.
  std::vector<double> CMPIR;
  std::vector<double> CMPVCD;
  void CalculateIR(double GAMMA);
  void CalculateVCD(double GAMMA);

  void Button1Click();
  void Button3Click();
  void Button2Click();
};

extern TForm12* Form12;
