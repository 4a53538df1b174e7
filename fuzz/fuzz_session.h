// What the fuzz targets share: one session for the whole run (a fresh
// program per input would cost more than the input itself), and loading the
// input's bytes as files of given names.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <string>

#include "app/Main.h"
#include "fuzz/fuzz_input.h"
#include "platform/testing/session.h"

inline Session& fuzzSession() {
  static Session* instance = new Session();
  return *instance;
}

inline void startFuzzSession() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  fuzzSession();
}

// An index outside the store's ranges or an arithmetic fault is a fault of
// the program, whatever the file holds; a number that does not convert is
// the file's.
inline void abortOnProgramFault(Session& ui, const std::string& name) {
  for (const Box& box : ui.errorBoxes())
    if (box.caption == "ERangeError" || box.caption == "EMathError") {
      std::fprintf(stderr, "%s on %s: %s\n", box.caption.c_str(), name.c_str(), box.text.c_str());
      std::abort();
    }
}

// Writes the bytes under each name in turn and loads it with `load`.
inline void loadAs(const uint8_t* data, size_t size, std::initializer_list<const char*> names,
                   const std::function<void(const std::string& path)>& load) {
  Session& ui = fuzzSession();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (const char* name : names) {
    const std::string path = ui.path(name);
    writeTextFile(path, bytes);
    ui.clearBoxes();
    ui.act([&] { load(path); });
    abortOnProgramFault(ui, name);
  }
}

// Opened as File > Open (and File > Open HPLC data) open it, as a file of
// one of the names.
inline void openAsOneOf(const uint8_t* data, size_t size, std::initializer_list<const char*> names) {
  const char* name = names.begin()[choiceFor(data, size, names.size())];
  loadAs(data, size, {name}, [](const std::string& path) { Form1->Choose(path); });
}
