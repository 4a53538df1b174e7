// What the render tests read back from an EPS picture through Ghostscript:
// the box of all that is drawn (its bbox device), and every text with its
// box (its txtwrite device), in PostScript points with y upward.
//
//   if (!ghostscriptFound()) GTEST_SKIP() << "no gs";
//   EXPECT_TRUE(inside(*drawnBox(eps), declaredBox(eps)));
//   const std::vector<PictureText> texts = pictureTexts(eps);
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <cmath>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "gnuplot_render_check.h"
#include "plot_export_test_support.h"
#include "platform/numbers.h"
#include "platform/process.h"
#include "platform/testing/session.h"
#include "plots/cdplotting.h"
#include "plots/uvplotting.h"

extern char** environ;

inline std::string ghostscriptPath() { return FindOnPath("gs"); }
inline bool ghostscriptFound() { return !ghostscriptPath().empty(); }

// Runs `argv` (no shell) with its output and error output in files; a run
// that takes longer than `seconds` is killed. The exit code, or -1 when it
// could not start or was killed.
inline int runTool(const std::vector<std::string>& argv, const std::string& outputPath,
                   const std::string& errorPath, int seconds = 60) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const int started = posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) return -1;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct PictureBox {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

inline std::ostream& operator<<(std::ostream& out, const PictureBox& b) {
  return out << "[" << b.x0 << " " << b.y0 << " " << b.x1 << " " << b.y1 << "]";
}

// `inner` lies within `outer`, allowing `slack` points on every side.
inline bool inside(const PictureBox& inner, const PictureBox& outer, double slack = 0.5) {
  return inner.x0 >= outer.x0 - slack && inner.y0 >= outer.y0 - slack && inner.x1 <= outer.x1 + slack &&
         inner.y1 <= outer.y1 + slack;
}

inline bool overlap(const PictureBox& a, const PictureBox& b) {
  return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

namespace picture_detail {

// A page large enough for every picture the program writes, so that nothing
// drawn beyond the declared box is cut away before it is measured.
constexpr double PageSide = 1400;

inline std::vector<std::string> gsArguments(const std::string& device, const std::string& output) {
  const std::string side = std::to_string(static_cast<int>(PageSide));
  return {ghostscriptPath(), "-q", "-dNOPAUSE", "-dBATCH", "-dSAFER",
          "-dDEVICEWIDTHPOINTS=" + side, "-dDEVICEHEIGHTPOINTS=" + side, "-dFIXEDMEDIA",
          "-sDEVICE=" + device, "-sOutputFile=" + output};
}

inline std::optional<PictureBox> boxAfter(const std::string& text, const std::string& mark) {
  const size_t at = text.find(mark);
  if (at == std::string::npos) return std::nullopt;
  std::istringstream numbers(text.substr(at + mark.size(), 120));
  PictureBox b;
  if (!(numbers >> b.x0 >> b.y0 >> b.x1 >> b.y1)) return std::nullopt;
  return b;
}

// The UTF-8 text of txtwrite's escaped character.
inline std::string unescape(const std::string& c) {
  if (c == "&amp;") return "&";
  if (c == "&lt;") return "<";
  if (c == "&gt;") return ">";
  if (c == "&quot;") return "\"";
  if (c == "&apos;") return "'";
  if (c.rfind("&#x", 0) != 0) return c;
  const unsigned long code = std::stoul(c.substr(3), nullptr, 16);
  std::string utf8;
  if (code < 0x80) {
    utf8 += static_cast<char>(code);
  } else if (code < 0x800) {
    utf8 += static_cast<char>(0xC0 | (code >> 6));
    utf8 += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    utf8 += static_cast<char>(0xE0 | (code >> 12));
    utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    utf8 += static_cast<char>(0x80 | (code & 0x3F));
  }
  return utf8;
}

}  // namespace picture_detail

// The %%BoundingBox the file declares.
inline PictureBox declaredBox(const std::string& epsPath) {
  return picture_detail::boxAfter(readTextFile(epsPath), "%%BoundingBox:").value_or(PictureBox{});
}

// The box of all that Ghostscript draws of the file; none when it draws
// nothing or cannot read it.
inline std::optional<PictureBox> drawnBox(const std::string& epsPath) {
  const std::string output = epsPath + ".bbox.out";
  const std::string errors = epsPath + ".bbox.err";
  std::vector<std::string> argv = picture_detail::gsArguments("bbox", output);
  argv.push_back(epsPath);
  if (runTool(argv, output, errors) != 0) return std::nullopt;
  return picture_detail::boxAfter(readTextFile(errors), "%%HiResBoundingBox:");
}

// One text as gnuplot wrote it: the pieces it showed one after the other
// (an exponent is a piece of its own), and the box they cover together.
struct PictureText {
  std::vector<std::string> pieces;
  PictureBox box;
  bool vertical = false;
  double size = 0;  // of its largest piece
  std::string text() const {
    std::string joined;
    for (const std::string& piece : pieces) joined += piece;
    return joined;
  }
};

// Every text of the picture. A text's height is taken from its font size:
// 0.22 of it below the base line and 0.72 above, enough for digits and
// capitals. Pieces that follow one another along the same line (a raised
// exponent, a symbol) join into one text.
inline std::vector<PictureText> pictureTexts(const std::string& epsPath) {
  using picture_detail::PageSide;
  const std::string output = epsPath + ".txt.out";
  std::vector<std::string> argv = picture_detail::gsArguments("txtwrite", output);
  argv.insert(argv.end() - 1, "-dTextFormat=0");
  argv.push_back(epsPath);
  std::vector<PictureText> texts;
  if (runTool(argv, output + ".stdout", epsPath + ".txt.err") != 0) return texts;
  const std::string xml = readTextFile(output);
  static const std::regex spanRe(R"re(<span bbox="(-?\d+) (-?\d+) (-?\d+) (-?\d+)" font="[^"]*" size="([\d.]+)">)re");
  static const std::regex charRe(R"re(<char bbox="[^"]*" c="([^"]*)"/>)re");
  std::istringstream lines(xml);
  std::string line;
  struct Span {
    double x0, yBase0, x1, yBase1, size;
    std::string text;
  };
  std::vector<Span> spans;
  while (std::getline(lines, line)) {
    std::smatch m;
    if (std::regex_search(line, m, spanRe)) {
      spans.push_back({std::stod(m[1]), PageSide - std::stod(m[2]), std::stod(m[3]), PageSide - std::stod(m[4]),
                       std::stod(m[5]), {}});
    } else if (std::regex_search(line, m, charRe) && !spans.empty()) {
      spans.back().text += picture_detail::unescape(m[1]);
    }
  }
  for (const Span& s : spans) {
    const bool vertical = s.x0 == s.x1 && s.yBase0 != s.yBase1;
    PictureBox box;
    if (vertical) {
      box = {s.x0 - 0.72 * s.size, std::min(s.yBase0, s.yBase1), s.x0 + 0.22 * s.size,
             std::max(s.yBase0, s.yBase1)};
    } else {
      box = {std::min(s.x0, s.x1), s.yBase0 - 0.22 * s.size, std::max(s.x0, s.x1), s.yBase0 + 0.72 * s.size};
    }
    if (!texts.empty()) {
      PictureText& last = texts.back();
      // An exponent is raised by up to about half the font size.
      const double raise = 0.7 * std::max(s.size, last.size);
      const bool follows = last.vertical == vertical &&
                           (vertical ? std::abs(box.y0 - last.box.y1) <= 1.5 && std::abs(box.x0 - last.box.x0) <= raise
                                     : std::abs(box.x0 - last.box.x1) <= 1.5 && std::abs(box.y0 - last.box.y0) <= raise);
      if (follows) {
        last.pieces.push_back(s.text);
        last.size = std::max(last.size, s.size);
        last.box = {std::min(last.box.x0, box.x0), std::min(last.box.y0, box.y0), std::max(last.box.x1, box.x1),
                    std::max(last.box.y1, box.y1)};
        continue;
      }
    }
    texts.push_back({{s.text}, box, vertical, s.size});
  }
  return texts;
}

// The number a tic label shows: "-0.00044", " 25", or a mantissa, a
// multiplication sign and "10", then the exponent as a piece of its own
// ("2.6", "⋅", "10", "4" or "1.7×10", "−6"). None for any other text.
inline std::optional<double> ticLabelValue(const PictureText& t) {
  const auto number = [](const std::string& text) -> std::optional<double> {
    // gnuplot writes its minus as U+2212.
    std::string trimmed;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text.compare(i, 3, "\u2212") == 0) {
        trimmed += '-';
        i += 2;
      } else if (text[i] != ' ') {
        trimmed += text[i];
      }
    }
    if (trimmed.empty()) return std::nullopt;
    size_t used = 0;
    try {
      const double value = std::stod(trimmed, &used);
      if (used != trimmed.size()) return std::nullopt;
      return value;
    } catch (...) {
      return std::nullopt;
    }
  };
  if (t.pieces.size() == 1) return number(t.pieces[0]);
  std::string head;
  for (size_t i = 0; i + 1 < t.pieces.size(); ++i) head += t.pieces[i];
  if (head.size() < 3 || head.compare(head.size() - 2, 2, "10") != 0) return std::nullopt;
  head.erase(head.size() - 2);
  bool sign = false;
  for (const char* times : {"\u22c5", "\u00d7", "x"}) {
    const std::string mark(times);
    if (head.size() >= mark.size() && head.compare(head.size() - mark.size(), mark.size(), mark) == 0) {
      head.erase(head.size() - mark.size());
      sign = true;
      break;
    }
  }
  const std::optional<double> mantissa = number(head);
  const std::optional<double> exponent = number(t.pieces.back());
  if (sign && mantissa && exponent) return *mantissa * std::pow(10.0, *exponent);
  return std::nullopt;
}

