#include "tools/conformer_sum.h"

#include <algorithm>
#include <cmath>

#include "files/bilfiles.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "store/Store.h"
#include "store/constants.h"
#include "tools/folder_walk.h"

const char* const TooManyConformersText = "Orvanix can not handle more than 500 conformations!";
const char* const WeightingFactorsText = "Weighting factors:";
const char* const ArithmeticOrdText = "Arithmetic weighting of ORD not supported";

namespace {

constexpr size_t gridSize = static_cast<size_t>(MAXLAMBDA - MINLAMBDA + 1);
constexpr size_t lineRows = static_cast<size_t>(MAXWAVENUMBER + 1);
constexpr size_t ordPoints = static_cast<size_t>(decltype(Store::ORDCALCX)::size);

// The body of one bil file as the sum reads it: nothing when the first line
// lacks the marker.
struct BilBody {
  std::string name;
  std::vector<BilPoint> points;
};

BilBody readBilBody(const std::string& path) {
  BilBody body{ExtractFileName(path), {}};
  TextFileLines file(path);
  std::string line = file.readLine();
  if (!IsBilHeader(line)) return body;
  NamingTheLine(file, [&] {
    while (file.readLine(line)) body.points.push_back(ParseBilLine(line));
  });
  return body;
}

// The 1-cm^-1 bin of a wavenumber, ties to even; none off the line list.
std::optional<size_t> wavenumberBin(double wavenumber) {
  if (!(std::fabs(wavenumber) < 1e9)) return std::nullopt;
  const long long bin = nint(wavenumber);
  if (bin < 0 || bin > MAXWAVENUMBER) return std::nullopt;
  return static_cast<size_t>(bin);
}

// The position of a line in the sum of its kind: a wavelength bin (from
// bin 1000 at 0), a 1-cm^-1 bin, or the line's number for ORD (conformers
// are matched by line number: their files list the same wavelengths in the
// same order). None when the line falls off the arrays.
std::optional<size_t> placeOf(SumKind kind, const BilPoint& point, size_t lineNumber) {
  switch (kind) {
    case SumKind::Ecd:
    case SumKind::Uv:
      if (const std::optional<long> bin = WavelengthBin(point.x)) return static_cast<size_t>(*bin - MINLAMBDA);
      return std::nullopt;
    case SumKind::Vcd:
    case SumKind::Ir:
      return wavenumberBin(point.x);
    case SumKind::Ord:
      break;
  }
  return lineNumber < ordPoints ? std::optional<size_t>(lineNumber) : std::nullopt;
}

// Adds weight times each line of one file into the result; returns the lines
// that found no place.
int addFile(const BilBody& body, SumKind kind, double weight, SumResult& result,
            std::vector<double>& wavenumberSums) {
  int skipped = 0;
  size_t placed = 0;
  for (size_t line = 0; line < body.points.size(); ++line) {
    const BilPoint& point = body.points[line];
    const std::optional<size_t> place = placeOf(kind, point, line);
    if (!place) {
      ++skipped;
      continue;
    }
    ++placed;
    if (kind == SumKind::Ecd || kind == SumKind::Uv) {
      result.bins[*place] += point.y * weight;
    } else if (kind == SumKind::Vcd || kind == SumKind::Ir) {
      wavenumberSums[*place] += point.y * weight;
    } else {
      result.ordWavelengths[*place] = point.x;
      result.ordRotations[*place] += point.y * weight;
    }
  }
  if (kind == SumKind::Ord) result.ordPoints = static_cast<int>(placed);
  return skipped;
}

// The summed 1-cm^-1 bins as a fresh line list: one row per bin that is not
// 0, in ascending wavenumber.
void writeLineList(const std::vector<double>& wavenumberSums, double divisor, SumResult& result) {
  size_t row = 0;
  for (size_t w = 0; w < wavenumberSums.size(); ++w) {
    if (wavenumberSums[w] == 0.0) continue;
    result.wavenumbers[row] = static_cast<double>(w);
    result.strengths[row] = wavenumberSums[w] / divisor;
    ++row;
  }
}

void logLine(const SumRequest& request, const std::string& line) {
  if (request.log) request.log(line);
}

}  // namespace

double TemperatureFromText(const std::string& text) {
  const double temperature = StrToFloat(text);
  if (!(temperature > 0.0) || !std::isfinite(BoltzmannFactor(temperature)))
    throw EConvertError("\"" + text + "\" is not a temperature above 0 K");
  return temperature;
}

