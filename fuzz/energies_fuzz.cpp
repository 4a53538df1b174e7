// Arbitrary bytes through the energy readers of the heat extraction
// (tools/energy_readers.h): recognition, the Gaussian, MOPAC or ORCA reader
// of the program recognised, and the heat lines of what it cut. A reader may
// refuse a record cut before its end and a heat line a text that is no
// number; neither may crash or hang.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_input.h"
#include "platform/errors.h"
#include "tools/energy_readers.h"

namespace {

void heatLines(const EnergyTexts& found, bool hartree) {
  for (const std::string& energy : found.energies) {
    try {
      hartree ? HartreeHeatLine(energy) : KcalHeatLine(energy);
    } catch (const EConvertError&) {
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = inputFile(data, size, "input.log");
  // As the walk does: the reader of the program the file names, in one of
  // the two modes.
  const bool gibbs = choiceFor(data, size, 2) == 1;
  switch (RecognizeEnergyOutput(path)) {
    case EnergyProgram::Gaussian03:
    case EnergyProgram::Gaussian09:
    case EnergyProgram::Gaussian16:
      try {
        heatLines(GaussianEnergies(path, gibbs), true);
      } catch (const EInOutError&) {
      }
      break;
    case EnergyProgram::Mopac:
      heatLines(MopacEnergies(path), false);
      break;
    case EnergyProgram::Orca:
      heatLines(OrcaEnergies(path, gibbs), true);
      break;
    case EnergyProgram::None:
      break;
  }
  return 0;
}
