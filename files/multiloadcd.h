// The load/remove curves window: with "multiplot" ticked, the Compare loaders
// ask here which slot (2 to 5) to load into, or which slots to empty.
#pragma once

#include "platform/form.h"

class TForm7 : public Form {
 public:
  TForm7();

  // One row per slot 2 to 5: ticked = empty that slot; the load button; the
  // slot's title.
  CheckBox* CheckBox1;
  Button* Button1;
  Label* Label1;
  CheckBox* CheckBox2;
  Button* Button2;
  Label* Label2;
  CheckBox* CheckBox3;
  Button* Button3;
  Label* Label3;
  CheckBox* CheckBox4;
  Button* Button4;
  Label* Label4;
  Button* Button5;
  CheckBox* CheckBox5;  // invisible: ticked when the window was left by "Cancel"
  Button* Button6;

  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();
  void Button5Click();
  void Button6Click();
};

extern TForm7* Form7;
