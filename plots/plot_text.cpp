#include "plots/plot_text.h"

#include <algorithm>
#include <cmath>

#include "platform/numbers.h"

namespace {

// Advance widths of the printable ASCII characters in thousandths of the
// font size, those of the sans-serif faces the pictures are set in (Arial,
// Helvetica and their metric twins).
constexpr short AsciiWidths[95] = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333, 278, 278,  //  !"#$%&'()*+,-./
    556, 556, 556, 556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556,  // 0-9 :;<=>?
    1015, 667, 667, 722, 722, 667, 611, 778, 722, 278, 500, 667, 556, 833, 722, 778,  // @A-O
    667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611, 278, 278, 278, 469, 556,  // P-Z [\]^_
    333, 556, 556, 500, 556, 556, 278, 556, 556, 222, 222, 500, 222, 833, 556, 556,  // `a-o
    556, 556, 333, 500, 278, 556, 500, 722, 500, 500, 500, 334, 260, 334, 584};      // p-z {|}~
// Any other character: a Greek letter, an accented one, a sign.
constexpr double OtherWidth = 0.65;
// A face the person typed may run a little wider than the table.
constexpr double Generosity = 1.05;
// Raised and lowered parts are drawn at this share of the size around them.
constexpr double ScriptShare = 0.8;

// The EPS terminal draws a font of size f at f/2 points; pngcairo draws it
// at 96 pixels an inch, 4/3 of a pixel a point.
double unitsPerSize(Picture picture) { return picture == Picture::Eps ? 0.5 : 4.0 / 3.0; }

double characterWidth(unsigned char c) {
  if (c >= 32 && c < 127) return AsciiWidths[c - 32] / 1000.0;
  return OtherWidth;
}

bool isOctal(char c) { return c >= '0' && c <= '7'; }

class Parser {
 public:
  explicit Parser(const std::string& text) : text_(text) {}

  // Reads up to the closing brace of the group (or the end) at `size`.
  void group(double size, std::vector<ShownRun>& runs, bool closes) {
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (c == '}' && closes) {
        ++at_;
        return;
      }
      element(size, runs);
    }
  }

 private:
  void emit(std::vector<ShownRun>& runs, double size, const std::string& characters) {
    if (characters.empty()) return;
    if (!runs.empty() && runs.back().size == size) runs.back().characters += characters;
    else runs.push_back({characters, size});
  }

  // One character, escape, group or raised/lowered part.
  void element(double size, std::vector<ShownRun>& runs) {
    const char c = text_[at_];
    if (c == '\\') {
      ++at_;
      if (at_ == text_.size()) return;
      if (isOctal(text_[at_])) {
        size_t digits = 0;
        while (digits < 3 && at_ < text_.size() && isOctal(text_[at_])) ++at_, ++digits;
        emit(runs, size, "\xB7");  // one character of the font's upper half
      } else {
        emit(runs, size, std::string(1, text_[at_++]));
      }
      return;
    }
    if (c == '{') {
      ++at_;
      double inner = size;
      if (at_ < text_.size() && text_[at_] == '/') {
        // A font switch: "/Font=18 ", "/=18 ", "/*0.8 " or "/Font ".
        const size_t end = std::min(text_.find(' ', at_), text_.find('}', at_));
        const std::string fontSwitch = text_.substr(at_ + 1, end == std::string::npos ? std::string::npos : end - at_ - 1);
        at_ = end == std::string::npos ? text_.size() : end + (text_[end] == ' ' ? 1 : 0);
        if (const size_t equals = fontSwitch.find('='); equals != std::string::npos) {
          inner = FontSize(fontSwitch.substr(equals + 1), size);
        } else if (const size_t times = fontSwitch.find('*'); times != std::string::npos) {
          inner = size * FontSize(fontSwitch.substr(times + 1), 1.0);
        }
      }
      group(inner, runs, /*closes*/ true);
      return;
    }
    if (c == '^' || c == '_') {
      ++at_;
      scripted(size * ScriptShare, runs);
      return;
    }
    if (c == '@') {
      // A part that takes no room: what follows is drawn over it.
      ++at_;
      std::vector<ShownRun> ignored;
      if (at_ < text_.size() && (text_[at_] == '^' || text_[at_] == '_')) ++at_;
      scripted(size * ScriptShare, ignored);
      return;
    }
    if (c == '&' && at_ + 1 < text_.size() && text_[at_ + 1] == '{') {
      // Room of the width of the braced text, shown blank.
      at_ += 2;
      std::vector<ShownRun> room;
      group(size, room, /*closes*/ true);
      for (const ShownRun& run : room) emit(runs, run.size, std::string(run.characters.size(), ' '));
      return;
    }
    if (c == '~') {
      // Overprint: the first character holds the place, the second is drawn over it.
      ++at_;
      std::vector<ShownRun> first;
      scripted(size, first);
      for (const ShownRun& run : first) emit(runs, run.size, run.characters);
      std::vector<ShownRun> over;
      scripted(size, over);
      return;
    }
    // A UTF-8 sequence is one character.
    size_t length = 1;
    const auto lead = static_cast<unsigned char>(c);
    if (lead >= 0xC0) {
      while (at_ + length < text_.size() && (static_cast<unsigned char>(text_[at_ + length]) & 0xC0) == 0x80) ++length;
    }
    emit(runs, size, text_.substr(at_, length));
    at_ += length;
  }

  // A raised or lowered part: a braced group or one element.
  void scripted(double size, std::vector<ShownRun>& runs) {
    if (at_ == text_.size()) return;
    if (text_[at_] == '{' && (at_ + 1 == text_.size() || text_[at_ + 1] != '/')) {
      ++at_;
      group(size, runs, /*closes*/ true);
    } else {
      element(size, runs);
    }
  }

  const std::string& text_;
  size_t at_ = 0;
};

