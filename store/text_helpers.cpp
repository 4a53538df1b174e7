// The two string helpers of the main window that every file writer and
// legend uses.
#include <string>

#include "app/Main.h"

namespace {
bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

void dropLast(std::string& text, size_t count) {
  if (text.size() >= count) text.erase(text.size() - count);
}
}  // namespace

std::string ShrinkFileName(const std::string& title) {
  std::string name = title;
  if (contains(name, ".bil")) dropLast(name, 7);  // ".cd.bil"
  if (contains(name, ".log") || contains(name, ".out")) dropLast(name, 4);
  if (contains(name, ".exp.xy")) dropLast(name, 10);  // ".cd.exp.xy"
  if (contains(name, ".dat")) dropLast(name, 4);
  std::string shortName;
  for (char c : name)
    if (c != ' ' && c != '_') shortName += c;
  if (shortName.size() > 20) shortName.resize(20);
  return shortName;
}

void TForm1::KommaZuPunkt(std::string& s) {
  for (char& c : s)
    if (c == ',') c = '.';
}
