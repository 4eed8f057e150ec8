// The shared number reader and writer of every window.
//
// A typed number is first read by the user's locale rules (decimal and group
// separators); when that fails, the leading number of the text in invariant
// form (decimal point) is taken, so that "12abc" reads as 12 and an empty or
// non-numeric text as 0; when even that fails (the number does not fit in a
// double), the result is 1e300. The reader never returns NaN or infinity.
#pragma once

#include <string>
#include <string_view>

namespace velo {

// The number rules of the user's locale. The defaults are those of the
// Russian locale; the window program passes the system's.
struct NumberLocale {
    std::string DecimalSeparator = ",";
    std::string GroupSeparator = "\u00A0";  // no-break space
};

// Value given when a text holds a number too large for a double.
inline constexpr double UnreadableNumber = 1e300;

double ParseNumber(std::string_view text, const NumberLocale& locale = {});

// The text an editable field shows for a value: the shortest text that
// ParseNumber reads back as exactly the same double, with the locale's
// decimal separator, no group separators and an exponent ("1E-05") where it
// is shorter. A window that is accepted unchanged so stores what it showed.
std::string FormatNumber(double value, const NumberLocale& locale = {});

// The text of a read-only label: at most 15 significant digits, so that
// 10000 / 3 shows as 3333,33333333333.
std::string FormatRounded(double value, const NumberLocale& locale = {});

}  // namespace velo
