#include "plots/plot_axis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/numbers.h"
#include "plots/plot_text.h"

namespace {

// gnuplot draws a tic of a series up to this share of a step past either end.
constexpr double TicTolerance = 0.01;
// More tics than this are no axis a person reads; the labels are judged by
// the first ones.
constexpr int MostTics = 400;

bool usable(const AxisModel& axis) {
  return std::isfinite(axis.lower) && std::isfinite(axis.upper) && axis.lower <= axis.upper;
}

// gnuplot's "% h" form: %g with six significant digits, an exponent shown as
// a raised power of ten.
std::string gnuplotLabel(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  const char* e = std::strchr(text, 'e');
  if (e == nullptr) return text;
  const int exponent = std::atoi(e + 1);
  return std::string(text, static_cast<size_t>(e - text)) + "{/Symbol \\327}10^{" + std::to_string(exponent) + "}";
}

bool exponentForm(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  return std::strchr(text, 'e') != nullptr;
}

}  // namespace

double GnuplotAutomaticStep(double lower, double upper) {
  const double range = std::abs(upper - lower);
  if (!(range > 0) || !std::isfinite(range)) return 0;
  // gnuplot's quantize_normal_tics with its guide of 20 tics.
  const double power = std::pow(10.0, std::floor(std::log10(range)));
  const double normal = range / power;
  const double positions = 20 / normal;
  double tics = 0;
  if (positions > 40) tics = 0.05;
  else if (positions > 20) tics = 0.1;
  else if (positions > 10) tics = 0.2;
  else if (positions > 4) tics = 0.5;
  else if (positions > 2) tics = 1;
  else if (positions > 0.5) tics = 2;
  else tics = std::ceil(normal);
  return tics * power;
}

double DrawnStep(const AxisModel& axis) {
  const double step = std::abs(axis.step);
  if (step > 0 && std::isfinite(step)) return step;
  return GnuplotAutomaticStep(axis.lower, axis.upper);
}

std::vector<double> AxisTics(const AxisModel& axis) {
  std::vector<double> tics;
  const double step = DrawnStep(axis);
  if (!usable(axis) || !(step > 0)) return tics;
  const double first = std::ceil(axis.lower / step - TicTolerance);
  const double last = std::floor(axis.upper / step + TicTolerance);
  for (double k = first; k <= last && tics.size() < MostTics; ++k)
    tics.push_back(std::abs(k) < 0.5 ? 0.0 : k * step);
  return tics;
}

std::string TicLabel(const AxisModel& axis, double value) {
  char text[64];
  switch (axis.form) {
    case TicForm::Fixed:
      std::snprintf(text, sizeof text, "%.*f", std::clamp(axis.decimals, 0, 20), value);
      return text;
    case TicForm::Power: {
      if (value == 0) return "0";
      const int exponent = static_cast<int>(std::floor(std::log10(std::abs(value)) + 1e-9));
      std::snprintf(text, sizeof text, "%.*f", std::clamp(axis.decimals, 0, 20), value / std::pow(10.0, exponent));
      return std::string(text) + "{/Symbol \\327}10^{" + std::to_string(exponent) + "}";
    }
    case TicForm::Gnuplot: break;
  }
  return gnuplotLabel(value);
}

double WidestTicLabel(const AxisModel& axis, Picture picture, double size) {
  double widest = 0;
  for (double tic : AxisTics(axis)) widest = std::max(widest, TextWidth(picture, TicLabel(axis, tic), size));
  return widest;
}

AxisModel OneFormAxis(double lower, double upper, double step) {
  AxisModel axis{lower, upper, step, TicForm::Gnuplot, 0};
  bool plain = false, powers = false;
  for (double tic : AxisTics(axis)) {
    if (tic == 0) continue;
    (exponentForm(tic) ? powers : plain) = true;
  }
  // A step below 1E-4 is printed with fixed decimals in any case: its
  // labels read alike on every axis of the picture.
  if (!(plain && powers) && !(DrawnStep(axis) < 1e-4)) return axis;
  axis.form = TicForm::Fixed;
  axis.decimals = SignificantDecimals(DrawnStep(axis), 0);
  return axis;
}

AxisModel PowerAxis(double lower, double upper, double step) {
  AxisModel axis{lower, upper, step, TicForm::Power, 0};
  axis.decimals = MantissaDecimals(lower, upper, DrawnStep(axis));
  return axis;
}

std::vector<std::string> AxisFormatLines(const AxisModel& axis, const std::string& name, char quote) {
  switch (axis.form) {
    case TicForm::Fixed: {
      const std::string q(1, quote);
      return {"set format " + name + " " + q + "%." + IntToStr(axis.decimals) + "f" + q};
    }
    case TicForm::Power: return PowerLabelLines(name, axis.decimals, "%L", quote);
    case TicForm::Gnuplot: break;
  }
  return {};
}
