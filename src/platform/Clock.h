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

}  // namespace tavlix
