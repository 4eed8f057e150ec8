// The graph window without its widgets: the ranges of the axes as the user
// zooms and pans, the texts of the axes, the cursor and the scene readout,
// and the colours of the series.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "forms/graph_decimation.h"
#include "forms/parse_number.h"
#include "model/parameters.h"

namespace velo {

struct AxisRange {
    double Min = 0;
    double Max = 1;
    double Span() const { return Max - Min; }
    friend bool operator==(const AxisRange&, const AxisRange&) = default;
};

// The range that holds [low, high] with round ends (1, 2, 2.5 or 5 times a
// power of ten per tick, about `ticks` ticks). An empty or single-valued
// range gets a width of its own, so that a constant shows as a line in the
// middle; values that are no numbers give 0..1.
AxisRange NiceRange(double low, double high, int ticks = 5);

// The distance of round ticks (1, 2, 2.5 or 5 times a power of ten) that
// gives about `ticks` ticks over the range; 0 for an empty range or one
// that is no number.
double TickStep(AxisRange range, int ticks = 5);

// An axis symbol for a rich-text title: "p_x" becomes "p<sub>x</sub>",
// and the characters HTML gives a meaning are escaped.
std::string SymbolHtml(const std::string& symbol);

// Zoom by `factor` (above 1 zooms in) keeping the value `at` where it is;
// the factor is kept within 1e-3..1e3 and the result wider than the
// smallest span a double still resolves around its values.
AxisRange ZoomedRange(AxisRange range, double at, double factor);
// Moved by `fraction` of its span (positive moves the view to larger values).
AxisRange PannedRange(AxisRange range, double fraction);

// The name of the energy unit: "Дж" with the units кг, м, с, otherwise the
// label composed of the unit names ("г*(см/с)^2").
std::string EnergyUnitName(const UnitSystem& units);

// The readout of the scene while running: "E = 12,5 Дж, дрейф 0,013 %";
// without a start point to compare with, "E = 12,5 Дж". Energy to six
// significant digits, the drift to two.
std::string EnergyReadoutText(double energy, std::optional<double> driftPercent, const std::string& unitName,
                              const NumberLocale& locale = {});

// An axis title: "x, м"; the symbol alone when the unit is empty.
std::string AxisTitle(const std::string& symbol, const std::string& unit);

// The cursor readout: "t = 1,25 с; x = 0,301 м" (values to six significant
// digits, units left out when empty).
std::string CursorText(const std::string& xSymbol, const std::string& xUnit, double x, const std::string& ySymbol,
                       const std::string& yUnit, double y, const NumberLocale& locale = {});

// One value of the cursor readout: "x = 0,301 м" (six significant digits,
// the unit left out when empty); "x = —" for a missing value.
std::string ReadoutValue(const std::string& symbol, const std::string& unit, double value,
                         const NumberLocale& locale = {});

// "12,3 МБ", "512 КБ", "100 Б".
std::string MemoryText(std::size_t bytes, const NumberLocale& locale = {});

// Colours of the series (red + 256 green + 65536 blue) from the colours of
// their objects: the first series of an object colour keeps it; the next
// ones of the same colour lean towards distinct hues, so that the lines of
// several balls of one material (all grey, say) are told apart at a glance.
// A colour too pale for a white plot is darkened.
std::vector<std::int32_t> SeriesColours(const std::vector<std::int32_t>& objectColours);

}  // namespace velo
