#include "forms/graph_form.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <cmath>

#include "forms/unit_labels.h"

namespace velo {
namespace {

// Significant digits of the texts a user reads off the graph.
constexpr int ReadoutDigits = 6;

// `digits` significant digits with a decimal point, whatever the C
// library's locale (the window program sets the user's).
std::string Invariant(double value, int digits) {
    if (std::isnan(value)) return "NaN";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    return std::string(buffer, result.ptr);
}

std::string Localised(double value, int digits, const NumberLocale& locale) {
    std::string text = Invariant(value, digits);
    const std::size_t point = text.find('.');
    if (point != std::string::npos) text.replace(point, 1, locale.DecimalSeparator);
    return text;
}

// 1, 2, 2.5 or 5 times a power of ten, the first not below `rough`.
double NiceStep(double rough) {
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double m : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (m * power >= rough * (1 - 1e-12)) return m * power;
    }
    return 10 * power;
}

std::int32_t Mix(std::int32_t colour, int target, double t) {
    auto channel = [&](int shift) {
        const int c = (colour >> shift) & 0xFF;
        return static_cast<std::int32_t>(std::lround(c + (target - c) * t)) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

// Hues that differ at a glance on a white plot (red + 256 green + 65536
// blue): blue, orange, green, red, purple, olive, black, magenta.
constexpr std::int32_t DistinctHues[] = {0xB4771F, 0x0E7FFF, 0x2CA02C, 0x2827D6, 0xBD6794, 0x22BDBC, 0x000000, 0xC277E3};

double BrightnessOf(std::int32_t colour) {
    return ((colour & 0xFF) + ((colour >> 8) & 0xFF) + ((colour >> 16) & 0xFF)) / 765.0;
}

}  // namespace

AxisRange NiceRange(double low, double high, int ticks) {
    if (!std::isfinite(low) || !std::isfinite(high)) return {0, 1};
    if (low > high) std::swap(low, high);
    if (high - low <= std::max(std::abs(low), std::abs(high)) * 1e-12) {
        const double half = low == 0 ? 1 : std::abs(low) * 0.1;
        low -= half;
        high += half;
    }
    const double span = high - low;
    if (!std::isfinite(span)) return {low, high};
    const double step = NiceStep(span / std::max(ticks, 1));
    AxisRange range{std::floor(low / step) * step, std::ceil(high / step) * step};
    if (!std::isfinite(range.Min) || !std::isfinite(range.Max) || range.Min >= range.Max) return {low, high};
    return range;
}

AxisRange ZoomedRange(AxisRange range, double at, double factor) {
    if (!std::isfinite(factor) || factor <= 0 || !std::isfinite(at)) return range;
    factor = std::clamp(factor, 1e-3, 1e3);
    const double span = range.Span();
    const double newSpan = span / factor;
    const double magnitude = std::max({std::abs(range.Min), std::abs(range.Max), std::abs(at)});
    // Below some 1e-12 of the values the ends could no longer be told apart.
    if (!std::isfinite(newSpan) || newSpan <= magnitude * 1e-12 || newSpan < 1e-300) return range;
    const double fraction = span > 0 ? (at - range.Min) / span : 0.5;
    AxisRange zoomed{at - fraction * newSpan, 0};
    zoomed.Max = zoomed.Min + newSpan;
    if (!std::isfinite(zoomed.Min) || !std::isfinite(zoomed.Max)) return range;
    return zoomed;
}

double TickStep(AxisRange range, int ticks) {
    const double span = range.Span();
    if (!std::isfinite(span) || span <= 0) return 0;
    return NiceStep(span / std::max(ticks, 1));
}

std::string SymbolHtml(const std::string& symbol) {
    std::string html;
    bool subscript = false;
    for (const char c : symbol) {
        if (c == '_' && !subscript) {
            html += "<sub>";
            subscript = true;
            continue;
        }
        switch (c) {
            case '&': html += "&amp;"; break;
            case '<': html += "&lt;"; break;
            case '>': html += "&gt;"; break;
            default: html += c;
        }
    }
    if (subscript) html += "</sub>";
    return html;
}

AxisRange PannedRange(AxisRange range, double fraction) {
    const double shift = range.Span() * fraction;
    const AxisRange panned{range.Min + shift, range.Max + shift};
    if (!std::isfinite(panned.Min) || !std::isfinite(panned.Max)) return range;
    return panned;
}

std::string EnergyUnitName(const UnitSystem& units) {
    if (units.MassUnitName == "кг" && units.LengthUnitName == "м" && units.TimeUnitName == "с") return "Дж";
    return EnergyLabel(units);
}

std::string EnergyReadoutText(double energy, std::optional<double> driftPercent, const std::string& unitName,
                              const NumberLocale& locale) {
    std::string text = "E = " + Localised(energy, ReadoutDigits, locale) + " " + unitName;
    if (driftPercent) text += ", дрейф " + Localised(*driftPercent, 2, locale) + " %";
    return text;
}

std::string AxisTitle(const std::string& symbol, const std::string& unit) {
    return unit.empty() ? symbol : symbol + ", " + unit;
}

std::string CursorText(const std::string& xSymbol, const std::string& xUnit, double x, const std::string& ySymbol,
                       const std::string& yUnit, double y, const NumberLocale& locale) {
    auto part = [&](const std::string& symbol, const std::string& unit, double value) {
        std::string text = symbol + " = " + Localised(value, ReadoutDigits, locale);
        if (!unit.empty()) text += " " + unit;
        return text;
    };
    return part(xSymbol, xUnit, x) + "; " + part(ySymbol, yUnit, y);
}

std::string ReadoutValue(const std::string& symbol, const std::string& unit, double value,
                         const NumberLocale& locale) {
    if (!std::isfinite(value)) return symbol + " = —";
    std::string text = symbol + " = " + Localised(value, ReadoutDigits, locale);
    if (!unit.empty()) text += " " + unit;
    return text;
}

std::string MemoryText(std::size_t bytes, const NumberLocale& locale) {
    const double value = static_cast<double>(bytes);
    if (bytes >= 1024 * 1024) return Localised(value / (1024.0 * 1024.0), 3, locale) + " МБ";
    if (bytes >= 1024) return Localised(value / 1024.0, 3, locale) + " КБ";
    return std::to_string(bytes) + " Б";
}

std::vector<std::int32_t> SeriesColours(const std::vector<std::int32_t>& objectColours) {
    std::vector<std::int32_t> colours;
    std::vector<std::pair<std::int32_t, int>> seen;  // colour, series so far
    for (std::int32_t colour : objectColours) {
        colour &= 0xFFFFFF;
        // A pale colour would vanish on the white plot.
        if (BrightnessOf(colour) > 0.8) colour = Mix(colour, 0, 0.35);
        auto it = std::find_if(seen.begin(), seen.end(), [colour](const auto& s) { return s.first == colour; });
        int repeat = 0;
        if (it == seen.end()) {
            seen.emplace_back(colour, 1);
        } else {
            repeat = it->second++;
        }
        if (repeat == 0) {
            colours.push_back(colour);
            continue;
        }
        // Shades of one colour (greys above all) are hard to tell apart: the
        // next lines of a colour lean towards hues far from each other, a
        // third of the object's colour kept; past the eight hues they are
        // darker in turn.
        const int hue = (repeat - 1) % static_cast<int>(std::size(DistinctHues));
        std::int32_t leaning = colour;
        for (int shift : {0, 8, 16}) {
            const int c = (colour >> shift) & 0xFF, h = (DistinctHues[hue] >> shift) & 0xFF;
            leaning = (leaning & ~(0xFF << shift)) | (static_cast<std::int32_t>(std::lround(c + (h - c) * 0.65)) << shift);
        }
        const int round = (repeat - 1) / static_cast<int>(std::size(DistinctHues));
        colours.push_back(round == 0 ? leaning : Mix(leaning, 0, std::min(0.4 * round, 0.6)));
    }
    return colours;
}

}  // namespace velo
