#include "platform/canvas.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <utility>

namespace {

// Wider pens are drawn at this width: enough for any plot, and it bounds the
// work of one line.
constexpr int kMaxPenWidth = 256;

// Bigger bitmaps are refused (they become 0 x 0) rather than exhausting memory.
constexpr std::int64_t kMaxSide = 32768;
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 26;

// Text far outside any bitmap is logged but not painted, so that no text
// coordinate can overflow inside the painter.
constexpr int kMaxTextCoordinate = 1 << 24;

QRgb toRgb(TColor color) {
  return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

TColor fromRgb(QRgb rgb) { return qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16); }

int saturatedInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

int effectivePenWidth(int width) { return std::clamp(width, 1, kMaxPenWidth); }

struct Paint {
  QRgb rgb;
  bool notXor;
};

// Writes pixels into an image, clipped to it, in plain colour or NotXor.
class Raster {
 public:
  explicit Raster(QImage& image) : image_(image), width_(image.width()), height_(image.height()) {}

  std::int64_t width() const { return width_; }
  std::int64_t height() const { return height_; }

  // Pixels x1..x2 (both included) of row y.
  void span(std::int64_t y, std::int64_t x1, std::int64_t x2, Paint paint) {
    if (y < 0 || y >= height_) return;
    x1 = std::max<std::int64_t>(x1, 0);
    x2 = std::min<std::int64_t>(x2, width_ - 1);
    if (x1 > x2) return;
    QRgb* row = reinterpret_cast<QRgb*>(image_.scanLine(static_cast<int>(y)));
    if (!paint.notXor) {
      // Blanking a whole picture is a run of these; fill as memory.
      std::fill(row + x1, row + x2 + 1, paint.rgb);
      return;
    }
    for (std::int64_t x = x1; x <= x2; ++x) row[x] = 0xFF000000u | (~(paint.rgb ^ row[x]) & 0x00FFFFFFu);
  }

  // Pixels y1..y2 (both included) of column x.
  void column(std::int64_t x, std::int64_t y1, std::int64_t y2, Paint paint) {
    if (x < 0 || x >= width_) return;
    y1 = std::max<std::int64_t>(y1, 0);
    y2 = std::min<std::int64_t>(y2, height_ - 1);
    for (std::int64_t y = y1; y <= y2; ++y) span(y, x, x, paint);
  }

