// What a text of a picture takes on the page: the characters gnuplot's
// enhanced text shows of it (without its braces, font switches and
// escapes; raised and lowered parts smaller), and their width and height at
// a font size on each terminal, in the picture's own units: points of the
// EPS as printed, pixels of the PNG.
//
// Every exporter sizes its margins, key and canvas from these figures, made
// before any script line is written.
#pragma once

#include <string>
#include <vector>

#include "plots/plot_script.h"

// One stretch of shown characters, all at one size.
struct ShownRun {
  std::string characters;  // ISO 8859-1 or UTF-8 bytes as written
  double size = 0;         // the font size gnuplot draws them at
};

// The runs an enhanced text shows when drawn at `size`: "{/Arial=18 conf1"
// shows "conf1" at 18; "{/Symbol s} = 0.16 eV" shows "s" and " = 0.16 eV";
// "10^{-4}" shows "10" and "-4" raised, at 0.8 of the size; "\327" shows one
// character, "\{" the brace.
std::vector<ShownRun> ShownRuns(const std::string& markup, double size);

// The characters shown, all sizes together.
std::string ShownCharacters(const std::string& markup);

// The width of the text drawn at `size` on `picture`'s terminal, a little
// generous, so that a margin sized from it holds the text.
double TextWidth(Picture picture, const std::string& markup, double size);

// The height of one text row at `size`: what gnuplot spaces rows of that
// size by.
double TextHeight(Picture picture, double size);

// gnuplot's character of the terminal font of `size`, the unit of its
// margins (`set lmargin 10`) and of its character offsets.
double CharacterWidth(Picture picture, double size);
double CharacterHeight(Picture picture, double size);

// The whole margin characters that hold `width`.
int CharactersFor(Picture picture, double width, double terminalSize);

// A font size as typed, or `fallback` when it is no number above 0.
double FontSize(const std::string& text, double fallback);
