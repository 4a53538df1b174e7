#include "similarity/window_support.h"

#include <optional>

#include "platform/numbers.h"
#include "settings/settings.h"

namespace {

std::optional<double> converted(const std::string& text, EditNumber number) {
  if (number == EditNumber::Whole) {
    const std::optional<int> value = TryStrToInt(text);
    if (!value) return std::nullopt;
    return static_cast<double>(*value);
  }
  return TryStrToFloat(text);
}

}  // namespace

double editValue(Edit* edit, EditNumber number) {
  return number == EditNumber::Whole ? static_cast<double>(StrToInt(edit->Text())) : StrToFloat(edit->Text());
}

PairValues checkPair(const EditPair& pair) {
  const std::optional<double> first = converted(pair.first->Text(), pair.number);
  const std::optional<double> second = converted(pair.second->Text(), pair.number);
  if (!first) pair.first->SetText(pair.firstFallback);
  if (!second) pair.second->SetText(pair.secondFallback);
  if (first && second) {
    // Bounds first, then the order, so that a clamped pair is never reversed.
    if (pair.ascending ? *first < pair.firstBound : *first > pair.firstBound) pair.first->SetText(pair.firstBoundText);
    if (pair.ascending ? *second > pair.secondBound : *second < pair.secondBound)
      pair.second->SetText(pair.secondBoundText);
    const double low = editValue(pair.first, pair.number);
    const double high = editValue(pair.second, pair.number);
    if (pair.ascending ? low > high : high > low) pair.first->SetText(pair.second->Text());
  }
  return {editValue(pair.first, pair.number), editValue(pair.second, pair.number)};
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

std::string noSignalLine(const char* kind) {
  return std::string("No ") + kind + " similarity: the experimental " + kind + " data have no signal in the selected range";
}

std::string noValueLine(const char* kind, SearchOutcome outcome) {
  if (outcome == SearchOutcome::CalculatedZero)
    return std::string("No ") + kind + " similarity: the calculated " + kind + " spectrum is zero in the selected range";
  return std::string("No ") + kind + " similarity could be calculated for the selected ranges";
}

bool finalResultFollows(Memo* memo, const char* kind, SearchOutcome outcome) {
  memo->Add("");
  if (outcome == SearchOutcome::Found) return true;
  memo->Add(noValueLine(kind, outcome));
  return false;
}
