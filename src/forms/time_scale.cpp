#include "forms/time_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "model/portable_math.h"

namespace velo {

// Conversions to whole numbers round halves to even, as the system's own
// conversion of a window value to an integer does.
namespace {

double RoundToInteger(double value) { return std::nearbyint(value); }

std::string Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace

int SliderPositionFor(double timeScale) {
    if (!(timeScale > 0) || !std::isfinite(timeScale)) return 0;
    const double exact = -math::Log(timeScale) / math::Log(TimeScaleBase);
    const double clamped = std::clamp(exact, double(TimeSliderMin), double(TimeSliderMax));
    return static_cast<int>(RoundToInteger(clamped));
}

double TimeScaleFor(int position) { return math::Pow(TimeScaleBase, -position); }

TimeOptionState TimeOptionsFor(int position) {
    TimeOptionState state;
    state.Slower = position < 0;
    state.Faster = position > 0;
    state.VisibleFrame = position < 0 ? 1 : position > 0 ? 0 : -1;
    return state;
}

int PositionAfterOptionClick(int position, bool slowerClicked) {
    if (slowerClicked && position > 0) return -position;
    if (!slowerClicked && position < 0) return -position;
    return position;
}

TimeWindowValues OpenTimeWindow(const World& world, const NumberLocale& locale) {
    TimeWindowValues values;
    values.SliderPosition = SliderPositionFor(world.Params.TimeScale);
    values.MaxStepText = FormatNumber(world.Params.MaxStep, locale);
    values.TimeUnitTip = Trimmed(world.Units.TimeUnitName);
    return values;
}

bool MaxStepAccepted(double value) { return std::isfinite(value) && value >= SmallestMaxStep; }

void AcceptTimeWindow(World& world, const TimeWindowValues& opened, int position, double maxStep) {
    position = std::clamp(position, TimeSliderMin, TimeSliderMax);
    if (position != opened.SliderPosition) world.Params.TimeScale = TimeScaleFor(position);
    if (MaxStepAccepted(maxStep)) world.Params.MaxStep = maxStep;
    world.Changed = true;
}

std::string TimeFactorText(int position, const NumberLocale& locale) {
    if (position == 0) return {};
    const double factor = math::Pow(TimeScaleBase, std::abs(position));
    const double digits = math::Pow(10.0, 2 - std::floor(math::Log10(factor)));
    const std::string shown = FormatNumber(std::round(factor * digits) / digits, locale);
    return "В " + shown + (position > 0 ? " раза быстрее" : " раза медленнее") + " реального времени";
}

std::int32_t PipelineFromValue(double value) {
    if (std::isnan(value)) return 1;
    const double rounded = RoundToInteger(std::clamp(value, 1.0, double(MaxPipeline)));
    return static_cast<std::int32_t>(rounded);
}

std::uint8_t LatencyFromValue(double value) {
    if (std::isnan(value)) return 0;
    return static_cast<std::uint8_t>(RoundToInteger(std::clamp(value, 0.0, 255.0)));
}

std::string LastRunText(double lastTps) {
    if (!(lastTps > 0)) return {};
    char whole[64];
    std::snprintf(whole, sizeof whole, "%.0f", std::trunc(lastTps));
    return std::string("Последняя имитация: ") + whole + " tps";
}

}  // namespace velo
