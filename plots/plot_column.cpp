#include "plots/plot_column.h"

#include <algorithm>
#include <cmath>

#include "plots/plot_text.h"

namespace {

// gnuplot's key with "reverse": a character before the sample, the sample,
// a character between sample and title, and one after the title.
constexpr double KeyGapCharacters = 3;
// The key's spacing of its rows, in text rows of the terminal font.
constexpr double KeySpacing = 1.25;

double character(const RightColumn& column) { return CharacterWidth(column.picture, column.terminalSize); }

size_t shownCount(const std::string& markup) {
  size_t count = 0;
  for (char c : ShownCharacters(markup))
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  return count;
}

}  // namespace

double KeyTitleWidth(const RightColumn& column) {
  double widest = 0;
  for (const ColumnText& title : column.keyTitles)
    widest = std::max(widest, TextWidth(column.picture, title.markup, title.size));
  return widest;
}

int KeyWidthCorrection(const RightColumn& column) {
  size_t reckoned = 0;
  for (const ColumnText& title : column.keyTitles) reckoned = std::max(reckoned, shownCount(title.markup));
  if (reckoned == 0) return 0;
  // A character of room: the face that stands for the font where the
  // picture is printed or drawn may run wider than the table.
  const int room = 1;
  return CharactersFor(column.picture, KeyTitleWidth(column), column.terminalSize) + room -
         static_cast<int>(reckoned);
}

double SecondAxisWidth(const RightColumn& column) {
  if (column.secondAxisTitleSize <= 0 && column.secondAxisLabels <= 0) return 0;
  // The tics' gap, the labels, a gap, the label's own height and a gap.
  return character(column) + column.secondAxisLabels + character(column) +
         CharacterHeight(column.picture, column.secondAxisTitleSize) + character(column);
}

double KeyWidth(const RightColumn& column) {
  if (column.keyTitles.empty()) return 0;
  size_t reckoned = 0;
  for (const ColumnText& title : column.keyTitles) reckoned = std::max(reckoned, shownCount(title.markup));
  const double titles = static_cast<double>(static_cast<int>(reckoned) + KeyWidthCorrection(column));
  return (KeyGapCharacters + column.sampleLength + titles) * character(column);
}

int ColumnCharacters(const RightColumn& column) {
  double widest = SecondAxisWidth(column) + KeyWidth(column);
  for (const ColumnText& label : column.labels)
    widest = std::max(widest, LabelOffsetCharacters(column) * character(column) +
                                  TextWidth(column.picture, label.markup, label.size));
  // Half a character of room at the picture's edge.
  return CharactersFor(column.picture, widest + 0.5 * character(column), column.terminalSize);
}

int LabelOffsetCharacters(const RightColumn& column) {
  return CharactersFor(column.picture, SecondAxisWidth(column), column.terminalSize) +
         static_cast<int>(KeyGapCharacters - 1 + column.sampleLength);
}

double KeyRowHeight(const RightColumn& column) {
  return KeySpacing * CharacterHeight(column.picture, column.terminalSize);
}
