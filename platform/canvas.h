// Off-screen bitmaps and the canvas the painters draw on.
//
// Pixel rules, those of the classic desktop canvas, so that a plot comes out
// the same pixel for pixel on every machine:
//   - x grows to the right, y downward; (0, 0) is the top-left pixel.
//   - Boxes are right/bottom exclusive: Rectangle(0, 0, 673, 800) covers the
//     pixels 0..672 x 0..799. Swapped corners are put in order first; a box of
//     no width or no height draws nothing. The same holds for FillRect and
//     Ellipse (the ellipse is inscribed in the box).
//   - LineTo draws from PenPos to (x, y) without painting (x, y) itself, so a
//     polyline paints each of its corners exactly once.
//   - Lines and shapes are never antialiased. A pen wider than 1 paints a
//     Width x Width square around each pixel of the one-pixel line; Rectangle
//     and Ellipse keep a wide outline inside their box.
//   - Pen.Mode NotXor paints NOT(colour XOR pixel) per channel instead of the
//     colour, for LineTo and for Rectangle and Ellipse (outline and fill
//     alike). Every pixel of one call is painted once, so drawing the same
//     thing twice restores the picture exactly. FillRect, SetPixels and text
//     always paint plain colour.
//   - Whatever falls outside the bitmap is clipped; no coordinate, however
//     large, is an error.
//
// Colours are TColor integers $BBGGRR (red in the low byte). The top byte is
// ignored when painting; reading a pixel outside the bitmap gives -1.
//
// Text: TextOut puts the top-left corner of the text box at (x, y) and leaves
// the background as it is. The font named "default" (or an empty name or a
// face this machine lacks) is the default face, DejaVu Sans where installed.
// Text in the font named "Symbol" is shown as the Greek letters that font
// stands for ("De" reads as Δε), in a face that has them. Text pixels differ
// between machines; what is written is asserted through the text log.
//
// Text log: every TextOut appends {text as the program wrote it, x, y, font
// name, font size, font colour} to the log of its bitmap, so the log tells
// which texts the picture shows. Whatever paints over every pixel of the
// bitmap starts the log afresh: SetSize, a FillRect or a solid Rectangle in
// Copy mode that covers the whole bitmap, and Draw of a bitmap that covers it
// (the log then holds the source's entries). Draw of a bitmap that covers only
// part of it appends the source's entries, shifted by the position it copies
// to. A copy of a bitmap (copy construction, Assign) has the source's log.
// So the painters' round trip (copy the picture, draw on the copy, Draw it
// back at (0, 0)) leaves each text once in the picture's log.
//
// Pen, brush, font and pen position belong to the canvas, not to the picture:
// a copied bitmap starts with a fresh canvas, and Assign keeps the settings of
// the destination's canvas.
#pragma once

#include <QImage>
#include <string>
#include <string_view>
#include <vector>

using TColor = int;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clSkyBlue = 0xF0CAA6;

struct TPoint {
  int x = 0;
  int y = 0;
  bool operator==(const TPoint&) const = default;
};

enum class PenMode { Copy, NotXor };
enum class BrushStyle { Solid, Clear };

struct TPen {
  TColor Color = clBlack;
  int Width = 1;  // values below 1 draw as 1
  PenMode Mode = PenMode::Copy;
};

struct TBrush {
  TColor Color = clWhite;
  BrushStyle Style = BrushStyle::Solid;
};

struct TFont {
  std::string Name = "default";
  int Size = 8;  // points, at 96 pixels per inch
  TColor Color = clBlack;
};

struct TextLogEntry {
  std::string text;
  int x = 0;
  int y = 0;
  std::string fontName;
  int fontSize = 0;
  TColor fontColor = clBlack;
  bool operator==(const TextLogEntry&) const = default;
};

class Bitmap;

class TCanvas {
 public:
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TPen Pen;
  TBrush Brush;
  TFont Font;
  TPoint PenPos;

  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Rectangle(int x1, int y1, int x2, int y2);
  void FillRect(int x1, int y1, int x2, int y2);
  void Ellipse(int x1, int y1, int x2, int y2);
  // Also moves PenPos to the end of the text, (x + TextWidth(text), y).
  void TextOut(int x, int y, const std::string& text);
  int TextWidth(const std::string& text) const;
  int TextHeight(const std::string& text) const;
  TColor Pixels(int x, int y) const;
  void SetPixels(int x, int y, TColor color);
  // Copies the whole of source with its top-left corner at (x, y), with its
  // text log (see the top of this file).
  void Draw(int x, int y, const Bitmap& source);

  const std::vector<TextLogEntry>& TextLog() const { return textLog_; }
  void ClearTextLog() { textLog_.clear(); }

 private:
  friend class Bitmap;
  explicit TCanvas(Bitmap& owner) : owner_(&owner) {}

  Bitmap* owner_;
  std::vector<TextLogEntry> textLog_;
};

using Canvas = TCanvas;

class Bitmap {
 public:
  Bitmap() : canvas_(*this) {}
  Bitmap(int width, int height);
  Bitmap(const Bitmap& other);
  Bitmap& operator=(const Bitmap& other);

  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  // Re-creates the bitmap white at the new size and clears its text log.
  // A bitmap without pixels (a side of 0 or less) is 0 x 0; so is one of more
  // than 32768 pixels a side or 2^26 pixels in all, which is refused.
  void SetSize(int width, int height);
  // The colour at (x, y), or -1 outside the bitmap.
  TColor Pixel(int x, int y) const;
  TCanvas& Canvas() { return canvas_; }
  const TCanvas& Canvas() const { return canvas_; }
  // Makes this bitmap a copy of other: size, pixels and text log; the canvas
  // keeps its pen, brush and font.
  void Assign(const Bitmap& other);
  bool SavePng(const std::string& path) const;

  const QImage& image() const { return image_; }

 private:
  friend class TCanvas;

  QImage image_;
  TCanvas canvas_;
};

// The text that a string written in the "Symbol" font shows: Latin letters
// become the Greek letters of that font's layout (D -> Δ, e -> ε, J -> ϑ,
// V -> ς, j -> ϕ, v -> ϖ); everything else is kept. UTF-8 in and out.
std::string SymbolToGreek(std::string_view text);

// Fonts and text painting need a QGuiApplication. Creates one, once, when no
// application object exists yet, on the "offscreen" platform when neither
// QT_QPA_PLATFORM nor a display is set. Call from the main thread. Returns
// false when an application object exists that cannot render text (a bare
// QCoreApplication); text is then logged but not painted.
bool EnsureGuiApplication();
