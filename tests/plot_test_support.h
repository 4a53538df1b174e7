// What the page plot tests read back from a picture: the texts its canvas
// wrote and where, and the colours of its pixels.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/controls.h"

// Some entry of the text log writes the text at (x, y).
inline bool hasText(const Image& image, const std::string& text, int x, int y) {
  const auto& log = image.Picture().Canvas().TextLog();
  return std::any_of(log.begin(), log.end(),
                     [&](const TextLogEntry& e) { return e.text == text && e.x == x && e.y == y; });
}

// The texts written at height y, in the order they were written.
inline std::vector<std::string> textsAtRow(const Image& image, int y) {
  std::vector<std::string> texts;
  for (const TextLogEntry& e : image.Picture().Canvas().TextLog())
    if (e.y == y) texts.push_back(e.text);
  return texts;
}

// The topmost pixel of a colour in column x between yFrom and yTo; -1 when
// there is none.
inline int topmost(const Image& image, int x, int yFrom, int yTo, TColor colour) {
  for (int y = yFrom; y <= yTo; ++y)
    if (image.Picture().Pixel(x, y) == colour) return y;
  return -1;
}

inline bool pictureHolds(const Image& image, TColor colour) {
  const Bitmap& picture = image.Picture();
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      if (picture.Pixel(x, y) == colour) return true;
  return false;
}
