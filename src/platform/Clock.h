#pragma once

#include <ctime>

namespace tavlix {

// The time of day as the program sees it; tests pass a fixed one.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::time_t Now() const = 0;
};

class SystemClock : public Clock {
public:
    std::time_t Now() const override { return std::time(nullptr); }
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
