// The main window's declaration: menus, tab pages, controls with their layout
// values, the layout itself and which handler every control reaches.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/testing/scripted_ui.h"
#include "store/Store.h"

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  ScriptedUi ui;
  std::unique_ptr<Store> store = std::make_unique<Store>();
  std::unique_ptr<TForm1> form = std::make_unique<TForm1>(*store);
};

// The tab sheet a control lives on, through its group boxes; "" for none.
std::string pageOf(const Control* control) {
  for (const Control* c = control->Parent(); c != nullptr; c = c->Parent())
    if (c->Kind() == ControlKind::TabSheet) return c->Name();
  return "";
}

bool overlap(const TRect& a, const TRect& b) {
  return a.Left < b.Left + b.Width && b.Left < a.Left + a.Width && a.Top < b.Top + b.Height &&
         b.Top < a.Top + a.Height;
}

bool hasSize(const Control* control) {
  return control->Bounds().Width > 0 && control->Bounds().Height > 0;
}

TEST_F(MainWindowTest, MenuTreeHasItsCaptionsStatesAndHandlers) {
  struct Entry {
    std::string parent, name, caption;
    bool enabled, handled;
  };
  const std::vector<Entry> expected = {
      {"MainMenu1", "File1", "File", true, false},
      {"File1", "New1", "New", true, true},
      {"File1", "Open1", "Open", true, true},
      {"File1", "OpenHPLC1", "Open HPLC data", true, true},
      {"File1", "Settings1", "Settings", true, true},
      {"File1", "Quit1", "Quit", true, true},
      {"MainMenu1", "CDspectra1", "ECD", false, false},
      {"CDspectra1", "SaveCD1", "Save cd.bil", true, true},
      {"CDspectra1", "Savexy1", "Export as xy file", true, true},
      {"CDspectra1", "AddUVSpectrum1", "Add UV Spectrum", false, true},
      {"MainMenu1", "UVspectra1", "UV", false, false},
      {"UVspectra1", "SaveUV1", "Save uv.bil", true, true},
      {"UVspectra1", "Savexy2", "Export as xy file", true, true},
      {"UVspectra1", "AddCDspectrum1", "Add CD spectrum", false, true},
      {"MainMenu1", "VCDspectra", "VCD", false, false},
      {"VCDspectra", "MenuItem4", "Save vc.bil", true, true},
      {"VCDspectra", "MenuItem6", "Save xy", true, true},
      {"VCDspectra", "AddIrSpectrum", "Add IR spectrum", false, true},
      {"MainMenu1", "IRSpectra", "IR", false, false},
      {"IRSpectra", "saveIRBIL", "Save ir.bil", true, true},
      {"IRSpectra", "saveIRxy", "Save xy file", true, true},
      {"IRSpectra", "AddVCDSpectrum", "Add VCD Spectrum", false, true},
      {"MainMenu1", "ORD1", "ORD", false, false},
      {"ORD1", "Saveorbil1", "Save or.bil", true, true},
      {"MainMenu1", "N2ndSpectrum1", "Compare", false, false},
      {"N2ndSpectrum1", "BilFile1", "ECD with ECD/UV Spectrum", true, true},
      {"N2ndSpectrum1", "xyFile1", "UV with UV Spectrum", true, true},
      {"N2ndSpectrum1", "MenuItem5", "VCD with VCD/IR", true, true},
      {"N2ndSpectrum1", "cpwithIR", "IR with IR Spectrum", true, true},
      {"N2ndSpectrum1", "ORDwithORDCDSpectrum1", "ORD with ORD/CD Spectrum", true, true},
      {"N2ndSpectrum1", "withchromatogram1", "... with chromatogram", true, true},
      {"MainMenu1", "ools1", "Tools", true, false},
      {"ools1", "sumspectra1", "sum spectra", true, true},
      {"ools1", "heatextraction1", "extract heat", true, true},
      {"ools1", "buildbilfiles1", "extract spectra", true, true},
      {"ools1", "Determinesigma1", "similarity factors", true, true},
      {"ools1", "MenuItem1", "compare curves", false, false},
      {"MainMenu1", "about1", "about", true, false},
      {"about1", "Info1", "Info", true, true},
  };

  // Walk the tree depth-first, in menu order.
  std::vector<const MenuItem*> items;
  std::function<void(const std::vector<MenuItem*>&)> walk =
      [&](const std::vector<MenuItem*>& level) {
        for (const MenuItem* item : level) {
          items.push_back(item);
          walk(item->Items());
        }
      };
  ASSERT_EQ(form->Menu(), form->MainMenu1);
  walk(form->MainMenu1->Items());

  ASSERT_EQ(items.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const Entry& e = expected[i];
    SCOPED_TRACE(e.name);
    EXPECT_EQ(items[i]->Name(), e.name);
    EXPECT_EQ(items[i]->Parent()->Name(), e.parent);
    EXPECT_EQ(items[i]->Caption(), e.caption);
    EXPECT_EQ(items[i]->Enabled(), e.enabled);
    EXPECT_EQ(items[i]->OnClick != nullptr, e.handled);
  }
  // The member pointers name the items they stand for.
  EXPECT_EQ(form->Find("Open1"), form->Open1);
  EXPECT_EQ(form->Find("saveIRxy"), form->saveIRxy);
  EXPECT_EQ(form->Find("AddVCDSpectrum"), form->AddVCDSpectrum);
}

