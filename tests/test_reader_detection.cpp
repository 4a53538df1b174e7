// Program detection: which reader each detector hands an output file to, and
// the guard that turns file errors into one message.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/testing/session.h"
#include "readers/reader_core.h"

namespace {

struct Detected {
  std::string uv, ecd, ir, vcd;
};

// Runs the four detectors on a file and records the reader each one chose
// ("" when none).
Detected detectAll(Session& ui, const std::string& path) {
  Detected detected;
  std::string* target = nullptr;
  readers::watchReaders([&](const std::string& name) { *target = name; });
  target = &detected.uv;
  ui.act([&] { Form1->DetectQMSUV(path, 1); });
  target = &detected.ecd;
  ui.act([&] { Form1->DetectQMSCD(path, 1); });
  target = &detected.ir;
  ui.act([&] { Form1->DetectQMSIR(path, 1); });
  target = &detected.vcd;
  ui.act([&] { Form1->DetectQMSVCD(path, 1); });
  readers::watchReaders(nullptr);
  return detected;
}

struct BannerCase {
  const char* what;
  std::string text;
  Detected expected;
};

TEST(ProgramDetection, BannersChooseTheReaderOfTheirProgram) {
  const std::string preamble = " some header line\r\n";
  const std::vector<BannerCase> cases = {
      {"Gaussian 98",
       " Gaussian 98:  x86-Linux-G98RevA.11.3\r\n",
       {"GAUSSIAN03UV", "GAUSSIAN03CD", "", ""}},
      {"Gaussian 03",
       " Gaussian 03:  IA32L-G03RevB.05\r\n",
       {"GAUSSIAN03UV", "GAUSSIAN03CD", "", ""}},
      {"Gaussian 09",
       " Gaussian 09:  EM64L-G09RevD.01\r\n",
       {"GAUSSIAN09UV", "GAUSSIAN09CD", "GAUSSIAN09IR", "GAUSSIAN09VCD"}},
      {"Gaussian 16",
       " Gaussian 16:  ES64L-G16RevA.03\n",
       {"GAUSSIAN09UV", "GAUSSIAN09CD", "GAUSSIAN09IR", "GAUSSIAN09VCD"}},
      {"ORCA 3",
       "                 * O   R   C   A *\r\n\r\n           Program Version 3.0.3 -  RELEASE   "
       "-\r\n",
       {"ORCAUV", "ORCACD", "", ""}},
      {"ORCA 4",
       "* O   R   C   A *\nProgram Version 4.2.1 -  RELEASE  -\n",
       {"ORCA4UV", "ORCA4CD", "", ""}},
      {"ORCA 5",
       "* O   R   C   A *\n   Program Version 5.0.4 -  RELEASE  -\n",
       {"ORCA4UV", "ORCA4CD", "", ""}},
      {"ORCA without version", "* O   R   C   A *\nno version here\n", {"", "", "", ""}},
      {"escf", " escf (node01) : TURBOMOLE V7.2\r\n", {"ESCFUV", "ESCFCD", "", ""}},
      {"ricc2", " ricc2 (node01) : TURBOMOLE V7.2\r\n", {"RICC2UV", "RICC2CD", "", ""}},
      {"ADF", " Amsterdam Density Functional  (ADF)  2019.3\n", {"ADFUV", "ADFCD", "", ""}},
      {"NWChem",
       " Northwest Computational Chemistry Package (NWChem) 6.8\n",
       {"NWCHEMUV", "NWCHEMCD", "", ""}},
      {"Dalton",
       "     Dalton - An Electronic Structure Program\n",
       {"DALTONUV", "DALTONCD", "", ""}},
      {"escf without TURBOMOLE", " escf version 1\n", {"", "", "", ""}},
      {"upper case is no banner", " GAUSSIAN 09\n", {"", "", "", ""}},
      {"no banner", " nothing to see\n", {"", "", "", ""}},
      {"empty file", "", {"", "", "", ""}},
      {"earliest banner decides",
       " Gaussian 09: x\n Gaussian 03: y\n",
       {"GAUSSIAN09UV", "GAUSSIAN09CD", "GAUSSIAN09IR", "GAUSSIAN09VCD"}},
      // The IR and VCD detectors know no Gaussian 03: they read on.
      {"Gaussian 03 before Gaussian 09",
       " Gaussian 03: x\n Gaussian 09: y\n",
       {"GAUSSIAN03UV", "GAUSSIAN03CD", "GAUSSIAN09IR", "GAUSSIAN09VCD"}},
  };
  Session ui;
  for (const BannerCase& c : cases) {
    const std::string path = ui.path("detect.log");
    writeTextFile(path, preamble + c.text);
    const Detected detected = detectAll(ui, path);
    EXPECT_EQ(detected.uv, c.expected.uv) << c.what;
    EXPECT_EQ(detected.ecd, c.expected.ecd) << c.what;
    EXPECT_EQ(detected.ir, c.expected.ir) << c.what;
    EXPECT_EQ(detected.vcd, c.expected.vcd) << c.what;
  }
}

TEST(ProgramDetection, AnOrcaVersionThatIsNoNumberEndsInTheConversionError) {
  Session ui;
  const std::string path = ui.path("orca.out");
  writeTextFile(path, "* O   R   C   A *\nProgram Version x.1\n");
  ui.act([&] { Form1->DetectQMSUV(path, 1); });
  ASSERT_EQ(ui.errorBoxes().size(), 1u);
  EXPECT_EQ(ui.errorBoxes()[0].caption, "EConvertError");
}

TEST(ProgramDetection, FileErrorsShowOneMessage) {
  Session ui;
  ui.act([&] { Form1->DetectQMSCD(ui.path("missing.log"), 1); });
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.lastBox().text, "File handling error occurred. Details: EInOutError/File not found");

  // The file vanishes between detection and reading: the reader's error is
  // caught by the detector; the caption is set, the slot not computed.
  ui.clearBoxes();
  const std::string path = ui.path("vanishing.log");
  writeTextFile(path, " Gaussian 16: x\n");
  readers::watchReaders([&](const std::string&) { std::remove(path.c_str()); });
  ui.act([&] { Form1->DetectQMSUV(path, 1); });
  readers::watchReaders(nullptr);
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.lastBox().text, "File handling error occurred. Details: EInOutError/File not found");
  EXPECT_EQ(Form1->Caption(), "vanishing.log");
  EXPECT_NE(ui.store().UVACTIVE[1], "calc");
}

}  // namespace
