#include "platform/time.h"

#include <atomic>
#include <thread>

namespace platform {
namespace {
std::atomic<double> g_scale{1.0};
}

void SetTimeScale(double scale) { g_scale.store(scale > 0.0 ? scale : 1.0); }

double TimeScale() { return g_scale.load(); }

std::chrono::nanoseconds Scaled(std::chrono::nanoseconds wait) {
    const double scaled = static_cast<double>(wait.count()) * g_scale.load();
    return std::chrono::nanoseconds(static_cast<std::chrono::nanoseconds::rep>(scaled));
}

void SleepFor(std::chrono::nanoseconds wait) { std::this_thread::sleep_for(Scaled(wait)); }

Clock::time_point DeadlineAfter(std::chrono::nanoseconds wait) { return Clock::now() + Scaled(wait); }

}  // namespace platform
