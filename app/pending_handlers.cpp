// Handlers of the main window that are still empty: the VCD, IR and HPLC
// publication plots. They move into plots/ as they are written.
#include <string>

#include "app/Main.h"

void TForm1::HPLC2DEPS(const std::string&, const std::string&, const std::string&,
                   const std::string&, const std::string&, const std::string&, const std::string&,
                   bool) {}
void TForm1::HPLC3DEPS(const std::string&, const std::string&, const std::string&,
                   const std::string&, const std::string&, const std::string&, const std::string&,
                   bool) {}
void TForm1::Button17Click() {}
void TForm1::Button20Click() {}
void TForm1::Button3Click() {}
void TForm1::Button15Click() {}
