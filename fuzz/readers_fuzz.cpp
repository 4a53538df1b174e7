// Arbitrary bytes as an output file (.log), an sTDA table (.dat) or a
// DFT/MRCI spectrum file (.cd, .uv), opened through the dispatcher as
// File > Open does; an output or a table is also walked by the spectra
// extraction. A load may end in the error box of a number that does not
// convert; it must never crash, hang, touch memory outside the store or
// index the store out of its ranges.
#include <cstdio>

#include "fuzz/fuzz_session.h"
#include "tools/specEx.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  startFuzzSession();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // .log and .out take the same road through the dispatcher and the walk.
  static const char* const names[] = {"input.log", "input.dat", "input.cd", "input.uv"};
  const std::string name = names[choiceFor(data, size, 4)];
  Session& ui = fuzzSession();
  // The walk reads the whole folder: only this input may be in it.
  for (const char* other : names)
    if (name != other) std::remove(ui.path(other).c_str());
  loadAs(data, size, {name.c_str()}, [](const std::string& path) { Form1->Choose(path); });
  if (name == "input.log" || name == "input.dat") {
    ui.act([&] {
      Form6->Memo1->Clear();
      Form6->ScanDir(ui.folder() + "/");
    });
    abortOnProgramFault(ui, name + " (spectra extraction)");
  }
  return 0;
}
