// Renders a saved gnuplot script with the real gnuplot and checks the
// picture it wrote: every publication-plot test uses this one helper.
//
//   if (!gnuplotFound()) GTEST_SKIP() << "no gnuplot";
//   expectRendered(folder, "mol7.plt", ".eps");
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "platform/process.h"
#include "platform/testing/session.h"

inline std::string gnuplotPath() { return FindOnPath("gnuplot"); }
inline bool gnuplotFound() { return !gnuplotPath().empty(); }

// gnuplot's message for a line of the script, warnings included:
// "mol7.plt" line 12: ...
inline bool hasScriptLineMessage(const std::string& errors, const std::string& scriptName) {
  return errors.find("\"" + scriptName + "\" line ") != std::string::npos;
}

inline uint32_t bigEndian32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// The picture checks: an EPS with its header and a BoundingBox of positive
// size, or a PNG with its signature and an IHDR of 768 rows and at least
// 1024 columns (a picture widens to hold long margins).
inline void expectPicture(const std::string& picturePath) {
  const std::string bytes = readTextFile(picturePath);
  ASSERT_FALSE(bytes.empty()) << picturePath << " is empty or missing";
  if (picturePath.size() >= 4 && picturePath.substr(picturePath.size() - 4) == ".eps") {
    EXPECT_EQ(bytes.rfind("%!PS-Adobe-2.0 EPSF-2.0", 0), 0u) << picturePath;
    const size_t box = bytes.find("%%BoundingBox:");
    ASSERT_NE(box, std::string::npos) << picturePath;
    std::istringstream numbers(bytes.substr(box + 14, 80));
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    numbers >> x1 >> y1 >> x2 >> y2;
    EXPECT_GT(x2, x1) << picturePath;
    EXPECT_GT(y2, y1) << picturePath;
  } else {
    ASSERT_GE(bytes.size(), 24u) << picturePath;
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << picturePath;
    EXPECT_EQ(bytes.substr(12, 4), "IHDR") << picturePath;
    EXPECT_GE(bigEndian32(bytes, 16), 1024u) << picturePath;
    EXPECT_EQ(bigEndian32(bytes, 20), 768u) << picturePath;
  }
}

// Runs gnuplot on `scriptName` in `folder` as the program does; it must exit
// 0 with no message about a line of the script, and leave the picture
// `<script less its ending><pictureEnding>`. `allowed` is a message gnuplot
// may print without naming a script line.
inline void expectRendered(const std::string& folder, const std::string& scriptName,
                           const std::string& pictureEnding) {
  std::string errors;
  const int exitCode = RunAndCapture(gnuplotPath(), scriptName, folder, errors);
  EXPECT_EQ(exitCode, 0) << scriptName << ":\n" << errors;
  EXPECT_FALSE(hasScriptLineMessage(errors, scriptName)) << scriptName << ":\n" << errors;
  expectPicture(folder + "/" + scriptName.substr(0, scriptName.size() - 4) + pictureEnding);
}
