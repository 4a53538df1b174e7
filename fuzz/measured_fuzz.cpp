// Arbitrary bytes as one of the five measured-spectrum kinds (exp.xy),
// opened as File > Open opens it.
#include "fuzz/fuzz_session.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  startFuzzSession();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  openAsOneOf(data, size,
              {"input.cd.exp.xy", "input.uv.exp.xy", "input.or.exp.xy", "input.vc.exp.xy", "input.ir.exp.xy"});
  return 0;
}