 private:
  QImage& image_;
  std::int64_t width_;
  std::int64_t height_;
};

std::uint64_t magnitude(std::int64_t value) {
  return value < 0 ? static_cast<std::uint64_t>(-value) : static_cast<std::uint64_t>(value);
}

struct Pixel64 {
  std::int64_t x;
  std::int64_t y;
};

// The line from (x0, y0) towards (x1, y1), without its end point. Step k of
// the major axis sits at the minor offset round(k * minor / major), halves
// away from the start. A wide pen paints a width x width square at every
// step; only the pixels each step adds to the previous square are painted,
// so no pixel is painted twice and NotXor stays reversible.
void drawLine(Raster& raster, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
              int width, Paint paint) {
  const std::int64_t dx = x1 - x0;
  const std::int64_t dy = y1 - y0;
  const bool xMajor = magnitude(dx) >= magnitude(dy);
  const std::uint64_t major = xMajor ? magnitude(dx) : magnitude(dy);
  const std::uint64_t minor = xMajor ? magnitude(dy) : magnitude(dx);
  if (major == 0) return;
  const std::int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const std::int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const std::int64_t majorStart = xMajor ? x0 : y0;
  const std::int64_t minorStart = xMajor ? y0 : x0;
  const std::int64_t before = (width - 1) / 2;
  const std::int64_t after = width / 2;

  // Only the steps whose square reaches the bitmap along the major axis.
  const std::int64_t majorSize = xMajor ? raster.width() : raster.height();
  std::int64_t first = 0;
  std::int64_t last = 0;
  if (majorStep > 0) {
    first = -after - majorStart;
    last = majorSize - 1 + before - majorStart;
  } else {
    first = majorStart - (majorSize - 1 + before);
    last = majorStart + after;
  }
  first = std::max<std::int64_t>(first, 0);
  last = std::min<std::int64_t>(last, static_cast<std::int64_t>(major - 1));
  if (first > last) return;

  auto at = [&](std::int64_t k) {
    // k < 2^32 and minor < 2^32, so the product fits.
    const std::uint64_t product = static_cast<std::uint64_t>(k) * minor;
    std::uint64_t offset = product / major;
    if (2 * (product % major) >= major) ++offset;
    const std::int64_t along = majorStart + majorStep * k;
    const std::int64_t across = minorStart + minorStep * static_cast<std::int64_t>(offset);
    return xMajor ? Pixel64{along, across} : Pixel64{across, along};
  };

  Pixel64 previous = at(first);
  for (std::int64_t y = previous.y - before; y <= previous.y + after; ++y) {
    raster.span(y, previous.x - before, previous.x + after, paint);
  }
  for (std::int64_t k = first + 1; k <= last; ++k) {
    const Pixel64 current = at(k);
    std::int64_t left = current.x - before;
    std::int64_t right = current.x + after;
    if (current.x != previous.x) {
      const std::int64_t newColumn = current.x > previous.x ? right : left;
      raster.column(newColumn, current.y - before, current.y + after, paint);
      if (current.x > previous.x) {
        --right;
      } else {
        ++left;
      }
    }
    if (current.y != previous.y) {
      const std::int64_t newRow = current.y > previous.y ? current.y + after : current.y - before;
      raster.span(newRow, left, right, paint);
    }
    previous = current;
  }
}

struct Box {
  std::int64_t left;
  std::int64_t top;
  std::int64_t right;   // exclusive
  std::int64_t bottom;  // exclusive
  bool empty() const { return left == right || top == bottom; }
};

Box orderedBox(int x1, int y1, int x2, int y2) {
  return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

bool coversImage(const Box& box, const QImage& image) {
  return box.left <= 0 && box.top <= 0 && box.right >= image.width() && box.bottom >= image.height();
}

// Whether the centre of pixel (x, y) lies inside the ellipse inscribed in box.
bool insideEllipse(const Box& box, std::int64_t x, std::int64_t y) {
  if (x < box.left || x >= box.right || y < box.top || y >= box.bottom) return false;
  // Doubled coordinates relative to the centre keep half pixels whole.
  const std::int64_t px = 2 * x + 1 - (box.left + box.right);
  const std::int64_t py = 2 * y + 1 - (box.top + box.bottom);
  const std::int64_t w = box.right - box.left;
  const std::int64_t h = box.bottom - box.top;
  if (w <= (std::int64_t{1} << 15) && h <= (std::int64_t{1} << 15)) {
    return px * px * h * h + py * py * w * w <= w * w * h * h;
  }
  const long double fx = static_cast<long double>(px) / static_cast<long double>(w);
  const long double fy = static_cast<long double>(py) / static_cast<long double>(h);
  return fx * fx + fy * fy <= 1.0L;
}

// --- text -----------------------------------------------------------------

bool sameNameIgnoringCase(const std::string& name, const char* wanted) {
  const std::size_t length = std::strlen(wanted);
  if (name.size() != length) return false;
  for (std::size_t i = 0; i < length; ++i) {
    if (std::tolower(static_cast<unsigned char>(name[i])) !=
        std::tolower(static_cast<unsigned char>(wanted[i]))) {
      return false;
    }
  }
  return true;
}

bool isSymbolFont(const TFont& font) { return sameNameIgnoringCase(font.Name, "Symbol"); }

QString defaultFamily() {
  static const QString family = [] {
    const QString preferred = QStringLiteral("DejaVu Sans");
    return QFontDatabase::hasFamily(preferred) ? preferred : QFont().family();
  }();
  return family;
}

bool familyInstalled(const std::string& name) {
  static std::map<std::string, bool> known;
  auto found = known.find(name);
  if (found == known.end()) {
    found = known.emplace(name, QFontDatabase::hasFamily(QString::fromStdString(name))).first;
  }
  return found->second;
}

// Font sizes are points at 96 pixels per inch, rounded as the classic canvas
// does: 8 points are 11 pixels, 12 points 16.
int pixelSizeOf(int points) {
  const std::int64_t size = std::clamp<std::int64_t>(magnitude(points), 1, 1500);
  return static_cast<int>((size * 8 + 3) / 6);
}

QFont qtFont(const TFont& font) {
  QString family = defaultFamily();  // also the Greek face of "Symbol" text
  if (!font.Name.empty() && !sameNameIgnoringCase(font.Name, "default") && !isSymbolFont(font) &&
      familyInstalled(font.Name)) {
    family = QString::fromStdString(font.Name);
  }
  QFont result(family);
  result.setPixelSize(pixelSizeOf(font.Size));
  result.setStyleStrategy(QFont::NoAntialias);
  return result;
}

QString shownText(const TFont& font, const std::string& text) {
  return QString::fromStdString(isSymbolFont(font) ? SymbolToGreek(text) : text);
}

void appendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else {
    // Every letter of the Symbol layout lies below U+0800.
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

std::string SymbolToGreek(std::string_view text) {
  static constexpr char32_t upper[26] = {
      U'Α', U'Β', U'Χ', U'Δ', U'Ε', U'Φ', U'Γ', U'Η', U'Ι', U'ϑ', U'Κ', U'Λ', U'Μ',
      U'Ν', U'Ο', U'Π', U'Θ', U'Ρ', U'Σ', U'Τ', U'Υ', U'ς', U'Ω', U'Ξ', U'Ψ', U'Ζ'};
  static constexpr char32_t lower[26] = {
      U'α', U'β', U'χ', U'δ', U'ε', U'φ', U'γ', U'η', U'ι', U'ϕ', U'κ', U'λ', U'μ',
      U'ν', U'ο', U'π', U'θ', U'ρ', U'σ', U'τ', U'υ', U'ϖ', U'ω', U'ξ', U'ψ', U'ζ'};
  std::string out;
  out.reserve(text.size() * 2);
  for (char c : text) {
    if (c >= 'A' && c <= 'Z') {
      appendUtf8(out, upper[c - 'A']);
    } else if (c >= 'a' && c <= 'z') {
      appendUtf8(out, lower[c - 'a']);
    } else {
      out += c;
    }
  }
  return out;
}

bool EnsureGuiApplication() {
  if (QCoreApplication::instance() == nullptr) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
      qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "orvanix";
    static char* argv[] = {name, nullptr};
    // Lives until the process ends, so fonts stay usable to the last text.
    static QGuiApplication application(argc, argv);
  }
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

// --- TCanvas --------------------------------------------------------------

void TCanvas::MoveTo(int x, int y) { PenPos = {x, y}; }

void TCanvas::LineTo(int x, int y) {
  Raster raster(owner_->image_);
  drawLine(raster, PenPos.x, PenPos.y, x, y, effectivePenWidth(Pen.Width),
           {toRgb(Pen.Color), Pen.Mode == PenMode::NotXor});
  PenPos = {x, y};
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  const Box box = orderedBox(x1, y1, x2, y2);
  if (box.empty()) return;
  Raster raster(owner_->image_);
  const bool notXor = Pen.Mode == PenMode::NotXor;
  const Paint pen{toRgb(Pen.Color), notXor};
  const Paint brush{toRgb(Brush.Color), notXor};
  const bool fill = Brush.Style == BrushStyle::Solid;
  const std::int64_t frame = effectivePenWidth(Pen.Width);
  if (!notXor && fill && coversImage(box, owner_->image_)) textLog_.clear();
  const bool allFrame = box.right - box.left <= 2 * frame;
  const std::int64_t firstRow = std::max<std::int64_t>(box.top, 0);
  const std::int64_t endRow = std::min(box.bottom, raster.height());
  for (std::int64_t y = firstRow; y < endRow; ++y) {
    if (allFrame || y < box.top + frame || y >= box.bottom - frame) {
      raster.span(y, box.left, box.right - 1, pen);
      continue;
    }
    raster.span(y, box.left, box.left + frame - 1, pen);
    raster.span(y, box.right - frame, box.right - 1, pen);
    if (fill) raster.span(y, box.left + frame, box.right - frame - 1, brush);
  }
}

void TCanvas::FillRect(int x1, int y1, int x2, int y2) {
  const Box box = orderedBox(x1, y1, x2, y2);
  if (box.empty() || Brush.Style == BrushStyle::Clear) return;
  if (coversImage(box, owner_->image_)) textLog_.clear();
  Raster raster(owner_->image_);
  const Paint brush{toRgb(Brush.Color), false};
  const std::int64_t endRow = std::min(box.bottom, raster.height());
  for (std::int64_t y = std::max<std::int64_t>(box.top, 0); y < endRow; ++y) {
    raster.span(y, box.left, box.right - 1, brush);
  }
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  const Box box = orderedBox(x1, y1, x2, y2);
  if (box.empty()) return;
  Raster raster(owner_->image_);
  const bool notXor = Pen.Mode == PenMode::NotXor;
  const Paint pen{toRgb(Pen.Color), notXor};
  const Paint brush{toRgb(Brush.Color), notXor};
  const bool fill = Brush.Style == BrushStyle::Solid;
  const std::int64_t frame = effectivePenWidth(Pen.Width);
  const std::int64_t endRow = std::min(box.bottom, raster.height());
  const std::int64_t endColumn = std::min(box.right, raster.width());
  for (std::int64_t y = std::max<std::int64_t>(box.top, 0); y < endRow; ++y) {
    for (std::int64_t x = std::max<std::int64_t>(box.left, 0); x < endColumn; ++x) {
      if (!insideEllipse(box, x, y)) continue;
      // Rows and columns of the ellipse are unbroken runs, so a pixel lies
      // within `frame` of the edge exactly when one of these four is outside.
      const bool outline = !insideEllipse(box, x - frame, y) || !insideEllipse(box, x + frame, y) ||
                           !insideEllipse(box, x, y - frame) || !insideEllipse(box, x, y + frame);
      if (outline) {
        raster.span(y, x, x, pen);
      } else if (fill) {
        raster.span(y, x, x, brush);
      }
    }
  }
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  textLog_.push_back({text, x, y, Font.Name, Font.Size, Font.Color});
  QImage& image = owner_->image_;
  const bool reachable = x > -kMaxTextCoordinate && x < kMaxTextCoordinate &&
                         y > -kMaxTextCoordinate && y < kMaxTextCoordinate;
  if (EnsureGuiApplication() && !image.isNull() && reachable) {
    const QFont font = qtFont(Font);
    const QFontMetrics metrics(font);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(toRgb(Font.Color)));
    painter.drawText(x, y + metrics.ascent(), shownText(Font, text));
  }
  PenPos = {saturatedInt(std::int64_t{x} + TextWidth(text)), y};
}

int TCanvas::TextWidth(const std::string& text) const {
  if (!EnsureGuiApplication()) {
    return saturatedInt(static_cast<std::int64_t>(text.size()) * pixelSizeOf(Font.Size) / 2);
  }
  return QFontMetrics(qtFont(Font)).horizontalAdvance(shownText(Font, text));
}

int TCanvas::TextHeight(const std::string& text) const {
  if (!EnsureGuiApplication()) return pixelSizeOf(Font.Size) * 5 / 4;
  (void)text;  // the height of the font's line, whatever the letters
  return QFontMetrics(qtFont(Font)).height();
}

TColor TCanvas::Pixels(int x, int y) const { return owner_->Pixel(x, y); }

void TCanvas::SetPixels(int x, int y, TColor color) {
  Raster raster(owner_->image_);
  raster.span(y, x, x, {toRgb(color), false});
}

void TCanvas::Draw(int x, int y, const Bitmap& source) {
  if (&source == owner_) {
    const Bitmap copy(source);
    Draw(x, y, copy);
    return;
  }
  QImage& target = owner_->image_;
  const QImage& from = source.image_;
  const Box covered{x, y, std::int64_t{x} + from.width(), std::int64_t{y} + from.height()};
  if (coversImage(covered, target)) textLog_.clear();
  const std::int64_t firstColumn = std::max<std::int64_t>(0, -std::int64_t{x});
  const std::int64_t endColumn =
      std::min<std::int64_t>(from.width(), std::int64_t{target.width()} - x);
  if (firstColumn < endColumn) {
    for (std::int64_t row = 0; row < from.height(); ++row) {
      const std::int64_t targetRow = row + y;
      if (targetRow < 0 || targetRow >= target.height()) continue;
      const QRgb* in = reinterpret_cast<const QRgb*>(from.constScanLine(static_cast<int>(row)));
      QRgb* out = reinterpret_cast<QRgb*>(target.scanLine(static_cast<int>(targetRow)));
      std::memcpy(out + (x + firstColumn), in + firstColumn,
                  static_cast<std::size_t>(endColumn - firstColumn) * sizeof(QRgb));
    }
  }
  for (const TextLogEntry& entry : source.canvas_.textLog_) {
    TextLogEntry moved = entry;
    moved.x = saturatedInt(std::int64_t{entry.x} + x);
    moved.y = saturatedInt(std::int64_t{entry.y} + y);
    textLog_.push_back(std::move(moved));
  }
}

// --- Bitmap ---------------------------------------------------------------

Bitmap::Bitmap(int width, int height) : canvas_(*this) { SetSize(width, height); }

Bitmap::Bitmap(const Bitmap& other) : image_(other.image_), canvas_(*this) {
  canvas_.textLog_ = other.canvas_.textLog_;
}

Bitmap& Bitmap::operator=(const Bitmap& other) {
  Assign(other);
  return *this;
}

void Bitmap::SetSize(int width, int height) {
  const std::int64_t w = std::max(width, 0);
  const std::int64_t h = std::max(height, 0);
  canvas_.textLog_.clear();
  // A picture blanked again at its size keeps its memory.
  if (w > 0 && h > 0 && w == image_.width() && h == image_.height() && image_.isDetached()) {
    image_.fill(toRgb(clWhite));
    return;
  }
  QImage fresh;
  if (w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide && w * h <= kMaxPixels) {
    fresh = QImage(static_cast<int>(w), static_cast<int>(h), QImage::Format_RGB32);
    if (!fresh.isNull()) fresh.fill(toRgb(clWhite));
  }
  image_ = std::move(fresh);
  canvas_.textLog_.clear();
}

TColor Bitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return -1;
  return fromRgb(reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x]);
}

void Bitmap::Assign(const Bitmap& other) {
  if (&other == this) return;
  image_ = other.image_;
  canvas_.textLog_ = other.canvas_.textLog_;
}

bool Bitmap::SavePng(const std::string& path) const {
  return !image_.isNull() && image_.save(QString::fromStdString(path), "PNG");
}
