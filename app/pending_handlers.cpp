// Handlers and operations of the main window that are still empty. Each
// group moves into the folder of its concern as it is written, and leaves
// this file.
#include <string>
#include <vector>

#include "app/Main.h"

// Readers (readers/): detection of the producing program, and one reader per
// program and spectrum kind.
void TForm1::DetectQMSCD(const std::string&, int) {}
void TForm1::DetectQMSUV(const std::string&, int) {}
void TForm1::DetectQMSVCD(const std::string&, int) {}
void TForm1::DetectQMSIR(const std::string&, int) {}
void TForm1::STDA_CD(const std::string&, int) {}
void TForm1::STDA_UV(const std::string&, int) {}
void TForm1::ORCACD(const std::string&, int) {}
void TForm1::ORCAUV(const std::string&, int) {}
void TForm1::ORCA4CD(const std::string&, int) {}
void TForm1::ORCA4UV(const std::string&, int) {}
void TForm1::ESCFCD(const std::string&, int) {}
void TForm1::ESCFUV(const std::string&, int) {}
void TForm1::RICC2CD(const std::string&, int) {}
void TForm1::RICC2UV(const std::string&, int) {}
void TForm1::GAUSSIAN03CD(const std::string&, int) {}
void TForm1::GAUSSIAN03UV(const std::string&, int) {}
void TForm1::GAUSSIAN09CD(const std::string&, int) {}
void TForm1::GAUSSIAN09UV(const std::string&, int) {}
void TForm1::GAUSSIAN09VCD(const std::string&, int) {}
void TForm1::GAUSSIAN09IR(const std::string&, int) {}
void TForm1::CD_DFTMRCI(const std::string&, int) {}
void TForm1::UV_DFTMRCI(const std::string&, int) {}
void TForm1::ADFCD(const std::string&, int) {}
void TForm1::ADFUV(const std::string&, int) {}
void TForm1::NWCHEMCD(const std::string&, int) {}
void TForm1::NWCHEMUV(const std::string&, int) {}
void TForm1::DALTONCD(const std::string&, int) {}
void TForm1::DALTONUV(const std::string&, int) {}

// Publication plots (plots/): the script headers, the EPS and PNG buttons of
// every page, and the buttons that open the gnuplot settings windows.
void TForm1::FirstCurveEPS(const std::string&, const std::string&, const std::string&,
                   const std::string&, const std::string&, const std::string&, const std::string&,
                   const std::string&, const std::string&, bool, bool) {}
void TForm1::FirstCurvePNG(const std::string&, const std::string&, const std::string&,
                   const std::string&, const std::string&, const std::string&, const std::string&,
                   const std::string&, const std::string&, bool, bool) {}
void TForm1::HPLC2DEPS(const std::string&, const std::string&, const std::string&,
                   const std::string&, const std::string&, const std::string&, const std::string&,
                   bool) {}
void TForm1::HPLC3DEPS(const std::string&, const std::string&, const std::string&,
                   const std::string&, const std::string&, const std::string&, const std::string&,
                   bool) {}
void TForm1::Button1Click() {}
void TForm1::Button12Click() {}
void TForm1::Button7Click() {}
void TForm1::Button13Click() {}
void TForm1::Button11Click() {}
void TForm1::Button14Click() {}
void TForm1::Button17Click() {}
void TForm1::Button20Click() {}
void TForm1::Button3Click() {}
void TForm1::Button15Click() {}
void TForm1::Button4Click() {}
void TForm1::Button6Click() {}
void TForm1::Button16Click() {}
void TForm1::Button19Click() {}
