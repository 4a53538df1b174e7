// The energies of one conformer output, for the heat extraction window:
// which program wrote the file, and the energy texts it prints.
//
// The readers are plain functions of a path; they read the file from its
// beginning and give the energy texts exactly as they cut them from the
// file (Gaussian and ORCA: hartree, MOPAC: kcal/mol), in the order found.
// A cut past the end of a text leaves "", never an out-of-range access; a
// text that is not a number shows only when its heat line is formed.
#pragma once

#include <string>
#include <vector>

enum class EnergyProgram { None, Gaussian03, Gaussian09, Gaussian16, Mopac, Orca };

// Reads the file until a line names the program that wrote it (the first
// marker a line holds decides); None when no line does. Raises EInOutError
// when the file cannot be read.
EnergyProgram RecognizeEnergyOutput(const std::string& path);

// The text the log adds after the file's name (" is a Gaussian09 File").
const char* RecognitionText(EnergyProgram program);

// Whether a line holds MOPAC's own banner, of any version ("MOPAC2007",
// "MOPAC2016", "MOPAC v22.0.6").
bool IsMopacBanner(const std::string& line);

struct EnergyTexts {
  std::vector<std::string> energies;
  // Gaussian: archive records met, in either mode; 2 or more makes the
  // "Attention" line.
  int records = 0;
};

// Gaussian: the energy of each archive record (HF, MP2 or QCISD(T) by the
// route, which like the title may wrap over several archive lines), or,
// with `gibbs`, each "Sum of electronic and thermal Free Energies" value.
// A record is found by its first line ("1\1\"); its values count only when
// it runs to its end marker ("\@"): a record cut by the end of the file
// raises EInOutError.
EnergyTexts GaussianEnergies(const std::string& path, bool gibbs);
// MOPAC: each "FINAL HEAT OF FORMATION" value, in kcal/mol; in a file
// without one (FORCE jobs), its last "HEAT OF FORMATION =" value.
EnergyTexts MopacEnergies(const std::string& path);
// ORCA: the "FINAL SINGLE POINT ENERGY" values of a converged optimisation
// or of a single point run, or, with `gibbs`, each "Final Gibbs free
// enthalpy" value.
EnergyTexts OrcaEnergies(const std::string& path, bool gibbs);

// hartree to kcal/mol
constexpr double HartreeInKcalPerMol = 627.51;

// The heat-file line of a hartree text: the value times 627.51 in the
// general number form. Raises EConvertError when the text is no number.
std::string HartreeHeatLine(const std::string& hartree);
// The heat-file line of a MOPAC heat of formation, taken as printed. Raises
// EConvertError when the text is no number, so that no heat file holds a
// line the sum cannot read.
std::string KcalHeatLine(const std::string& kcalPerMol);
