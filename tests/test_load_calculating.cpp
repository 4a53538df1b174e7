// "Calculating" in the status bar shows only while a load works: after the
// load, and after a load that ends in an error, it is hidden.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/testing/session.h"
#include "tests/reader_test_support.h"

namespace {

TEST(CalculatingLabel, HiddenWhenTheLoadEnds) {
  struct Case {
    const char* name;
    std::string text;
    bool fails;
  };
  const std::vector<Case> cases = {
      {"mol.cd.bil", "Orvanix bil-file (length formalism) ECD\n220.0\t10.0\n", false},
      {"mol.uv.bil", "Orvanix bil-file (length formalism) UV\n220.0\t0.5\n", false},
      {"trace.cuv", "Time,Value\n1.0,2.0\n2.0,3.0\n", false},
      {"table.dat", "DATXY\n    1  5.00000   0.1   0.2   10.0   20.0\n", false},
      {"mrci.cd", "DATAX\n    1  4.0000\nDATAY\n    1 0.5 0.5\n", false},
      // Cut inside the values: the conversion error ends the load.
      {"cut.cd", "DATAX\n    1  4.0000\n    2  5.0000\nDATAY\n    1 0.5 0.5\n", true},
      {"bad.dat", "DATXY\n 1 5,0 0.1 0.2 1 2\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Session ui;
    openText(ui, c.name, c.text);
    EXPECT_EQ(ui.errorBoxes().empty(), !c.fails);
    EXPECT_FALSE(Form1->Label4->Visible());
  }
}

}  // namespace
