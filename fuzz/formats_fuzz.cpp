// Arbitrary bytes through the readers of the program's own files and of
// measured data, called directly on plain arrays of the slots' sizes: the
// five bil kinds (files/bilfiles.h), measured ECD, UV, VCD, IR and ORD
// spectra and chromatograms (files/measured.h). The strict readers may
// raise the conversion error; nothing may crash, hang or write outside the
// arrays.
#include <cstdint>
#include <string>
#include <vector>

#include "files/bilfiles.h"
#include "files/measured.h"
#include "fuzz/fuzz_input.h"
#include "platform/errors.h"
#include "store/constants.h"

namespace {

std::vector<double> xs(ChromatogramCapacity), ys(ChromatogramCapacity);
std::vector<double> bins(static_cast<size_t>(MAXLAMBDA - MINLAMBDA + 1));

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  TextFileLines file(TextInMemory{"input", text});
  const std::span<double> x(xs), y(ys);
  // One reader per input keeps the runs fast.
  try {
    switch (choiceFor(data, size, 9)) {
      case 0: ReadWavelengthBil(file, bins); break;
      case 1: ReadPointBil(file, x.first(100), y.first(100)); break;
      case 2: ReadLineListBil(file, x.first(4001), y.first(4001)); break;
      case 3: ReadMeasuredSpectrum(file, MeasuredKind::Ecd, x.first(MeasuredSpectrumCapacity), y.first(MeasuredSpectrumCapacity)); break;
      case 4: ReadMeasuredSpectrum(file, MeasuredKind::Uv, x.first(MeasuredSpectrumCapacity), y.first(MeasuredSpectrumCapacity)); break;
      case 5: ReadMeasuredSpectrum(file, MeasuredKind::Vcd, x.first(MeasuredSpectrumCapacity), y.first(MeasuredSpectrumCapacity)); break;
      case 6: ReadMeasuredSpectrum(file, MeasuredKind::Ir, x.first(MeasuredSpectrumCapacity), y.first(MeasuredSpectrumCapacity)); break;
      case 7: ReadMeasuredOrd(file, x.first(MeasuredOrdCapacity), y.first(MeasuredOrdCapacity)); break;
      default: ReadChromatogram(file, x, y);
    }
  } catch (const EConvertError&) {
  }
  return 0;
}
