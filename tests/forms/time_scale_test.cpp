// The time-scale window and the driver's values of the performance window.
#include <gtest/gtest.h>

#include <cmath>

#include "forms/time_scale.h"
#include "engine/driver.h"
#include "engine/step_scenes.h"
#include "model/portable_math.h"

namespace velo {
namespace {

TEST(TimeScaleWindow, SliderPositionAndTimeScale) {
    const struct {
        double TimeScale;
        int Position;
    } cases[] = {
        {1, 0},
        {1 / 1.2, 1},
        {1.2, -1},
        {std::pow(1.2, -20), 20},
        {std::pow(1.2, 20), -20},
        {1e-9, 20},  // beyond the slider's range
        {1e9, -20},
        {std::pow(1.2, -3.4), 3},
        {std::pow(1.2, -3.6), 4},
        {0, 0},
        {-1, 0},
        {std::nan(""), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(SliderPositionFor(c.TimeScale), c.Position) << c.TimeScale;
    for (int p = TimeSliderMin; p <= TimeSliderMax; ++p) {
        EXPECT_EQ(SliderPositionFor(TimeScaleFor(p)), p);
        // The core's own power: the C library of MinGW misses by more than
        // four units in the last place.
        EXPECT_DOUBLE_EQ(TimeScaleFor(p), math::Pow(1.2, -p));
    }
    EXPECT_NEAR(1 / TimeScaleFor(20), 38.3376, 1e-4);
}

TEST(TimeScaleWindow, OptionButtonsFollowTheSlider) {
    EXPECT_TRUE(TimeOptionsFor(-3).Slower);
    EXPECT_FALSE(TimeOptionsFor(-3).Faster);
    EXPECT_EQ(TimeOptionsFor(-3).VisibleFrame, 1);
    EXPECT_TRUE(TimeOptionsFor(5).Faster);
    EXPECT_FALSE(TimeOptionsFor(5).Slower);
    EXPECT_EQ(TimeOptionsFor(5).VisibleFrame, 0);
    EXPECT_FALSE(TimeOptionsFor(0).Slower);
    EXPECT_FALSE(TimeOptionsFor(0).Faster);
    EXPECT_EQ(TimeOptionsFor(0).VisibleFrame, -1);

    EXPECT_EQ(PositionAfterOptionClick(7, true), -7);
    EXPECT_EQ(PositionAfterOptionClick(-7, false), 7);
    EXPECT_EQ(PositionAfterOptionClick(-7, true), -7);
    EXPECT_EQ(PositionAfterOptionClick(7, false), 7);
    EXPECT_EQ(PositionAfterOptionClick(0, true), 0);
}

TEST(TimeScaleWindow, OpenAndAccept) {
    auto world = testing::StillScene();
    world->Params.TimeScale = std::pow(1.2, 5);
    world->Params.MaxStep = 0.0005;
    world->Units.TimeUnitName = "  мин ";
    const TimeWindowValues shown = OpenTimeWindow(*world);
    EXPECT_EQ(shown.SliderPosition, -5);
    EXPECT_EQ(ParseNumber(shown.MaxStepText), 0.0005);
    EXPECT_EQ(shown.TimeUnitTip, "мин");

    world->Changed = false;
    AcceptTimeWindow(*world, shown, 2, ParseNumber("0,002"));
    EXPECT_DOUBLE_EQ(world->Params.TimeScale, 1 / 1.44);
    EXPECT_EQ(world->Params.MaxStep, 0.002);
    EXPECT_TRUE(world->Changed);

    // The step text is read as every window reads numbers: a text too long
    // to read is no cap, one with no number in it (0) is refused and the
    // step stays.
    AcceptTimeWindow(*world, shown, 0, ParseNumber("0.01"));
    EXPECT_EQ(world->Params.MaxStep, ParseNumber("0.01"));
    EXPECT_EQ(world->Params.TimeScale, 1);
    AcceptTimeWindow(*world, shown, 0, ParseNumber("1e999"));
    EXPECT_EQ(world->Params.MaxStep, 1e300);
    world->Params.MaxStep = 0.01;
    for (const char* text : {"abc", ""}) {
        AcceptTimeWindow(*world, shown, 0, ParseNumber(text));
        EXPECT_EQ(world->Params.MaxStep, 0.01) << text;
    }
}

TEST(TimeScaleWindow, OkKeepsWhatWasNotTouched) {
    auto world = testing::StillScene();
    world->Params.TimeScale = 2;  // between two slider positions
    world->Params.MaxStep = 0.001;
    const TimeWindowValues opened = OpenTimeWindow(*world);
    EXPECT_EQ(opened.SliderPosition, -4);

    AcceptTimeWindow(*world, opened, opened.SliderPosition, 0.001);
    EXPECT_EQ(world->Params.TimeScale, 2);
    AcceptTimeWindow(*world, opened, 3, 0.004);
    EXPECT_DOUBLE_EQ(world->Params.TimeScale, std::pow(1.2, -3));
    EXPECT_EQ(world->Params.MaxStep, 0.004);
    AcceptTimeWindow(*world, opened, 99, 1e300);  // beyond the slider: its end; 1e300: no cap
    EXPECT_DOUBLE_EQ(world->Params.TimeScale, std::pow(1.2, -20));
    EXPECT_EQ(world->Params.MaxStep, 1e300);

    // A step of 0 or below would stop the run: the field refuses it and OK
    // never stores it.
    for (double refused : {0.0, -0.001, std::nan(""), HUGE_VAL, 1e-300, 9e-17}) {
        EXPECT_FALSE(MaxStepAccepted(refused)) << refused;
        AcceptTimeWindow(*world, opened, 0, refused);
        EXPECT_EQ(world->Params.MaxStep, 1e300);
    }
    EXPECT_TRUE(MaxStepAccepted(1e-16));
    static_assert(SmallestMaxStep == MinStep, "the field stops where the driver's steps do");
}

TEST(TimeScaleWindow, FrameTellsTheFactor) {
    EXPECT_EQ(TimeFactorText(0), "");
    EXPECT_EQ(TimeFactorText(1), "В 1,2 раза быстрее реального времени");
    EXPECT_EQ(TimeFactorText(-3), "В 1,73 раза медленнее реального времени");
    EXPECT_EQ(TimeFactorText(20), "В 38,3 раза быстрее реального времени");
    NumberLocale english;
    english.DecimalSeparator = ".";
    EXPECT_EQ(TimeFactorText(-20, english), "В 38.3 раза медленнее реального времени");
}

TEST(PerformanceWindow, PipelineLatencyAndLastRun) {
    EXPECT_EQ(PipelineFromValue(100), 100);
    EXPECT_EQ(PipelineFromValue(99.6), 100);
    EXPECT_EQ(PipelineFromValue(5.4), 5);
    EXPECT_EQ(PipelineFromValue(0), 1);
    EXPECT_EQ(PipelineFromValue(-50), 1);
    EXPECT_EQ(PipelineFromValue(100000), 100000);
    EXPECT_EQ(PipelineFromValue(100001), MaxPipeline);
    EXPECT_EQ(PipelineFromValue(1e300), MaxPipeline);
    EXPECT_EQ(LatencyFromValue(12.4), 12);
    EXPECT_EQ(LatencyFromValue(-4), 0);
    EXPECT_EQ(LatencyFromValue(300), 255);
    EXPECT_EQ(LatencyFromValue(255), 255);

    EXPECT_EQ(LastRunText(0), "");
    EXPECT_EQ(LastRunText(-1), "");
    EXPECT_EQ(LastRunText(12345.987), "Последняя имитация: 12345 tps");
    EXPECT_EQ(LastRunText(0.5), "Последняя имитация: 0 tps");
}

}  // namespace
}  // namespace velo
