#include "tools/specEx.h"

#include <algorithm>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "platform/parallel.h"
#include "settings/settings.h"
#include "tools/walk_window.h"

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

// A marker of an output file the recognition tests find in one line.
struct Marker {
  const char* recognized;  // follows the file's name in the log
  SpectraProgram program;
};

// The markers of one line, in the order of the tests; an ORCA banner only
// while the length formalism is ticked (`orcaRefused` with velocity).
std::vector<Marker> markersOf(std::string_view line, ExtractionFormalism formalism, bool subfolders,
                              bool& orcaRefused) {
  std::vector<Marker> markers;
  orcaRefused = false;
  if (holds(line, "O   R   C   A")) {
    orcaRefused = formalism == ExtractionFormalism::Velocity;
    if (formalism == ExtractionFormalism::Length) markers.push_back({" is an ORCA File", SpectraProgram::Orca});
  }
  if (holds(line, "Gaussian 03:")) markers.push_back({" is a Gaussian03 File", SpectraProgram::Gaussian03});
  if (holds(line, "Gaussian 09:")) markers.push_back({" is a Gaussian09 File", SpectraProgram::Gaussian09});
  if (holds(line, "Gaussian 16:")) markers.push_back({" is a Gaussian16 File", SpectraProgram::Gaussian09});
  if (holds(line, "escf") && holds(line, "TURBOMOLE")) markers.push_back({" is an escf File", SpectraProgram::Escf});
  if (holds(line, "ricc2") && holds(line, "TURBOMOLE"))
    markers.push_back({subfolders ? " is an ricc2 File" : " is a ricc2 File", SpectraProgram::Ricc2});
  return markers;
}

// The programs a walk will hand an output to: those of the first line that
// holds a marker. Files that are no text, or cannot be read, give none.
std::vector<SpectraProgram> programsOf(const std::string& path, ExtractionFormalism formalism) {
  std::vector<SpectraProgram> programs;
  try {
    if (!IsTextFile(path)) return programs;
    TextFileLines lines(path);
    bool refused = false;
    while (programs.empty() && !lines.eof())
      for (const Marker& marker : markersOf(lines.readLineView(), formalism, true, refused))
        programs.push_back(marker.program);
  } catch (...) {
    // Whatever went wrong, the walk meets it again when it reads the file in
    // its turn, and reports it there as a walk that reads file by file does.
    programs.clear();
  }
  return programs;
}

// The sTDA tables a walk reads: the mask finds names in any case, an sTDA
// table is named in lower case (CONF1.DAT is passed over without a word).
bool isTableName(const std::string& name) { return name.find(".dat") != std::string::npos; }

}  // namespace

PreparedExtraction PrepareExtraction(const std::string& path, SpectraProgram program,
                                     ExtractionFormalism formalism) {
  PreparedExtraction prepared;
  try {
    const ExtractedSpectra spectra = ExtractSpectra(path, program, formalism);
    prepared.kinds = ExtractedBilFiles(spectra, program, formalism);
    prepared.notes = spectra.notes;
    prepared.nothingDrawn = spectra.nothingDrawn;
  } catch (...) {
    prepared.error = std::current_exception();
  }
  return prepared;
}

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

void TForm6::Button1Click() { SelectWalkFolder(*Edit1, *SelectDirectoryDialog1); }

void TForm6::Button2Click() {
  StartWalk(
      *Memo1, *Edit1, *CheckBox1, [this](const std::string& folder) { ScanSubDirs(folder); },
      [this](const std::string& folder) { ScanDir(folder); });
}

void TForm6::Button3Click() { Close(); }

void TForm6::startWalk(bool subfolders) {
  subfolderMode_ = subfolders;
  formalism_ = tickedFormalism();
  written_.clear();
}

// Every sTDA table of every visited folder comes before the first output
// file.
void TForm6::ScanSubDirs(const std::string& DIRECTORY) {
  startWalk(true);
  walk(DIRECTORY);
}

void TForm6::ScanDir(const std::string& DIRECTORY) {
  startWalk(false);
  walk(DIRECTORY);
}

void TForm6::walk(const std::string& DIRECTORY) {
  const std::vector<WalkFile> tables = WalkMatchingFiles(DIRECTORY, subfolderMode_, "*.dat");
  const std::vector<WalkFile> outputs = WalkOutputFiles(DIRECTORY, subfolderMode_);
  if (tables.empty() && outputs.empty())
    AddLogLine(*Memo1, NothingToReadLine(DIRECTORY, subfolderMode_, std::string(OutputFileMasks) + ";*.dat"));
  prepare(tables, outputs);
  for (const WalkFile& file : tables) readTable(file);
  for (const WalkFile& file : outputs) readOutput(file);
  prepared_.clear();
}