// The width of the characters of one run in font sizes: a UTF-8 sequence
// is one character.
double emWidth(const std::string& characters) {
  double width = 0;
  for (size_t i = 0; i < characters.size(); ++i) {
    const auto c = static_cast<unsigned char>(characters[i]);
    if ((c & 0xC0) == 0x80) continue;
    width += characterWidth(c);
  }
  return width;
}

}  // namespace

std::vector<ShownRun> ShownRuns(const std::string& markup, double size) {
  std::vector<ShownRun> runs;
  Parser(markup).group(size, runs, /*closes*/ false);
  return runs;
}

std::string ShownCharacters(const std::string& markup) {
  std::string shown;
  for (const ShownRun& run : ShownRuns(markup, 1)) shown += run.characters;
  return shown;
}

double TextWidth(Picture picture, const std::string& markup, double size) {
  double width = 0;
  for (const ShownRun& run : ShownRuns(markup, size)) width += emWidth(run.characters) * run.size;
  return width * unitsPerSize(picture) * Generosity;
}

double TextHeight(Picture picture, double size) { return CharacterHeight(picture, size); }

double CharacterWidth(Picture picture, double size) {
  // gnuplot's postscript character is 0.6 of the font size wide; pngcairo's
  // is the width of a digit.
  return (picture == Picture::Eps ? 0.6 : 0.5625) * size * unitsPerSize(picture);
}

double CharacterHeight(Picture picture, double size) {
  return (picture == Picture::Eps ? 1.0 : 1.1175) * size * unitsPerSize(picture);
}

int CharactersFor(Picture picture, double width, double terminalSize) {
  const double character = CharacterWidth(picture, terminalSize);
  if (!(width > 0) || !(character > 0)) return 0;
  return static_cast<int>(std::ceil(width / character - 1e-9));
}

double FontSize(const std::string& text, double fallback) {
  const std::optional<double> size = TryStrToFloat(text);
  return size && *size > 0 && std::isfinite(*size) ? *size : fallback;
}
