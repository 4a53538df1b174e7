// The column right of a picture's frame: the second y axis's tic labels and
// label, the key with its sample lines, and the labels of band width, shift
// and scaling below it. The UV/ECD, ORD, VCD/IR and HPLC pictures size their
// right margin and key from this one model.
#pragma once

#include <string>
#include <vector>

#include "plots/plot_axis.h"
#include "plots/plot_script.h"

// A text of the column: its enhanced markup and the size it is drawn at.
struct ColumnText {
  std::string markup;
  double size = 0;
};

struct RightColumn {
  Picture picture = Picture::Eps;
  double terminalSize = 32;  // the terminal font: gnuplot's margin character
  // The second y axis: the width of its widest tic label, and the size of
  // its label (0: none).
  double secondAxisLabels = 0;
  double secondAxisTitleSize = 0;
  std::vector<ColumnText> keyTitles;  // one a key entry, from the top
  std::vector<ColumnText> labels;     // band width, shift and scaling
  double sampleLength = 1;            // the key's samplen, in characters
};

// The widest key title as drawn.
double KeyTitleWidth(const RightColumn& column);

// The characters gnuplot's own reckoning of the key's width is short of the
// titles as drawn (negative where it reckons too much): the key line's
// "width N". gnuplot counts each title's characters at the terminal font.
int KeyWidthCorrection(const RightColumn& column);

// The width from the frame's right edge to the key's sample lines: the
// second axis's tic labels and label with their gaps.
double SecondAxisWidth(const RightColumn& column);

// The key's width as gnuplot lays it out (sample, gaps and titles), with
// the correction applied.
double KeyWidth(const RightColumn& column);

// The whole column in margin characters: the second axis, then the key or
// the widest label, whichever is wider.
int ColumnCharacters(const RightColumn& column);

// The characters from the frame's right edge to where the key's titles and
// the labels below it start.
int LabelOffsetCharacters(const RightColumn& column);

// The height of the key's rows: gnuplot spaces them by the terminal font.
double KeyRowHeight(const RightColumn& column);
