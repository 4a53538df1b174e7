#include "tools/specEx.h"

#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "settings/settings.h"

TForm6* Form6 = nullptr;

namespace {

bool holds(std::string_view line, std::string_view marker) {
  return line.find(marker) != std::string_view::npos;
}

ExtractionFormalism tickedFormalism() {
  if (Form2 == nullptr) return ExtractionFormalism::Length;
  if (Form2->RadioButton1->Checked()) return ExtractionFormalism::Velocity;
  if (Form2->RadioButton2->Checked()) return ExtractionFormalism::Length;
  return ExtractionFormalism::None;
}

constexpr const char* orcaVelocityRefusal = " is an ORCA File, but ...";
constexpr const char* orcaLengthOnly = "Extract-Spectra works only with Length-Formalism for ORCA !";
constexpr const char* changeSettings = "*** Change your Settings! ***";

}  // namespace

TForm6::TForm6() : Form("Form6", "Extract Spectra", {0, 0, 520, 372}) {
  Edit1 = addEdit("Edit1", "", {16, 16, 360, 24});
  Button1 = addButton("Button1", "Select Dir", {384, 15, 120, 25});
  CheckBox1 = addCheck("CheckBox1", "search in subfolder(s) only", {16, 52, 488, 20}, nullptr, true);
  Memo1 = addMemo("Memo1", {16, 84, 488, 230});
  Memo1->SetLines({"Memo1"});
  Button2 = addButton("Button2", "Start", {16, 328, 100, 28});
  Button3 = addButton("Button3", "Close", {404, 328, 100, 28});
  Memo2 = addMemo("Memo2", {132, 328, 120, 28});
  Memo2->SetLines({"Memo2"});
  Memo2->SetVisible(false);
  SelectDirectoryDialog1 = addSelectDirectoryDialog("SelectDirectoryDialog1");

  OnCreate = [this] { FormCreate(); };
  Button1->OnClick = [this] { Button1Click(); };
  Button2->OnClick = [this] { Button2Click(); };
  Button3->OnClick = [this] { Button3Click(); };
}

void TForm6::FormCreate() {
  // The box has no handler, so taking the stored state fires nothing.
  IniFile settings(SettingsFilePath());
  CheckBox1->SetChecked(settings.ReadBool("ExtractSpectra", "subfolders", CheckBox1->Checked()));
}

void TForm6::Button1Click() {
  if (Edit1->Text().empty()) Edit1->SetText(GetCurrentDir());
  if (!SelectDirectoryDialog1->Execute()) return;
  const std::string chosen = SelectDirectoryDialog1->FileName;
  ForceDirectories(chosen);
  Edit1->SetText(chosen);
}

void TForm6::Button2Click() {
  Memo1->Clear();
  Edit1->SetText(WalkFolder(Edit1->Text()));
  if (CheckBox1->Checked())
    ScanSubDirs(Edit1->Text());
  else
    ScanDir(Edit1->Text());
}

void TForm6::Button3Click() { Close(); }

void TForm6::startWalk(bool subfolders) {
  subfolderMode_ = subfolders;
  formalism_ = tickedFormalism();
  written_.clear();
}

// Every sTDA table of every subfolder comes before the first output file.
void TForm6::ScanSubDirs(const std::string& DIRECTORY) {
  startWalk(true);
  for (const std::string& SR : WalkSubfolders(DIRECTORY)) scanTables(DIRECTORY, SR);
  for (const std::string& SR : WalkSubfolders(DIRECTORY)) scanOutputs(DIRECTORY, SR);
}

void TForm6::ScanDir(const std::string& DIRECTORY) {
  startWalk(false);
  scanTables(DIRECTORY, "");
  scanOutputs(DIRECTORY, "");
}

void TForm6::scanTables(const std::string& DIRECTORY, const std::string& SR) {
  for (const std::string& SR2 : ListFileNames(JoinFolder(DIRECTORY, SR), "*.dat"))
    readTable({DIRECTORY, SR, SR2});
}

void TForm6::scanOutputs(const std::string& DIRECTORY, const std::string& SR) {
  for (const std::string& SR2 : OutputFileNames(JoinFolder(DIRECTORY, SR)))
    readOutput({DIRECTORY, SR, SR2});
}

// The mask finds names in any case; an sTDA table is named in lower case
// (CONF1.DAT is passed over without a word).
void TForm6::readTable(const WalkFile& file) {
  Memo2->Clear();
  if (file.name.find(".dat") == std::string::npos) return;
  try {
    if (!IsTextFile(file.path())) {
      AddLogLine(*Memo1, NotATextFileLine(file.shownName()));
      return;
    }
    AddLogLine(*Memo1, file.name + " might be an sTDA/sTDDFT file");
    STDA(file.folder, file.subfolder, file.name);
  } catch (const EInOutError& error) {
    AddLogLine(*Memo1, FileHandlingErrorLine(error, file.shownName()));
  } catch (const EConvertError& error) {
    AddLogLine(*Memo1, FileHandlingErrorLine(error, file.shownName()));
  }
}

// One bad output costs its own bil files, never the rest of the walk.
void TForm6::readOutput(const WalkFile& file) {
  Memo2->Clear();
  try {
    if (!IsTextFile(file.path())) {
      AddLogLine(*Memo1, NotATextFileLine(file.shownName()));
      return;
    }
    TextFileLines lines(file.path());
    bool FOUND = false;
    while (!FOUND && !lines.eof()) FOUND = recognize(file, lines.readLineView());
  } catch (const EInOutError& error) {
    AddLogLine(*Memo1, FileHandlingErrorLine(error, file.shownName()));
  } catch (const EConvertError& error) {
    AddLogLine(*Memo1, FileHandlingErrorLine(error, file.shownName()));
  }
}

