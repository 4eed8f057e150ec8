#include "forms/parse_number.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>
#include <vector>

namespace velo {
namespace {

// Blank characters around a number: ASCII white space and the no-break
// spaces that locales use as group separators.
constexpr std::string_view SpaceLikes[] = {"\u00A0", "\u202F", " "};

bool StartsWith(std::string_view text, std::size_t pos, std::string_view what) {
    return !what.empty() && text.substr(pos, what.size()) == what;
}

// Length of the blank at pos, 0 when there is none.
std::size_t BlankAt(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) return 0;
    const char c = text[pos];
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') return 1;
    for (std::string_view space : SpaceLikes) {
        if (space.size() > 1 && StartsWith(text, pos, space)) return space.size();
    }
    return 0;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

enum class ReadStatus { NoNumber, Ok, Overflow };

struct ScanResult {
    ReadStatus Status = ReadStatus::NoNumber;
    double Value = 0;
    std::size_t End = 0;  // position after the number
};

struct ScanRules {
    std::string_view DecimalSeparator;
    std::vector<std::string_view> GroupSeparators;  // empty: no grouping
};

// Length of the group separator at pos, 0 when there is none.
std::size_t GroupAt(std::string_view text, std::size_t pos, const ScanRules& rules) {
    for (std::string_view group : rules.GroupSeparators) {
        if (StartsWith(text, pos, group)) return group.size();
    }
    return 0;
}

// Reads sign, digits (with group separators between groups of three digits
// when the rules allow them), a decimal separator with digits, and an exponent, starting at
// pos. The value is converted from a normalised copy so that the result does
// not depend on the C library's locale.
ScanResult ScanNumber(std::string_view text, std::size_t pos, const ScanRules& rules) {
    std::string normal;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    if (negative) normal += '-';

    // Decimal magnitude of the first significant digit, to tell an overflow
    // from an underflow when the conversion is out of range.
    std::int64_t magnitude = 0;
    bool significant = false;
    bool anyDigit = false;
    // Group separators stand only between groups of three digits after a
    // first group of one to three ("12 345 678"): "0,25" typed in a locale
    // that groups with commas is a decimal fraction typed by habit, not 25.
    bool grouped = false;
    std::size_t groupDigits = 0;
    const bool leadingZero = pos < text.size() && text[pos] == '0';
    while (pos < text.size()) {
        if (IsDigit(text[pos])) {
            if (text[pos] != '0') significant = true;
            if (significant) ++magnitude;
            normal += text[pos++];
            anyDigit = true;
            ++groupDigits;
            continue;
        }
        const std::size_t group = anyDigit ? GroupAt(text, pos, rules) : 0;
        if (group > 0 && pos + group < text.size() && IsDigit(text[pos + group])) {
            const bool fits = grouped ? groupDigits == 3 : groupDigits <= 3 && !leadingZero;
            if (!fits) return {ReadStatus::NoNumber, 0, pos};
            grouped = true;
            groupDigits = 0;
            pos += group;
            continue;
        }
        break;
    }
    if (grouped && groupDigits != 3) return {ReadStatus::NoNumber, 0, pos};
    if (StartsWith(text, pos, rules.DecimalSeparator)) {
        const std::size_t after = pos + rules.DecimalSeparator.size();
        const bool fractionDigit = after < text.size() && IsDigit(text[after]);
        if (anyDigit || fractionDigit) {
            pos = after;
            normal += '.';
            while (pos < text.size() && IsDigit(text[pos])) {
                if (!significant) {
                    if (text[pos] != '0') significant = true;
                    else --magnitude;
                }
                normal += text[pos++];
                anyDigit = true;
            }
        }
    }
    if (!anyDigit) return {ReadStatus::NoNumber, 0, pos};

    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t at = pos + 1;
        bool exponentNegative = false;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            exponentNegative = text[at] == '-';
            ++at;
        }
        if (at < text.size() && IsDigit(text[at])) {
            normal += 'e';
            if (exponentNegative) normal += '-';
            std::int64_t exponent = 0;
            while (at < text.size() && IsDigit(text[at])) {
                if (exponent < 1000000000) exponent = exponent * 10 + (text[at] - '0');
                normal += text[at++];
            }
            magnitude += exponentNegative ? -exponent : exponent;
            pos = at;
        }
    }

    double value = 0;
    const auto [end, error] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        if (significant && magnitude > 0) return {ReadStatus::Overflow, 0, pos};
        return {ReadStatus::Ok, negative ? -0.0 : 0.0, pos};
    }
    if (error != std::errc{} || !std::isfinite(value)) return {ReadStatus::Overflow, 0, pos};
    return {ReadStatus::Ok, value, pos};
}

bool IsSpaceLike(std::string_view separator) {
    for (std::string_view space : SpaceLikes) {
        if (separator == space) return true;
    }
    return false;
}

}  // namespace

double ParseNumber(std::string_view text, const NumberLocale& locale) {
    // By the locale: the whole text, apart from surrounding blanks, must be
    // one number.
    std::size_t first = 0;
    while (std::size_t blank = BlankAt(text, first)) first += blank;
    std::size_t last = text.size();
    while (last > first) {
        std::size_t back = 0;
        for (std::size_t len = 1; len <= 3 && len <= last - first; ++len) {
            if (BlankAt(text, last - len) == len) back = len;
        }
        if (back == 0) break;
        last -= back;
    }
    const std::string_view core = text.substr(first, last - first);

    ScanRules localeRules;
    localeRules.DecimalSeparator = locale.DecimalSeparator;
    if (IsSpaceLike(locale.GroupSeparator)) {
        // Users type an ordinary space where the locale has a no-break one.
        for (std::string_view space : SpaceLikes) localeRules.GroupSeparators.push_back(space);
    } else if (!locale.GroupSeparator.empty() && locale.GroupSeparator != locale.DecimalSeparator) {
        localeRules.GroupSeparators.push_back(locale.GroupSeparator);
    }
    if (!localeRules.DecimalSeparator.empty()) {
        const ScanResult byLocale = ScanNumber(core, 0, localeRules);
        if (byLocale.Status == ReadStatus::Ok && byLocale.End == core.size()) return byLocale.Value;
    }

    // Invariant form: the leading number, the rest of the text ignored.
    ScanRules invariant;
    invariant.DecimalSeparator = ".";
    const ScanResult leading = ScanNumber(text, first, invariant);
    switch (leading.Status) {
    case ReadStatus::Ok: return leading.Value;
    case ReadStatus::NoNumber: return 0;
    case ReadStatus::Overflow: break;
    }
    return UnreadableNumber;
}

namespace {

std::string LocaliseNumberText(const char* begin, const char* end, const NumberLocale& locale) {
    std::string text;
    for (const char* p = begin; p != end; ++p) {
        if (*p == '.') text += locale.DecimalSeparator;
        else if (*p == 'e') text += 'E';
        else text += *p;
    }
    return text;
}

}  // namespace

std::string FormatNumber(double value, const NumberLocale& locale) {
    if (value == 0) return "0";  // no "-0"
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return LocaliseNumberText(buffer, result.ptr, locale);
}

std::string FormatRounded(double value, const NumberLocale& locale) {
    if (value == 0) return "0";
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return LocaliseNumberText(buffer, result.ptr, locale);
}

}  // namespace velo
