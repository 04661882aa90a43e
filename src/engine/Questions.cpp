#include <algorithm>
#include <cstdio>

#include "engine/CBMUtilities.h"
#include "engine/NoSolutionLists.h"
#include "common/TextUtilities.h"

namespace tavlix {

namespace {

// Leading decimal digits, 0 when there are none; saturates instead of overflowing.
unsigned LeadingNumber(std::string_view token)
{
    unsigned value = 0;
    for (const char c : token) {
        if (c < '0' || c > '9')
            break;
        value = std::min(value * 10 + static_cast<unsigned>(c - '0'), 100000u);
    }
    return value;
}

// Runs of blanks become one blank; no blank is left at either end.
std::string CollapseBlanks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == ' ' && (out.empty() || out.back() == ' '))
            continue;
        out.push_back(c);
    }
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

void CompareExchange(unsigned& x, unsigned& y, bool ascending)
{
    if (ascending ? x > y : x < y)
        std::swap(x, y);
}

}  // namespace

void CBMUtilities::SetCurrentMaximum(unsigned maximum) { s_nCurrentMaximum = maximum; }

unsigned CBMUtilities::GetCurrentMaximum() { return s_nCurrentMaximum; }

std::string CBMUtilities::FormatQuestion(unsigned a, unsigned b, unsigned c, unsigned d)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%u %u %u %u", a, b, c, d);
    return buffer;
}

bool CBMUtilities::GetQuestionFromString(std::string_view text, NumberArray& numbers,
                                         unsigned maximum, CharacterSet charset)
{
    const std::string line =
        CollapseBlanks(GetNormalizedUserInput(text, InputMode::QuestionLine, charset));

    std::size_t blanks[3];
    std::size_t from = 0;
    for (std::size_t& blank : blanks) {
        blank = line.find(' ', from);
        if (blank == std::string::npos)
            return false;
        from = blank + 1;
    }

    const std::string_view view(line);
    const unsigned values[4] = {
        LeadingNumber(view.substr(0, blanks[0])),
        LeadingNumber(view.substr(blanks[0] + 1, blanks[1] - blanks[0] - 1)),
        LeadingNumber(view.substr(blanks[1] + 1, blanks[2] - blanks[1] - 1)),
        LeadingNumber(view.substr(blanks[2] + 1)),
    };
    for (const unsigned v : values)
        if (v < 1 || v > maximum)
            return false;

    // Anything but four plain numbers (a fifth token, a sign, a leading zero, a
    // fraction) formats differently from what was typed.
    if (FormatQuestion(values[0], values[1], values[2], values[3]) != line)
        return false;

    numbers.assign(std::begin(values), std::end(values));
    return true;
}

bool CBMUtilities::GetQuestionFromString(std::string_view text, NumberArray& numbers,
                                         bool allowThirteen, CharacterSet charset)
{
    return GetQuestionFromString(text, numbers, allowThirteen ? kLargestNumber : s_nCurrentMaximum,
                                 charset);
}

bool CBMUtilities::IsValidQuestion(const NumberArray& numbers, unsigned maximum)
{
    return numbers.size() == 4 &&
           std::all_of(numbers.begin(), numbers.end(),
                       [maximum](unsigned n) { return n >= 1 && n <= maximum; });
}

bool CBMUtilities::IsValidQuestion(const NumberArray& numbers)
{
    return IsValidQuestion(numbers, s_nCurrentMaximum);
}

void CBMUtilities::SortNumbers(unsigned& a, unsigned& b, unsigned& c, unsigned& d, int count,
                               bool ascending)
{
    if (count < 2)
        return;
    CompareExchange(a, b, ascending);
    if (count == 2)
        return;
    CompareExchange(a, c, ascending);
    if (count == 4)
        CompareExchange(a, d, ascending);
    CompareExchange(b, c, ascending);
    if (count == 3)
        return;
    CompareExchange(b, d, ascending);
    CompareExchange(c, d, ascending);
}

int CBMUtilities::IsQuestionInList(std::string_view text, const StringArray& list)
{
    NumberArray q;
    if (!GetQuestionFromString(text, q, kLargestNumber))
        return -1;
    SortNumbers(q[0], q[1], q[2], q[3], 4, true);
    const std::string sorted = FormatQuestion(q[0], q[1], q[2], q[3]);
    return std::find(list.begin(), list.end(), sorted) != list.end() ? 1 : 0;
}

bool CBMUtilities::CompareQuestionText(std::string a, std::string b)
{
    static constexpr std::string_view kHigh[][2] = {
        {"10", "A"}, {"11", "B"}, {"12", "C"}, {"13", "D"}};
    for (const auto& [from, to] : kHigh) {
        ReplaceAll(a, from, to);
        ReplaceAll(b, from, to);
    }
    return a > b;
}

StringArray CBMUtilities::EnumerateQuestions(unsigned maximum)
{
    StringArray questions;
    for (unsigned a = 1; a <= maximum; ++a)
        for (unsigned b = a; b <= maximum; ++b)
            for (unsigned c = b; c <= maximum; ++c)
                for (unsigned d = c; d <= maximum; ++d)
                    questions.push_back(FormatQuestion(a, b, c, d));
    return questions;
}

int CBMUtilities::LoadNoSolutionList(bool standardOnly, bool jqkEnabled, StringArray& target)
{
    target.clear();
    for (const char* const* entry = NoSolutionList(standardOnly, LargestNumber(jqkEnabled));
         std::string_view(*entry) != kNoSolutionListEnd; ++entry)
        target.emplace_back(*entry);
    return static_cast<int>(target.size());
}

}  // namespace tavlix
