#include "similarity/window_support.h"

#include <cmath>
#include <optional>
#include <tuple>

#include "app/Main.h"
#include "platform/numbers.h"
#include "settings/settings.h"
#include "similarity/kernel_core.h"

namespace {

std::optional<double> converted(const std::string& text, EditNumber number) {
  if (number == EditNumber::Whole) {
    const std::optional<int> value = TryStrToInt(text);
    if (!value) return std::nullopt;
    return static_cast<double>(*value);
  }
  return TryStrToFloat(text);
}

// Digits with at most one sign before them: a whole number, whatever its size.
bool spellsWholeNumber(const std::string& text) {
  const std::string trimmed = Trim(text);
  std::size_t i = !trimmed.empty() && (trimmed[0] == '+' || trimmed[0] == '-') ? 1 : 0;
  if (i == trimmed.size()) return false;
  for (; i < trimmed.size(); ++i)
    if (trimmed[i] < '0' || trimmed[i] > '9') return false;
  return true;
}

// Leaves a text that converts as it is; reads a comma as a decimal point, as
// the measured files are read; puts the fallback in place of anything else.
// Says so in the memo whenever the text is replaced.
void convertOrReplace(Edit* edit, const char* name, const char* fallback, EditNumber number, Memo* memo) {
  const std::string typed = edit->Text();
  if (converted(typed, number)) return;
  std::string pointed = typed;
  TForm1::KommaZuPunkt(pointed);
  if (pointed != typed && converted(pointed, number)) {
    edit->SetText(pointed);
    memo->Add(std::string(name) + ": \"" + typed + "\" is read as " + pointed);
    return;
  }
  edit->SetText(fallback);
  const char* fault = number == EditNumber::Whole && spellsWholeNumber(typed) ? "is out of range"
                      : number == EditNumber::Whole                           ? "is not a whole number"
                                                                              : "is not a number";
  memo->Add(std::string(name) + ": \"" + typed + "\" " + fault + ", " + fallback + " is used");
}

// Puts `used` in place of the edit's text and names the change.
void replaceText(Edit* edit, const char* name, const std::string& why, const std::string& used, Memo* memo) {
  memo->Add(std::string(name) + ": \"" + edit->Text() + "\" " + why + ", " + used + " is used");
  edit->SetText(used);
}

}  // namespace

double editValue(Edit* edit, EditNumber number) {
  return number == EditNumber::Whole ? static_cast<double>(StrToInt(edit->Text())) : StrToFloat(edit->Text());
}

std::optional<PairValues> checkPair(const EditPair& pair, Memo* memo) {
  const std::string typedFirst = pair.first->Text();
  const std::string typedSecond = pair.second->Text();
  convertOrReplace(pair.first, pair.firstName, pair.firstFallback, pair.number, memo);
  convertOrReplace(pair.second, pair.secondName, pair.secondFallback, pair.number, memo);
  const double first = editValue(pair.first, pair.number);
  const double second = editValue(pair.second, pair.number);
  // A band width at or below 0 is no band: the bounds would make one of it.
  if (pair.role == PairRole::Width) {
    for (const auto& [value, name, typed] : {std::tuple{first, pair.firstName, &typedFirst},
                                             std::tuple{second, pair.secondName, &typedSecond}}) {
      if (value > 0) continue;
      memo->Add(std::string(name) + ": \"" + *typed + "\" is refused, a band width must be above 0");
      return std::nullopt;
    }
  }
  // Bounds first, then the order, so that a clamped pair is never reversed.
  const std::string below = "is below ", above = "is above ";
  if (pair.ascending ? first < pair.firstBound : first > pair.firstBound)
    replaceText(pair.first, pair.firstName, (pair.ascending ? below : above) + pair.firstBoundText,
                pair.firstBoundText, memo);
  if (pair.ascending ? second > pair.secondBound : second < pair.secondBound)
    replaceText(pair.second, pair.secondName, (pair.ascending ? above : below) + pair.secondBoundText,
                pair.secondBoundText, memo);
  const double low = editValue(pair.first, pair.number);
  const double high = editValue(pair.second, pair.number);
  if (pair.ascending ? low > high : high > low) {
    replaceText(pair.first, pair.firstName, (pair.ascending ? above : below) + pair.secondName, pair.second->Text(),
                memo);
    if (pair.role == PairRole::Range) return std::nullopt;
  }
  return PairValues{editValue(pair.first, pair.number), editValue(pair.second, pair.number)};
}

std::string similarityNumber(double value) {
  return FloatToStr(StrToFloat(FloatToStrE(value, 10)));
}

std::string fixed4(double value) { return FloatToStrF(value, 4); }

void addCoverageLines(Memo* memo, const std::string& message) {
  memo->Add("");
  memo->Add(message);
  memo->Add("");
}

bool missesWavelengths(const MeasuredPoints& points, int X1, int X2) {
  const int n = points.size();
  if (n == 0) return true;
  return roundHalfEven(points.x[0]) < X2 || roundHalfEven(points.x[n - 1]) > X1;
}

bool missesWavenumbers(const MeasuredPoints& points, int X1, int X2) {
  const int n = points.size();
  if (n == 0) return true;
  return roundHalfEven(10000000.0 / points.x[0]) > X2 || roundHalfEven(10000000.0 / points.x[n - 1]) < X1;
}

MeasuredPoints slot2Points(const Grid2<1, 10000, 5>& x, const Grid2<1, 10000, 5>& y, int count) {
  constexpr std::size_t size = Grid2<1, 10000, 5>::size;
  return {{x.slotData(2), size}, {y.slotData(2), size}, count};
}

bool hasSignal(const MeasuredPoints& points, UvEcdMode form, int X1, int X2, const std::optional<double>& maximum) {
  if (!rangeHoldsPoint(points, form, X1, X2) || !maximum || !(*maximum > 0)) return false;
  const int n = points.size();
  const double floor = SIGNAL_FRACTION * similarity_core::largestMagnitude(points.y.first(n));
  const similarity_core::PointRun inside = form == UvEcdMode::Wavelength ? similarity_core::walkA(points, X1, X2)
                                                                         : similarity_core::walkAPrime(points, X1, X2);
  for (int i = inside.first; i < inside.end; ++i)
    if (std::fabs(points.y[i]) >= floor) return true;
  return false;
}

bool hasSignal(const MeasuredPoints& points, int X1, int X2, const std::optional<double>& maximum) {
  return hasSignal(points, UvEcdMode::Wavelength, X1, X2, maximum);
}

std::string noSignalLine(const char* kind) {
  return std::string("No ") + kind + " similarity: the experimental " + kind + " data have no signal in the selected range";
}

std::string noValueLine(const char* kind, SearchOutcome outcome) {
  if (outcome == SearchOutcome::CalculatedZero)
    return std::string("No ") + kind + " similarity: the calculated " + kind + " spectrum is zero in the selected range";
  return std::string("No ") + kind + " similarity could be calculated for the selected ranges";
}

std::string scoresLeftOutLine(const char* kind, const char* baseKind) {
  return std::string("No ") + kind + " similarity: the final " + baseKind +
         " result gave no factor, so its setting was not written back";
}

bool finalResultFollows(Memo* memo, const char* kind, SearchOutcome outcome) {
  memo->Add("");
  if (outcome == SearchOutcome::Found) return true;
  memo->Add(noValueLine(kind, outcome));
  return false;
}
