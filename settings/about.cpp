#include "settings/about.h"

#include <string>

#include "platform/shell.h"

TForm3* Form3 = nullptr;

TForm3::TForm3() : Form("Form3", "Infos", {0, 0, 335, 203}) {
  const std::string nameAndVersion = std::string(ProgramName) + " " + ProgramVersion;

  // Labels from top to bottom, all left-aligned on one column.
  Label1 = addLabel("Label1", nameAndVersion, {16, 8, 303, 26});
  // 20-pixel text at 96 dpi (the rest of the window uses the default size).
  Label1->FontSize = 15;
  Label10 = addLabel("Label10", "Developed by the Orvanix developers", {16, 39, 303, 16});
  Label9 = addLabel("Label9", "With Contributions from the Orvanix community,", {16, 64, 303, 16});
  Label11 = addLabel("Label11", "who test it, report faults and share spectra", {16, 88, 303, 16});
  Label2 = addLabel("Label2", "Cite this software as following:", {16, 117, 303, 16});
  Label6 = addLabel("Label6", "The Orvanix developers,", {16, 136, 303, 16});
  Label7 = addLabel("Label7", nameAndVersion + ", published online, 2025", {16, 155, 303, 16});
  // A label with a click handler is drawn as a link.
  Label3 = addLabel("Label3", ProjectWebAddress, {16, 177, 303, 16});

  Label3->OnClick = [this] { Label3Click(); };
}

void TForm3::Label3Click() {
  // Whether the browser could be started is not reported: the address stands
  // on the label for the reader to copy.
  OpenURL(Label3->Caption());
}
