// Rounding of T to significant digits and its text in the main window.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/time_display.h"

namespace velo {
namespace {

TEST(TimeDisplay, RoundSignificant) {
    const struct {
        double X;
        int Digits;
        double Expected;
    } cases[] = {
        {1234.56789, 7, 1234.568},
        {-1234.56789, 7, -1234.568},
        {1234.56789, 1, 1000},
        {1234.56789, 3, 1230},
        {0.000123456789, 4, 0.0001235},
        {2.5, 1, 3},    // halves go up
        {-2.5, 1, -2},  // also for negative numbers
        {9.9999999, 7, 10},
        {1e-16, 7, 1e-16},
        {0, 7, 0},
        {1234.56789, 0, 1234.56789},  // n outside 1..7: unchanged
        {1234.56789, 8, 1234.56789},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(RoundSignificant(c.X, c.Digits), c.Expected) << c.X;
    const double tiny = std::numeric_limits<double>::denorm_min();
    EXPECT_EQ(RoundSignificant(tiny, 7), tiny);
    EXPECT_TRUE(std::isinf(RoundSignificant(std::numeric_limits<double>::infinity(), 7)));
    EXPECT_TRUE(std::isfinite(RoundSignificant(std::numeric_limits<double>::max(), 7)));
}

TEST(TimeDisplay, TimeText) {
    const struct {
        double T;
        const char* Separator;
        const char* Expected;
    } cases[] = {
        {1234.56789, ",", "T = 1234,568"},
        {1234.56789, ".", "T = 1234.568"},
        {0, ",", "T = 0"},
        {2, ",", "T = 2"},
        {0.1 + 0.2, ",", "T = 0,3"},
        {12.5, ",", "T = 12,5"},
        {-2.5, ",", "T = -2,5"},
        {0.0001, ",", "T = 0,0001"},
        {0.00001234567, ",", "T = 1,234567E-05"},
        {1e-16, ",", "T = 1E-16"},
        {23e-16, ",", "T = 2,3E-15"},
        {123456789, ",", "T = 123456800"},
        {1e15, ",", "T = 1E+15"},
        {2.5e20, ",", "T = 2,5E+20"},
        {999999.95, ",", "T = 1000000"},
    };
    for (const auto& c : cases) EXPECT_EQ(TimeText(c.T, c.Separator), c.Expected) << c.T;
}

}  // namespace
}  // namespace velo
