#include "forms/number_input.h"

#include <cmath>

namespace velo {

void NumberInput::Show(double value) {
    value_ = value;
    // Whole values up to 2^53 are exact in a double and read back the same.
    constexpr double LargestExact = 9007199254740992.0;
    if (whole_ && std::isfinite(value) && value == std::trunc(value) && std::fabs(value) <= LargestExact) {
        text_ = std::to_string(static_cast<long long>(value));
    } else {
        text_ = FormatNumber(value, locale_);
    }
    refused_ = false;
}

std::optional<double> NumberInput::Type(std::string_view text) {
    text_ = std::string(text);
    const double value = ParseNumber(text, locale_);
    // The reader never gives NaN or infinity; the check is kept for values
    // that a caller's formula could make out of range.
    if (!std::isfinite(value) || (check_ && !check_(value))) {
        refused_ = true;
        return std::nullopt;
    }
    refused_ = false;
    value_ = value;
    return value;
}

NumberInput::Check WithinRange(double low, double high) {
    return [low, high](double value) { return value >= low && value <= high; };
}

}  // namespace velo
