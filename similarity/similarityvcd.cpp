#include "similarity/similarityvcd.h"

TForm12* Form12 = nullptr;

// IR/VCD always works in wavenumbers with an x scale factor, so every edit
// stays enabled.
TForm12::TForm12() : Form("Form12", "Similarity Factors", {0, 0, 420, 440}) {
  Label1 = addLabel("Label1", "From:", {112, 12, 72, 16});
  Label2 = addLabel("Label2", "To:", {208, 12, 72, 16});

  Label3 = addLabel("Label3", "scaling:", {16, 36, 90, 16});
  Edit1 = addEdit("Edit1", "0.9", {112, 32, 72, 24});
  Edit2 = addEdit("Edit2", "1.1", {208, 32, 72, 24});

  Label4 = addLabel("Label4", "band width:", {16, 68, 90, 16});
  Edit3 = addEdit("Edit3", "2", {112, 64, 72, 24});
  Edit4 = addEdit("Edit4", "10", {208, 64, 72, 24});

  Label5 = addLabel("Label5", "wavenumber:", {16, 100, 90, 16});
  Edit5 = addEdit("Edit5", "500", {112, 96, 72, 24});
  Edit6 = addEdit("Edit6", "2000", {208, 96, 72, 24});

  Button1 = addButton("Button1", "IR", {16, 132, 90, 28});
  Button3 = addButton("Button3", "VCD", {112, 132, 90, 28});
  Button2 = addButton("Button2", "Close", {314, 132, 90, 28});

  Memo1 = addMemo("Memo1", {16, 172, 388, 252});

  Button1->OnClick = [this] { Button1Click(); };
  Button3->OnClick = [this] { Button3Click(); };
  Button2->OnClick = [this] { Button2Click(); };
}

// Will search band width and x scale on the IR pair, write the best into the
// main window's edits and score the VCD pair at that setting.
void TForm12::Button1Click() {}

// Will fine-tune band width and x scale on the VCD pair alone.
void TForm12::Button3Click() {}

// Will close (hide) the window, keeping its texts and results.
void TForm12::Button2Click() {}
