// Number texts: strict and fallback conversions, nint and the four forms.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/numbers.h"

namespace {

struct RealCase {
  std::string text;
  double value;
};

TEST(StrToFloat, AcceptsDecimalNumbersWithBlanksAtTheEnds) {
  const std::vector<RealCase> cases = {
      {"1.5", 1.5},       {"  1.5 ", 1.5},  {"\t7\t", 7.0},     {"-2", -2.0},
      {"+3.25", 3.25},    {"1e3", 1000.0},  {"1E-3", 0.001},    {"1e+5", 1e5},
      {".5", 0.5},        {"5.", 5.0},      {"0.946E-01", 0.0946}, {"-0", 0.0},
      {"1e-400", 0.0},    {"00012", 12.0},  {"1239.482", 1239.482},
  };
  for (const RealCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(StrToFloat(c.text), c.value);
    double value = -99.0;
    EXPECT_TRUE(TryStrToFloat(c.text, value));
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(TryStrToFloat(c.text), c.value);
  }
}

TEST(StrToFloat, RefusesEverythingElse) {
  const std::vector<std::string> refused = {
      "",    " ",     "abc",  "1.2.3", "1,5",  ",5",   "1,000.5", "1.5,", "1e",  "e5",
      ".",   "-",     "+",    "1 2",   "inf",  "nan",  "0x10",    "1.0D-02", "--1", "+-1",
      "1e400", "-1e400", "1.5x", "1e5.5", "½",
  };
  for (const std::string& text : refused) {
    SCOPED_TRACE(text);
    EXPECT_THROW(StrToFloat(text), EConvertError);
    double value = -99.0;
    EXPECT_FALSE(TryStrToFloat(text, value));
    EXPECT_EQ(value, -99.0) << "a refused text leaves the value alone";
    EXPECT_FALSE(TryStrToFloat(text).has_value());
  }
}

TEST(StrToFloat, ErrorNamesTheTextAndClass) {
  try {
    StrToFloat("1,5");
    FAIL() << "no error";
  } catch (const EConvertError& error) {
    EXPECT_STREQ(error.what(), "\"1,5\" is an invalid float");
    EXPECT_STREQ(error.ClassName(), "EConvertError");
  }
}

TEST(StrToFloatFortran, AcceptsDExponents) {
  const std::vector<RealCase> cases = {
      {"1.0D-02", 0.01}, {"0.946E-01", 0.0946}, {" -1.5d+3 ", -1500.0}, {"2.5", 2.5}, {"3d2", 300.0},
  };
  for (const RealCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(StrToFloatFortran(c.text), c.value);
  }
  for (const std::string text : {"1.0Q-02", "D-02", "1.0D", "1,0D-02", "1.0DE2"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(StrToFloatFortran(text), EConvertError);
    double value = 0;
    EXPECT_FALSE(TryStrToFloatFortran(text, value));
  }
}

TEST(StrToInt, AcceptsSignedDigitsInThirtyTwoBits) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"42", 42}, {" -7 ", -7}, {"+3", 3}, {"007", 7}, {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1}, {"\t0\r", 0},
  };
  for (const auto& [text, value] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(StrToInt(text), value);
    EXPECT_EQ(TryStrToInt(text), value);
  }
}

TEST(StrToInt, RefusesEverythingElse) {
  for (const std::string text : {"", " ", "1.0", "1e3", "2147483648", "-2147483649", "12a", "0x1F",
                                 "$1F", "1 2", "1,000", "+", "-", "+-1", "- 1", "99999999999999999999"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(StrToInt(text), EConvertError);
    int value = -99;
    EXPECT_FALSE(TryStrToInt(text, value));
    EXPECT_EQ(value, -99);
  }
  try {
    StrToInt("abc");
    FAIL() << "no error";
  } catch (const EConvertError& error) {
    EXPECT_STREQ(error.what(), "\"abc\" is an invalid integer");
  }
}

TEST(DecimalNumberField, WholeTextIsOneNumberWithLeadingWhiteSpaceOnly) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"1.5", true},   {"  1.5", true}, {"\t3", true},  {"-1e-3", true}, {"+2", true},
      {".5", true},    {"1.5 ", false}, {"", false},    {"  ", false},   {"1,5", false},
      {"abc", false},  {"1.2.3", false}, {"1e", false}, {"1e999", false}, {"1.5;", false},
  };
  for (const auto& [field, isNumber] : cases) {
    SCOPED_TRACE(field);
    EXPECT_EQ(IsDecimalNumberField(field), isNumber);
    EXPECT_EQ(DecimalNumberField(field).has_value(), isNumber);
  }
  EXPECT_EQ(DecimalNumberField("  -2.5E2"), -250.0);
}

TEST(Trim, RemovesEveryCodeUpTo32AndNothingElse) {
  const std::string text = std::string("\t\x01 a b \r\n") + '\0';
  EXPECT_EQ(Trim(text), "a b");
  EXPECT_EQ(TrimLeft(text), std::string("a b \r\n") + '\0');
  EXPECT_EQ(TrimRight(text), "\t\x01 a b");
  // Bytes above 127 are text (UTF-8), not white space.
  EXPECT_EQ(Trim("\xC3\xA9 \xA0"), "\xC3\xA9 \xA0");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(""), "");
}

TEST(Nint, HalvesGoToTheEvenNeighbour) {
  const std::vector<std::pair<double, long long>> cases = {
      {2.5, 2},    {3.5, 4},    {-2.5, -2},  {-3.5, -4},      {0.5, 0},  {1.5, 2},
      {-0.5, 0},   {2.4999999, 2}, {2.5000001, 3}, {-0.4, 0},  {-0.6, -1}, {7.0, 7},
      {1e15 + 0.5, 1000000000000000}, {1e15 + 1.5, 1000000000000002}, {4503599627370497.0, 4503599627370497},
      {2124.5, 2124}, {2125.5, 2126},
  };
  for (const auto& [value, nearest] : cases) {
    SCOPED_TRACE(value);
    EXPECT_EQ(nint(value), nearest);
  }
}

