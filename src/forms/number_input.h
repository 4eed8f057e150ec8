// The logic of every numeric field of the windows: the typed text is read
// with ParseNumber and offered to the field's check; a refused value leaves
// the last accepted one in place and the field shows its text struck through.
// The refusal rules of number entry live here and nowhere else.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "forms/parse_number.h"

namespace velo {

class NumberInput {
public:
    // Says whether a value read from the text may be taken. A field without
    // a check takes every value the reader returns.
    using Check = std::function<bool(double)>;

    explicit NumberInput(NumberLocale locale = {}) : locale_(std::move(locale)) {}

    void SetCheck(Check check) { check_ = std::move(check); }
    void SetLocale(NumberLocale locale) { locale_ = std::move(locale); }
    // A field of counts shows a whole value with all its digits (1000000,
    // not 1E+06).
    void SetWhole(bool whole) { whole_ = whole; }
    const NumberLocale& Locale() const { return locale_; }

    // Shows a value: its text in the locale's form, not struck through.
    void Show(double value);
    // Reads a typed text. Returns the value when the check takes it; a
    // refused text is kept as typed and marked refused.
    std::optional<double> Type(std::string_view text);

    double Value() const { return value_; }
    const std::string& Text() const { return text_; }
    bool Refused() const { return refused_; }

private:
    NumberLocale locale_;
    Check check_;
    double value_ = 0;
    std::string text_ = "0";
    bool refused_ = false;
    bool whole_ = false;
};

// A check for values within [low, high], NaN refused.
NumberInput::Check WithinRange(double low, double high);

}  // namespace velo
