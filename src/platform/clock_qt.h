// Real time for the run loop: a monotonic clock in seconds.
#pragma once

#include <QElapsedTimer>

namespace velo {

class QtClock {
public:
    QtClock() { timer_.start(); }
    // Seconds since the clock was made; never jumps back.
    double Now() const { return static_cast<double>(timer_.nsecsElapsed()) * 1e-9; }

private:
    QElapsedTimer timer_;
};

}  // namespace velo