TEST_F(MainWindowTest, FourTabPagesInOrderWithTheirPlots) {
  struct Page {
    TabSheet* sheet;
    std::string name, caption;
    Image* image;
    std::string imageName;
    int width, height;
  };
  const std::vector<Page> expected = {
      {form->TabSheet1, "TabSheet1", "UV/ECD", form->Image1, "Image1", 673, 800},
      {form->TabSheet5, "TabSheet5", "IR/VCD", form->Image5, "Image5", 673, 800},
      {form->TabSheet3, "TabSheet3", "HPLC", form->Image3, "Image3", 673, 500},
      {form->TabSheet4, "TabSheet4", "ORD", form->Image4, "Image4", 673, 500},
  };
  const std::vector<TabSheet*> pages = form->PageControl1->Pages();
  ASSERT_EQ(pages.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const Page& p = expected[i];
    SCOPED_TRACE(p.name);
    EXPECT_EQ(pages[i], p.sheet);
    EXPECT_EQ(p.sheet->Name(), p.name);
    EXPECT_EQ(p.sheet->Caption(), p.caption);
    EXPECT_EQ(p.image->Name(), p.imageName);
    EXPECT_EQ(p.image->Parent(), p.sheet);
    EXPECT_EQ(p.image->Bounds().Width, p.width);
    EXPECT_EQ(p.image->Bounds().Height, p.height);
    EXPECT_EQ(p.image->Picture().Width(), p.width);
    EXPECT_EQ(p.image->Picture().Height(), p.height);
  }
  EXPECT_EQ(form->PageControl1->ActivePage(), form->TabSheet1);
}

