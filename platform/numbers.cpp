#include "platform/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>

#include "platform/errors.h"

namespace {

bool isWhiteSpace(char c) { return static_cast<unsigned char>(c) <= 32; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimView(std::string_view text) {
  size_t first = 0;
  while (first < text.size() && isWhiteSpace(text[first])) ++first;
  size_t last = text.size();
  while (last > first && isWhiteSpace(text[last - 1])) --last;
  return text.substr(first, last - first);
}

// Reads "[sign] mantissa [exponent]" covering the whole of `text`, where
// `exponentLetters` names the accepted exponent letters. False when the text
// is not such a number or its value exceeds the range of double.
bool parseDecimal(std::string_view text, std::string_view exponentLetters, double& value) {
  size_t i = 0;
  const size_t n = text.size();
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  // Digits of the mantissa; `magnitude` counts the places of the first
  // non-zero digit relative to the point (1 for "5", 0 for ".5", -1 for ".05").
  size_t digits = 0;
  long long magnitude = 0;
  bool seenNonZero = false;
  while (i < n && isDigit(text[i])) {
    if (text[i] != '0') seenNonZero = true;
    if (seenNonZero) ++magnitude;
    ++digits;
    ++i;
  }
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && isDigit(text[i])) {
      if (!seenNonZero) {
        if (text[i] != '0') seenNonZero = true;
        else --magnitude;
      }
      ++digits;
      ++i;
    }
  }
  if (digits == 0) return false;

  long long exponent = 0;
  size_t exponentLetter = std::string_view::npos;
  if (i < n && exponentLetters.find(text[i]) != std::string_view::npos) {
    exponentLetter = i++;
    bool negativeExponent = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
    size_t exponentDigits = 0;
    while (i < n && isDigit(text[i])) {
      // Saturate: beyond a million places every value is zero or infinite.
      if (exponent < 1000000) exponent = exponent * 10 + (text[i] - '0');
      ++exponentDigits;
      ++i;
    }
    if (exponentDigits == 0) return false;
    if (negativeExponent) exponent = -exponent;
  }
  if (i != n) return false;

  // from_chars takes no leading '+' and only 'e' or 'E' as exponent letter;
  // only a Fortran exponent needs a copy.
  std::string_view number = text.substr(text[0] == '+' ? 1 : 0);
  std::string copy;
  if (exponentLetter != std::string_view::npos && (text[exponentLetter] | 0x20) != 'e') {
    copy.assign(number);
    copy[exponentLetter - (text.size() - number.size())] = 'e';
    number = copy;
  }
  double parsed = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), parsed,
                                      std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // Too large is no number; too small is as good as zero.
    if (seenNonZero && magnitude + exponent > 0) return false;
    value = negative ? -0.0 : 0.0;
    return true;
  }
  if (result.ec != std::errc() || result.ptr != number.data() + number.size()) return false;
  value = parsed;
  return true;
}

[[noreturn]] void raiseInvalidFloat(const std::string& text) {
  throw EConvertError("\"" + text + "\" is an invalid float");
}

std::string specialText(double value) {
  if (std::isnan(value)) return "Nan";
  return value > 0 ? "+Inf" : "-Inf";
}

// The text of `value` rounded to `significant` digits: its digits and the
// decimal exponent of the first digit (value = d.ddd x 10^exponent).
struct SignificantDigits {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

SignificantDigits significantDigits(double value, int significant) {
  char buffer[128];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::scientific, significant - 1);
  const std::string_view text(buffer, static_cast<size_t>(result.ptr - buffer));
  SignificantDigits out;
  size_t i = 0;
  if (text[i] == '-') {
    out.negative = true;
    ++i;
  }
  const size_t e = text.find('e');
  for (; i < e; ++i)
    if (text[i] != '.') out.digits += text[i];
  std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                  out.exponent);
  return out;
}

// Places `digits` (d.ddd x 10^exponent) as a fixed text with `decimals`
// decimals, padding with zeros; the digits must not reach below the last
// decimal.
std::string placeDigits(const std::string& digits, int exponent, int decimals) {
  std::string integerPart;
  std::string fraction;
  if (exponent >= 0) {
    const size_t integerDigits = static_cast<size_t>(exponent) + 1;
    integerPart = digits.substr(0, std::min(integerDigits, digits.size()));
    integerPart.append(integerDigits - integerPart.size(), '0');
    if (digits.size() > integerDigits) fraction = digits.substr(integerDigits);
  } else {
    integerPart = "0";
    fraction.assign(static_cast<size_t>(-exponent - 1), '0');
    fraction += digits;
  }
  if (fraction.size() < static_cast<size_t>(decimals))
    fraction.append(static_cast<size_t>(decimals) - fraction.size(), '0');
  return decimals > 0 ? integerPart + "." + fraction : integerPart;
}

bool allZeroDigits(std::string_view text) {
  return std::none_of(text.begin(), text.end(), [](char c) { return c >= '1' && c <= '9'; });
}

}  // namespace

std::string Trim(const std::string& text) { return std::string(trimView(text)); }

std::string TrimLeft(const std::string& text) {
  size_t first = 0;
  while (first < text.size() && isWhiteSpace(text[first])) ++first;
  return text.substr(first);
}

std::string TrimRight(const std::string& text) {
  size_t last = text.size();
  while (last > 0 && isWhiteSpace(text[last - 1])) --last;
  return text.substr(0, last);
}

bool TryStrToFloat(const std::string& text, double& value) {
  return parseDecimal(trimView(text), "eE", value);
}

