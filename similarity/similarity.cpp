#include "similarity/similarity.h"

TForm9* Form9 = nullptr;

TForm9::TForm9() : Form("Form9", "Similarity Factors", {0, 0, 524, 440}) {
  // Two column pairs: shift and wavelength range (nm) on the left, x scale
  // and wavenumber range (1/cm) on the right; the band width under the left.
  Label2 = addLabel("Label2", "From:        (nm)", {112, 12, 92, 16});
  Label3 = addLabel("Label3", "To:", {208, 12, 72, 16});
  Label5 = addLabel("Label5", "From:    (1/cm)     To:", {356, 12, 152, 16});

  Label1 = addLabel("Label1", "shift range:", {16, 36, 90, 16});
  Edit1 = addEdit("Edit1", "-30", {112, 32, 72, 24});
  Edit2 = addEdit("Edit2", "+30", {208, 32, 72, 24});
  Label4 = addLabel("Label4", "scaling:", {296, 36, 56, 16});
  Edit7 = addEdit("Edit7", "0.950", {356, 32, 72, 24});
  Edit8 = addEdit("Edit8", "1.050", {436, 32, 72, 24});

  Label6 = addLabel("Label6", "band width:", {16, 68, 90, 16});
  Edit3 = addEdit("Edit3", "0.1", {112, 64, 72, 24});
  Edit4 = addEdit("Edit4", "0.3", {208, 64, 72, 24});

  Label7 = addLabel("Label7", "energy range:", {16, 100, 90, 16});
  Edit5 = addEdit("Edit5", "200", {112, 96, 72, 24});
  Edit6 = addEdit("Edit6", "400", {208, 96, 72, 24});
  Edit9 = addEdit("Edit9", "50000", {356, 96, 72, 24});
  Edit10 = addEdit("Edit10", "15000", {436, 96, 72, 24});

  Button1 = addButton("Button1", "UV", {16, 132, 90, 28});
  Button3 = addButton("Button3", "ECD", {112, 132, 90, 28});
  Button2 = addButton("Button2", "Close", {418, 132, 90, 28});

  Memo1 = addMemo("Memo1", {16, 172, 492, 252});

  Button1->OnClick = [this] { Button1Click(); };
  Button3->OnClick = [this] { Button3Click(); };
  Button2->OnClick = [this] { Button2Click(); };
}

void TForm9::EnableUnitEdits(bool wavelengthUnit) {
  for (Edit* edit : {Edit1, Edit2, Edit5, Edit6}) edit->SetEnabled(wavelengthUnit);
  for (Edit* edit : {Edit7, Edit8, Edit9, Edit10}) edit->SetEnabled(!wavelengthUnit);
}

// Will search band width and shift (or x scale) on the UV pair, write the best
// into the main window's edits and score the ECD pair at that setting.
void TForm9::Button1Click() {}

// Will fine-tune band width and shift (or x scale) on the ECD pair alone.
void TForm9::Button3Click() {}

// Will close (hide) the window, keeping its texts and results.
void TForm9::Button2Click() {}
