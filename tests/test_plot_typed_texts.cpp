// Texts typed into the gnuplot settings windows and the main window's edits
// in publication plots: nothing typed is ever run by gnuplot or breaks a
// script. Labels stay enhanced text and read back as typed; a size that is
// no number draws at the window's layout size; a y range, shift or band
// width that is no number is refused with one box before anything is saved.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "files/save_flow.h"
#include "gnuplot_render_check.h"
#include "plot_export_test_support.h"
#include "plot_picture_support.h"
#include "plots/cdplotting.h"
#include "plots/irplotting.h"
#include "plots/uvplotting.h"
#include "plots/vcdplotting.h"

namespace {

// What becomes of a hostile text typed into a field.
enum class Outcome {
  Label,    // saved and rendered; on an EPS the label reads back as typed
  Drawn,    // saved and rendered (fonts, sizes)
  Refused,  // one box, nothing saved
};

// One field of a window whose text reaches the script of an exporter.
struct Field {
  const char* name;
  std::function<Edit*()> edit;
  Outcome outcome;
  std::function<void()> prepare = [] {};  // ticks what makes the field count
};

struct TypedExporter {
  const char* name;
  std::function<void(Session&)> load;
  std::function<Button*()> button;
  const char* picture;
  std::vector<Field> fields;
};

void loadFile(Session& ui, const char* path) {
  ui.act([&] { Form1->Choose(fixture(path)); });
}

// The fields of the CD or UV window as the EPS or PNG script reads them.
std::vector<Field> uvEcdFields(std::function<UvEcdGnuplotSettingsForm*()> window, bool png) {
  std::vector<Field> fields = {
      {"x label", [=] { return window()->Edit9; }, Outcome::Label},
      {"y1 label", [=] { return window()->Edit10; }, Outcome::Label},
      {"y2 label", [=] { return window()->Edit11; }, Outcome::Label,
       [=] { window()->CheckBox2->SetChecked(true); }},
      {"y1 range", [=] { return window()->Edit7; }, Outcome::Refused,
       [=] { window()->CheckBox3->SetChecked(true); }},
      {"y2 range", [=] { return window()->Edit8; }, Outcome::Refused,
       [=] {
         window()->CheckBox2->SetChecked(true);
         window()->CheckBox3->SetChecked(true);
       }},
      {"shift of curve 1", [] { return Form1->Edit2; }, Outcome::Refused},
      {"band width", [] { return Form1->Edit3; }, Outcome::Refused},
  };
  if (png) {
    fields.push_back({"PNG font", [=] { return window()->Edit15; }, Outcome::Drawn});
    fields.push_back({"PNG size", [=] { return window()->Edit16; }, Outcome::Drawn});
    fields.push_back({"PNG axis-label size", [=] { return window()->Edit17; }, Outcome::Drawn});
    fields.push_back({"PNG key size", [=] { return window()->Edit18; }, Outcome::Drawn});
  } else {
    fields.push_back({"EPS font", [=] { return window()->Edit1; }, Outcome::Drawn});
    fields.push_back({"EPS axis-label size", [=] { return window()->Edit13; }, Outcome::Drawn});
    fields.push_back({"EPS key size", [=] { return window()->Edit14; }, Outcome::Drawn});
  }
  // Every script's terminal takes the CD window's EPS font size.
  fields.push_back({"EPS size", [] { return Form10->Edit12; }, Outcome::Drawn});
  return fields;
}

std::vector<Field> irVcdFields(std::function<IrVcdGnuplotSettingsForm*()> window) {
  return {
      {"x label", [=] { return window()->Edit9; }, Outcome::Label},
      {"y label", [=] { return window()->Edit10; }, Outcome::Label},
      {"font", [=] { return window()->Edit1; }, Outcome::Drawn},
      {"size", [=] { return window()->Edit12; }, Outcome::Drawn},
      {"key size", [=] { return window()->Edit14; }, Outcome::Drawn},
      {"half width", [] { return Form1->Edit17; }, Outcome::Refused},
      {"x scale of curve 1", [] { return Form1->Edit26; }, Outcome::Refused},
      {"x range", [] { return Form1->Edit8; }, Outcome::Refused},
  };
}

std::vector<Field> cdWindowFontFields() {
  return {
      {"EPS font", [] { return Form10->Edit1; }, Outcome::Drawn},
      {"EPS axis-label size", [] { return Form10->Edit13; }, Outcome::Drawn},
  };
}

std::vector<Field> hplcFields() {
  return {
      {"EPS font", [] { return Form10->Edit1; }, Outcome::Drawn},
      {"time from", [] { return Form1->Edit1; }, Outcome::Refused},
      {"time to", [] { return Form1->Edit10; }, Outcome::Refused},
  };
}

const std::vector<TypedExporter>& typedExporters() {
  static const std::vector<TypedExporter> all = {
      {"ECD EPS", [](Session& ui) { loadFile(ui, "plots/conf1.cd.bil"); }, [] { return Form1->Button1; }, ".eps",
       uvEcdFields([] { return Form10; }, false)},
      {"ECD PNG", [](Session& ui) { loadFile(ui, "plots/conf1.cd.bil"); }, [] { return Form1->Button12; }, ".png",
       uvEcdFields([] { return Form10; }, true)},
      {"UV EPS", [](Session& ui) { loadFile(ui, "plots/conf1.uv.bil"); }, [] { return Form1->Button7; }, ".eps",
       uvEcdFields([] { return Form11; }, false)},
      {"UV PNG", [](Session& ui) { loadFile(ui, "plots/conf1.uv.bil"); }, [] { return Form1->Button13; }, ".png",
       uvEcdFields([] { return Form11; }, true)},
      {"ORD EPS", [](Session& ui) { loadFile(ui, "measured/mol.or.bil"); }, [] { return Form1->Button11; }, ".eps",
       cdWindowFontFields()},
      {"VCD", [](Session& ui) { loadFile(ui, "plots/conf1.vc.bil"); }, [] { return Form1->Button17; }, ".eps",
       irVcdFields([] { return Form13; })},
      {"IR", [](Session& ui) { loadFile(ui, "plots/conf1.ir.bil"); }, [] { return Form1->Button20; }, ".eps",
       irVcdFields([] { return Form15; })},
      {"HPLC 2D", [](Session& ui) { loadFile(ui, "plots/peaks.cuv"); }, [] { return Form1->Button3; }, ".eps",
       hplcFields()},
      {"HPLC 3D", [](Session& ui) { loadFile(ui, "plots/peaks.cuv"); }, [] { return Form1->Button15; }, ".eps",
       hplcFields()},
  };
  return all;
}

// The texts a person may type, and how a label shows each: blanks for
// control characters; none where enhanced text reads it as markup.
struct Hostile {
  const char* label;
  std::string text;
  std::optional<std::string> shown;
};

const std::vector<Hostile>& hostileTexts() {
  static const std::vector<Hostile> all = {
      // The EPS's ISO 8859-1 encoding draws the backquote as an opening quote.
      {"backquote", "`touch MARKER`", "\u2018touch MARKER\u2018"},
      {"double quote", "q\"w", "q\"w"},
      {"escaped quote", "q\\\"w", "q\"w"},
      {"newline", "q\nw", "q w"},
      {"dollar", "$HOME", "$HOME"},
      {"at", "@x", std::nullopt},
      {"trailing backslash", "q\\", std::nullopt},
  };
  return all;
}

bool anyPictureTextHolds(const std::string& eps, const std::string& shown) {
  for (const PictureText& text : pictureTexts(eps))
    if (text.text().find(shown) != std::string::npos) return true;
  return false;
}

}  // namespace

