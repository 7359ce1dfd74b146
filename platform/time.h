#pragma once
// Every wait the program makes (poll cycles, request deadlines, pauses, read time-outs, timer
// periods) goes through here, so that tests can run the real constants on a faster clock.

#include <chrono>

namespace platform {

using Clock = std::chrono::steady_clock;

// 1.0 is real time; 0.01 makes every wait a hundred times shorter. Any thread.
void SetTimeScale(double scale);
double TimeScale();

// A wait of the program's own length, as it is to be waited on the current clock.
std::chrono::nanoseconds Scaled(std::chrono::nanoseconds wait);

void SleepFor(std::chrono::nanoseconds wait);

// A point in time a program wait from now, on the current clock.
Clock::time_point DeadlineAfter(std::chrono::nanoseconds wait);

}  // namespace platform