// The controls whose names, captions and layout values the rest of the
// program relies on.
TEST_F(MainWindowTest, ControlsHaveTheirKindPageAndLayoutValue) {
  struct Row {
    Control* control;
    std::string name;
    ControlKind kind;
    std::string page;
    std::string caption;  // label, button, box: caption; edit: its text
    bool ticked;          // check boxes and radio buttons
    bool enabled;
    bool visible;
  };
  using K = ControlKind;
  const bool on = true, off = false;
  const std::vector<Row> rows = {
      // UV/ECD page
      {form->Edit3, "Edit3", K::Edit, "TabSheet1", "0.16", off, on, on},
      {form->Edit2, "Edit2", K::Edit, "TabSheet1", "0", off, on, on},
      {form->Edit12, "Edit12", K::Edit, "TabSheet1", "0", off, on, on},
      {form->Edit13, "Edit13", K::Edit, "TabSheet1", "0", off, on, on},
      {form->Edit31, "Edit31", K::Edit, "TabSheet1", "0", off, on, on},
      {form->Edit32, "Edit32", K::Edit, "TabSheet1", "0", off, on, on},
      {form->Edit4, "Edit4", K::Edit, "TabSheet1", "150", off, on, on},
      {form->Edit5, "Edit5", K::Edit, "TabSheet1", "600", off, on, on},
      {form->Label5, "Label5", K::Label, "TabSheet1", "wavelength (nm)", off, on, on},
      {form->Edit35, "Edit35", K::Edit, "TabSheet1", "50000", off, on, off},
      {form->Edit36, "Edit36", K::Edit, "TabSheet1", "15000", off, on, off},
      {form->Label35, "Label35", K::Label, "TabSheet1", "wavenumber 1/cm", off, on, off},
      {form->CheckBox1, "CheckBox1", K::CheckBox, "TabSheet1", "bars 1. spec", off, on, on},
      {form->CheckBox3, "CheckBox3", K::CheckBox, "TabSheet1", "normal ECD", on, on, on},
      {form->CheckBox2, "CheckBox2", K::CheckBox, "TabSheet1", "enantiomeric ECD", off, on, on},
      {form->CheckBox5, "CheckBox5", K::CheckBox, "TabSheet1", "UV", on, on, on},
      {form->CheckBox8, "CheckBox8", K::CheckBox, "TabSheet1", "auto scaling", on, on, on},
      {form->CheckBox16, "CheckBox16", K::CheckBox, "TabSheet1", "multiplot", off, on, on},
      {form->CheckBox7, "CheckBox7", K::CheckBox, "TabSheet1", "calculate g factor", off, on, on},
      {form->Button2, "Button2", K::Button, "TabSheet1", "Redraw", off, on, on},
      {form->Button5, "Button5", K::Button, "TabSheet1", "same shift", off, on, on},
      {form->Edit6, "Edit6", K::Edit, "TabSheet1", "0", off, off, on},
      {form->Edit7, "Edit7", K::Edit, "TabSheet1", "0", off, off, on},
      {form->Edit14, "Edit14", K::Edit, "TabSheet1", "0", off, off, on},
      {form->Edit15, "Edit15", K::Edit, "TabSheet1", "0", off, off, on},
      {form->Label11, "Label11", K::Label, "TabSheet1", "--", off, on, on},
      {form->Label13, "Label13", K::Label, "TabSheet1", "--", off, on, on},
      {form->Label15, "Label15", K::Label, "TabSheet1", "--", off, on, on},
      {form->Button1, "Button1", K::Button, "TabSheet1", "EPS", off, on, on},
      {form->Button12, "Button12", K::Button, "TabSheet1", "PNG", off, on, on},
      {form->Button4, "Button4", K::Button, "TabSheet1", "Settings", off, on, on},
      {form->Button7, "Button7", K::Button, "TabSheet1", "EPS", off, on, on},
      {form->Button13, "Button13", K::Button, "TabSheet1", "PNG", off, on, on},
      {form->Button6, "Button6", K::Button, "TabSheet1", "Settings", off, on, on},
      {form->Memo1, "Memo1", K::Memo, "TabSheet1", "", off, on, on},
      // IR/VCD page
      {form->Edit17, "Edit17", K::Edit, "TabSheet5", "4", off, on, on},
      {form->Edit26, "Edit26", K::Edit, "TabSheet5", "1.0", off, on, on},
      {form->Edit27, "Edit27", K::Edit, "TabSheet5", "1.0", off, on, on},
      {form->Edit28, "Edit28", K::Edit, "TabSheet5", "1.0", off, on, on},
      {form->Edit33, "Edit33", K::Edit, "TabSheet5", "1.0", off, on, on},
      {form->Edit34, "Edit34", K::Edit, "TabSheet5", "1.0", off, on, on},
      {form->Edit8, "Edit8", K::Edit, "TabSheet5", "500", off, on, on},
      {form->Edit9, "Edit9", K::Edit, "TabSheet5", "2000", off, on, on},
      {form->CheckBox6, "CheckBox6", K::CheckBox, "TabSheet5", "normal VCD", on, on, on},
      {form->CheckBox9, "CheckBox9", K::CheckBox, "TabSheet5", "enantiomeric VCD", off, on, on},
      {form->CheckBox18, "CheckBox18", K::CheckBox, "TabSheet5", "auto scaling (y)", on, on, on},
      {form->CheckBox19, "CheckBox19", K::CheckBox, "TabSheet5", "IR", on, on, on},
      {form->CheckBox17, "CheckBox17", K::CheckBox, "TabSheet5", "multiplot", off, on, on},
      {form->CheckBox10, "CheckBox10", K::CheckBox, "TabSheet5", "calculate g factor", off, on, on},
      {form->Button10, "Button10", K::Button, "TabSheet5", "Redraw", off, on, on},
      {form->Button18, "Button18", K::Button, "TabSheet5", "same scale", off, on, on},
      {form->Edit11, "Edit11", K::Edit, "TabSheet5", "0", off, off, on},
      {form->Edit16, "Edit16", K::Edit, "TabSheet5", "0", off, off, on},
      {form->Edit29, "Edit29", K::Edit, "TabSheet5", "0", off, off, on},
      {form->Edit30, "Edit30", K::Edit, "TabSheet5", "0", off, off, on},
      {form->Button17, "Button17", K::Button, "TabSheet5", "plot EPS", off, on, on},
      {form->Button16, "Button16", K::Button, "TabSheet5", "Settings", off, on, on},
      {form->Button20, "Button20", K::Button, "TabSheet5", "plot EPS", off, on, on},
      {form->Button19, "Button19", K::Button, "TabSheet5", "Settings", off, on, on},
      {form->Memo4, "Memo4", K::Memo, "TabSheet5", "", off, on, on},
      // HPLC page: its time window and tools wait for a chromatogram
      {form->Label1, "Label1", K::Label, "TabSheet3", "retention time (min)", off, off, on},
      {form->Edit1, "Edit1", K::Edit, "TabSheet3", "0", off, off, on},
      {form->Edit10, "Edit10", K::Edit, "TabSheet3", "30", off, off, on},
      {form->Button8, "Button8", K::Button, "TabSheet3", "Redraw", off, off, on},
      {form->Button3, "Button3", K::Button, "TabSheet3", "plot 2D eps", off, off, on},
      {form->Button15, "Button15", K::Button, "TabSheet3", "plot 3D eps", off, off, on},
      {form->CheckBox4, "CheckBox4", K::CheckBox, "TabSheet3", "auto scaling", on, on, on},
      {form->CheckBox15, "CheckBox15", K::CheckBox, "TabSheet3", "multiplot", off, on, on},
      {form->Edit18, "Edit18", K::Edit, "TabSheet3", "0", off, off, on},
      {form->Edit19, "Edit19", K::Edit, "TabSheet3", "0", off, off, on},
      // ORD page
      {form->Edit20, "Edit20", K::Edit, "TabSheet4", "150", off, on, on},
      {form->Edit21, "Edit21", K::Edit, "TabSheet4", "600", off, on, on},
      {form->CheckBox11, "CheckBox11", K::CheckBox, "TabSheet4", "normal ORD", on, on, on},
      {form->CheckBox12, "CheckBox12", K::CheckBox, "TabSheet4", "mirrored ORD", off, on, on},
      {form->CheckBox13, "CheckBox13", K::CheckBox, "TabSheet4", "connect points", off, on, on},
      {form->CheckBox20, "CheckBox20", K::CheckBox, "TabSheet4", "autoscale", on, on, on},
      {form->RadioButton3, "RadioButton3", K::RadioButton, "TabSheet4", "molar ORD", on, off, on},
      {form->RadioButton4, "RadioButton4", K::RadioButton, "TabSheet4", "relative ORD", off, off,
       on},
      {form->Button9, "Button9", K::Button, "TabSheet4", "Redraw", off, on, on},
      {form->Button11, "Button11", K::Button, "TabSheet4", "plot EPS", off, on, on},
      {form->Button14, "Button14", K::Button, "TabSheet4", "plot PNG", off, on, on},
      {form->Edit22, "Edit22", K::Edit, "TabSheet4", "0", off, off, on},
      {form->Edit23, "Edit23", K::Edit, "TabSheet4", "0", off, off, on},
      {form->Edit24, "Edit24", K::Edit, "TabSheet4", "0", off, off, on},
      {form->Edit25, "Edit25", K::Edit, "TabSheet4", "0", off, off, on},
      // Below the pages
      {form->ProgressBar1, "ProgressBar1", K::ProgressBar, "", "", off, on, on},
      {form->Label4, "Label4", K::Label, "", "Calculating", off, on, off},
      {form->Memo2, "Memo2", K::Memo, "", "", off, on, off},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    ASSERT_NE(r.control, nullptr);
    EXPECT_EQ(r.control->Name(), r.name);
    EXPECT_EQ(form->Find(r.name), r.control);
    EXPECT_EQ(r.control->Kind(), r.kind);
    EXPECT_EQ(pageOf(r.control), r.page);
    EXPECT_EQ(r.control->Enabled(), r.enabled);
    EXPECT_EQ(r.control->Visible(), r.visible);
    switch (r.kind) {
      case K::Edit:
        EXPECT_EQ(static_cast<Edit*>(r.control)->Text(), r.caption);
        break;
      case K::CheckBox:
        EXPECT_EQ(r.control->Caption(), r.caption);
        EXPECT_EQ(static_cast<CheckBox*>(r.control)->Checked(), r.ticked);
        break;
      case K::RadioButton:
        EXPECT_EQ(r.control->Caption(), r.caption);
        EXPECT_EQ(static_cast<RadioButton*>(r.control)->Checked(), r.ticked);
        break;
      case K::Memo:
        EXPECT_EQ(static_cast<Memo*>(r.control)->Count(), 0);
        break;
      default:
        EXPECT_EQ(r.control->Caption(), r.caption);
    }
  }
  // The plotting buttons sit in the groups of their kind.
  EXPECT_EQ(form->Button1->Parent()->Caption(), "ECD Plotting");
  EXPECT_EQ(form->Button6->Parent()->Caption(), "UV/Vis Plotting");
  EXPECT_EQ(form->Button16->Parent()->Caption(), "VCD Plotting");
  EXPECT_EQ(form->Button20->Parent()->Caption(), "IR Plotting");
  // The two ORD radios form a group of their own.
  EXPECT_EQ(form->RadioButton3->Siblings(), std::vector<RadioButton*>{form->RadioButton4});
}

