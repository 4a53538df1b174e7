// The File, Tools and about menus of the main window.
#include "app/Main.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "settings/about.h"
#include "settings/settings.h"
#include "similarity/similarity.h"
#include "similarity/similarityvcd.h"
#include "tools/heatEx.h"
#include "tools/specEx.h"
#include "tools/sumspectra.h"

namespace {
const char* const noFileSelected = "No File selected!";
}

void TForm1::FormCreate() {
  // The number format (point as decimal separator) is fixed program-wide by
  // platform/numbers; nothing else happens at creation: no reset, no curve.
}

void TForm1::WMDropFiles(const std::vector<std::string>&) {
  // Dropped files reach FormDropFiles; nothing else to do here.
}

namespace {
// Titles and filters are declared with the dialogs.
void openThroughDialog(TForm1& form, OpenDialog& dialog) {
  if (dialog.Execute())
    form.Choose(dialog.FileName);
  else
    ShowMessage(noFileSelected);
}
}  // namespace

void TForm1::DateiLaden() { openThroughDialog(*this, *OpenDialog1); }

void TForm1::OpenHPLC1Click() { openThroughDialog(*this, *OpenDialog4); }

void TForm1::New1Click() { Initialisierung(); }

void TForm1::Quit1Click() { Close(); }

void TForm1::Settings1Click() { Form2->ShowModal(); }

void TForm1::Info1Click() { Form3->ShowModal(); }

void TForm1::sumspectra1Click() {
  Form4->Label1->SetCaption(Form4->SelectionText());
  Initialisierung();
  Form4->Show();
}

void TForm1::heatextraction1Click() {
  if (Form5->Edit1->Text().empty()) Form5->Edit1->SetText(GetCurrentDir());
  Form5->Memo1->Clear();
  Form5->ShowModal();
}

void TForm1::buildbilfiles1Click() {
  if (Form6->Edit1->Text().empty()) Form6->Edit1->SetText(GetCurrentDir());
  Form6->Memo1->Clear();
  Form6->ShowModal();
}

void TForm1::Determinesigma1Click() {
  if (store.CDACTIVE[1] == "calc" || store.UVACTIVE[1] == "calc") {
    if (Form2->RadioButton5->Checked()) {
      Form9->EnableUnitEdits(/*wavelengthUnit*/ true);
      Form9->Show();
    }
    if (Form2->RadioButton6->Checked()) {
      Form9->EnableUnitEdits(/*wavelengthUnit*/ false);
      Form9->Show();
    }
  }
  if (store.VCDACTIVE[1] == "calc" || store.IRACTIVE[1] == "calc") Form12->Show();
}
