#include "files/multiloadcd.h"

#include "app/Main.h"

TForm7* Form7 = nullptr;

// The window has no close box: its buttons are the way out, and the caller
// reads the five boxes however the window was left.
TForm7::TForm7() : Form("Form7", "Load/Remove Curve(s)", {0, 0, 440, 200}) {
  CheckBox1 = addCheck("CheckBox1", "", {16, 19, 20, 20});
  Button1 = addButton("Button1", "Load Curve 2", {44, 16, 120, 25});
  Label1 = addLabel("Label1", "", {176, 20, 248, 16});
  CheckBox2 = addCheck("CheckBox2", "", {16, 51, 20, 20});
  Button2 = addButton("Button2", "Load Curve 3", {44, 48, 120, 25});
  Label2 = addLabel("Label2", "", {176, 52, 248, 16});
  CheckBox3 = addCheck("CheckBox3", "", {16, 83, 20, 20});
  Button3 = addButton("Button3", "Load Curve 4", {44, 80, 120, 25});
  Label3 = addLabel("Label3", "", {176, 84, 248, 16});
  CheckBox4 = addCheck("CheckBox4", "", {16, 115, 20, 20});
  Button4 = addButton("Button4", "Load Curve 5", {44, 112, 120, 25});
  Label4 = addLabel("Label4", "", {176, 116, 248, 16});

  Button5 = addButton("Button5", "Remove Checked Curve(s)", {16, 156, 180, 28});
  CheckBox5 = addCheck("CheckBox5", "", {210, 160, 20, 20});
  CheckBox5->SetVisible(false);
  Button6 = addButton("Button6", "Cancel", {244, 156, 180, 28});

  Button1->OnClick = [this] { Button1Click(); };
  Button2->OnClick = [this] { Button2Click(); };
  Button3->OnClick = [this] { Button3Click(); };
  Button4->OnClick = [this] { Button4Click(); };
  Button5->OnClick = [this] { Button5Click(); };
  Button6->OnClick = [this] { Button6Click(); };
  CloseBox = false;
}

// The loaders read what the window leaves: CURVENO and the five boxes.
namespace {
void chooseSlot(TForm7& window, int slot) {
  if (Form1 != nullptr) Form1->store.CURVENO = slot;
  for (CheckBox* box : {window.CheckBox1, window.CheckBox2, window.CheckBox3, window.CheckBox4,
                        window.CheckBox5})
    box->SetChecked(false);
  window.Close();
}
}  // namespace

void TForm7::Button1Click() { chooseSlot(*this, 2); }

void TForm7::Button2Click() { chooseSlot(*this, 3); }

void TForm7::Button3Click() { chooseSlot(*this, 4); }

void TForm7::Button4Click() { chooseSlot(*this, 5); }

// The ticked boxes stay for the loader to empty.
void TForm7::Button5Click() { Close(); }

// The cancel marker tells the loader to remove nothing and load nothing.
void TForm7::Button6Click() {
  CheckBox5->SetChecked(true);
  Close();
}
