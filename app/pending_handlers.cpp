// Handlers of the main window that are still empty: the publication plots.
// They move into plots/ as they are written.
#include <string>
#include <vector>

#include "app/Main.h"

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
