// What the reader tests share: opening a file through the main window's Open
// menu, the velocity formalism, the texts of the boxes shown, edited copies
// of fixture text, sums over a wavelength grid, and the walk over a corpus
// folder in both formalisms.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/files.h"
#include "platform/testing/session.h"
#include "readers/reader_core.h"
#include "settings/settings.h"
#include "store/Store.h"

inline void open(Session& ui, const std::string& path) {
  ui.willChooseFile(path);
  ui.menu(Form1->Open1);
}

// Writes the text into the session's folder under `name` and opens it;
// returns its path.
inline std::string openText(Session& ui, const std::string& name, const std::string& text) {
  const std::string path = ui.path(name);
  writeTextFile(path, text);
  open(ui, path);
  return path;
}

// Ticks "velocity" in the settings and forgets the boxes that raised.
inline void chooseVelocity(Session& ui) {
  ui.tick(Form2->RadioButton1);
  ui.clearBoxes();
}

inline std::vector<std::string> boxTexts(const Session& ui) {
  std::vector<std::string> texts;
  for (const Box& box : ui.boxes()) texts.push_back(box.text);
  return texts;
}

// Every occurrence of `from` replaced, left to right.
inline std::string replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

inline double sumOfBins(const Grid2<MINLAMBDA, MAXLAMBDA, 5>& grid, int slot) {
  double sum = 0.0;
  for (long bin = MINLAMBDA; bin <= MAXLAMBDA; ++bin) sum += grid(bin, slot);
  return sum;
}

// Whether an Open filled any slot 1 of a spectrum kind.
inline bool anySlotOneComputed(const Store& store) {
  for (const std::string* state : {&store.UVACTIVE[1], &store.CDACTIVE[1], &store.IRACTIVE[1],
                                   &store.VCDACTIVE[1], &store.ORDACTIVE[1]})
    if (*state == "calc") return true;
  return false;
}

// Whether an Open put nothing on the plots of slot 1: no UV/ECD line of
// non-zero strength, no computed IR/VCD line list, no optical rotation.
inline bool slotOneDrawsNothing(const Store& store) {
  for (long bin = MINLAMBDA; bin <= MAXLAMBDA; ++bin)
    if (store.ROTS(bin, 1) != 0.0 || store.OSC(bin, 1) != 0.0) return false;
  if (store.IRACTIVE[1] == "calc" || store.VCDACTIVE[1] == "calc") return false;
  return store.ORDACTIVE[1] != "calc";
}

// Opens the file after a reset that also empties slot 1's UV/ECD line grids
// (File > New leaves them), so that slotOneDrawsNothing tells what this file
// drew, also when it is of no kind the program opens.
inline void openAfresh(Session& ui, const std::string& path) {
  ui.act([] { Form1->Initialisierung(); });
  ui.store().ROTS.clearSlot(1);
  ui.store().OSC.clearSlot(1);
  ui.clearBoxes();
  open(ui, path);
}

inline bool startsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

// The start of the one box of a file that puts nothing on the plots, and of
// one of no kind the program opens.
inline std::string nothingDrawnStart(const std::string& path) {
  return "No UV/ECD, IR/VCD or optical-rotation data were found in \"" + ExtractFileName(path) + "\": ";
}
// The reason of a file that prints no table the readers know.
inline const std::string noTableReason = "it prints no excited state, or none in a table the program reads";
inline std::string nothingDrawnMessage(const std::string& path, const std::string& reason) {
  return nothingDrawnStart(path) + reason + ".";
}
inline std::string unknownKindStart(const std::string& path) {
  return "\"" + ExtractFileName(path) + "\" was not opened: it is of no kind the program opens.";
}

// The boxes an Open of a real output may show besides `allowed`: where it
// put nothing on the plots, or the file is of no kind the program opens, its
// one box saying so. A file that draws nothing always says why.
inline void expectOnlyAllowedBoxes(Session& ui, const std::string& path,
                                   const std::vector<std::string>& allowed) {
  int said = 0;
  for (const std::string& text : boxTexts(ui)) {
    bool known = false;
    for (const std::string& ok : allowed) known = known || text == ok;
    if (!known && (startsWith(text, unknownKindStart(path)) ||
                   (slotOneDrawsNothing(ui.store()) && startsWith(text, nothingDrawnStart(path))))) {
      known = true;
      ++said;
    }
    EXPECT_TRUE(known) << path << ": " << text;
  }
  EXPECT_LE(said, 1) << path;
  if (slotOneDrawsNothing(ui.store())) {
    EXPECT_FALSE(ui.boxes().empty()) << path;
  }
}

// A grid bin and the value expected in it.
struct Bin {
  long bin;
  double value;
};

// The bins of slot 1 in the rotatory and the oscillator grid.
inline void expectBins(const Store& store, const std::vector<Bin>& rotatory,
                       const std::vector<Bin>& oscillator) {
  for (const Bin& b : rotatory) EXPECT_DOUBLE_EQ(store.ROTS(b.bin, 1), b.value) << b.bin;
  for (const Bin& b : oscillator) EXPECT_DOUBLE_EQ(store.OSC(b.bin, 1), b.value) << b.bin;
}

// The state labels of the main window: the count, the first and the last
// wavelength.
inline void expectStateLabels(const std::string& states, const std::string& first, const std::string& last) {
  EXPECT_EQ(Form1->Label11->Caption(), states);
  EXPECT_EQ(Form1->Label13->Caption(), first);
  EXPECT_EQ(Form1->Label15->Caption(), last);
}

// Opens each file in a session of the length formalism, then in one of the
// velocity formalism, with the boxes cleared before each file; `check` runs
// after each open.
inline void openEachInBothFormalisms(const std::vector<std::string>& files,
                                     const std::function<void(Session&, const std::string&, bool)>& check) {
  for (bool velocity : {false, true}) {
    Session ui;
    if (velocity) chooseVelocity(ui);
    for (const std::string& path : files) {
      ui.clearBoxes();
      openAfresh(ui, path);
      check(ui, path, velocity);
    }
  }
}
