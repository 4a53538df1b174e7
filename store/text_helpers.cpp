// The two string helpers of the main window that every file writer and
// legend uses.
#include <string>

#include "app/Main.h"

namespace {
bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// Titles are UTF-8: counts are of characters, and a cut never splits one.
bool continuesCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

void dropLast(std::string& text, size_t count) {
  size_t cut = text.size();
  for (size_t dropped = 0; dropped < count; ++dropped) {
    if (cut == 0) return;  // shorter than count characters
    do --cut;
    while (cut > 0 && continuesCharacter(text[cut]));
  }
  text.erase(cut);
}

void keepFirst(std::string& text, size_t count) {
  size_t characters = 0;
  for (size_t at = 0; at < text.size(); ++at)
    if (!continuesCharacter(text[at]) && ++characters > count) {
      text.erase(at);
      return;
    }
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
  keepFirst(shortName, 20);
  return shortName;
}

void TForm1::KommaZuPunkt(std::string& s) {
  for (char& c : s)
    if (c == ',') c = '.';
}
