#include "plots/ord_export.h"

#include <algorithm>
#include <cmath>

#include "app/Main.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/numbers.h"
#include "plots/plot_text.h"
#include "plots/uvecd_export.h"

namespace {

struct OrdPoints {
  const double* x;
  const double* y;
  long count;
};

// The points of an ORD slot: computed rotations or measured points, never
// more than the arrays hold.
OrdPoints pointsOf(const Store& store, long slot) {
  const long count = std::max(0, store.ORDDATAPTS[slot]);
  if (store.ORDACTIVE[slot] == "calc")
    return {store.ORDCALCX.slotData(slot), store.ORDCALCY.slotData(slot),
            std::min(count, Grid2<1, 100, 2>::size)};
  return {store.EXPORDX.slotData(slot), store.EXPORDY.slotData(slot),
          std::min(count, Grid2<1, 2500, 2>::size)};
}

std::vector<std::string> ordDataLines(const OrdPoints& points, double sign) {
  const auto count = static_cast<size_t>(points.count);
  return MeasuredDataLines({points.x, count}, {points.y, count}, static_cast<int>(points.count),
                           /*wavenumberUnit*/ false, sign);
}

}  // namespace

double OrdWindowMaximum(const Store& store, long slot, int low, int high) {
  const OrdPoints points = pointsOf(store, slot);
  long candidate = 0;
  for (long i = 0; i < points.count; ++i) {
    const double x = points.x[i];
    if (std::abs(points.y[i]) > std::abs(points.y[candidate]) && low < x && x < high) candidate = i;
  }
  const double maximum = std::abs(points.y[candidate]);
  return maximum / 10 + maximum;
}

bool OrdDrawsSomething(const Store& store, const PlotControls& c) {
  return c.CheckBox11 || c.CheckBox12 || SlotInUse(store.ORDACTIVE[2]);
}

PlotScript BuildOrdScript(Picture picture, const Store& store, const PlotControls& c,
                          const std::string& scriptFileName) {
  const bool normal = c.CheckBox11;
  const bool mirrored = c.CheckBox12;
  const bool connect = c.CheckBox13;
  const std::string& state2 = store.ORDACTIVE[2];
  const std::string keySize = picture == Picture::Eps ? "18" : "14";

  FirstCurve first;
  first.PLOT = PlotKind::ORD;
  first.COMMENT = "# ORD plots";
  first.PSNAME = PictureBaseName(scriptFileName);
  first.XRANGE = c.Edit20 + ":" + c.Edit21;
  const int low = StrToInt(c.Edit20);
  const int high = StrToInt(c.Edit21);
  const double maximum1 = OrdWindowMaximum(store, 1, low, high);
  double shown = maximum1;
  first.SCALING = "1.0";
  if (state2 == "exp") {
    shown = OrdWindowMaximum(store, 2, low, high);
    // A curve 1 of height 0 stays as it is beside the measured curve.
    if (maximum1 != 0) first.SCALING = FloatToStr(shown / maximum1);
  }
  const YRange range = SymmetricRange(shown);
  first.YRANGE = range.text;
  first.YTICS = TicStepText(shown * 0.5);
  first.yAxis = {range.lower, range.upper, TicStepValue(shown * 0.5), TicForm::Gnuplot, 0};

  DataFileNames names(scriptFileName);
  const std::string name1 = LegendName(store.ORDTITLE[1]);
  const std::string data1 = names.take();
  const std::string mirrorName = LegendName("(-)" + store.ORDTITLE[1]);
  const std::string mirrorData = mirrored ? names.take() : std::string();
  const std::string name2 = LegendName(store.ORDTITLE[2]);
  const bool curve2 = SlotInUse(state2);
  const std::string data2 = curve2 ? names.take() : std::string();

  const bool drawFirst = normal || mirrored;
  first.PLOTNAME = normal ? name1 : mirrorName;
  first.dataName = normal ? data1 : mirrorData;
  first.COLOR.assign(1, normal ? '1' : '6');

  const std::string shift = OrdShiftText(c);
  const std::string fontTitle = "{/" + c.cd.Edit1 + "=" + keySize + " ";
  std::vector<PlotEntry> entries;
  if (normal && mirrored)
    entries.push_back({GnuplotString(mirrorData + ".xy") + " using ($1+(" + shift + ")):($2*" + first.SCALING +
                           ") title " + GnuplotString(fontTitle + mirrorName) + " with " +
                           (connect ? "linespoints ls 6" : "points ls 6"),
                       {}});
  if (curve2) {
    const std::string style = state2 == "exp" ? "lines ls 2" : connect ? "linespoints ls 2" : "points ls 2";
    entries.push_back({GnuplotString(data2 + ".xy") + " using ($1+(" + shift + ")):($2) title " +
                           GnuplotString(fontTitle + name2) + " with " + style,
                       {}});
  }
  first.MULTIPLOT = drawFirst && !entries.empty();
  if (drawFirst) {
    entries.insert(entries.begin(), FirstCurveEntry(picture, first, c, store));
    first.keyTitles.push_back(FirstCurveTitle(picture, first, c, store));
  }
  const double keySizeValue = FontSize(keySize, 18);
  if (normal && mirrored) first.keyTitles.push_back({fontTitle + mirrorName, keySizeValue});
  if (curve2) first.keyTitles.push_back({fontTitle + name2, keySizeValue});

  PlotScript script;
  script.lines = FirstCurveHead(picture, first, c, store);
  for (std::string& line : JoinPlotEntries(entries)) script.lines.push_back(std::move(line));

  script.dataFiles.push_back({data1 + ".xy", ordDataLines(pointsOf(store, 1), 1.0)});
  if (mirrored) script.dataFiles.push_back({mirrorData + ".xy", ordDataLines(pointsOf(store, 1), -1.0)});
  if (curve2) script.dataFiles.push_back({data2 + ".xy", ordDataLines(pointsOf(store, 2), 1.0)});
  return script;
}

// ---- The two buttons ----------------------------------------------------------------

namespace {

void exportOrd(TForm1& form, Picture picture) {
  form.Memo2->Clear();
  const PlotControls controls = ReadPlotControls(form);
  if (!SlotInUse(form.store.ORDACTIVE[1]) || !OrdDrawsSomething(form.store, controls)) {
    ShowMessage(NoSpectrumSelectedText);
    return;
  }
  const std::string path = ChooseScriptPath(form);
  if (path.empty()) return;
  const PlotScript script = BuildOrdScript(picture, form.store, controls, ExtractFileName(path));
  SavePlotScript(form, path, script);
  RunGnuplot(controls.gnuplotFolder, path, picture == Picture::Eps ? ".eps" : ".png");
}

}  // namespace

void TForm1::Button11Click() { exportOrd(*this, Picture::Eps); }
void TForm1::Button14Click() { exportOrd(*this, Picture::Png); }
