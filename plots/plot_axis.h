// One y axis of a picture as gnuplot will draw it: its range, its tic step,
// the one number form its labels are printed in, and every tic label,
// including a top tic that a rounded step puts a hair past the range's end
// (gnuplot draws a tic up to a hundredth of a step beyond it).
//
// The exporters work the axes out from the curves' numbers, size their
// margins from the labels, and write the axis lines from the same model.
#pragma once

#include <string>
#include <vector>

#include "plots/plot_script.h"

enum class TicForm {
  Gnuplot,  // gnuplot's own "% h": plain decimals throughout
  Fixed,    // every label with `decimals` decimals
  Power,    // every label a mantissa of `decimals` decimals times a power of ten, zero as "0"
};

struct AxisModel {
  double lower = 0;
  double upper = 0;
  double step = 0;  // 0: gnuplot chooses the step
  TicForm form = TicForm::Gnuplot;
  int decimals = 0;
};

// The step gnuplot takes for a range when none is given.
double GnuplotAutomaticStep(double lower, double upper);

// The step the tics are drawn at: the model's, or gnuplot's own.
double DrawnStep(const AxisModel& axis);

// Every tic value gnuplot labels, from the bottom up; none for an empty or
// non-finite range, and at most a few hundred.
std::vector<double> AxisTics(const AxisModel& axis);

// The label of one tic as gnuplot prints it, in enhanced markup ("2.5",
// "1.1{/Symbol \327}10^{6}", "-0.00044", "0").
std::string TicLabel(const AxisModel& axis, double value);

// The widest tic label drawn at `size` on `picture`'s terminal.
double WidestTicLabel(const AxisModel& axis, Picture picture, double size);

// An axis over lower..upper with tics every `step` (0: gnuplot's own),
// printed in gnuplot's own form when that gives every label the same form,
// else with fixed decimals enough for the step: gnuplot would write
// "550000" beside "1.1x10^6", or "0.00016" beside "8x10^-5". A step below
// 1E-4 always takes fixed decimals.
AxisModel OneFormAxis(double lower, double upper, double step);

// An axis labelled as powers of ten, with the mantissa decimals that tell
// every tic's value to within 1 %.
AxisModel PowerAxis(double lower, double upper, double step);

// The lines that make gnuplot print `name`'s ("y", "y2") labels in the
// model's form (none for gnuplot's own); `quote` is the quote the format
// string is written in.
std::vector<std::string> AxisFormatLines(const AxisModel& axis, const std::string& name, char quote = '"');
