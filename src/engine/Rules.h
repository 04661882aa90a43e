#pragma once

namespace tavlix {

// The largest number a question may hold: 13 with J, Q and K enabled, else 10.
constexpr unsigned LargestNumber(bool jqkEnabled) { return jqkEnabled ? 13 : 10; }

// No question goes higher, whatever the J/Q/K choice.
inline constexpr unsigned kLargestNumber = LargestNumber(true);

// The rule and the range an engine call works under. A plain value that every call is
// given, so that no search changes what another one, on any thread, works under.
struct Rules {
    bool standardOnly = true;           // + - * / only; else also ^ and ^^
    unsigned maximum = kLargestNumber;  // the largest number of a question

    static constexpr Rules Of(bool standardRule, bool jqkEnabled)
    {
        return {standardRule, LargestNumber(jqkEnabled)};
    }
    bool operator==(const Rules&) const = default;
};

}  // namespace tavlix
