#pragma once

#include <sys/resource.h>

#include <fstream>

namespace tavlix::testing {

// Starts the peak of this process's resident memory afresh from what is resident now.
inline bool RestartPeakMemory() { return bool(std::ofstream("/proc/self/clear_refs") << "5" << std::flush); }

// The peak of this process's resident memory since the last restart, in KiB.
inline long PeakMemoryKiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace tavlix::testing
