// The rules the settings windows share: a check box with a list whose
// chosen entry is a number setting (0 when the box is off), the halftone
// slider, the frame rate, and the two values of the performance window.
#pragma once

#include <string_view>

#include "forms/parse_number.h"
#include "forms/time_scale.h"

namespace velo {

// A number setting shown as a box and a list: the box is checked when the
// value names an entry (1 to the list's length) and the list shows entry
// value - 1. Any other value (0, or one beyond the list that another
// version or a hand-edited file left) shows as none: the box off, the
// list at `indexWhenOff`.
struct ListChoice {
    bool Checked = false;
    int Index = 0;
    int Value = 0;  // the stored value shown
};
ListChoice ChoiceOfSetting(int value, int entries, int indexWhenOff = 0);
// The value stored for what the controls show now: the entry's position
// + 1, or 0 when the box is off. Controls still as `shown` keep the stored
// value, so a value beyond the list survives an OK nobody meant for it.
int SettingOfChoice(const ListChoice& shown, bool checked, int index);

// The halftone band width and its slider: value = position × 0.025; the
// slider shows min(width, 0.25) × 40.
inline constexpr int HalftoneSliderMax = 10;
double HalftoneWidthOfPosition(int position);
int HalftonePositionOfWidth(double width);

// The frame rate of the window effects, brought into 10 to 100.
inline constexpr int MinFrameRate = 10;
inline constexpr int MaxFrameRate = 100;
int FrameRateOfEntry(double entered);

// The performance window's fields. The step limit is an integer from 1 to
// MaxPipeline; the interval a whole number of milliseconds, 0 to 255. Other
// entries are refused (struck through), the stored value stays.
bool StepLimitAccepted(double value);
bool LatencyAccepted(double value);

}  // namespace velo
