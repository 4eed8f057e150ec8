#include "engine/driver.h"

#include <algorithm>
#include <cmath>

#include "engine/ball_forces.h"
#include "engine/imitator.h"
#include "engine/rod_phase.h"
#include "engine/time_display.h"
#include "model/world_ops.h"

namespace velo {

std::uint8_t LatencyFromRegistry(double value) {
    if (std::isnan(value)) return 0;
    const double whole = std::trunc(std::fabs(value));
    return static_cast<std::uint8_t>(std::min(whole, 255.0));
}

int TimerIntervalFor(int latency) { return latency < TimerFloorMs ? 0 : latency; }

Driver::Driver(World& world, Messenger& messenger, Clock& clock, DriverHooks hooks)
    : world_(world), messenger_(messenger), clock_(clock), hooks_(std::move(hooks)) {}

void Driver::MarkChanged() {
    if (hooks_.MarkChanged) {
        hooks_.MarkChanged();
    } else {
        world_.Changed = true;
    }
}

void Driver::ToggleRun() {
    // The timer mode is fixed anew by every use of the command.
    const bool freeRunning = FreeRunning();
    if (running_) {
        PauseRun();
        return;
    }
    StartRun();
    if (freeRunning) {
        // Each tick lets the system process events, where the user can
        // pause; the loop ends after the tick in which that happened.
        while (running_) Tick();
    }
}

void Driver::StartRun() {
    if (running_) return;
    // The scene may have been edited while paused.
    MarkFixedSceneChanged(world_);
    if (hooks_.Autosave) hooks_.Autosave();
    if (hooks_.RunningChanged) hooks_.RunningChanged(true);
    if (world_.T == 0 && hooks_.RecordStartPoint) hooks_.RecordStartPoint();
    firstTick_ = true;
    runStartTime_ = lastTickTime_ = clock_.Now();
    stepsPerTick_ = InitialStepsPerTick;
    stepsThisRun_ = 0;
    running_ = true;
    MarkChanged();
}

void Driver::PauseRun() {
    if (!running_) return;
    running_ = false;
    // The run's real time is read with single precision, as the clock of
    // the performance figure always was; a zero span gives no figure.
    const double span = static_cast<double>(static_cast<float>(clock_.Now())) -
                        static_cast<double>(static_cast<float>(runStartTime_));
    lastTps_ = span != 0 ? static_cast<double>(stepsThisRun_) / span : 0;
    if (hooks_.RunningChanged) hooks_.RunningChanged(false);
    MarkChanged();
}

double Driver::MechanicalStepLength() const {
    double dt = std::fabs(tickElapsed_ / stepsPerTick_ / world_.Params.TimeScale);
    dt = std::min(dt, world_.Params.MaxStep);
    dt = std::max(dt, MinStep);
    return dt;
}

// Runs the planned batch; false when a step failed (or there is no step
// for this kind of project).
bool Driver::RunBatch() {
    if (world_.ProjectKind == ProjectMechanical) {
        const double dt = MechanicalStepLength();
        for (std::int32_t i = 1; i <= stepsPerTick_; ++i) {
            if (!MechanicalStep(world_, dt, messenger_, context_)) return false;
            if (hooks_.AfterStep) hooks_.AfterStep(world_);
        }
        return true;
    }
    if (world_.ProjectKind == ProjectCelestial && hooks_.CelestialStep) {
        const double factor = hooks_.CelestialTimeFactor ? hooks_.CelestialTimeFactor() : 1.0;
        const double dt = std::fabs(tickElapsed_ / stepsPerTick_ * factor);
        for (std::int32_t i = 1; i <= stepsPerTick_; ++i) {
            if (!hooks_.CelestialStep(world_, dt)) return false;
        }
        return true;
    }
    return false;
}

void Driver::Tick() {
    if (!running_) return;

    // The batch grows by a tenth per tick up to Pipeline; below 10 the
    // product floors back to the same number. Computed in double so that a
    // huge Pipeline cannot overflow. A Pipeline of 0 or less (from the
    // settings) would give empty batches and a negative step count: every
    // batch has at least one step.
    const double grown = std::floor(static_cast<double>(stepsPerTick_) * 1.1);
    const double limit = std::max(static_cast<double>(Pipeline), 1.0);
    stepsPerTick_ = static_cast<std::int32_t>(std::min(grown, limit));

    const bool completed = RunBatch();
    stepsThisRun_ += stepsPerTick_;

    // The time budget of the next batch. The first tick of a run measured
    // nothing useful (the start itself took the time), hence a negligible
    // budget: the next batch runs steps of the smallest length.
    const double now = clock_.Now();
    tickElapsed_ = now - lastTickTime_;
    lastTickTime_ = now;
    if (firstTick_) {
        tickElapsed_ = 1e-30;
        firstTick_ = false;
    }

    const bool mechanical = world_.ProjectKind == ProjectMechanical;
    const bool celestial = world_.ProjectKind == ProjectCelestial;
    if ((mechanical || celestial) && hooks_.RedrawMoving) hooks_.RedrawMoving();
    if (mechanical && hooks_.ShowTime) hooks_.ShowTime(TimeText(world_.T, DecimalSeparator));
    if (celestial && hooks_.ShowCelestialTime) hooks_.ShowCelestialTime();
    if (hooks_.ProcessEvents) hooks_.ProcessEvents();

    if (!completed) {
        // The user may already have paused while events were processed;
        // the run command must not start the run again then.
        if (running_) PauseRun();
        if (hooks_.RedrawAfterFreeze) hooks_.RedrawAfterFreeze();
    }
}

void StopMotion(World& world) {
    for (int n = 1; n <= world.BallCount; ++n) {
        Ball& ball = world.Balls[n];
        if (!ball.Exists || !ball.Selected) continue;
        ball.Velocity = {0, 0};
        ball.Omega = 0;
        RecomputeBall(world, n);
    }
    for (int n = 1; n <= world.PegCount; ++n) {
        Peg& rod = world.Pegs[n];
        if (!rod.Exists || !rod.Selected) continue;
        rod.Velocity = {0, 0};
        rod.Omega = 0;
        RecomputeRod(world, n);
    }
}

}  // namespace velo
