// The simulation driver: run and pause, the periodic tick with its batch of
// integration steps, the step length from real time, and the display of T.
//
// The driver knows nothing of windows. The program gives it a clock and a
// set of hooks (autosave, start point, menus, drawing, event processing) and
// owns the timer: while Running() it calls Tick() every TimerInterval() ms,
// or, in free-running mode (TimerInterval() == 0), ToggleRun() itself calls
// Tick() in a loop for as long as the run lasts.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "engine/step_context.h"
#include "model/messages.h"
#include "model/world.h"

namespace velo {

// Real time in seconds from any fixed origin; must not go backwards.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double Now() = 0;
};

// Seconds since the clock was made, from the system's monotonic clock.
class SteadyClock final : public Clock {
public:
    double Now() override {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - origin_).count();
    }

private:
    std::chrono::steady_clock::time_point origin_ = std::chrono::steady_clock::now();
};

// What the program does around a run. Every hook may be left empty.
struct DriverHooks {
    // An automatic copy of the project, at every run start.
    std::function<void()> Autosave;
    // The start point of the run, recorded when a run starts at T = 0.
    std::function<void()> RecordStartPoint;
    // The run started (true) or paused (false): command caption, toolbar
    // buttons, hidden or shown menus, the scene redrawn (clearing the
    // selection marks at the start), the default mouse pointer.
    std::function<void(bool running)> RunningChanged;
    // Redraw of the moving objects after each batch: balls, rods and threads
    // in a mechanical project; bodies and their depth order in a celestial.
    std::function<void()> RedrawMoving;
    // The text of lblT ("T = ..."), mechanical projects.
    std::function<void(const std::string& text)> ShowTime;
    // lblT2 of a celestial project.
    std::function<void()> ShowCelestialTime;
    // Let the system process pending events (the user may pause here).
    std::function<void()> ProcessEvents;
    // Whole scene redrawn keeping the selection, after a step froze an
    // object, so that the frozen object is seen selected.
    std::function<void()> RedrawAfterFreeze;
    // After every completed mechanical step, with the World as the step
    // left it (the recorder samples here).
    std::function<void(const World& world)> AfterStep;
    // The project was changed. When empty, the driver sets World::Changed.
    std::function<void()> MarkChanged;
    // The celestial step for a step length dt; false ends the run. While
    // empty, a celestial run pauses at its first tick.
    std::function<bool(World& world, double dt)> CelestialStep;
    // Factor from real seconds to the celestial project's time.
    std::function<double()> CelestialTimeFactor;
};

// Timer resolution of the platform: intervals below it run free.
inline constexpr int TimerFloorMs = 10;
inline constexpr std::int32_t DefaultPipeline = 100;
inline constexpr int InitialStepsPerTick = 10;
inline constexpr double MinStep = 1e-16;

// Latency as read from the registry: the integer part of |value|, at most
// 255 (also for NaN, which cannot be a sensible latency: 0).
std::uint8_t LatencyFromRegistry(double value);

// Timer interval of a run: 0 (free running) when `latency` is below the
// timer floor, else `latency` milliseconds.
int TimerIntervalFor(int latency);

class Driver {
public:
    Driver(World& world, Messenger& messenger, Clock& clock, DriverHooks hooks = {});

    // Settings, read from the registry and set by the performance window.
    std::int32_t Pipeline = DefaultPipeline;  // upper bound of StepsPerTick
    std::uint8_t Latency = 0;                 // ms between ticks; < floor: free running
    // Decimal separator of the system's number format, for the T display.
    std::string DecimalSeparator = ",";

    // The run command (mnRunStop): pauses a running simulation, otherwise
    // starts one; in free-running mode it then runs ticks until the run
    // ends (paused from ProcessEvents or by a frozen object).
    void ToggleRun();
    // Start without entering the free-running loop (the caller runs the
    // ticks). Does nothing while running.
    void StartRun();
    // Pause. Does nothing while paused.
    void PauseRun();
    // One tick: a batch of steps, redraw, T display, event processing; a
    // frozen object pauses the run. Does nothing while paused.
    void Tick();

    bool Running() const { return running_; }
    // Interval for the program's timer in ms; 0 = free-running mode.
    int TimerInterval() const { return TimerIntervalFor(Latency); }
    bool FreeRunning() const { return TimerInterval() == 0; }

    // Run state, readable by the windows.
    std::int32_t StepsPerTick() const { return stepsPerTick_; }
    double LastTickTime() const { return lastTickTime_; }
    double TickElapsed() const { return tickElapsed_; }
    bool FirstTick() const { return firstTick_; }
    std::int64_t StepsThisRun() const { return stepsThisRun_; }
    double RunStartTime() const { return runStartTime_; }
    // Steps per real second of the last finished run; 0 before the first.
    double LastTps() const { return lastTps_; }

    // Step length of the next mechanical batch, from the time budget.
    double MechanicalStepLength() const;

    DriverHooks& Hooks() { return hooks_; }

    // What the mechanical step carries from step to step for this World.
    StepContext& Context() { return context_; }

private:
    void MarkChanged();
    bool RunBatch();

    World& world_;
    Messenger& messenger_;
    Clock& clock_;
    DriverHooks hooks_;
    StepContext context_;

    bool running_ = false;
    std::int32_t stepsPerTick_ = InitialStepsPerTick;
    double lastTickTime_ = 0;
    double tickElapsed_ = 0;  // kept from run to run
    bool firstTick_ = false;
    // Wider than the step batch so that a long run cannot overflow it.
    std::int64_t stepsThisRun_ = 0;
    double runStartTime_ = 0;
    double lastTps_ = 0;
};

// The stop-motion command (mnStop): selected balls and rods lose their
// velocity and angular velocity; threads are not touched.
void StopMotion(World& world);

}  // namespace velo