TEST(PlotTypedTexts, TextsForGnuplotStrings) {
  // The layout labels and plain numbers stay as they are.
  for (const char* label : {"{/Symbol De} [M^{-1}{/Symbol \\327}cm^{-1}]", "wavelength {/Symbol l} [nm]",
                            "{/Symbol e} ", "it's \\\\ here"})
    EXPECT_EQ(QuotedText(label), label);
  EXPECT_EQ(QuotedText("a`b`"), "a\\140b\\140");
  EXPECT_EQ(QuotedText("q\"w \\\"x"), "q\\\"w \\\"x");
  EXPECT_EQ(QuotedText("q\\"), "q\\\\");
  EXPECT_EQ(QuotedText("q\\`x`"), "q\\\\\\140x\\140");
  EXPECT_EQ(QuotedText("q\r\n\tw\\\n"), "q   w\\\\ ");
  EXPECT_EQ(NumberText(" 5\n"), "5");
  EXPECT_THROW(NumberText("5`touch X`"), EConvertError);
  EXPECT_THROW(NumberText("system('touch X')"), EConvertError);
  EXPECT_EQ(SizeText(" 18 ", "32"), "18");
  EXPECT_EQ(SizeText("18\"", "32"), "32");
  for (const char* range : {"[-50:50]", "[0:2.5E4]", "-1:1", "[*:50]", "[:]"}) EXPECT_EQ(UserRangeText(range), range);
  for (const char* range : {"[-50]", "[a:50]", "[-50:50`touch X`]", "[0:1]\nplot 1", "[@x:1]"})
    EXPECT_THROW(UserRangeText(range), EConvertError) << range;
}

// One suite per export button, so that the cases of the buttons run side by side.
class TypedTexts : public testing::TestWithParam<size_t> {};

TEST_P(TypedTexts, NothingTypedRunsOrBreaksTheScript) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  const TypedExporter& exporter = typedExporters()[GetParam()];
  const bool eps = std::string(exporter.picture) == ".eps";
  for (const Field& field : exporter.fields) {
    for (const Hostile& h : hostileTexts()) {
      SCOPED_TRACE(std::string(exporter.name) + ", " + h.label + " in the " + field.name);
      Session ui;
      TempFolder out;
      exporter.load(ui);
      ui.act(field.prepare);
      const std::string typed = field.outcome == Outcome::Label ? "a" + h.text : h.text;
      ui.type(field.edit(), typed);
      ui.clearBoxes();
      ui.willChooseFile(out.file("p"));
      ui.click(exporter.button());
      if (field.outcome == Outcome::Refused) {
        ASSERT_EQ(ui.boxes().size(), 1u) << testing::PrintToString(boxTexts(ui));
        EXPECT_NE(ui.boxes()[0].text, FileSavedText);
        EXPECT_FALSE(FileExists(out.file("p.plt")));
      } else {
        EXPECT_EQ(boxTexts(ui), std::vector<std::string>{FileSavedText});
        expectPicture(out.file(std::string("p") + exporter.picture));
        const bool readBack = field.outcome == Outcome::Label && eps && h.shown && ghostscriptFound() &&
                              std::string(field.name) != "y2 label";
        if (readBack) {
          EXPECT_TRUE(anyPictureTextHolds(out.file("p.eps"), "a" + *h.shown));
        }
      }
      EXPECT_FALSE(FileExists(out.file("MARKER")));
      EXPECT_FALSE(FileExists("MARKER"));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryExporter, TypedTexts, testing::Range<size_t>(0, 9),
                         [](const testing::TestParamInfo<size_t>& info) {
                           return CaseName(typedExporters()[info.param].name);
                         });
