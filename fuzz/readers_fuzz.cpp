// Arbitrary bytes as an output file (.log, .out), an sTDA table (.dat) and a
// DFT/MRCI spectrum file (.cd, .uv),
// opened through the dispatcher as File > Open does, and walked by the
// spectra extraction. A load may end in the
// error box of a number that does not convert; it must never crash, hang,
// touch memory outside the store or index the store out of its ranges.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/Main.h"
#include "platform/testing/session.h"
#include "tools/specEx.h"

namespace {

Session& session() {
  static Session* instance = new Session();
  return *instance;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  session();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Session& ui = session();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (const char* name : {"input.log", "input.out", "input.dat", "input.cd", "input.uv"}) {
    const std::string path = ui.path(name);
    writeTextFile(path, bytes);
    ui.clearBoxes();
    ui.act([&] { Form1->Choose(path); });
    if (std::string(name) == "input.dat") ui.act([&] { Form6->Memo1->Clear(); Form6->ScanDir(ui.folder() + "/"); });
    for (const Box& box : ui.errorBoxes()) {
      // An index outside the store's ranges is a fault of the readers.
      if (box.caption == "ERangeError" || box.caption == "EMathError") {
        std::fprintf(stderr, "%s on %s: %s\n", box.caption.c_str(), name, box.text.c_str());
        std::abort();
      }
    }
  }
  return 0;
}
