// The conformer sum of the sum-spectra window as a plain computation: the
// line spectra of several bil files summed, as an arithmetic mean or with
// Boltzmann weights from the conformers' heat files, into one line spectrum
// the size of slot 1.
//
// Every selected bil and heat file is read and converted before the sum is
// handed back, so a file that fails leaves the caller's slot untouched.
// Lines whose place lies off the arrays (wavelengths outside 100 to
// 4000 nm, wavenumbers outside 0 to 4000 cm^-1, ORD lines after the 100th)
// are skipped with one log line per file.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

enum class SumKind { Ecd, Uv, Ord, Vcd, Ir };
enum class SumMethod { Arithmetic, Boltzmann };

// The gas constant in cal/(mol K).
constexpr double GasConstantCal = 1.9863490372210806;
// A Boltzmann sum takes at most this many files (file numbers 0 to 500).
constexpr size_t MaxBoltzmannFiles = 501;

// The temperature of an edit's text in kelvin. Raises EConvertError when the
// text is no number, or no finite temperature above 0 K.
double TemperatureFromText(const std::string& text);
// 1000 / (R T) in mol/kcal.
double BoltzmannFactor(double temperature);

// The heat file of a conformer's bil file: the bil ending ("cd.bil", else
// the last three characters, for ECD and ORD "or.bil") replaced by "heat",
// beside the bil file or, when `heatFolder` has at least two characters, in
// that folder.
std::string HeatFilePath(const std::string& bilPath, SumKind kind, const std::string& heatFolder);
// The energy in kcal/mol on the first line of a heat file ("HEAT OF
// FORMATION  =  -1234.5 kcal/mol"). Raises EInOutError or EConvertError.
double ReadHeatEnergy(const std::string& heatPath);

// The Boltzmann weight of each file, summing to 1. Files without an energy
// get weight 0 and take no part in the lowest energy or the partition sum;
// when no file has one, all weigh the same.
std::vector<double> BoltzmannWeights(const std::vector<std::optional<double>>& energies,
                                     double factor);

struct SumRequest {
  std::vector<std::string> files;  // full paths, in the order chosen
  SumKind kind = SumKind::Ecd;
  SumMethod method = SumMethod::Boltzmann;
  double temperature = 298.0;
  std::string heatFolder;  // the field's text
  // Receives each log line as it is made.
  std::function<void(const std::string&)> log;
};

struct SumResult {
  // False when the request was refused (see `message`, or the log for the
  // Boltzmann limit); the slot is then left as it is.
  bool summed = false;
  std::string message;  // a box to show instead of summing
  // ECD and UV: bins 1000 to 40000 at positions 0 to 39000.
  std::vector<double> bins;
  // VCD and IR: line-list rows 0 to 4000.
  std::vector<double> wavenumbers;
  std::vector<double> strengths;
  // ORD: points 1 to 100 at positions 0 to 99, and the point count.
  std::vector<double> ordWavelengths;
  std::vector<double> ordRotations;
  int ordPoints = 0;
};

SumResult SumSpectra(const SumRequest& request);

// Log texts.
extern const char* const TooManyConformersText;
extern const char* const WeightingFactorsText;
extern const char* const ArithmeticOrdText;
