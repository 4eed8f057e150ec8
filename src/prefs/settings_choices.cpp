#include "prefs/settings_choices.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace velo {

ListChoice ChoiceOfSetting(int value, int entries, int indexWhenOff) {
    if (value == 0) return {false, indexWhenOff};
    return {true, std::clamp(value - 1, 0, std::max(entries - 1, 0))};
}

int SettingOfChoice(const ListChoice& choice) { return choice.Checked ? choice.Index + 1 : 0; }

double HalftoneWidthOfPosition(int position) { return position * 0.025; }

int HalftonePositionOfWidth(double width) {
    if (!(width > 0)) return 0;
    return static_cast<int>(std::lround(std::min(width, 0.25) * 40));
}

int FrameRateOfEntry(double entered) {
    if (!(entered >= MinFrameRate)) return MinFrameRate;
    if (entered > MaxFrameRate) return MaxFrameRate;
    return static_cast<int>(std::lround(entered));
}

bool StepLimitAccepted(double value) {
    const double nearest = std::round(value);
    return nearest >= 1 && nearest <= std::numeric_limits<std::int32_t>::max();
}

bool LatencyAccepted(double value) { return value >= 0 && value < 256; }

}  // namespace velo
