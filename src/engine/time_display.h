// The simulated time as the main window shows it: "T = " and T rounded to
// seven significant digits.
#pragma once

#include <string>
#include <string_view>

namespace velo {

inline constexpr int TimeDisplayDigits = 7;

// x rounded half up to n significant digits (1 <= n <= 7). 0, values that
// are not finite and n outside 1..7 come back unchanged.
double RoundSignificant(double x, int n);

// General number format with at most `digits` significant digits, the given
// decimal separator and no trailing zeros: "1234,568", "0,001", "-2".
// Magnitudes below 1e-4 or from 1e15 up are written with an exponent of at
// least two digits, as the system's general format does: "1E-16",
// "2,5E+20".
std::string FormatGeneral(double x, int digits, std::string_view decimalSeparator);

// "T = " followed by T rounded to seven significant digits.
std::string TimeText(double t, std::string_view decimalSeparator);

}  // namespace velo