TEST_F(MainWindowTest, DialogsCarryTheirFiltersAndEndings) {
  struct Row {
    Control* dialog;
    std::string name;
    std::string firstMask;
    size_t filterCount;
    std::string defaultExt;  // save dialogs only
  };
  const std::vector<Row> rows = {
      {form->OpenDialog1, "OpenDialog1", "*.bil;*.out;*.log;*.exp.xy;*.dat", 5, ""},
      {form->OpenDialog2, "OpenDialog2", "*.exp.xy", 4, ""},
      {form->OpenDialog3, "OpenDialog3", "*.exp.xy", 4, ""},
      {form->OpenDialog4, "OpenDialog4", "*.cuv", 3, ""},
      {form->OpenDialog5, "OpenDialog5", "*.exp.xy", 4, ""},
      {form->OpenDialog6, "OpenDialog6", "*.cuv", 3, ""},
      {form->OpenDialog7, "OpenDialog7", "*.exp.xy", 5, ""},
      {form->OpenDialog8, "OpenDialog8", "*.exp.xy", 4, ""},
      {form->SaveDialog1, "SaveDialog1", "*.cd.bil", 3, ".gjf"},
      {form->SaveDialog2, "SaveDialog2", "*.uv.bil", 2, ".gjf"},
      {form->SaveDialog3, "SaveDialog3", "*.cd.xy", 2, ".gjf"},
      {form->SaveDialog4, "SaveDialog4", "*.uv.xy", 2, ".gjf"},
      {form->SaveDialog5, "SaveDialog5", "*.plt", 2, ".gjf"},
      {form->SaveDialog6, "SaveDialog6", "*.or.bil", 2, ".gjf"},
      {form->SaveDialog7, "SaveDialog7", "*.vc.bil", 2, ".vc.bil"},
      {form->SaveDialog8, "SaveDialog8", "*.vc.xy", 2, ".vc.bil"},
      {form->SaveDialog9, "SaveDialog9", "*.ir.bil", 2, ".vc.bil"},
      {form->SaveDialog10, "SaveDialog10", "*.ir.xy", 2, ".vc.bil"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(r.dialog->Name(), r.name);
    const std::vector<FileFilter>& filters = r.dialog->Kind() == ControlKind::OpenDialog
                                                 ? static_cast<OpenDialog*>(r.dialog)->Filters
                                                 : static_cast<SaveDialog*>(r.dialog)->Filters;
    ASSERT_EQ(filters.size(), r.filterCount);
    EXPECT_EQ(filters.front().Masks, r.firstMask);
    EXPECT_EQ(filters.back().Masks, "*.*");
    if (r.dialog->Kind() == ControlKind::SaveDialog) {
      EXPECT_EQ(static_cast<SaveDialog*>(r.dialog)->DefaultExt, r.defaultExt);
    }
  }
  EXPECT_EQ(form->OpenDialog1->Title, "Open File");
}

TEST_F(MainWindowTest, EveryBoundControlReachesAHandler) {
  struct Binding {
    std::string what;
    bool bound;
  };
  TForm1& f = *form;
  const std::vector<Binding> bound = {
      {"OnCreate", f.OnCreate != nullptr},
      {"OnDropFiles", f.OnDropFiles != nullptr && f.AllowDropFiles},
      // UV/ECD page
      {"Edit3 change", f.Edit3->OnChange != nullptr},
      {"Edit2 change", f.Edit2->OnChange != nullptr},
      {"CheckBox3 click", f.CheckBox3->OnClick != nullptr},
      {"CheckBox8 click", f.CheckBox8->OnClick != nullptr},
      {"CheckBox5 click", f.CheckBox5->OnClick != nullptr},
      {"CheckBox1 click", f.CheckBox1->OnClick != nullptr},
      {"CheckBox2 click", f.CheckBox2->OnClick != nullptr},
      {"Button2 click", f.Button2->OnClick != nullptr},
      {"Edit4 change", f.Edit4->OnChange != nullptr},
      {"Edit5 change", f.Edit5->OnChange != nullptr},
      {"Edit12 change", f.Edit12->OnChange != nullptr},
      {"Edit13 change", f.Edit13->OnChange != nullptr},
      {"Edit31 change", f.Edit31->OnChange != nullptr},
      {"Edit32 change", f.Edit32->OnChange != nullptr},
      {"Button5 click", f.Button5->OnClick != nullptr},
      {"Edit35 change", f.Edit35->OnChange != nullptr},
      {"Edit36 change", f.Edit36->OnChange != nullptr},
      {"Button1 click", f.Button1->OnClick != nullptr},
      {"Button12 click", f.Button12->OnClick != nullptr},
      {"Button4 click", f.Button4->OnClick != nullptr},
      {"Button7 click", f.Button7->OnClick != nullptr},
      {"Button13 click", f.Button13->OnClick != nullptr},
      {"Button6 click", f.Button6->OnClick != nullptr},
      {"Image1 mouse down", f.Image1->OnMouseDown != nullptr},
      {"Image1 mouse move", f.Image1->OnMouseMove != nullptr},
      {"Image1 mouse up", f.Image1->OnMouseUp != nullptr},
      // IR/VCD page
      {"Edit17 change", f.Edit17->OnChange != nullptr},
      {"Edit26 change", f.Edit26->OnChange != nullptr},
      {"Edit27 change", f.Edit27->OnChange != nullptr},
      {"Edit28 change", f.Edit28->OnChange != nullptr},
      {"Edit33 change", f.Edit33->OnChange != nullptr},
      {"Edit34 change", f.Edit34->OnChange != nullptr},
      {"Button18 click", f.Button18->OnClick != nullptr},
      {"Button10 click", f.Button10->OnClick != nullptr},
      {"Edit8 change", f.Edit8->OnChange != nullptr},
      {"Edit9 change", f.Edit9->OnChange != nullptr},
      {"CheckBox6 change", f.CheckBox6->OnChange != nullptr},
      {"CheckBox6 click", f.CheckBox6->OnClick != nullptr},
      {"CheckBox9 change", f.CheckBox9->OnChange != nullptr},
      {"CheckBox9 click", f.CheckBox9->OnClick != nullptr},
      {"CheckBox18 click", f.CheckBox18->OnClick != nullptr},
      {"CheckBox19 click", f.CheckBox19->OnClick != nullptr},
      {"Button17 click", f.Button17->OnClick != nullptr},
      {"Button16 click", f.Button16->OnClick != nullptr},
      {"Button20 click", f.Button20->OnClick != nullptr},
      {"Button19 click", f.Button19->OnClick != nullptr},
      {"Image5 mouse down", f.Image5->OnMouseDown != nullptr},
      {"Image5 mouse move", f.Image5->OnMouseMove != nullptr},
      {"Image5 mouse up", f.Image5->OnMouseUp != nullptr},
      // HPLC page
      {"Button8 click", f.Button8->OnClick != nullptr},
      {"CheckBox4 click", f.CheckBox4->OnClick != nullptr},
      {"Button3 click", f.Button3->OnClick != nullptr},
      {"Button15 click", f.Button15->OnClick != nullptr},
      // ORD page
      {"Button9 click", f.Button9->OnClick != nullptr},
      {"Edit20 change", f.Edit20->OnChange != nullptr},
      {"Edit21 change", f.Edit21->OnChange != nullptr},
      {"CheckBox11 click", f.CheckBox11->OnClick != nullptr},
      {"CheckBox12 click", f.CheckBox12->OnClick != nullptr},
      {"CheckBox13 click", f.CheckBox13->OnClick != nullptr},
      {"CheckBox20 click", f.CheckBox20->OnClick != nullptr},
      {"Button11 click", f.Button11->OnClick != nullptr},
      {"Button14 click", f.Button14->OnClick != nullptr},
  };
  for (const Binding& b : bound) EXPECT_TRUE(b.bound) << b.what << " has no handler";

  // Controls without a handler: display fields, multiplot and g-factor boxes,
  // the HPLC time window, the ORD radios; the first-level check box events
  // that no handler listens to.
  const std::vector<Binding> unbound = {
      {"Edit6 change", f.Edit6->OnChange != nullptr},
      {"Edit15 change", f.Edit15->OnChange != nullptr},
      {"Edit11 change", f.Edit11->OnChange != nullptr},
      {"Edit30 change", f.Edit30->OnChange != nullptr},
      {"Edit1 change", f.Edit1->OnChange != nullptr},
      {"Edit10 change", f.Edit10->OnChange != nullptr},
      {"Edit18 change", f.Edit18->OnChange != nullptr},
      {"Edit22 change", f.Edit22->OnChange != nullptr},
      {"Edit25 change", f.Edit25->OnChange != nullptr},
      {"CheckBox16 click", f.CheckBox16->OnClick != nullptr},
      {"CheckBox17 click", f.CheckBox17->OnClick != nullptr},
      {"CheckBox15 click", f.CheckBox15->OnClick != nullptr},
      {"CheckBox7 click", f.CheckBox7->OnClick != nullptr},
      {"CheckBox10 click", f.CheckBox10->OnClick != nullptr},
      {"CheckBox8 change", f.CheckBox8->OnChange != nullptr},
      {"CheckBox4 change", f.CheckBox4->OnChange != nullptr},
      {"RadioButton3 click",
       f.RadioButton3->OnClick != nullptr || f.RadioButton3->OnChange != nullptr},
      {"RadioButton4 click",
       f.RadioButton4->OnClick != nullptr || f.RadioButton4->OnChange != nullptr},
  };
  for (const Binding& b : unbound) EXPECT_FALSE(b.bound) << b.what << " should stay unbound";
}

// Clear at 100 % scaling: every control inside its parent, no two siblings on
// top of each other.
TEST_F(MainWindowTest, LayoutHasNoOverlapsAndFitsTheWindow) {
  const TRect window = form->Bounds();
  const TRect pages = form->PageControl1->Bounds();
  // The client area of a tab sheet: the page control less its tab row.
  const TRect sheetArea{0, 0, pages.Width - 8, pages.Height - 30};

  std::vector<Control*> parents{form.get()};
  for (Control* c : form->AllControls())
    if (c->Kind() == ControlKind::TabSheet || c->Kind() == ControlKind::GroupBox)
      parents.push_back(c);

  for (Control* parent : parents) {
    SCOPED_TRACE(parent->Name());
    const TRect area = parent == form.get() ? TRect{0, 0, window.Width, window.Height}
                       : parent->Kind() == ControlKind::TabSheet
                           ? sheetArea
                           : TRect{0, 0, parent->Bounds().Width, parent->Bounds().Height};
    std::vector<Control*> children;
    for (Control* child : parent->Children())
      if (hasSize(child)) children.push_back(child);
    for (size_t i = 0; i < children.size(); ++i) {
      const TRect& b = children[i]->Bounds();
      EXPECT_GE(b.Left, area.Left) << children[i]->Name();
      EXPECT_GE(b.Top, area.Top) << children[i]->Name();
      EXPECT_LE(b.Left + b.Width, area.Width) << children[i]->Name();
      EXPECT_LE(b.Top + b.Height, area.Height) << children[i]->Name();
      for (size_t j = i + 1; j < children.size(); ++j)
        EXPECT_FALSE(overlap(b, children[j]->Bounds()))
            << children[i]->Name() << " overlaps " << children[j]->Name();
    }
  }
}

TEST_F(MainWindowTest, ConstructionRunsNoCreationWork) {
  // The program sets Form1 and runs OnCreate itself; the constructor leaves
  // the store untouched.
  EXPECT_EQ(Form1, nullptr);
  EXPECT_EQ(store->CDACTIVE[1], "");
  EXPECT_EQ(&form->store, store.get());
  EXPECT_FALSE(form->Showing());
}

}  // namespace