// The tic labels of the left (or right) y axis: labels that show a number,
// lie left of (right of) every label of the x axis, and do not sit on the x
// axis's base line. The x axis is the base line that the most number labels
// share.
inline std::vector<PictureText> yTicLabels(const std::vector<PictureText>& texts, bool rightAxis = false) {
  std::vector<PictureText> numbers;
  for (const PictureText& t : texts)
    if (!t.vertical && ticLabelValue(t)) numbers.push_back(t);
  double axisBase = 0;
  size_t most = 0;
  for (const PictureText& t : numbers) {
    const size_t count = static_cast<size_t>(std::count_if(numbers.begin(), numbers.end(), [&](const PictureText& u) {
      return std::abs(u.box.y0 - t.box.y0) < 0.5;
    }));
    if (count > most) {
      most = count;
      axisBase = t.box.y0;
    }
  }
  double leftmost = 1e9, rightmost = -1e9;
  for (const PictureText& t : numbers) {
    if (std::abs(t.box.y0 - axisBase) >= 0.5) continue;
    const double middle = (t.box.x0 + t.box.x1) / 2;
    leftmost = std::min(leftmost, middle);
    rightmost = std::max(rightmost, middle);
  }
  std::vector<PictureText> labels;
  for (const PictureText& t : numbers) {
    if (most >= 2 && std::abs(t.box.y0 - axisBase) < 0.5) continue;
    if (rightAxis ? t.box.x0 > rightmost : t.box.x1 < leftmost) labels.push_back(t);
  }
  return labels;
}

