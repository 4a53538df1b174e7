// A load reads each output once: the trials parse the file to decide what it
// draws, and the readers that then enter it take what the trials parsed
// instead of opening the file again. What they enter, and the boxes they
// show, equal what the same readers enter when called on their own, which
// parse the file themselves.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/testing/session.h"
#include "readers/reader_core.h"
#include "store/constants.h"
#include "tests/reader_test_support.h"

namespace {

// Counts the files the readers open while a load enters what it decided on
// (the form holds the reading of the load), and all opens beside.
class OpenCount {
 public:
  OpenCount() {
    readers::watchOpens([this](const std::string&) {
      ++all;
      if (Form1 != nullptr && Form1->LoadReading != nullptr) ++whileEntering;
    });
  }
  ~OpenCount() { readers::watchOpens(nullptr); }
  OpenCount(const OpenCount&) = delete;
  OpenCount& operator=(const OpenCount&) = delete;
  int all = 0;
  int whileEntering = 0;
};

enum class Kind { Uv, Ecd, Ir, Vcd };

// What the readers entered into `slot` and what the person was shown.
struct Entered {
  std::vector<std::string> texts;
  std::vector<double> numbers;
  bool operator==(const Entered&) const = default;
};

// The first text or number that differs, for the failure message.
std::string firstDifference(const Entered& a, const Entered& b) {
  for (size_t i = 0; i < a.texts.size() && i < b.texts.size(); ++i)
    if (a.texts[i] != b.texts[i]) return "text " + std::to_string(i) + ": " + a.texts[i] + " | " + b.texts[i];
  if (a.texts.size() != b.texts.size())
    return std::to_string(a.texts.size()) + " texts | " + std::to_string(b.texts.size());
  for (size_t i = 0; i < a.numbers.size(); ++i)
    if (a.numbers[i] != b.numbers[i])
      return "number " + std::to_string(i) + ": " + std::to_string(a.numbers[i]) + " | " +
             std::to_string(b.numbers[i]);
  return "";
}

Entered entered(Session& ui, int slot) {
  Entered e;
  const Store& store = ui.store();
  for (const auto* texts : {&store.CDACTIVE, &store.UVACTIVE, &store.VCDACTIVE, &store.IRACTIVE,
                            &store.CDTITLE, &store.UVTITLE, &store.VCDTITLE, &store.IRTITLE})
    e.texts.push_back((*texts)[slot]);
  if (slot == 1)
    for (const Label* label : {Form1->Label11, Form1->Label13, Form1->Label15})
      e.texts.push_back(label->Caption());
  e.texts.push_back(Form1->CDspectra1->Enabled() ? "ECD menu" : "-");
  e.texts.push_back(Form1->UVspectra1->Enabled() ? "UV menu" : "-");
  for (const std::string& text : boxTexts(ui)) e.texts.push_back(text);
  for (long bin = MINLAMBDA; bin <= MAXLAMBDA; ++bin) {
    e.numbers.push_back(store.ROTS(bin, slot));
    e.numbers.push_back(store.OSC(bin, slot));
  }
  for (long row = LineGrid::low; row <= LineGrid::high; ++row)
    for (int column : {1, 2}) {
      e.numbers.push_back(store.IR(row, column, slot));
      e.numbers.push_back(store.VCD(row, column, slot));
    }
  // The ORD page holds curves 1 and 2.
  if (slot <= 2) {
    e.texts.push_back(store.ORDACTIVE[slot]);
    e.texts.push_back(store.ORDTITLE[slot]);
    e.numbers.push_back(static_cast<double>(store.ORDDATAPTS[slot]));
    for (int row = 1; row <= 100; ++row) {
      e.numbers.push_back(store.ORDCALCX(row, slot));
      e.numbers.push_back(store.ORDCALCY(row, slot));
    }
  }
  return e;
}

const std::string& computedState(const Store& store, Kind kind, int slot) {
  switch (kind) {
    case Kind::Uv: return store.UVACTIVE[slot];
    case Kind::Ecd: return store.CDACTIVE[slot];
    case Kind::Ir: return store.IRACTIVE[slot];
    default: return store.VCDACTIVE[slot];
  }
}

MenuItem* compareMenu(Kind kind) {
  switch (kind) {
    case Kind::Uv: return Form1->xyFile1;
    case Kind::Ecd: return Form1->BilFile1;
    case Kind::Ir: return Form1->cpwithIR;
    default: return Form1->MenuItem5;
  }
}

// The readers File > Open runs for a file, called on their own.
void readDirectly(const std::string& path, int slot) {
  readers::TellEachTextOnce once;
  const std::string ending = LastCharacters(path, 3);
  if (ending == ".cd") {
    Form1->CD_DFTMRCI(path, slot);
  } else if (ending == ".uv") {
    Form1->UV_DFTMRCI(path, slot);
  } else if (ending == "dat") {
    Form1->STDA_UV(path, slot);
    Form1->STDA_CD(path, slot);
  } else {
    Form1->DetectQMSUV(path, slot);
    Form1->DetectQMSCD(path, slot);
    Form1->DetectQMSIR(path, slot);
    Form1->DetectQMSVCD(path, slot);
  }
}

// The reader a Compare of `kind` runs, called on its own.
void compareDirectly(const std::string& path, Kind kind, int slot) {
  readers::TellEachTextOnce once;
  if (LastCharacters(path, 3) == "dat") {
    (kind == Kind::Ecd ? Form1->STDA_CD(path, slot) : Form1->STDA_UV(path, slot));
    return;
  }
  switch (kind) {
    case Kind::Uv: Form1->DetectQMSUV(path, slot); break;
    case Kind::Ecd: Form1->DetectQMSCD(path, slot); break;
    case Kind::Ir: Form1->DetectQMSIR(path, slot); break;
    case Kind::Vcd: Form1->DetectQMSVCD(path, slot); break;
  }
}

struct Case {
  std::string path;
  // The kind the file draws, for Compare; none for files Compare refuses.
  std::optional<Kind> compared;
};

std::string corpus(const std::string& name) { return std::string(ORVANIX_CORPUS) + "/" + name; }

// One file of each reader family: Gaussian UV/ECD (both layouts) and
// IR/VCD, ORCA before 4 and from 4 on, TURBOMOLE escf and ricc2, ADF,
// NWChem, Dalton, DFT/MRCI and sTDA; with the corpus, real outputs as well.
std::vector<Case> cases() {
  std::vector<Case> list = {
      {fixture("readers/g03_td.log"), Kind::Ecd},
      {fixture("readers/g16_td_optrot.log"), Kind::Ecd},
      {fixture("readers/g09_freq_vcd.log"), Kind::Vcd},
      {fixture("readers/orca/pre4.out"), Kind::Uv},
      {fixture("readers/orca/v5.out"), Kind::Ecd},
      {fixture("readers/turbomole/escf_rpa.out"), Kind::Ecd},
      {fixture("readers/turbomole/ricc2_oscillator.out"), Kind::Uv},
      {fixture("readers/adf/ecd.out"), Kind::Ecd},
      {fixture("readers/nwchem/ecd.out"), Kind::Ecd},
      {fixture("readers/dalton/ecd.out"), Kind::Ecd},
      {fixture("readers/dftmrci/mol.cd"), std::nullopt},
      {fixture("readers/dftmrci/mol.uv"), std::nullopt},
      {fixture("readers/stda.dat"), Kind::Ecd},
  };
  if (std::filesystem::is_directory(ORVANIX_CORPUS)) {
    for (const char* name : {"gaussian/uv_ecd/g09_cclib_dvb_td.out",
                             "orca/uv_ecd/orca3.0_cclib-data_dvb_td.out",
                             "orca/uv_ecd/orca6.0_cclib_dvb_td.out",
                             "turbomole/escf/tm7.6_ris_RKS_pbe0_TDDFT_escf.out",
                             "nwchem/nwchem_qa_tddft_acetaldehyde.out",
                             "dalton/dalton_test_prop_ecd_prop_ecd_C2H4_intgrl_sym.out"})
      list.push_back({corpus(name), Kind::Uv});
    list.push_back({corpus("gaussian/ir_vcd/g09_tesliper_fal-freq-vdc.out"), Kind::Ir});
    list.push_back({corpus("adf/adf2013.01_cclib_dvb_td.adfout"), std::nullopt});
  }
  return list;
}

void prepare(Session& ui, bool velocity) {
  if (velocity) chooseVelocity(ui);
}

// Opens the file through File > Open: no file is opened while the load
// enters what it decided on, and what it enters and shows equals what its
// readers enter and show when called on their own after the same reset.
// Gives the number of boxes shown, none when the open entered nothing, so
// that there was nothing to compare.
std::optional<size_t> openReadsOnce(const std::string& path, bool velocity) {
  Entered loaded;
  size_t boxes = 0;
  {
    Session ui;
    prepare(ui, velocity);
    OpenCount opens;
    open(ui, path);
    EXPECT_GT(opens.all, 0);
    EXPECT_EQ(opens.whileEntering, 0);
    if (!anySlotOneComputed(ui.store())) return std::nullopt;
    loaded = entered(ui, 1);
    boxes = ui.boxes().size();
  }
  Session ui;
  prepare(ui, velocity);
  ui.act([&] {
    // File > Open resets first.
    Form1->Initialisierung();
    readDirectly(path, 1);
  });
  const Entered direct = entered(ui, 1);
  EXPECT_TRUE(direct == loaded) << firstDifference(direct, loaded);
  return boxes;
}

TEST(LoadReadsOnce, FileOpenEntersWhatTheTrialsReadAndOpensNothingMore) {
  for (const bool velocity : {false, true})
    for (const Case& c : cases()) {
      SCOPED_TRACE(c.path + (velocity ? " (velocity)" : ""));
      // In the velocity formalism some files draw nothing: then nothing
      // was entered to compare.
      if (!openReadsOnce(c.path, velocity)) {
        EXPECT_TRUE(velocity);
      }
    }
}

// Every fixture cut after each of its lines: tables cut by the end of the
// file, files that end before their tables or inside a row. The notes, file
// errors and other boxes the readers show, and where a reading fails, are
// those of the readers on their own, in the same order.
TEST(LoadReadsOnce, ACutOutputEntersAndTellsAsItsReadersOnTheirOwn) {
  TempFolder folder;
  int compared = 0, told = 0;
  for (const Case& c : cases()) {
    if (c.path.rfind(fixture(""), 0) != 0) continue;
    const std::string text = readTextFile(c.path);
    const std::string cut = folder.file(ExtractFileName(c.path));
    for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', end + 1)) {
      SCOPED_TRACE(c.path + " cut after byte " + std::to_string(end));
      writeTextFile(cut, text.substr(0, end + 1));
      const std::optional<size_t> boxes = openReadsOnce(cut, false);
      if (!boxes) continue;
      ++compared;
      if (*boxes > 0) ++told;
    }
  }
  // The cuts reach the boxes of cut tables and failed readings.
  EXPECT_GT(compared, 100);
  EXPECT_GT(told, 20);
}

