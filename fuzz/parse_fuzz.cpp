// Arbitrary bytes through the readers' store-free parse (readers/parse.h),
// as the batch extraction and File > Open call it: Gaussian states and
// modes, ORCA, TURBOMOLE and sTDA tables, in both formalisms. A parse may
// raise the conversion error of a number the file holds; it must never
// crash, hang or read outside its tables.
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/fuzz_input.h"
#include "platform/errors.h"
#include "readers/parse.h"

namespace {

template <class Parse>
void guarded(Parse parse) {
  try {
    parse();
  } catch (const EConvertError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = inputFile(data, size, "input.log");
  // One program per input keeps the runs fast; both spectra and both
  // formalisms of it are parsed.
  const size_t program = choiceFor(data, size, 5);
  for (const bool velocity : {false, true}) {
    const readers::Formalism formalism{velocity, !velocity};
    for (const readers::Spectrum spectrum : {readers::Spectrum::Ecd, readers::Spectrum::Uv}) {
      switch (program) {
        case 0:
        case 1:
          guarded([&] {
            readers::parseGaussianStates(path, spectrum,
                                         program == 0 ? readers::GaussianLayout::G09
                                                      : readers::GaussianLayout::G03,
                                         formalism);
          });
          break;
        case 2:
          guarded([&] {
            const std::optional<readers::OrcaVersion> version = readers::orcaVersionOf(path);
            readers::LineParse parse;
            readers::parseOrca(path, spectrum, version.value_or(readers::OrcaVersion::FourOrLater),
                               formalism, parse);
          });
          break;
        case 3:
          for (const readers::TurbomoleProgram turbomole :
               {readers::TurbomoleProgram::Escf, readers::TurbomoleProgram::Ricc2})
            guarded([&] { readers::parseTurbomole(path, turbomole, spectrum, formalism); });
          break;
        default:
          guarded([&] { readers::parseStda(path, spectrum, formalism); });
      }
    }
  }
  if (program == 0)
    for (const readers::LineList list : {readers::LineList::Ir, readers::LineList::Vcd})
      guarded([&] { readers::parseGaussianModes(path, list); });
  return 0;
}
