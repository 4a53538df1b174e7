// A number that does not convert during a load: the error box names the
// file and the line, whatever kind of file was opened.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/testing/session.h"

namespace {

// The fixture's text with its first `from` replaced by `to`.
std::string edited(const std::string& fixtureName, const std::string& from, const std::string& to) {
  std::string text = readTextFile(fixture(fixtureName));
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST(LoadErrors, AConversionErrorNamesTheFileAndItsLine) {
  struct Case {
    std::string name;
    std::string text;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"x.cd.bil", "Orvanix bil-file\n245.0\t1.0\n250.0\tabc\n",
       "\"abc\" is an invalid float (x.cd.bil, line 3)"},
      {"x.ir.bil", "Orvanix bil-file\r\n1000\t1\r\n1200\t2\r\n1x00\t3\r\n",
       "\"1x00\" is an invalid float (x.ir.bil, line 4)"},
      {"x.or.exp.xy", "500\t10\n450\t12\n\n400\tabc\n", "\"abc\" is an invalid float (x.or.exp.xy, line 4)"},
      {"x.cuv", "Time\tValue\n0.5\t12\n0.6\t1e\n", "\"1e\" is an invalid float (x.cuv, line 3)"},
      {"x.log", edited("readers/g03_td.log", "209.85 nm", "209.8x nm"),
       "\"209.8x\" is an invalid float (x.log, line 41)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Session ui;
    writeTextFile(ui.path(c.name), c.text);
    ui.willChooseFile(ui.path(c.name));
    ui.menu(c.name == "x.cuv" ? Form1->OpenHPLC1 : Form1->Open1);
    const std::vector<Box> errors = ui.errorBoxes();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].caption, "EConvertError");
    EXPECT_EQ(errors[0].text, c.message);
  }
}

}  // namespace
