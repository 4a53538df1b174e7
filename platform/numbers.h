// Conversions between numbers and their texts, the one place that does them.
//
// Every text uses a point as decimal separator and no thousands separator,
// whatever the locale of the machine: nothing here calls a locale-dependent C
// function. White space means every character with a code of 32 or below.
#pragma once

#include <optional>
#include <string>

// ---- White space --------------------------------------------------------

// Removes white space (every character code <= 32) from both ends.
std::string Trim(const std::string& text);
std::string TrimLeft(const std::string& text);
std::string TrimRight(const std::string& text);

// ---- Text to number -----------------------------------------------------

// Strict real conversion: optional sign, digits with at most one point
// ("5.", ".5" and "1.25" are numbers), optional exponent E or e with optional
// sign and at least one digit; white space at either end is allowed. A comma
// anywhere, letters, a second point, an empty text and values beyond the
// range of double are refused with EConvertError ("\"1,5\" is an invalid
// float"). A value too small for a double reads as zero.
double StrToFloat(const std::string& text);
// Fallback conversion: true and value set when StrToFloat would succeed;
// false and value untouched otherwise.
bool TryStrToFloat(const std::string& text, double& value);
std::optional<double> TryStrToFloat(const std::string& text);

// As StrToFloat, but the exponent letter may also be D or d, as Fortran
// programs write it ("1.0D-02"). For the readers of quantum-chemistry outputs.
double StrToFloatFortran(const std::string& text);
bool TryStrToFloatFortran(const std::string& text, double& value);

// Strict whole-number conversion: optional sign and decimal digits, white
// space at either end allowed; anything else (points, hexadecimal, blanks
// inside) and values outside the 32-bit range are refused with EConvertError
// ("\"abc\" is an invalid integer").
int StrToInt(const std::string& text);
bool TryStrToInt(const std::string& text, int& value);
std::optional<int> TryStrToInt(const std::string& text);

// The measured-spectrum field rule: the whole text, leading white space
// allowed (trailing not), is one decimal number as StrToFloat reads it. An
// empty field is no number; neither is one beyond the range of double.
bool IsDecimalNumberField(const std::string& field);
// The field's value when IsDecimalNumberField holds.
std::optional<double> DecimalNumberField(const std::string& field);

// ---- Number to text -----------------------------------------------------

// Nearest integer, halves to the even neighbour: nint(2.5) = 2,
// nint(3.5) = 4, nint(-2.5) = -2. A NaN, an infinity or a value outside the
// range of long long raises EMathError.
long long nint(double value);

// Fixed form: exactly `decimals` digits after the point (0 to 100; no point
// when 0), correctly rounded from the binary value (an exact half goes to the
// even digit: 0.125 gives "0.12"), "-" for negatives, never exponent form
// however large the value. A negative value that rounds to zero has no sign:
// -0.0001 with 2 decimals gives "0.00". NaN gives "Nan", infinities "+Inf"
// and "-Inf" (for every form below as well).
std::string FloatToStrF(double value, int decimals);

// Fixed form after first rounding to `precision` significant digits
// (1 to 40): 12345.6789012 with precision 10 and 6 decimals gives
// "12345.678900". Digits beyond the precision are zeros, also in front of
// the point (123456789012 with precision 10 and 2 decimals gives
// "123456789000.00"); never exponent form.
std::string FloatToStrFixed(double value, int precision, int decimals);

// General form: at most 15 significant digits, no trailing zeros, no
// trailing point ("200", "100.1", "0.16", "0"); exponent form when the
// rounded magnitude is below 0.00001 or 1e15 and more, written as the
// significant digits, "E", a "-" for negative exponents and the exponent
// without leading zeros ("1E-6", "1.5E15").
std::string FloatToStr(double value);

// Exponent form with `digits` significant digits (1 to 40): one digit, the
// point, digits - 1 digits, "E", the exponent's sign and the exponent without
// leading zeros ("1.2346E-2", "1.2E+2", "0.0000E+0"; with 1 digit "5E+0").
std::string FloatToStrE(double value, int digits);

// Whole number: nint(value) as decimal digits.
std::string FloatToStrWhole(double value);
std::string IntToStr(long long value);