double BoltzmannFactor(double temperature) {
  return (1.0 / (temperature * GasConstantCal)) * 1000.0;
}

std::string HeatFilePath(const std::string& bilPath, SumKind kind, const std::string& heatFolder) {
  size_t cut = 6;
  if (kind == SumKind::Ecd && bilPath.find("cd.bil") == std::string::npos) cut = 3;
  if (kind == SumKind::Ord && bilPath.find("or.bil") == std::string::npos) cut = 3;
  if (heatFolder.size() >= 2) return JoinFolder(heatFolder, LessLast(ExtractFileName(bilPath), cut) + "heat");
  return LessLast(bilPath, cut) + "heat";
}

double ReadHeatEnergy(const std::string& heatPath) {
  TextFileLines file(heatPath);
  std::string line = file.readLine();
  const size_t equals = line.find('=');
  if (equals != std::string::npos) line = line.substr(equals + 1);
  line = Trim(line);
  line = Trim(line.substr(0, line.find(' ')));
  // A box that names the heat file says which conformer to look at.
  return NamingTheLine(file, [&] { return StrToFloat(line); });
}

std::vector<double> BoltzmannWeights(const std::vector<std::optional<double>>& energies,
                                     double factor) {
  const bool anyEnergy =
      std::any_of(energies.begin(), energies.end(), [](const auto& energy) { return energy.has_value(); });
  // Without any energy every conformer counts the same.
  std::vector<std::optional<double>> used = energies;
  if (!anyEnergy)
    for (auto& energy : used) energy = 0.0;

  std::optional<double> lowest;
  for (const auto& energy : used)
    if (energy && (!lowest || *energy < *lowest)) lowest = energy;

  std::vector<double> terms(used.size(), 0.0);
  double partitionSum = 0.0;
  for (size_t j = 0; j < used.size(); ++j) {
    if (!used[j]) continue;
    terms[j] = std::exp(-((*used[j] - *lowest) * factor));
    partitionSum += terms[j];
  }
  for (double& term : terms) term /= partitionSum;
  return terms;
}

SumResult SumSpectra(const SumRequest& request) {
  SumResult result;
  const size_t fileCount = request.files.size();
  if (fileCount == 0) return result;
  if (request.kind == SumKind::Ord && request.method == SumMethod::Arithmetic) {
    result.message = ArithmeticOrdText;
    return result;
  }
  if (request.method == SumMethod::Boltzmann && fileCount > MaxBoltzmannFiles) {
    logLine(request, TooManyConformersText);
    return result;
  }

  // The mean adds every line as it is and divides once at the end.
  std::vector<double> weights(fileCount, 1.0);
  const bool boltzmann = request.method == SumMethod::Boltzmann;
  const double divisor = boltzmann ? 1.0 : static_cast<double>(fileCount);
  if (boltzmann) {
    std::vector<std::optional<double>> energies;
    for (const std::string& file : request.files) {
      const std::string heatPath = HeatFilePath(file, request.kind, request.heatFolder);
      if (FileExists(heatPath)) {
        energies.push_back(ReadHeatEnergy(heatPath));
      } else {
        logLine(request, "Heatfile " + ExtractFileName(heatPath) +
                             " not found, spectra not summed correctly!!");
        energies.push_back(std::nullopt);
      }
    }
    weights = BoltzmannWeights(energies, BoltzmannFactor(request.temperature));
  }

  std::vector<BilBody> bodies;
  for (const std::string& file : request.files) bodies.push_back(readBilBody(file));

  result.bins.assign(gridSize, 0.0);
  result.wavenumbers.assign(lineRows, 0.0);
  result.strengths.assign(lineRows, 0.0);
  result.ordWavelengths.assign(ordPoints, 0.0);
  result.ordRotations.assign(ordPoints, 0.0);
  std::vector<double> wavenumberSums(lineRows, 0.0);

  if (boltzmann) logLine(request, WeightingFactorsText);
  for (size_t j = 0; j < fileCount; ++j) {
    if (boltzmann)
      logLine(request, bodies[j].name + "\t" + FloatToStrF(100.0 * weights[j], 2));
    const int skipped = addFile(bodies[j], request.kind, weights[j], result, wavenumberSums);
    if (skipped > 0) logLine(request, LinesNotLoadedMessage(bodies[j].name, skipped));
  }
  if (request.kind == SumKind::Vcd || request.kind == SumKind::Ir)
    writeLineList(wavenumberSums, divisor, result);
  else
    for (double& bin : result.bins) bin /= divisor;
  result.summed = true;
  return result;
}