// Every test is made on the line, whether or not an earlier one fired.
bool TForm6::recognize(const WalkFile& file, std::string_view line) {
  const std::string& SR2 = file.name;
  bool called = false;
  if (holds(line, "O   R   C   A")) {
    if (formalism_ == ExtractionFormalism::Velocity) {
      // The walk goes on reading: a later banner line refuses again.
      AddLogLine(*Memo1, SR2 + orcaVelocityRefusal);
      AddLogLine(*Memo1, subfolderMode_ ? orcaLengthOnly : changeSettings);
      AddLogLine(*Memo1, subfolderMode_ ? changeSettings : orcaLengthOnly);
      AddLogLine(*Memo1, "   ");
    } else if (formalism_ == ExtractionFormalism::Length) {
      AddLogLine(*Memo1, SR2 + " is an ORCA File");
      ORCA(file.folder, file.subfolder, SR2);
      called = true;
    }
  }
  if (holds(line, "Gaussian 03:")) {
    AddLogLine(*Memo1, SR2 + " is a Gaussian03 File");
    GAUSSIAN03(file.folder, file.subfolder, SR2);
    called = true;
  }
  if (holds(line, "Gaussian 09:")) {
    AddLogLine(*Memo1, SR2 + " is a Gaussian09 File");
    GAUSSIAN09(file.folder, file.subfolder, SR2);
    called = true;
  }
  if (holds(line, "Gaussian 16:")) {
    AddLogLine(*Memo1, SR2 + " is a Gaussian16 File");
    GAUSSIAN09(file.folder, file.subfolder, SR2);
    called = true;
  }
  if (holds(line, "escf") && holds(line, "TURBOMOLE")) {
    AddLogLine(*Memo1, SR2 + " is an escf File");
    ESCF(file.folder, file.subfolder, SR2);
    called = true;
  }
  if (holds(line, "ricc2") && holds(line, "TURBOMOLE")) {
    AddLogLine(*Memo1, SR2 + (subfolderMode_ ? " is an ricc2 File" : " is a ricc2 File"));
    RICC2(file.folder, file.subfolder, SR2);
    called = true;
  }
  return called;
}

void TForm6::STDA(const std::string& DIRECTORY, const std::string& SR, const std::string& SR2) {
  extract(DIRECTORY, SR, SR2, SpectraProgram::Stda);
}

void TForm6::ORCA(const std::string& DIRECTORY, const std::string& SR, const std::string& SR2) {
  extract(DIRECTORY, SR, SR2, SpectraProgram::Orca);
}

void TForm6::GAUSSIAN03(const std::string& DIRECTORY, const std::string& SR,
                        const std::string& SR2) {
  extract(DIRECTORY, SR, SR2, SpectraProgram::Gaussian03);
}

void TForm6::GAUSSIAN09(const std::string& DIRECTORY, const std::string& SR,
                        const std::string& SR2) {
  extract(DIRECTORY, SR, SR2, SpectraProgram::Gaussian09);
}

void TForm6::ESCF(const std::string& DIRECTORY, const std::string& SR, const std::string& SR2) {
  extract(DIRECTORY, SR, SR2, SpectraProgram::Escf);
}

void TForm6::RICC2(const std::string& DIRECTORY, const std::string& SR, const std::string& SR2) {
  extract(DIRECTORY, SR, SR2, SpectraProgram::Ricc2);
}

void TForm6::extract(const std::string& DIRECTORY, const std::string& SR, const std::string& SR2,
                     SpectraProgram program) {
  const WalkFile file{DIRECTORY, SR, SR2};
  saveSpectra(file, ExtractSpectra(file.path(), program, formalism_), program);
}

void TForm6::saveSpectra(const WalkFile& file, const ExtractedSpectra& spectra,
                         SpectraProgram program) {
  const std::vector<ExtractedKind> kinds = ExtractedBilFiles(spectra, program, formalism_);
  if (kinds.empty()) {
    AddLogLine(*Memo1, NoSpectralDataFoundText + file.slashedName());
  } else {
    const std::string folder = JoinFolder(file.folder, "spectra");
    // A stem met twice in one run (conf1.dat and conf1.log in one folder)
    // keeps the files written first, whole.
    for (const ExtractedKind& kind : kinds)
      for (const ExtractedBilFile& bil : kind.files)
        if (written_.contains(JoinFolder(folder, file.stem() + bil.ending))) {
          AddLogLine(*Memo1, AlreadyWrittenLine(file.shownName(), file.stem() + bil.ending));
          return;
        }
    for (const ExtractedKind& kind : kinds) {
      AddLogLine(*Memo1, kind.foundText + file.shownName());
      if (!DirectoryExists(folder) && !CreateDir(folder))
        throw EInOutError("Unable to create folder " + folder);
      for (const ExtractedBilFile& bil : kind.files) {
        const std::string path = JoinFolder(folder, file.stem() + bil.ending);
        Memo2->SetLines(bil.lines);
        Memo2->SaveToFile(path);
        written_.add(path);
      }
    }
  }
  for (const std::string& note : spectra.notes) AddLogLine(*Memo1, note);
}