// The pairs of texts whose boxes overlap, as readable lines.
inline std::vector<std::string> overlappingTexts(const std::vector<PictureText>& texts) {
  std::vector<std::string> pairs;
  const auto shrunk = [](PictureBox b) {
    // Neighbouring texts may touch; only real overlap counts.
    return PictureBox{b.x0 + 0.5, b.y0 + 0.5, b.x1 - 0.5, b.y1 - 0.5};
  };
  for (size_t i = 0; i < texts.size(); ++i) {
    if (texts[i].text().find_first_not_of(' ') == std::string::npos) continue;
    for (size_t j = i + 1; j < texts.size(); ++j) {
      if (texts[j].text().find_first_not_of(' ') == std::string::npos) continue;
      if (!overlap(shrunk(texts[i].box), shrunk(texts[j].box))) continue;
      std::ostringstream line;
      line << "\"" << texts[i].text() << "\" " << texts[i].box << " and \"" << texts[j].text() << "\" "
           << texts[j].box;
      pairs.push_back(line.str());
    }
  }
  return pairs;
}

// The colour gnuplot draws the key entry titled `title` in (the sample line
// or box after the title), as "r g b"; "" when the title is not found.
inline std::string keyColour(const std::string& epsPath, const std::string& title) {
  const std::string eps = readTextFile(epsPath);
  const size_t at = eps.find("(" + title + ")]");
  if (at == std::string::npos) return std::string();
  std::istringstream lines(eps.substr(at));
  std::string line;
  std::getline(lines, line);
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    std::string rgb;
    if (w.size() == 2 && w[1] == "setrgbcolor" && w[0] != "LCb") {
      // A named colour of the prologue: /LC0 {1 0 0} def
      const size_t def = eps.find("/" + w[0] + " {");
      if (def == std::string::npos) return std::string();
      rgb = eps.substr(def + w[0].size() + 3, eps.find('}', def) - def - w[0].size() - 3);
    } else if (w.size() == 4 && w[3] == "C") {
      rgb = w[0] + " " + w[1] + " " + w[2];
    } else {
      continue;
    }
    std::istringstream numbers(rgb);
    double r = 0, g = 0, b = 0;
    numbers >> r >> g >> b;
    std::ostringstream text;
    text << r << " " << g << " " << b;
    return text.str();
  }
  return std::string();
}