TEST(Nint, ValuesWithoutANearestIntegerRaise) {
  for (const double value : {std::nan(""), std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(), 1e19, -1e19}) {
    SCOPED_TRACE(value);
    EXPECT_THROW(nint(value), EMathError);
  }
}

struct FormCase {
  double value;
  int digits;
  std::string text;
};

TEST(FloatToStrF, ExactlyTheDecimalsNeverExponent) {
  const std::vector<FormCase> cases = {
      {101198.87165021, 6, "101198.871650"},
      {1239.482, 1, "1239.5"},
      {-1.5, 3, "-1.500"},
      {123.456, 0, "123"},
      {1e20, 2, "100000000000000000000.00"},
      {-1.2345e17, 1, "-123450000000000000.0"},
      {1e-7, 3, "0.000"},
      {-0.006, 2, "-0.01"},
      {0.0, 2, "0.00"},
      // A negative value that rounds to zero is written without its sign.
      {-0.0001, 2, "0.00"},
      {-0.0, 1, "0.0"},
      {-0.4, 0, "0"},
      // Rounding works on the binary value; an exact half goes to the even digit.
      {2.5, 0, "2"},
      {3.5, 0, "4"},
      {0.125, 2, "0.12"},
      {1.005, 2, "1.00"},  // 1.005 is stored as 1.00499999999999989...
      {0.16, 5, "0.16000"},
  };
  for (const FormCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FloatToStrF(c.value, c.digits), c.text);
  }
}

TEST(FloatToStrFixed, RoundsToThePrecisionFirst) {
  struct Case {
    double value;
    int precision;
    int decimals;
    std::string text;
  };
  const std::vector<Case> cases = {
      {12345.6789012, 10, 6, "12345.678900"},
      {12345.6789012, 12, 6, "12345.678901"},
      {12345.6789012, 15, 2, "12345.68"},
      {123456789012.0, 10, 2, "123456789000.00"},
      {9.9999999999, 10, 3, "10.000"},
      {0.000123456789, 3, 8, "0.00012300"},
      {-0.00001, 10, 2, "0.00"},
      {-2.71828182846, 4, 6, "-2.718000"},
      {101198.87165021, 12, 6, "101198.871650"},
      {0.0, 10, 3, "0.000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FloatToStrFixed(c.value, c.precision, c.decimals), c.text);
  }
}

TEST(FloatToStr, GeneralFormUpToFifteenDigits) {
  const std::vector<std::pair<double, std::string>> cases = {
      {200, "200"},
      {100.1, "100.1"},
      {0.16, "0.16"},
      {1239.482, "1239.482"},
      {150, "150"},
      {0, "0"},
      {-0.0, "0"},
      {-2.5, "-2.5"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3.0, "0.333333333333333"},
      {123456789.123456789, "123456789.123457"},
      {999999999999999, "999999999999999"},
      {0.00001, "0.00001"},
      {0.000012345, "0.000012345"},
      // Exponent form below 0.00001 and from 1e15.
      {0.0000099, "9.9E-6"},
      {1e-6, "1E-6"},
      {2.5e-7, "2.5E-7"},
      {1.5e15, "1.5E15"},
      {1e15, "1E15"},
      {-1e20, "-1E20"},
      {9999999999999999.0, "1E16"},
      {std::nan(""), "Nan"},
      {std::numeric_limits<double>::infinity(), "+Inf"},
      {-std::numeric_limits<double>::infinity(), "-Inf"},
  };
  for (const auto& [value, text] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(FloatToStr(value), text);
  }
}

TEST(FloatToStrE, ExponentFormWithTheDigits) {
  const std::vector<FormCase> cases = {
      {0.012345678, 5, "1.2346E-2"},
      {0.000012345678, 5, "1.2346E-5"},
      {123, 2, "1.2E+2"},
      {0, 5, "0.0000E+0"},
      {-0.0, 5, "0.0000E+0"},
      {-98765.4321, 3, "-9.88E+4"},
      {9.99996, 5, "1.0000E+1"},
      {1e-300, 5, "1.0000E-300"},
      {5, 1, "5E+0"},
      {1.5e15, 5, "1.5000E+15"},
  };
  for (const FormCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FloatToStrE(c.value, c.digits), c.text);
  }
}

TEST(FloatToStrWhole, RoundsHalvesToEven) {
  EXPECT_EQ(FloatToStrWhole(2.5), "2");
  EXPECT_EQ(FloatToStrWhole(-3.5), "-4");
  EXPECT_EQ(FloatToStrWhole(1239.6), "1240");
  EXPECT_EQ(IntToStr(-9223372036854775807LL - 1), "-9223372036854775808");
}

TEST(NumberTexts, IgnoreTheLocale) {
  const char* locales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"};
  const char* chosen = nullptr;
  for (const char* name : locales)
    if (std::setlocale(LC_ALL, name) != nullptr) {
      chosen = name;
      break;
    }
  if (chosen == nullptr) GTEST_SKIP() << "no locale with a decimal comma installed";
  EXPECT_EQ(StrToFloat("1.5"), 1.5);
  EXPECT_FALSE(TryStrToFloat("1,5").has_value());
  EXPECT_EQ(FloatToStrF(1234.5, 2), "1234.50");
  EXPECT_EQ(FloatToStr(0.16), "0.16");
  EXPECT_EQ(FloatToStrE(0.012345678, 5), "1.2346E-2");
  std::setlocale(LC_ALL, "C");
}

}  // namespace
