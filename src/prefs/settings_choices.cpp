#include "prefs/settings_choices.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace velo {

ListChoice ChoiceOfSetting(int value, int entries, int indexWhenOff) {
    if (value < 1 || value > entries) return {false, indexWhenOff, value};
    return {true, value - 1, value};
}

int SettingOfChoice(const ListChoice& shown, bool checked, int index) {
    // The list's position counts only while the box is on.
    if (checked == shown.Checked && (!checked || index == shown.Index)) return shown.Value;
    return checked ? index + 1 : 0;
}

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
    return nearest >= 1 && nearest <= MaxPipeline;
}

bool LatencyAccepted(double value) { return value >= 0 && value < 256; }

}  // namespace velo
