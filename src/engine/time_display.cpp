#include "engine/time_display.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "model/portable_math.h"

namespace velo {

double RoundSignificant(double x, int n) {
    if (x == 0 || n < 1 || n > 7 || !std::isfinite(x)) return x;
    const double s = math::Pow(10.0, n - 1 - std::floor(math::Log10(std::fabs(x))));
    const double scaled = x * s;
    // Near the ends of the double range the scale itself overflows; such a
    // number is shown as it is.
    if (!std::isfinite(s) || !std::isfinite(scaled) || s == 0) return x;
    return std::floor(scaled + 0.5) / s;
}

std::string FormatGeneral(double x, int digits, std::string_view decimalSeparator) {
    if (x == 0) return "0";
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return x > 0 ? "Infinity" : "-Infinity";
    if (digits < 1) digits = 1;
    if (digits > 17) digits = 17;

    // Scientific form gives the significant digits and the exponent.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, x);
    std::string text(buffer);
    const std::size_t e = text.find('e');
    const int exponent = std::atoi(text.c_str() + e + 1);
    std::string mantissa = text.substr(0, e);
    const bool negative = mantissa[0] == '-';
    if (negative) mantissa.erase(0, 1);
    std::string significant;
    for (char c : mantissa) {
        if (c != '.') significant += c;
    }
    while (significant.size() > 1 && significant.back() == '0') significant.pop_back();

    std::string result = negative ? "-" : "";
    if (exponent < -4 || exponent >= 15) {
        result += significant[0];
        if (significant.size() > 1) {
            result += decimalSeparator;
            result += significant.substr(1);
        }
        char exponentText[16];
        std::snprintf(exponentText, sizeof exponentText, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        result += exponentText;
    } else if (exponent >= 0) {
        const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
        if (significant.size() <= whole) {
            result += significant + std::string(whole - significant.size(), '0');
        } else {
            result += significant.substr(0, whole);
            result += decimalSeparator;
            result += significant.substr(whole);
        }
    } else {
        result += "0";
        result += decimalSeparator;
        result += std::string(static_cast<std::size_t>(-exponent - 1), '0');
        result += significant;
    }
    return result;
}

std::string TimeText(double t, std::string_view decimalSeparator) {
    return "T = " + FormatGeneral(RoundSignificant(t, TimeDisplayDigits), TimeDisplayDigits, decimalSeparator);
}

}  // namespace velo