// The files are parsed on several threads before the walk; the walk then
// logs and writes in its own order, so the log and the files are those of a
// walk that parses each file when it meets it.
void TForm6::prepare(const std::vector<WalkFile>& tables, const std::vector<WalkFile>& outputs) {
  std::vector<std::pair<std::string, SpectraProgram>> jobs;
  // An entry that is no regular file is only named in the log when the walk
  // meets it.
  for (const WalkFile& file : tables)
    if (file.regular && isTableName(file.name)) jobs.emplace_back(file.path(), SpectraProgram::Stda);
  const size_t firstOutput = jobs.size();
  jobs.resize(firstOutput + outputs.size());
  std::vector<PreparedExtraction> results(jobs.size());

  auto work = [&](size_t k) {
    if (k < firstOutput) {
      results[k] = PrepareExtraction(jobs[k].first, jobs[k].second, formalism_);
      return;
    }
    // An output may go to more than one extractor (one line may hold two
    // markers); the first is prepared here, any other when it is called.
    const WalkFile& file = outputs[k - firstOutput];
    if (!file.regular) return;
    const std::vector<SpectraProgram> programs = programsOf(file.path(), formalism_);
    if (programs.empty()) return;
    jobs[k] = {file.path(), programs.front()};
    results[k] = PrepareExtraction(file.path(), programs.front(), formalism_);
  };
  // Every file is worth a thread of its own, up to eight.
  ShareWork(jobs.size(), UsefulThreads(jobs.size(), jobs.size(), 1.0, 8), work);

  for (size_t k = 0; k < jobs.size(); ++k)
    if (!jobs[k].first.empty()) prepared_.emplace(jobs[k], std::move(results[k]));
}

void TForm6::readTable(const WalkFile& file) {
  if (!isTableName(file.name)) return;
  // One bad file costs its own bil files, never the rest of the walk.
  ReadGuarded(*Memo1, *Memo2, file, [&] {
    AddLogLine(*Memo1, file.name + " might be an sTDA/sTDDFT file");
    STDA(file.folder, file.subfolder, file.name);
  });
}

void TForm6::readOutput(const WalkFile& file) {
  ReadGuarded(*Memo1, *Memo2, file, [&] {
    TextFileLines lines(file.path());
    bool FOUND = false;
    while (!FOUND && !lines.eof()) FOUND = recognize(file, lines.readLineView());
  });
}

// Every test is made on the line, whether or not an earlier one fired.
bool TForm6::recognize(const WalkFile& file, std::string_view line) {
  bool orcaRefused = false;
  const std::vector<Marker> markers = markersOf(line, formalism_, subfolderMode_, orcaRefused);
  if (orcaRefused) {
    // The walk goes on reading: a later banner line refuses again.
    AddLogLine(*Memo1, file.name + orcaVelocityRefusal);
    AddLogLine(*Memo1, subfolderMode_ ? orcaLengthOnly : changeSettings);
    AddLogLine(*Memo1, subfolderMode_ ? changeSettings : orcaLengthOnly);
    AddLogLine(*Memo1, "   ");
  }
  for (const Marker& marker : markers) {
    AddLogLine(*Memo1, file.name + marker.recognized);
    extractWith(marker.program, file);
  }
  return !markers.empty();
}

void TForm6::extractWith(SpectraProgram program, const WalkFile& file) {
  switch (program) {
    case SpectraProgram::Stda: STDA(file.folder, file.subfolder, file.name); break;
    case SpectraProgram::Orca: ORCA(file.folder, file.subfolder, file.name); break;
    case SpectraProgram::Gaussian03: GAUSSIAN03(file.folder, file.subfolder, file.name); break;
    case SpectraProgram::Gaussian09: GAUSSIAN09(file.folder, file.subfolder, file.name); break;
    case SpectraProgram::Escf: ESCF(file.folder, file.subfolder, file.name); break;
    case SpectraProgram::Ricc2: RICC2(file.folder, file.subfolder, file.name); break;
  }
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
  const auto found = prepared_.find({file.path(), program});
  const PreparedExtraction prepared = found != prepared_.end()
                                          ? std::move(found->second)
                                          : PrepareExtraction(file.path(), program, formalism_);
  if (found != prepared_.end()) prepared_.erase(found);
  if (prepared.error) std::rethrow_exception(prepared.error);
  saveSpectra(file, prepared);
}

void TForm6::saveSpectra(const WalkFile& file, const PreparedExtraction& prepared) {
  const std::vector<ExtractedKind>& kinds = prepared.kinds;
  if (kinds.empty()) {
    AddLogLine(*Memo1, NoSpectralDataLine(file.slashedName(), prepared.nothingDrawn));
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
      AddLogLine(*Memo1, kind.foundText + file.shownName() + kind.reason);
      if (kind.files.empty()) continue;
      EnsureResultFolder(folder);
      for (const ExtractedBilFile& bil : kind.files) {
        const std::string path = JoinFolder(folder, file.stem() + bil.ending);
        Memo2->SetLines(bil.lines);
        Memo2->SaveToFile(path);
        written_.add(path);
      }
    }
  }
  for (const ExtractionNote& note : prepared.notes) AddLogLine(*Memo1, note.line(file.shownName()));
}
