#include "tools/heatEx.h"

#include <vector>

#include "app/Main.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "settings/settings.h"
#include "tools/energy_readers.h"
#include "tools/walk_window.h"

TForm5* Form5 = nullptr;

TForm5::TForm5() : Form("Form5", "Heat Extraction", {0, 0, 520, 396}) {
  Edit1 = addEdit("Edit1", "", {16, 16, 360, 24});
  Button1 = addButton("Button1", "Select Dir", {384, 15, 120, 25});
  CheckBox1 = addCheck("CheckBox1", "search in subfolder(s) only", {16, 52, 488, 20}, nullptr, true);
  CheckBox2 = addCheck("CheckBox2", "extract Gibbs free energy (Gaussian09/16 and ORCA 4.x only)",
                       {16, 76, 488, 20});
  Memo1 = addMemo("Memo1", {16, 108, 488, 230});
  Button2 = addButton("Button2", "Start", {16, 352, 100, 28});
  Button3 = addButton("Button3", "Close", {404, 352, 100, 28});
  Memo2 = addMemo("Memo2", {132, 352, 120, 28});
  Memo2->SetVisible(false);
  Memo3 = addMemo("Memo3", {268, 352, 120, 28});
  Memo3->SetVisible(false);
  SelectDirectoryDialog1 = addSelectDirectoryDialog("SelectDirectoryDialog1");

  OnCreate = [this] { FormCreate(); };
  Button1->OnClick = [this] { Button1Click(); };
  Button2->OnClick = [this] { Button2Click(); };
  Button3->OnClick = [this] { Button3Click(); };
}

void TForm5::FormCreate() {
  // The box has no handler, so taking the stored state fires nothing.
  IniFile settings(SettingsFilePath());
  CheckBox1->SetChecked(settings.ReadBool("ExtractHeat", "subfolders", CheckBox1->Checked()));
}

void TForm5::Button1Click() { SelectWalkFolder(*Edit1, *SelectDirectoryDialog1); }

void TForm5::Button2Click() {
  StartWalk(*Memo1, *Edit1, *CheckBox1, [this](const std::string& folder) { ScanSubDirs(folder); },
            [this](const std::string& folder) { ScanDir(folder); });
}

void TForm5::Button3Click() { Close(); }

void TForm5::ScanSubDirs(const std::string& DIRECTORY) { walk(DIRECTORY, /*subfolders*/ true); }

void TForm5::ScanDir(const std::string& DIRECTORY) { walk(DIRECTORY, /*subfolders*/ false); }

void TForm5::walk(const std::string& DIRECTORY, bool subfolders) {
  startRun();
  const std::vector<WalkFile> files = WalkOutputFiles(DIRECTORY, subfolders);
  if (files.empty()) AddLogLine(*Memo1, NothingToReadLine(DIRECTORY, subfolders, OutputFileMasks));
  for (const WalkFile& file : files) readOutput(file);
  writeLists();
}

void TForm5::startRun() {
  Memo3->Clear();
  written_.clear();
  listedUpTo_.clear();
}

// Each result folder gets the run's list as it stood when the last heat file
// went into that folder. Written once at the end: rewriting it after every
// output made a walk of a thousand conformers take seconds.
void TForm5::writeLists() {
  for (const auto& [folder, count] : listedUpTo_) {
    const std::vector<std::string>& list = Memo3->Lines();
    WriteLinesCRLF(JoinFolder(folder, "allheats.txt"),
                   std::vector<std::string>(list.begin(), list.begin() + static_cast<long>(count)));
  }
}

void TForm5::readOutput(const WalkFile& file) {
  // One bad output costs its own heat file, never the rest of the walk.
  ReadGuarded(*Memo1, *Memo2, file, [&] {
    const EnergyProgram program = RecognizeEnergyOutput(file.path());
    if (program == EnergyProgram::None) {
      AddLogLine(*Memo1, NotRecognisedLine(file.shownName()));
      return;
    }
    AddLogLine(*Memo1, file.name + RecognitionText(program));
    if (program == EnergyProgram::Mopac)
      MOPAC(file.folder, file.subfolder, file.name);
    else if (program == EnergyProgram::Orca)
      ORCA(file.folder, file.subfolder, file.name);
    else
      GAUSSIAN(file.folder, file.subfolder, file.name);
  });
}

void TForm5::GAUSSIAN(const std::string& DIRECTORY, const std::string& SR, const std::string& SR2) {
  const WalkFile file{DIRECTORY, SR, SR2};
  const bool gibbs = CheckBox2->Checked();
  saveEnergies(file, GaussianEnergies(file.path(), gibbs), gibbs, /*hartree*/ true);
}

void TForm5::MOPAC(const std::string& DIRECTORY, const std::string& SR, const std::string& SR2) {
  const WalkFile file{DIRECTORY, SR, SR2};
  // Heats of formation are no free energies: always the "heat" folder.
  saveEnergies(file, MopacEnergies(file.path()), /*gibbsRules*/ false, /*hartree*/ false);
}

void TForm5::ORCA(const std::string& DIRECTORY, const std::string& SR, const std::string& SR2) {
  const WalkFile file{DIRECTORY, SR, SR2};
  const bool gibbs = CheckBox2->Checked();
  EnergyTexts found = OrcaEnergies(file.path(), gibbs);
  found.records = 0;  // ORCA has no "Attention" line
  saveEnergies(file, found, gibbs, /*hartree*/ true);
}

void TForm5::saveEnergies(const WalkFile& file, const EnergyTexts& found, bool gibbsRules,
                          bool hartree) {
  if (found.energies.empty()) {
    AddLogLine(*Memo1, (gibbsRules ? "No Gibbs free energy found in " : "No energy found in ") +
                           file.slashedName());
    return;
  }
  // Every line is formed before anything is written: a value that is no
  // number leaves no half heat file behind.
  std::vector<std::string> heatLines;
  std::vector<std::string> listLines;
  for (const std::string& energy : found.energies) {
    heatLines.push_back(hartree ? HartreeHeatLine(energy) : KcalHeatLine(energy));
    listLines.push_back(file.shownName() + "\t" + energy);
  }
  const std::string folder = file.folder + (gibbsRules ? "Gibbs" : "heat");
  const std::string heatName = file.stem() + "heat";
  const std::string heatPath = JoinFolder(folder, heatName);
  if (written_.contains(heatPath)) {
    AddLogLine(*Memo1, AlreadyWrittenLine(file.shownName(), heatName));
    return;
  }
  EnsureResultFolder(folder);
  Memo2->SetLines(heatLines);
  Memo2->SaveToFile(heatPath);
  written_.add(heatPath);
  for (const std::string& line : listLines) Memo3->Add(line);
  listedUpTo_[folder] = Memo3->Lines().size();

  std::string result;
  if (gibbsRules)
    result = "Gibbs free energy found in ";
  else if (found.records >= 2)
    result = "Attention, more than one energy found in ";
  else
    result = "Energy found in ";
  AddLogLine(*Memo1, result + file.shownName());
}

void TForm5::KommaZuPunkt(std::string& S) { TForm1::KommaZuPunkt(S); }
