// The script builders of the UV/ECD and ORD plots: golden scripts, the
// head's rules, the y ranges, factors and plot lines, and the data files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "plot_export_test_support.h"
#include "plots/cdplotting.h"
#include "plots/first_curve.h"
#include "plots/uvplotting.h"

namespace {

// ORVANIX_UPDATE_GOLDENS=1 rewrites the golden scripts from the builders.
bool updatingGoldens() {
  const char* value = std::getenv("ORVANIX_UPDATE_GOLDENS");
  return value != nullptr && std::string(value) == "1";
}

}  // namespace

TEST(PlotGoldens, ScriptsStayByteForByte) {
  for (bool gnuplot5 : {false, true}) {
    for (const GoldenPage& page : goldenPages()) {
      const std::string golden = fixture(std::string("plots/") + page.name +
                                         (gnuplot5 ? ".gnuplot5.plt" : ".gnuplot4.plt"));
      SCOPED_TRACE(golden);
      Session ui;
      prepareGoldenPage(ui, page.button, gnuplot5);
      const PlotScript script = buildPlot(ui, page.button, std::string(page.name) + ".plt");
      if (updatingGoldens()) WriteLinesCRLF(golden, script.lines);
      EXPECT_EQ(scriptText(script.lines), readTextFile(golden));
    }
  }
}