std::optional<double> TryStrToFloat(const std::string& text) {
  double value = 0.0;
  if (!TryStrToFloat(text, value)) return std::nullopt;
  return value;
}

double StrToFloat(const std::string& text) {
  double value = 0.0;
  if (!TryStrToFloat(text, value)) raiseInvalidFloat(text);
  return value;
}

bool TryStrToFloatFortran(const std::string& text, double& value) {
  return parseDecimal(trimView(text), "eEdD", value);
}

double StrToFloatFortran(const std::string& text) {
  double value = 0.0;
  if (!TryStrToFloatFortran(text, value)) raiseInvalidFloat(text);
  return value;
}

bool TryStrToInt(const std::string& text, int& value) {
  const std::string_view trimmed = trimView(text);
  if (trimmed.empty()) return false;
  // from_chars takes a leading '-' but no '+'; one sign at most, then digits.
  const char* first = trimmed.data() + (trimmed[0] == '+' ? 1 : 0);
  const char* last = trimmed.data() + trimmed.size();
  const char* digits = trimmed.data() + ((trimmed[0] == '+' || trimmed[0] == '-') ? 1 : 0);
  if (digits == last || !isDigit(*digits)) return false;
  int parsed = 0;
  const auto result = std::from_chars(first, last, parsed, 10);
  if (result.ec != std::errc() || result.ptr != last) return false;
  value = parsed;
  return true;
}

std::optional<int> TryStrToInt(const std::string& text) {
  int value = 0;
  if (!TryStrToInt(text, value)) return std::nullopt;
  return value;
}

int StrToInt(const std::string& text) {
  int value = 0;
  if (!TryStrToInt(text, value)) throw EConvertError("\"" + text + "\" is an invalid integer");
  return value;
}

std::optional<double> DecimalNumberField(const std::string& field) {
  std::string_view text(field);
  size_t first = 0;
  while (first < text.size() && isWhiteSpace(text[first])) ++first;
  double value = 0.0;
  if (!parseDecimal(text.substr(first), "eE", value)) return std::nullopt;
  return value;
}

bool IsDecimalNumberField(const std::string& field) { return DecimalNumberField(field).has_value(); }

long long nint(double value) {
  // 2^63: the first double beyond the range of long long.
  constexpr double limit = 9223372036854775808.0;
  if (!(value >= -limit && value < limit)) throw EMathError("Invalid floating point operation");
  const double below = std::floor(value);
  const double fraction = value - below;  // exact for every double
  double nearest = below;
  if (fraction > 0.5) {
    nearest = below + 1.0;
  } else if (fraction == 0.5) {
    nearest = std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
  }
  if (nearest >= limit) throw EMathError("Invalid floating point operation");
  return static_cast<long long>(nearest);
}

std::string FloatToStrF(double value, int decimals) {
  if (!std::isfinite(value)) return specialText(value);
  decimals = std::clamp(decimals, 0, 100);
  char buffer[512];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::fixed, decimals);
  std::string_view text(buffer, static_cast<size_t>(result.ptr - buffer));
  if (!text.empty() && text[0] == '-' && allZeroDigits(text)) text.remove_prefix(1);
  return std::string(text);
}

std::string FloatToStrFixed(double value, int precision, int decimals) {
  if (!std::isfinite(value)) return specialText(value);
  precision = std::clamp(precision, 1, 40);
  decimals = std::clamp(decimals, 0, 100);
  if (value == 0.0) return FloatToStrF(0.0, decimals);
  // Where the decimals cut off before the precision does, the fixed form
  // alone rounds once and correctly.
  const int exponent = significantDigits(value, 17).exponent;
  if (precision >= exponent + 1 + decimals) return FloatToStrF(value, decimals);
  const SignificantDigits rounded = significantDigits(value, precision);
  std::string text = placeDigits(rounded.digits, rounded.exponent, decimals);
  if (rounded.negative && !allZeroDigits(text)) text.insert(0, 1, '-');
  return text;
}

std::string FloatToStr(double value) {
  if (!std::isfinite(value)) return specialText(value);
  if (value == 0.0) return "0";
  SignificantDigits rounded = significantDigits(value, 15);
  while (rounded.digits.size() > 1 && rounded.digits.back() == '0') rounded.digits.pop_back();
  std::string text = rounded.negative ? "-" : "";
  if (rounded.exponent < -5 || rounded.exponent >= 15) {
    text += rounded.digits[0];
    if (rounded.digits.size() > 1) text += "." + rounded.digits.substr(1);
    text += "E" + std::to_string(rounded.exponent);
    return text;
  }
  const int places = std::max(static_cast<int>(rounded.digits.size()) - rounded.exponent - 1, 0);
  return text + placeDigits(rounded.digits, rounded.exponent, places);
}

std::string FloatToStrE(double value, int digits) {
  if (!std::isfinite(value)) return specialText(value);
  digits = std::clamp(digits, 1, 40);
  const SignificantDigits rounded = significantDigits(value, digits);
  std::string text = (rounded.negative && value != 0.0) ? "-" : "";
  text += rounded.digits[0];
  if (rounded.digits.size() > 1) text += "." + rounded.digits.substr(1);
  text += rounded.exponent < 0 ? "E-" : "E+";
  text += std::to_string(rounded.exponent < 0 ? -rounded.exponent : rounded.exponent);
  return text;
}

std::string FloatToStrWhole(double value) { return IntToStr(nint(value)); }

std::string IntToStr(long long value) { return std::to_string(value); }
