// Arbitrary bytes as a UV (cuv) or a CD (ccd) chromatogram, opened as
// File > Open HPLC data opens it.
#include "fuzz/fuzz_session.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  startFuzzSession();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  openAsOneOf(data, size, {"input.cuv", "input.ccd"});
  return 0;
}
