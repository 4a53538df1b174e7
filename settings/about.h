// The information window: the program's name and version, who wrote it, how
// to cite it, and a link to the project's web page.
#pragma once

#include "platform/form.h"

// The program's name, version and web address, as the information window
// shows them.
inline constexpr const char* ProgramName = "Orvanix";
inline constexpr const char* ProgramVersion = "1.0";
inline constexpr const char* ProjectWebAddress = "https://orvanix.example.org";

class TForm3 : public Form {
 public:
  TForm3();

  Label* Label1;   // name and version
  Label* Label10;  // developers
  Label* Label9;   // contributors, first line
  Label* Label11;  // contributors, second line
  Label* Label2;   // citation heading
  Label* Label6;   // citation: authors
  Label* Label7;   // citation: program, version, place and year
  Label* Label3;   // the project's web address, a link

  // Opens the project's web page in the system's web browser.
  void Label3Click();
};

extern TForm3* Form3;
