#include "forms/parse_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace velo {
namespace {

struct ParseCase {
    const char* Text;
    double Expected;
};

const NumberLocale Russian{};
const NumberLocale English{".", ","};

TEST(ParseNumber, RussianLocaleThenInvariantLeadingNumber) {
    const ParseCase cases[] = {
        {"1,5", 1.5},    {"-1,5", -1.5},  {"1.5", 1.5},     {" 3 ", 3},         {"1e-5", 1e-5},
        {"2,5E3", 2500}, {"+7", 7},       {"12abc", 12},    {"", 0},            {"abc", 0},
        {"-", 0},        {",5", 0.5},     {"1 000", 1000},  {"1\u00A0000,25", 1000.25},
        {"3.5e2x", 350}, {"1e", 1},       {"  -0.25 кг", -0.25}, {"1e-400", 0},  {"inf", 0},
        {"nan", 0},      {"1,5,5", 1},    {"\t42\t", 42},
    };
    for (const ParseCase& c : cases) {
        EXPECT_DOUBLE_EQ(ParseNumber(c.Text, Russian), c.Expected) << '"' << c.Text << '"';
    }
}

TEST(ParseNumber, PointLocaleTakesCommaAsGroupSeparatorBetweenThousands) {
    // Anything but whole groups of three is not a number of this locale; the
    // invariant reading then stops at the comma.
    const ParseCase cases[] = {
        {"1.5", 1.5},        {"1,234.5", 1234.5}, {"12,345,678", 12345678}, {"-1,000e3", -1e6},
        {"1,5x", 1},         {"0,25", 0},         {"1,5", 1},               {"1,2345", 1},
        {"1234,567", 1234},  {"1,234,56", 1},     {"0,250", 0},             {"1.234,5", 1.234},
    };
    for (const ParseCase& c : cases) {
        EXPECT_DOUBLE_EQ(ParseNumber(c.Text, English), c.Expected) << '"' << c.Text << '"';
    }
    EXPECT_DOUBLE_EQ(ParseNumber("12 34", Russian), 12);
    EXPECT_DOUBLE_EQ(ParseNumber("1 234 567,5", Russian), 1234567.5);
}

TEST(ParseNumber, TooLargeGivesTheFallbackValue) {
    for (const char* text : {"1e400", "-1e400", "1.5e999", "99999e99999999999999999999"}) {
        EXPECT_EQ(ParseNumber(text, Russian), 1e300) << text;
    }
    // Too large for the locale reading, and the invariant reading stops at
    // the comma.
    EXPECT_EQ(ParseNumber("1,5e999", Russian), 1);
    EXPECT_EQ(ParseNumber("1e308", Russian), 1e308);
}

TEST(ParseNumber, ResultDoesNotDependOnTheCLocale) {
    // The numeric reader must not follow setlocale(), which the window
    // program calls at start-up.
    EXPECT_DOUBLE_EQ(ParseNumber("0,125"), 0.125);
    EXPECT_DOUBLE_EQ(ParseNumber("0.125"), 0.125);
}

TEST(FormatNumber, ReadsBackExactly) {
    const double values[] = {0.1 + 0.2, 3.141592653589793 / 180, -9.81, 1e-5, 1e300, 12345678.875, 7800};
    for (NumberLocale locale : {Russian, English}) {
        for (double value : values) {
            EXPECT_EQ(ParseNumber(FormatNumber(value, locale), locale), value) << value;
        }
    }
    EXPECT_EQ(FormatNumber(0.5), "0,5");
    EXPECT_EQ(FormatNumber(-0.0), "0");
    EXPECT_EQ(FormatNumber(1e-5), "1E-05");
    EXPECT_EQ(FormatRounded(10000.0 / 3), "3333,33333333333");
}

}  // namespace
}  // namespace velo
