// The extractors of the spectra extraction over small outputs of our own:
// which states, rows, points and modes each takes, its wavelength window,
// the headers by formalism and what a full table leaves out.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "files/bilfiles.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "platform/testing/session.h"
#include "tools/spectra_extraction.h"
#include "tests/test_spectra_extraction_support.h"

namespace {

using Lines = std::vector<std::string>;
using F = ExtractionFormalism;
using P = SpectraProgram;

std::string number(double value) { return std::to_string(value); }

// What one output gives: the found texts, each file's lines by ending, the notes.
struct Extraction {
  Lines found;
  std::map<std::string, Lines> files;
  Lines notes;
  std::string nothingDrawn;
};

Extraction extractText(const std::string& text, P program, F formalism) {
  TempFolder folder;
  const std::string path = folder.file("job.log");
  writeTextFile(path, text);
  const ExtractedSpectra spectra = ExtractSpectra(path, program, formalism);
  Extraction extraction;
  for (const ExtractedKind& kind : ExtractedBilFiles(spectra, program, formalism)) {
    extraction.found.push_back(kind.foundText);
    for (const ExtractedBilFile& file : kind.files) extraction.files[file.ending] = file.lines;
  }
  for (const ExtractionNote& note : spectra.notes) extraction.notes.push_back(note.line("job.log"));
  extraction.nothingDrawn = spectra.nothingDrawn;
  return extraction;
}

Lines withHeader(const char* header, Lines body) {
  body.insert(body.begin(), header);
  return body;
}

// ---- Gaussian -------------------------------------------------------------------------

struct State {
  double nm;
  double fLength, fVelocity, rVelocity, rLength;
};

// One table of a block: its heading lines, then a row per state that ends in
// the state's value of the table (and `suffix`).
struct Table {
  std::string heading;
  std::string prefix;
  double State::*value;
  std::string suffix;
};

// An excited-state block: its tables, then the list of states.
std::string excitedStates(const std::vector<State>& states, const std::vector<Table>& tables,
                          const std::string& stateLine) {
  std::string text;
  for (const Table& table : tables) {
    text += table.heading;
    for (size_t k = 0; k < states.size(); ++k)
      text += "         " + std::to_string(k + 1) + table.prefix + number(states[k].*table.value) + table.suffix + "\n";
  }
  text += "\n Excitation energies and oscillator strengths:\n \n";
  for (size_t k = 0; k < states.size(); ++k)
    text += " Excited State   " + std::to_string(k + 1) + stateLine + number(states[k].nm) + " nm  f=" +
            number(states[k].fLength) + "\n      34 -> 36         0.52587\n \n";
  return text + " SavETr:  write IOETrn=   770 NScale= 10 NData=  16 NLR=1 NState=    4\n";
}

// One excited-state block of a Gaussian 09/16 TD output.
std::string gaussianBlock(const std::vector<State>& states,
                          const std::string& stateLine = ":      Singlet-A      5.8218 eV  ") {
  return excitedStates(
      states,
      {{" Ground to excited state transition velocity dipole moments (Au):\n"
        "       state          X           Y           Z        Dip. S.      Osc.\n",
        "         0.0127     -0.0123      0.0010      0.0003      ", &State::fVelocity, ""},
       {" Ground to excited state transition magnetic dipole moments (Au):\n"
        "       state          X           Y           Z\n",
        "        -0.0097      0.0163     -0.0174", &State::nm, ""},
       {" <0|del|b> * <b|rxdel|0> + <0|del|b> * <b|delr+rdel|0>\n"
        " Rotatory Strengths (R) in cgs (10**-40 erg-esu-cm/Gauss)\n"
        "       state          XX          YY          ZZ    R(velocity)    E-M Angle\n",
        "        -0.5409     -0.1929     -0.4285      ", &State::rVelocity, "      138.41"},
       {" 1/2[<0|r|b>*<b|rxdel|0> + (<0|rxdel|b>*<b|r|0>)*]\n"
        " Rotatory Strengths (R) in cgs (10**-40 erg-esu-cm/Gauss)\n"
        "       state          XX          YY          ZZ     R(length)\n",
        "        -0.6314     -0.8070      0.0043     ", &State::rLength, ""},
       {"  1/2[<0|del|b>*<b|r|0> + (<0|r|b>*<b|del|0>)*] (Au)\n"
        "       state          X           Y           Z        Dip. S.   Osc.(frdel)\n",
        "        -0.0012     -0.0009      0.0000      0.0020      ", &State::fLength, ""}},
      stateLine);
}

// The same in the layout of Gaussian 03: the rotatory strength is the last
// field of its rows.
std::string gaussian03Block(const std::vector<State>& states) {
  return excitedStates(
      states,
      {{" Ground to excited state transition velocity dipole Moments (Au):\n"
        "       state          X           Y           Z          Osc.\n",
        "         0.0001      0.0010     -0.0011      ", &State::fVelocity, ""},
       {" Ground to excited state transition magnetic dipole Moments (Au):\n"
        "       state          X           Y           Z\n",
        "        -0.3120      0.2570      0.1025", &State::nm, ""},
       {" <0|del|b> * <b|rxdel|0>  (Au), Rotatory Strengths (R) in\n"
        " cgs (10**-40 erg-esu-cm/Gauss)\n"
        "       state          X           Y           Z     R(velocity)\n",
        "        -0.0001     -0.0017      0.0015     ", &State::rVelocity, ""},
       {" <0|r|b> * <b|rxdel|0>  (Au), Rotatory Strengths (R) in\n"
        " cgs (10**-40 erg-esu-cm/Gauss)\n"
        "       state          X           Y           Z     R(length)\n",
        "         0.0006      0.0096     -0.0082     ", &State::rLength, ""},
       {"  <0|del|b> * <b|r|0>  (Au)\n"
        "       state          X           Y           Z       Osc.(frdel)\n",
        "        -0.0001     -0.0008     -0.0003      ", &State::fLength, ""}},
      ":   Singlet-A      5.2862 eV  ");
}

std::string gaussian09(const std::string& body) {
  return " Entering Gaussian System, Link 0=g16\n Gaussian 16:  ES64L-G16RevA.03 25-Dec-2016\n" + body +
         " Normal termination of Gaussian 16.\n";
}

// A frequency analysis: blocks of up to three modes (wavenumber, dipole
// strength, rotational strength).
struct Mode {
  double wavenumber, dipole, rotational;
};
std::string frequencyAnalysis(const std::vector<Mode>& modes) {
  std::string text = " Harmonic frequencies (cm**-1), IR intensities (KM/Mole), Raman scattering\n";
  for (size_t first = 0; first < modes.size(); first += 3) {
    std::string frequencies = " Frequencies --", dipoles = " Dip. str.   --", rotationals = " Rot. str.   --";
    for (size_t k = first; k < std::min(first + 3, modes.size()); ++k) {
      frequencies += "   " + number(modes[k].wavenumber);
      dipoles += "   " + number(modes[k].dipole);
      rotationals += "   " + number(modes[k].rotational);
    }
    text += "                      1                      2                      3\n"
            "                     A                      A                      A\n" +
            frequencies + "\n Red. masses --      1.3348                 1.3041                 2.9470\n"
            " Frc consts  --      1.2883                 1.3753                 4.1630\n"
            " IR Inten    --     11.0336                11.8913                50.4624\n" +
            dipoles + "\n" + rotationals + "\n E-M angle   --     90.0000                90.0000                90.0000\n"
            "  Atom  AN      X      Y      Z        X      Y      Z        X      Y      Z\n"
            "     1   6     0.00  -0.00  -0.17     0.14   0.00   0.00     0.00  -0.27  -0.00\n";
  }
  return text + " -------------------\n - Thermochemistry -\n -------------------\n";
}

// Optical rotations: wavelengths in Ångström and rotations.
std::string rotations(const std::vector<std::pair<double, double>>& points) {
  std::string text = " [Alpha]D (static) =        1.00 deg.\n";
  for (const auto& [angstrom, rotation] : points)
    text += " [Alpha] ( " + number(angstrom) + " A) =       " + number(rotation) + " deg.\n";
  return text + " Leave Link 1002 at Thu Dec 10 10:01:00 2026\n";
}

// 1500 nm is beyond every window; 1100.04 nm falls into bin 11000, which only
// the velocity gauge of Gaussian 09/16 takes; 99.9 nm is below every window.
const std::vector<State> windowStates = {{1500.0, 0.1, 0.11, 1.0, 10.0},
                                         {1100.04, 0.2, 0.21, 2.0, 20.0},
                                         {99.9, 0.3, 0.31, 3.0, 30.0},
                                         {500.0, 0.4, 0.41, 4.0, 40.0}};

TEST(SpectraExtraction, GaussianWindowsAndHeadersByFormalism) {
  const std::string g09 = gaussian09(gaussianBlock(windowStates));
  const std::string g03 = " Gaussian 03:  IA32L-G03RevB.05 31-Oct-2003\n" + gaussian03Block(windowStates);
  struct Case {
    std::string name;
    const std::string& text;
    P program;
    F formalism;
    Lines cd, uv;
    std::string found;
  };
  const std::vector<Case> cases = {
      {"g09 length", g09, P::Gaussian09, F::Length,
       withHeader(ExtractedCdBilHeaderLength, {"500.0\t40.000000"}),
       withHeader(ExtractedUvBilHeaderLength, {"500.0\t0.400000"}), "ECD/UV found in "},
      {"g09 velocity", g09, P::Gaussian09, F::Velocity,
       withHeader(ExtractedCdBilHeaderVelocity, {"500.0\t4.000000", "1100.0\t2.000000"}),
       withHeader(ExtractedUvBilHeaderVelocity, {"500.0\t0.410000", "1100.0\t0.210000"}), "ECD/UV found in "},
      {"g03 length", g03, P::Gaussian03, F::Length,
       withHeader(ExtractedCdBilHeaderLength, {"500.0\t40.000000"}),
       withHeader(ExtractedUvBilHeaderLength, {"500.0\t0.400000"}), "Spectra found in "},
      {"g03 velocity", g03, P::Gaussian03, F::Velocity,
       withHeader(ExtractedCdBilHeaderVelocity, {"500.0\t4.000000"}),
       withHeader(ExtractedUvBilHeaderVelocity, {"500.0\t0.410000"}), "Spectra found in "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Extraction extraction = extractText(c.text, c.program, c.formalism);
    EXPECT_EQ(extraction.found, Lines{c.found});
    EXPECT_EQ(extraction.files.at("cd.bil"), c.cd);
    EXPECT_EQ(extraction.files.at("uv.bil"), c.uv);
    EXPECT_TRUE(extraction.notes.empty());
  }
  // Without a formalism no transition table is read.
  EXPECT_TRUE(extractText(g09, P::Gaussian09, F::None).found.empty());
}

// States between 1100 and 4000 nm lie on the plots after File > Open but
// outside every bin a bil file of the extraction holds: the batch writes no
// bil file, and its log names the file and why.
TEST(SpectraExtraction, GaussianStatesBeyondTheBilFileWriteNone) {
  TempFolder root;
  writeTextFile(root.file("job.log"),
                gaussian09(gaussianBlock({{1500.0, 0.1, 0.11, 1.0, 10.0}, {2500.0, 0.2, 0.21, 2.0, 20.0}})));
  Session ui;
  extractSpectra(ui, root.path(), false);
  EXPECT_EQ(spectraLog(), (Lines{"job.log is a Gaussian16 File",
                                 "No Spectral Data found in /job.log: all 2 states lie outside "
                                 "100-1100 nm."}));
  EXPECT_FALSE(std::filesystem::exists(root.file("spectra")));
  EXPECT_TRUE(ui.errorBoxes().empty());
}

// Beside the modes of a frequency job, states that give the cd.bil and uv.bil
// files no line leave the pair out, and the log says why.
TEST(SpectraExtraction, GaussianStatesBeyondTheBilFileBesideModesWriteOnlyTheModes) {
  TempFolder root;
  writeTextFile(root.file("job.log"),
                gaussian09(gaussianBlock({{1500.0, 0.1, 0.11, 1.0, 10.0}}) +
                           frequencyAnalysis({{1000.0, 10.0, 2.0}, {1100.0, 20.0, -3.0}})));
  Session ui;
  extractSpectra(ui, root.path(), false);
  EXPECT_EQ(spectraLog(), (Lines{"job.log is a Gaussian16 File",
                                 "No cd.bil or uv.bil written for job.log: its one state lies outside 100-1100 nm.",
                                 "VCD found in job.log", "IR found in job.log"}));
  EXPECT_FALSE(std::filesystem::exists(root.file("spectra/job.cd.bil")));
  EXPECT_FALSE(std::filesystem::exists(root.file("spectra/job.uv.bil")));
  EXPECT_TRUE(std::filesystem::exists(root.file("spectra/job.vc.bil")));
  EXPECT_TRUE(std::filesystem::exists(root.file("spectra/job.ir.bil")));
  EXPECT_TRUE(ui.errorBoxes().empty());
}

// A wavelength of four digits stands one blank after "eV": every digit
// counts in both gauges.
TEST(SpectraExtraction, GaussianFourDigitWavelengths) {
  const std::string text =
      gaussian09(gaussianBlock({{1033.81, 0.1, 0.2, 3.0, 4.0}}, ":      Singlet-A      1.1989 eV "));
  EXPECT_EQ(extractText(text, P::Gaussian09, F::Velocity).files.at("cd.bil"),
            withHeader(ExtractedCdBilHeaderVelocity, {"1033.8\t3.000000"}));
  EXPECT_EQ(extractText(text, P::Gaussian09, F::Length).files.at("uv.bil"),
            withHeader(ExtractedUvBilHeaderLength, {"1033.8\t0.100000"}));
}

// Two excited-state blocks (an optimisation, a guess before the final
// method): the last complete one is the spectrum, as after File > Open.
TEST(SpectraExtraction, GaussianTwoBlocksGiveTheLast) {
  const std::string text = gaussian09(gaussianBlock({{300.0, 0.1, 0.1, 5.0, 5.0}, {400.0, 0.1, 0.1, 6.0, 6.0}}) +
                                      gaussianBlock({{300.0, 0.2, 0.2, 7.0, 7.0}}));
  const Extraction extraction = extractText(text, P::Gaussian09, F::Length);
  EXPECT_EQ(extraction.files.at("cd.bil"), withHeader(ExtractedCdBilHeaderLength, {"300.0\t7.000000"}));
  EXPECT_EQ(extraction.files.at("uv.bil"), withHeader(ExtractedUvBilHeaderLength, {"300.0\t0.200000"}));
}

// Modes in file order, a block of two, strengths that print 0 kept beside
// their wavenumbers; a second analysis replaces the first; frequencies
// without strengths give neither file.
TEST(SpectraExtraction, GaussianVibrations) {
  const std::vector<Mode> modes = {{1000.0, 10.0, 0.0}, {1100.0, 0.0, 2.0}, {1200.0, 30.0, 3.0},
                                   {1300.0, 40.0, 4.0}, {1400.0, 50.0, -5.0}};
  const Extraction one = extractText(gaussian09(frequencyAnalysis(modes)), P::Gaussian09, F::Length);
  EXPECT_EQ(one.found, (Lines{"VCD found in ", "IR found in "}));
  EXPECT_EQ(one.files.at("vc.bil"),
            withHeader(VcdBilHeader, {"1000.00\t0.000000", "1100.00\t2.000000", "1200.00\t3.000000",
                                      "1300.00\t4.000000", "1400.00\t-5.000000"}));
  EXPECT_EQ(one.files.at("ir.bil"),
            withHeader(ExtractedIrBilHeader, {"1000.00\t10.000000", "1100.00\t0.000000", "1200.00\t30.000000",
                                              "1300.00\t40.000000", "1400.00\t50.000000"}));

  const Extraction two = extractText(
      gaussian09(frequencyAnalysis({{900.0, 1.0, 1.0}}) + frequencyAnalysis({{950.0, 2.0, 3.0}})),
      P::Gaussian09, F::Length);
  EXPECT_EQ(two.files.at("vc.bil"), withHeader(VcdBilHeader, {"950.00\t3.000000"}));
  EXPECT_EQ(two.files.at("ir.bil"), withHeader(ExtractedIrBilHeader, {"950.00\t2.000000"}));

  std::string plain = frequencyAnalysis(modes);
  for (const std::string marker : {" Dip. str.   --", " Rot. str.   --"})
    for (size_t at = plain.find(marker); at != std::string::npos; at = plain.find(marker))
      plain.replace(at, marker.size(), " Raman Act.  --");
  EXPECT_TRUE(extractText(gaussian09(plain), P::Gaussian09, F::Length).found.empty());
}

// The last block of optical rotations counts; a block of one line gives one
// point; the value stands after the "=" that follows the wavelength.
TEST(SpectraExtraction, GaussianOpticalRotations) {
  const Extraction two = extractText(gaussian09(rotations({{5890.0, 12.5}, {4358.0, 23.25}}) +
                                                rotations({{3550.0, -34.5}})),
                                     P::Gaussian09, F::Length);
  EXPECT_EQ(two.found, Lines{"ORD-values found in "});
  EXPECT_EQ(two.files.at("or.bil"), withHeader(ExtractedOrdBilHeader, {"355.0\t-34.500000"}));

  const Extraction molarMass = extractText(
      gaussian09(" Molar Mass =    30.0262 grams/mole, [Alpha] ( 5320.0 A) =        0.00 deg.\n"
                 " Leave Link 1002\n"),
      P::Gaussian09, F::Velocity);
  EXPECT_EQ(molarMass.files.at("or.bil"), withHeader(ExtractedOrdBilHeader, {"532.0\t0.000000"}));

  const Extraction g03 = extractText(" Gaussian 03:  IA32L-G03RevB.05\n [Alpha]D =      -45.67 deg.\n"
                                     " [Alpha] ( 4358.0 A) =      -88.10 deg.\n Leave Link 1002\n",
                                     P::Gaussian03, F::Length);
  EXPECT_EQ(g03.files.at("or.bil"),
            withHeader(ExtractedOrdBilHeader, {"589.3\t-45.670000", "435.8\t-88.100000"}));
}

// A Gaussian 03 output that ends after its tables, before the list of
// states: no state, so no bil file, and the note of the cut.
TEST(SpectraExtraction, Gaussian03CutBeforeItsStateList) {
  std::string text = " Gaussian 03:  IA32L-G03RevB.05\n" + gaussian03Block(windowStates);
  text.erase(text.find(" Excitation energies and oscillator strengths:"));
  const Extraction extraction = extractText(text, P::Gaussian03, F::Length);
  EXPECT_TRUE(extraction.found.empty());
  EXPECT_TRUE(extraction.files.empty());
  EXPECT_EQ(extraction.nothingDrawn, "it prints no excited state, or none in a table the program reads");
  EXPECT_EQ(extraction.notes.size(), 1u);
}

// ---- ORCA ----------------------------------------------------------------------------

std::string orcaTable(const std::string& title, const std::string& unitLine, const std::string& rows) {
  return "-----------------------------------------------------------------------------\n"
         "                         " + title + "\n"
         "-----------------------------------------------------------------------------\n"
         "State   Energy  Wavelength  fosc         T2        TX        TY        TZ\n" + unitLine + "\n"
         "-----------------------------------------------------------------------------\n" + rows + "\n";
}

std::string orca(const std::string& version, const std::string& tables) {
  return "\n                                 * O   R   C   A *\n\n"
         "                         Program Version " + version + " - Revision 00 -\n\n" + tables +
         "           *** ORCA-CIS/TD-DFT FINISHED WITHOUT ERROR ***\n";
}

// Rows at 100 and 4000 nm, with no positive energy or "spin forbidden" add
// nothing; 100.04 nm falls into bin 1000. Before version 4 a unit line
// without "1e40*sgs" converts atomic units; from version 4 nothing converts.
TEST(SpectraExtraction, OrcaRowsUnitsAndVersions) {
  const std::string cdRows =
      "   1   40000.0    250.0   0.01000   0.00000   0.00000  -0.00000\n"
      "   2   99960.0    100.04  0.02000   0.00000   0.00000  -0.00000\n"
      "   3  100000.0    100.0   0.70000   0.00000  -0.00000  -0.08290\n"
      "   4    2500.0   4000.0   0.90000   0.00000  -0.00000  -0.08290\n"
      "   5       0.0    300.0   0.50000   0.00000  -0.00000   0.00030\n"
      "   6   24080.5    415.3 spin forbidden\n";
  const std::string uvRows = "   1   40000.0    250.0   0.100000000   0.27410   0.50316   0.14465  -0.00000\n";
  const std::string atomic = "        (cm-1)   (nm)      (au)      (au)      (au)";
  const std::string sgs = "        (cm-1)   (nm)   (1e40*sgs)   (au)      (au)      (au)";
  const std::string uvUnits = "        (cm-1)    (nm)                  (D**2)     (D)       (D)       (D)";
  struct Case {
    std::string name, version, unitLine;
    double factor;
  };
  const std::vector<Case> cases = {{"before 4, atomic units", "2.6", atomic, 471.450602},
                                   {"before 4, sgs", "3.0.3", sgs, 1.0},
                                   {"from 4", "4.2.1", atomic, 1.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Extraction extraction = extractText(
        orca(c.version, orcaTable("ABSORPTION SPECTRUM", uvUnits, uvRows) + orcaTable("CD SPECTRUM", c.unitLine, cdRows)),
        P::Orca, F::Length);
    EXPECT_EQ(extraction.found, Lines{"Spectra found in "});
    EXPECT_EQ(extraction.files.at("cd.bil"),
              withHeader(ExtractedCdBilHeaderLength,
                         {"100.0\t" + FloatToStrFixed(0.02 * c.factor, 10, 6), "250.0\t" + FloatToStrFixed(0.01 * c.factor, 10, 6)}));
    EXPECT_EQ(extraction.files.at("uv.bil"), withHeader(ExtractedUvBilHeaderLength, {"250.0\t0.100000"}));
  }

  const Extraction absorptionOnly =
      extractText(orca("2.6", orcaTable("ABSORPTION SPECTRUM", uvUnits, uvRows)), P::Orca, F::Length);
  EXPECT_EQ(absorptionOnly.found, Lines{"Spectra found in "});
  EXPECT_EQ(absorptionOnly.files.at("cd.bil"), Lines{ExtractedCdBilHeaderLength});
  EXPECT_EQ(absorptionOnly.files.at("uv.bil"), withHeader(ExtractedUvBilHeaderLength, {"250.0\t0.100000"}));

  // No version line: nothing is read, as File > Open reads nothing.
  EXPECT_TRUE(extractText("* O   R   C   A *\n" + orcaTable("CD SPECTRUM", sgs, cdRows), P::Orca, F::Length).found.empty());
}

// Once per transition: a state table counts only where the file has no CD
// or absorption table.
TEST(SpectraExtraction, OrcaStateTableOnlyWithoutCdAndAbsorptionTables) {
  const std::string stateTable =
      "           state   eV        nm        fL         fV        Rl        RV\n"
      "    1     5.000   250.0    0.20000    0.21000    3.00000    3.10000\n\n";
  const Extraction alone = extractText(orca("4.2.1", stateTable), P::Orca, F::Length);
  EXPECT_EQ(alone.files.at("cd.bil"), withHeader(ExtractedCdBilHeaderLength, {"250.0\t3.000000"}));
  EXPECT_EQ(alone.files.at("uv.bil"), withHeader(ExtractedUvBilHeaderLength, {"250.0\t0.200000"}));

  const std::string units = "        (cm-1)   (nm)   (1e40*sgs)   (au)      (au)      (au)";
  const Extraction both = extractText(
      orca("4.2.1", stateTable + orcaTable("ABSORPTION SPECTRUM", units, "   1   40000.0    250.0   0.500000000   0.2\n") +
                        orcaTable("CD SPECTRUM", units, "   1   40000.0    250.0   7.00000   0.0\n")),
      P::Orca, F::Length);
  EXPECT_EQ(both.files.at("cd.bil"), withHeader(ExtractedCdBilHeaderLength, {"250.0\t7.000000"}));
  EXPECT_EQ(both.files.at("uv.bil"), withHeader(ExtractedUvBilHeaderLength, {"250.0\t0.500000"}));
}

// ---- TURBOMOLE --------------------------------------------------------------------------

std::string escfState(double nm, double fVelocity, double fLength, double rVelocity, double rLength) {
  return " Excitation energy / nm:                  " + number(nm) + "\n\n"
         " Excitation energy / cm^(-1):             58590.27604629409\n\n\n"
         " Oscillator strength:\n\n"
         "    velocity representation:             " + number(fVelocity) + "\n\n"
         "    length representation:               " + number(fLength) + "\n\n"
         "    mixed representation:                0.2569085979998732E-02\n\n\n"
         " Rotatory strength:\n\n"
         "    velocity representation:            -0.1531137971084215E-07\n\n"
         "    velocity rep. / 10^(-40)erg*cm^3:    " + number(rVelocity) + "\n\n"
         "    length representation:               0.1965888546515254E-08\n\n"
         "    length rep. / 10^(-40)erg*cm^3:       " + number(rLength) + "\n\n\n";
}

std::string escf(const std::string& tables) {
  return " escf (node01) : TURBOMOLE rev. V7-6\n\n" + tables;
}
const std::string escfDone = "   ****  escf : all done  ****\n";

std::string ricc2State(double electronVolts, double fLength, double fVelocity, double rLength, double rVelocity) {
  return "  |    frequency :   0.3257471432 a.u.     " + number(electronVolts) + " e.V.     71493.2 rcm     |\n"
         "       oscillator strength (length gauge)   :      " + number(fLength) + "\n"
         "       oscillator strength (velocity gauge) :      " + number(fVelocity) + "\n"
         "       Rotator strength (length gauge)      :     " + number(rLength) + "  10^(-40)*erg*cm^3\n"
         "       Rotator strength (velocity gauge)    :     " + number(rVelocity) + "  10^(-40)*erg*cm^3\n";
}

std::string ricc2Table(const std::string& states) {
  return " *<<<<<<<<<<<<  ONE-PHOTON ABSORPTION STRENGTHS  >>>>>>>>>>>>>*\n" + states;
}

// States at exactly 100 and 1100 nm are written, 99.9 and 1100.1 nm are not;
// the second table replaces the first; an energy of 0 has no wavelength.
TEST(SpectraExtraction, TurbomoleWindowsAndLastTable) {
  const std::string escfTables =
      escf(escfState(300.0, 9.0, 9.0, 9.0, 9.0) + escfDone + escfState(100.0, 0.1, 0.2, 1.0, 2.0) +
           escfState(1100.0, 0.3, 0.4, 3.0, 4.0) + escfState(1100.1, 0.5, 0.6, 5.0, 6.0) +
           escfState(99.9, 0.7, 0.8, 7.0, 8.0) + escfDone);
  const std::string ricc2Tables =
      " ricc2 (node01) : TURBOMOLE rev. V7.4.1\n" + ricc2Table(ricc2State(4.0, 9.0, 9.0, 9.0, 9.0)) +
      " ****  ricc2 : all done  ****\n" +
      ricc2Table(ricc2State(5.0, 0.1, 0.2, 1.0, 2.0) + ricc2State(0.0, 0.3, 0.4, 3.0, 4.0)) +
      " ****  ricc2 : all done  ****\n";
  struct Case {
    std::string name;
    const std::string& text;
    P program;
    F formalism;
    Lines cd, uv;
  };
  const std::vector<Case> cases = {
      {"escf length", escfTables, P::Escf, F::Length,
       withHeader(ExtractedCdBilHeaderLength, {"100.0\t2.000000", "1100.0\t4.000000"}),
       withHeader(ExtractedUvBilHeaderLength, {"100.0\t0.200000", "1100.0\t0.400000"})},
      {"escf velocity", escfTables, P::Escf, F::Velocity,
       withHeader(ExtractedCdBilHeaderVelocity, {"100.0\t1.000000", "1100.0\t3.000000"}),
       withHeader(ExtractedUvBilHeaderVelocity, {"100.0\t0.100000", "1100.0\t0.300000"})},
      {"ricc2 length", ricc2Tables, P::Ricc2, F::Length,
       withHeader(ExtractedCdBilHeaderLength, {"247.9\t1.000000"}),
       withHeader(ExtractedUvBilHeaderLength, {"247.9\t0.100000"})},
      {"ricc2 velocity", ricc2Tables, P::Ricc2, F::Velocity,
       withHeader(ExtractedCdBilHeaderVelocity, {"247.9\t2.000000"}),
       withHeader(ExtractedUvBilHeaderVelocity, {"247.9\t0.200000"})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Extraction extraction = extractText(c.text, c.program, c.formalism);
    EXPECT_EQ(extraction.found, Lines{"Spectra found in "});
    EXPECT_EQ(extraction.files.at("cd.bil"), c.cd);
    EXPECT_EQ(extraction.files.at("uv.bil"), c.uv);
  }
  EXPECT_TRUE(extractText(escfTables, P::Escf, F::None).found.empty());
}

// A ricc2 table without rotatory strengths: the oscillator strengths are
// written, cd.bil holds its header.
TEST(SpectraExtraction, Ricc2WithoutRotatoryStrengths) {
  std::string state = ricc2State(5.0, 0.1, 0.2, 1.0, 2.0);
  state.erase(state.find("       Rotator strength (length gauge)"));
  const Extraction extraction = extractText(
      " ricc2 (node01) : TURBOMOLE rev. V7.4.1\n" + ricc2Table(state) + " ****  ricc2 : all done  ****\n",
      P::Ricc2, F::Length);
  EXPECT_EQ(extraction.files.at("cd.bil"), Lines{ExtractedCdBilHeaderLength});
  EXPECT_EQ(extraction.files.at("uv.bil"), withHeader(ExtractedUvBilHeaderLength, {"247.9\t0.100000"}));
}

// ---- sTDA -------------------------------------------------------------------------------

// Two rows in one 0.1-nm bin both count; rows without a bin of 100 to
// 1100 nm (an energy of 0 or below, or below 1.127 eV) add nothing.
TEST(SpectraExtraction, StdaBinsAndTables) {
  const std::string rows = "DATXY\n"
                           "    1   5.00000   0.10000   0.20000   10.00000   20.00000\n"
                           "    2   5.00001   0.30000   0.40000   30.00000   40.00000\n"
                           "    3   0.00000   0.50000   0.60000    7.00000    8.00000\n"
                           "    4  -1.00000   0.50000   0.60000    7.00000    8.00000\n"
                           "    5   1.00000   0.50000   0.60000    7.00000    8.00000\n";
  const Extraction length = extractText(rows, P::Stda, F::Length);
  EXPECT_EQ(length.found, Lines{"Spectra found in "});
  EXPECT_EQ(length.files.at("cd.bil"), withHeader(ExtractedCdBilHeaderLength, {"247.9\t40.000000"}));
  EXPECT_EQ(length.files.at("uv.bil"), withHeader(ExtractedUvBilHeaderLength, {"247.9\t0.400000"}));
  const Extraction velocity = extractText(rows, P::Stda, F::Velocity);
  EXPECT_EQ(velocity.files.at("cd.bil"), withHeader(ExtractedCdBilHeaderVelocity, {"247.9\t60.000000"}));
  EXPECT_EQ(velocity.files.at("uv.bil"), withHeader(ExtractedUvBilHeaderVelocity, {"247.9\t0.600000"}));

  // A table without rows, or of rows off the grid, gives no bil file.
  const Extraction noRows = extractText(" header\nDATXY\n", P::Stda, F::Length);
  EXPECT_TRUE(noRows.files.empty());
  EXPECT_EQ(noRows.nothingDrawn, "it prints no excited state, or none in a table the program reads");
  const Extraction high = extractText("DATXY\n    1  13.00000   0.1   0.2   10.0   20.0\n"
                                      "    2  15.00000   0.1   0.2   10.0   20.0\n",
                                      P::Stda, F::Length);
  EXPECT_TRUE(high.files.empty());
  // Judged by the bins of the bil file, 100-1100 nm.
  EXPECT_EQ(high.nothingDrawn, "all 2 states lie outside 100-1100 nm");
  EXPECT_TRUE(extractText(" no table here\n", P::Stda, F::Length).found.empty());
  EXPECT_TRUE(extractText(rows, P::Stda, F::None).found.empty());
}

// ---- Bounds --------------------------------------------------------------------------------

// 350 states, 100 optical rotations and 4001 modes are kept; past a bound
// the rest is left out and one note says so.
TEST(SpectraExtraction, TablesStopAtTheirBounds) {
  std::vector<State> states;
  for (int k = 0; k < 351; ++k) states.push_back({200.0 + k, 0.001, 0.001, 1.0, 1.0});
  std::vector<std::pair<double, double>> points;
  for (int k = 0; k < 101; ++k) points.push_back({3000.0 + 10.0 * k, 1.0});
  std::vector<Mode> modes;
  for (int k = 0; k < 4002; ++k) modes.push_back({100.0 + k, 1.0, 1.0});
  struct Case {
    std::string name, text, ending;
    size_t lines;
  };
  const std::vector<Case> cases = {
      {"states", gaussian09(gaussianBlock(states)), "cd.bil", 350},
      {"rotations", gaussian09(rotations(points)), "or.bil", 100},
      {"modes", gaussian09(frequencyAnalysis(modes)), "ir.bil", 4001},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Extraction extraction = extractText(c.text, P::Gaussian09, F::Length);
    EXPECT_EQ(extraction.files.at(c.ending).size(), c.lines + 1);
    ASSERT_EQ(extraction.notes.size(), 1u);
    EXPECT_EQ(extraction.notes[0].find("Not everything of job.log was loaded: "), 0u) << extraction.notes[0];
  }
}

}  // namespace
