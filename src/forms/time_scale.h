// Logic of the time-scale window (frmTime, "Масштаб во времени") and of the
// driver's values in the performance window (frmPerformance).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "forms/parse_number.h"
#include "model/world.h"

namespace velo {

// Slider1 runs from -20 (slowest) to +20 (fastest); each position is a
// factor 1.2 of TimeScale.
inline constexpr int TimeSliderMin = -20;
inline constexpr int TimeSliderMax = 20;
inline constexpr double TimeScaleBase = 1.2;

// Nearest position to -log base 1.2 of TimeScale, within the slider's range.
// A TimeScale that is not a positive number shows position 0.
int SliderPositionFor(double timeScale);

// TimeScale of a slider position: 1.2 to the power -p.
double TimeScaleFor(int position);

// What the window shows for a slider position: Option1 "В замедленном темпе"
// is on for p < 0 with frame 1 shown, Option2 "В ускоренном темпе" for p > 0
// with frame 0 shown; at p = 0 neither option and no frame.
struct TimeOptionState {
    bool Slower = false;    // Option1
    bool Faster = false;    // Option2
    int VisibleFrame = -1;  // 0, 1, or -1 for none
};
TimeOptionState TimeOptionsFor(int position);

// Clicking an option button while the slider is on the other side mirrors
// the slider (p becomes -p); otherwise the position stays.
int PositionAfterOptionClick(int position, bool slowerClicked);

// The controls when the window opens.
struct TimeWindowValues {
    int SliderPosition = 0;
    std::string MaxStepText;  // txtMaxStep
    std::string TimeUnitTip;  // tooltip of Label1: the time unit, spaces trimmed
};
TimeWindowValues OpenTimeWindow(const World& world, const NumberLocale& locale = {});

// The smallest step the driver takes: a cap below it would hold every step
// at this floor anyway.
inline constexpr double SmallestMaxStep = 1e-16;

// txtMaxStep takes steps from the driver's smallest step up: a step of 0 or
// below, or one far below the floor, would hold every step at the floor and
// the run would stand still. 1e300 (a number too long to read) means "no
// cap".
bool MaxStepAccepted(double value);

// OK of the window that shows `opened`: MaxStep from the field's accepted
// value, TimeScale from the slider, project marked as changed. A slider left
// where it was keeps TimeScale as it is, so a value between two positions
// (from a file) is not rounded to a position by an OK that changed nothing.
void AcceptTimeWindow(World& world, const TimeWindowValues& opened, int position, double maxStep);

// What the frame of a slider position says: how many times faster or
// slower than real time the simulated time runs (1.2 to the power |p|, three
// significant digits); empty at position 0, where no frame is shown.
std::string TimeFactorText(int position, const NumberLocale& locale = {});

// The most steps between two visual updates. The driver's batch grows
// towards this bound tick by tick; far beyond it one batch takes seconds
// and the program stops answering its user.
inline constexpr std::int32_t MaxPipeline = 100000;

// Text1 of the performance window: Pipeline as a rounded integer. A batch
// must hold at least one step, so values below 1 give 1; values above
// MaxPipeline give MaxPipeline.
std::int32_t PipelineFromValue(double value);

// Text2: Latency as a whole number of milliseconds, rounded and clamped to
// 0..255.
std::uint8_t LatencyFromValue(double value);

// The label of the last run: "Последняя имитация: " + whole steps per second
// + " tps", or empty (the label hidden) when there was no run.
std::string LastRunText(double lastTps);

}  // namespace velo
