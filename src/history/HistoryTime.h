#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace tavlix::history_time {

constexpr std::int64_t kSecondsPerDay = 86400;

// The number of the local day (days since 1970-01-01 in local time) that holds the moment
// `t` (seconds since the epoch, UTC); floor division, so moments before 1970 count too.
constexpr std::int64_t LocalDay(std::int64_t t, int utcOffsetSeconds)
{
    std::int64_t local = t + utcOffsetSeconds;
    return local / kSecondsPerDay - (local % kSecondsPerDay < 0 ? 1 : 0);
}

// "2026-12-08" for a day number.
inline std::string DayText(std::int64_t day)
{
    std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::days{day}}};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

// "2026-12-08T09:56:32Z" for seconds since the epoch.
inline std::string IsoUtcText(std::int64_t t)
{
    std::int64_t day = LocalDay(t, 0);
    std::int64_t second = t - day * kSecondsPerDay;
    char text[32];
    std::snprintf(text, sizeof text, "T%02d:%02d:%02dZ", static_cast<int>(second / 3600),
                  static_cast<int>(second / 60 % 60), static_cast<int>(second % 60));
    return DayText(day) + text;
}

// The middle of the times (the mean of the two middle ones for an even count); 0 for none.
inline std::int64_t Median(std::vector<std::int64_t> values)
{
    if (values.empty())
        return 0;
    auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2 == 1)
        return *middle;
    std::int64_t upper = *middle;
    std::int64_t lower = *std::max_element(values.begin(), middle);
    return lower + (upper - lower) / 2;
}

}  // namespace tavlix::history_time