TEST(LoadReadsOnce, CompareEntersWhatItsTrialReadAndOpensNothingMore) {
  for (const bool velocity : {false, true})
    for (const Case& c : cases()) {
      if (!c.compared) continue;
      const Kind kind = *c.compared;
      SCOPED_TRACE(c.path + (velocity ? " (velocity)" : ""));
      const bool vibrational = kind == Kind::Ir || kind == Kind::Vcd;
      const std::string main = fixture(vibrational ? "readers/g09_freq_vcd.log" : "readers/g16_td_optrot.log");
      Entered compared;
      {
        Session ui;
        prepare(ui, velocity);
        open(ui, main);
        ui.clearBoxes();
        OpenCount opens;
        ui.willChooseFile(c.path);
        ASSERT_TRUE(ui.menu(compareMenu(kind)));
        EXPECT_GT(opens.all, 0);
        EXPECT_EQ(opens.whileEntering, 0);
        if (computedState(ui.store(), kind, 2) != "calc") {
          EXPECT_TRUE(velocity);
          continue;
        }
        compared = entered(ui, 2);
      }
      Session ui;
      prepare(ui, velocity);
      open(ui, main);
      ui.clearBoxes();
      ui.act([&] { compareDirectly(c.path, kind, 2); });
      const Entered direct = entered(ui, 2);
      EXPECT_TRUE(direct == compared) << firstDifference(direct, compared);
    }
}

}  // namespace