// ---- Pages the picture tests load ------------------------------------------------

// Clicks `button` with the script `name`.plt chosen in `folder`; the path of
// the picture gnuplot wrote.
inline std::string clickEps(Session& ui, Button* button, const TempFolder& folder, const std::string& name,
                            const std::string& extension = ".eps") {
  ui.willChooseFile(folder.file(name + ".plt"));
  ui.click(button);
  return folder.file(name + extension);
}

// Every ECD slot filled: computed slot 1, measured slot 2, computed 3 to 5.
inline void loadFiveEcdCurves(Session& ui) {
  loadEcdPair(ui);
  ui.act([&] {
    for (int slot = 3; slot <= 5; ++slot) {
      Form1->CdBilFile(fixture("plots/conf1.cd.bil"), slot);
      ui.store().CDTITLE[slot] = "other" + std::to_string(slot) + ".cd.bil";
    }
  });
}

inline void loadFiveUvCurves(Session& ui) {
  loadUvPair(ui);
  ui.act([&] {
    for (int slot = 3; slot <= 5; ++slot) {
      Form1->UvBilFile(fixture("plots/conf1.uv.bil"), slot);
      ui.store().UVTITLE[slot] = "other" + std::to_string(slot) + ".uv.bil";
    }
  });
}

inline void loadOneEcdCurve(Session& ui) {
  ui.act([] { Form1->Choose(fixture("plots/conf1.cd.bil")); });
}

inline void loadOneUvCurve(Session& ui) {
  ui.act([] { Form1->Choose(fixture("plots/conf1.uv.bil")); });
}

