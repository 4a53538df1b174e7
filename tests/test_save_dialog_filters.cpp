// Every save dialog of the main window opens on its own kind's filter, also
// after the last save through it chose "all files": Enter on the suggested
// name then writes the file with its kind's ending.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/testing/session.h"

namespace {

TEST(SaveDialogFilters, EachSaveOpensOnItsKindsFilter) {
  struct Case {
    MenuItem* TForm1::*item;
    std::string loaded;
    std::string ending;
    int allFiles;  // the filter index of "all files"
  };
  const std::vector<Case> cases = {
      {&TForm1::SaveCD1, "measured/mol.cd.bil", ".cd.bil", 3},
      {&TForm1::Savexy1, "measured/mol.cd.bil", ".cd.xy", 2},
      {&TForm1::saveIRBIL, "measured/mol.ir.bil", ".ir.bil", 2},
      {&TForm1::saveIRxy, "measured/mol.ir.bil", ".ir.xy", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ending);
    Session ui;
    TempFolder out;
    ui.act([&] { Form1->Choose(fixture(c.loaded)); });
    ui.willChooseFile(out.file("first"), c.allFiles);
    ASSERT_TRUE(ui.menu(Form1->*c.item));
    EXPECT_TRUE(std::filesystem::exists(out.file("first"))) << "\"all files\" keeps the name as typed";

    ui.willChooseFile(out.file("second"));  // the filter the dialog offers
    ASSERT_TRUE(ui.menu(Form1->*c.item));
    EXPECT_EQ(ui.dialogs().back().filterIndex, 1);
    EXPECT_TRUE(std::filesystem::exists(out.file("second" + c.ending)));
    EXPECT_EQ(ui.lastBox().text, "File saved!");
  }
}

}  // namespace
