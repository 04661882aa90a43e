#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "completelist/CompleteList.h"
#include "engine/CBMUtilities.h"

namespace tavlix {

class LanguageState;

// One configuration as the list shows it.
struct ListedConfiguration {
    std::size_t number = 0;  // its heading number, from 1
    std::string question;    // "1 1 1 8"
    StringArray solutions;   // empty for a configuration without solution
};

// Solves every configuration of a level in enumeration order, one step at a time so that
// a window can show progress and stop between configurations, and fills the page
// template. A configuration's heading number counts all configurations when both kinds
// are listed, otherwise only those of the listed kind. It reads no state but its own,
// so a worker thread may make the list.
class CompleteListGenerator {
public:
    static constexpr int kProgressRange = 1000;

    explicit CompleteListGenerator(const CompleteListOptions& options);

    // Solves the next configuration; false when none was left.
    bool Step();
    // Solves all that are left.
    void Run();
    bool IsFinished() const { return m_next == m_questions.size(); }
    // Configurations solved so far, scaled to 0..kProgressRange.
    int Progress() const;

    std::size_t Total() const { return m_questions.size(); }
    std::size_t WithSolutionsCount() const { return m_withSolutions; }
    std::size_t WithoutSolutionCount() const { return m_withoutSolution; }
    const std::vector<ListedConfiguration>& Listed() const { return m_listed; }

    // The paragraphs of the listed configurations: a bold heading, a line per solution
    // and a blank line each, with "Q" and "A" in the interface language.
    std::string GrandList(const LanguageState& language) const;
    // The template with every placeholder replaced, in the fixed order, the list last.
    std::string FillTemplate(std::string page, const LanguageState& language) const;

    // "Q12: 1 1 2 6" and "A1: (1+1)*2*6" in the interface language.
    static std::string HeadingText(const LanguageState& language, const ListedConfiguration& entry);
    static std::string SolutionText(const LanguageState& language, std::size_t number,
                                    const std::string& solution);

private:
    CompleteListOptions m_options;
    StringArray m_questions;
    std::size_t m_next = 0;
    std::size_t m_withSolutions = 0;
    std::size_t m_withoutSolution = 0;
    std::vector<ListedConfiguration> m_listed;
};

}  // namespace tavlix