// Gives every curve of the page a name of 20 characters, as a real output's
// name shortens to ("tm7.6risRKSpbe0TDDFT").
inline void longNames(Session& ui, bool ecd) {
  SlotTexts& titles = ecd ? ui.store().CDTITLE : ui.store().UVTITLE;
  for (long s = 1; s <= 5; ++s) titles[s] = "tm7.6risRKSpbe0TDD" + std::to_string(s) + "F";
}

// A UV/ECD page of the key tests: its curves, and whether the bars (and for
// ECD the mirror image) are drawn beside them.
struct KeyPage {
  const char* name;
  void (*load)(Session&);
  bool ecd;
  bool mirrorAndBars = false;
};

// Loads `page`, then ticks its bars and mirror image and "use second y axis".
inline void loadKeyPage(Session& ui, const KeyPage& page, bool secondAxis,
                        const std::function<void(Session&)>& names) {
  page.load(ui);
  names(ui);
  if (page.mirrorAndBars) {
    ui.tick(Form1->CheckBox1);
    if (page.ecd) ui.tick(Form1->CheckBox2);
  }
  if (secondAxis) (page.ecd ? Form10->CheckBox2 : Form11->CheckBox2)->SetChecked(true);
}

// ---- Curves the picture tests shape -----------------------------------------------

// The picture of a PNG script drawn as an EPS instead, so that its texts
// can be read back: the same ranges and tics, another terminal.
inline std::string epsOfPngScript(const TempFolder& folder, const std::string& name) {
  std::vector<std::string> lines = ReadLines(folder.file(name + ".plt"));
  for (std::string& line : lines) {
    if (line.rfind("set terminal pngcairo", 0) == 0) line = R"(set terminal postscript eps enhanced color solid "Arial" 32)";
    if (line.rfind("set out ", 0) == 0) line = "set out \"" + name + "-as-eps.eps\"";
  }
  WriteLinesCRLF(folder.file(name + "-as-eps.plt"), lines);
  expectRendered(folder.path(), name + "-as-eps.plt", ".eps");
  return folder.file(name + "-as-eps.eps");
}

// Multiplies a computed band (or the points of a trace) so that its extreme
// becomes `extreme`, and lets the page take its ranges again.
inline void scaleUvEcdBand(Session& ui, bool ecd, long slot, double extreme) {
  auto& band = ecd ? ui.store().EPS : ui.store().ABSG;
  double largest = 0;
  for (long bin = MINLAMBDA; bin <= MAXLAMBDA; ++bin) largest = std::max(largest, std::abs(band(bin, slot)));
  for (long bin = MINLAMBDA; bin <= MAXLAMBDA; ++bin) band(bin, slot) *= extreme / largest;
  ui.act([ecd] { ecd ? Form1->DetermineCDRange() : Form1->DetermineUVRange(); });
}

inline void scaleIrVcdBand(Session& ui, bool vcd, double extreme) {
  auto& band = vcd ? ui.store().VCD : ui.store().IR;
  double largest = 0;
  for (long w = 0; w <= 4000; ++w) largest = std::max(largest, std::abs(band(w, 3, 1)));
  for (long w = 0; w <= 4000; ++w) band(w, 3, 1) *= extreme / largest;
  ui.act([vcd] { vcd ? Form1->DetermineVCDRange() : Form1->DetermineIRRange(); });
}

inline double largestMagnitude(const std::vector<PictureText>& labels) {
  double largest = 0;
  for (const PictureText& label : labels) largest = std::max(largest, std::abs(*ticLabelValue(label)));
  return largest;
}

// A measured spectrum of one Gaussian band of height `height` at 300 nm
// (negative for ECD), written as a spectrometer exports it.
inline std::string writeMeasuredBand(const TempFolder& folder, const std::string& name, double height) {
  std::string text;
  for (int nm = 500; nm >= 200; nm -= 2)
    text += std::to_string(nm) + "\t" + FloatToStrF(height * std::exp(-std::pow((nm - 300) / 25.0, 2)), 7) + "\n";
  writeTextFile(folder.file(name), text);
  return folder.file(name);
}

