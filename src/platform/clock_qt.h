// Real time for the run loop: a monotonic clock in seconds.
#pragma once

#include <QElapsedTimer>

#include "engine/driver.h"

namespace velo {

class QtClock final : public Clock {
public:
    QtClock() { timer_.start(); }
    // Seconds since the clock was made; never goes back, so the step
    // length never sees a clock passing midnight.
    double Now() override { return static_cast<double>(timer_.nsecsElapsed()) * 1e-9; }

private:
    QElapsedTimer timer_;
};

}  // namespace velo
