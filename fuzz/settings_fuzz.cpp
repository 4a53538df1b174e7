// Arbitrary bytes as the settings file Orvanix.ini, read as the start-up
// reads it: the settings window, then the CD and UV gnuplot settings
// windows, each taking its sections into its controls (whose handlers run).
// A fresh program per input would cost far more than the reading itself.
#include "fuzz/fuzz_session.h"
#include "plots/cdplotting.h"
#include "plots/uvplotting.h"
#include "settings/settings.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  startFuzzSession();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Session& ui = fuzzSession();
  writeTextFile(SettingsFilePath(), std::string(reinterpret_cast<const char*>(data), size));
  ui.clearBoxes();
  ui.act([] { Form2->FormCreate(); });
  ui.act([] { Form10->FormCreate(); });
  ui.act([] { Form11->FormCreate(); });
  abortOnProgramFault(ui, "Orvanix.ini");
  return 0;
}
