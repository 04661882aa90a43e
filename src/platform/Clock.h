#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>

namespace tavlix {

// The time of day as the program sees it; tests pass a fixed one.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::time_t Now() const = 0;
    // The same time in milliseconds, for measuring how long an answer took; a clock that
    // knows only seconds gives whole seconds.
    virtual std::int64_t NowMilliseconds() const { return std::int64_t(Now()) * 1000; }
};

class SystemClock : public Clock {
public:
    std::time_t Now() const override { return std::time(nullptr); }
    std::int64_t NowMilliseconds() const override
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    }
};

// A clock that shows the time it is set to: a seed given on the command line, and the
// tests' clock, which they move forward by hand.
class FixedClock : public Clock {
public:
    explicit FixedClock(std::time_t time = 0) : now(time) {}
    std::time_t Now() const override { return now; }

    std::time_t now;
};

}  // namespace tavlix
