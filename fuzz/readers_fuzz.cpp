// Arbitrary bytes as an output file (.log), an sTDA table (.dat) or a
// DFT/MRCI spectrum file (.cd, .uv), opened through the dispatcher as
// File > Open does. A load may end in the
// error box of a number that does not convert; it must never crash, hang,
// touch memory outside the store or index the store out of its ranges.
#include "fuzz/fuzz_session.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  startFuzzSession();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // .log and .out take the same road through the dispatcher.
  openAsOneOf(data, size, {"input.log", "input.dat", "input.cd", "input.uv"});
  return 0;
}
