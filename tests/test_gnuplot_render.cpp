// Real renders: every golden page and a table of options, written as the
// program writes them and rendered by the installed gnuplot.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gnuplot_render_check.h"
#include "plot_export_test_support.h"
#include "plots/cdplotting.h"
#include "plots/uvplotting.h"

TEST(GnuplotRender, EveryGoldenPageInBothDialects) {
  if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
  for (bool gnuplot5 : {false, true}) {
    for (const GoldenPage& page : goldenPages()) {
      SCOPED_TRACE(std::string(page.name) + (gnuplot5 ? " gnuplot 5" : " gnuplot 4"));
      Session ui;
      prepareGoldenPage(ui, page.button, gnuplot5);
      TempFolder folder;
      const std::string scriptName = std::string(page.name) + ".plt";
      writePlot(folder.path(), scriptName, buildPlot(ui, page.button, scriptName));
      expectRendered(folder.path(), scriptName, isPngButton(page.button) ? ".png" : ".eps");
    }
  }
}
