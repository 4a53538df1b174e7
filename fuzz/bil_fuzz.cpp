// Arbitrary bytes as one of the five bil kinds, opened as File > Open opens
// it, then loaded beside that curve into a further slot, as the Compare
// loaders load a curve.
#include "fuzz/fuzz_session.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  startFuzzSession();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  openAsOneOf(data, size, {"input.cd.bil", "input.uv.bil", "input.or.bil", "input.vc.bil", "input.ir.bil"});
  // Slot 1 holds the last file opened; the others go beside it.
  switch (choiceFor(data, size, 3)) {
    case 0:
      loadAs(data, size, {"compared.cd.bil"}, [](const std::string& path) { Form1->CdBilFile(path, 3); });
      break;
    case 1:
      loadAs(data, size, {"compared.vc.bil"}, [](const std::string& path) { Form1->VcdBilFile(path, 3); });
      break;
    default:
      loadAs(data, size, {"compared.or.bil"}, [](const std::string& path) { Form1->BilOrdFile(path, 2); });
  }
  return 0;
}
