#pragma once

#include <algorithm>
#include <cstdint>
#include <exception>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace CLI {
class App;
}

namespace tavlix::cli {

// The words an option takes, in the order its usage text lists them, with what each means.
template <typename T>
using Choices = std::vector<std::pair<std::string, T>>;

// The least and the most operands a command takes.
struct OperandCount {
    std::size_t least;
    std::size_t most;
};

// The option parser that every command shares. A command declares the options it takes,
// each bound to its own variable; Parse reads a command line into them. An option the
// command does not take, an option's missing or wrong word and a wrong number of operands
// are usage mistakes: the parser tells them on the error stream with the command's help.
class CommandLine {
public:
    CommandLine(std::string command, std::string help);
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;
    ~CommandLine();

    // An option without a word, such as --advanced.
    void Flag(const std::string& name, bool& value);

    // An option that takes one word. read keeps the word in the command's variable and says
    // whether the option takes it; when it does not, the parser tells the usage text takes
    // ("--max takes 10 or 13"). Given twice, the last one counts.
    void Value(const std::string& name, const std::string& takes, std::function<bool(const std::string&)> read);

    // An option that takes one of the words of choices.
    template <typename T>
    void Choice(const std::string& name, const Choices<T>& choices, T& value);

    // An option that takes a whole number from low to high; what says so in other words
    // where plain figures would not ("the seconds since 1970").
    template <typename T>
    void Number(const std::string& name, std::uint64_t low, std::uint64_t high, T& value, const std::string& what = {});

    // An option that takes the four numbers of a configuration (--from 1 1 2 3). The words
    // are kept as typed: whether they form a configuration depends on the largest number.
    void Configuration(const std::string& name, std::vector<std::string>& words);

    // Reads the words after the command name into the declared options and the operands.
    // Returns the exit code when the command is not to run: kOk after its help was asked
    // for and written on out, kUsage after a usage mistake was told on err.
    std::optional<int> Parse(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

    // Whether the operands that Parse found are as many as count allows; tells on err when not.
    bool HasOperands(OperandCount count, std::ostream& err) const;

    // The words of the command line that are neither options nor their words, in order.
    const std::vector<std::string>& Operands() const { return m_operands; }

private:
    // Tells the usage mistake, then the help; returns kUsage.
    int Refuse(const std::string& reason, std::ostream& err) const;
    std::string Explain(const std::exception& error) const;
    std::optional<std::string> OptionNotTaken() const;

    std::string m_command;
    std::string m_help;
    std::unique_ptr<CLI::App> m_app;
    // Each declared option with its usage text, to explain a mistake in its words.
    std::vector<std::pair<std::string, std::string>> m_usage;
    std::vector<std::string> m_operands;
};

// The number a word of decimal digits gives, and nothing for any other word.
std::optional<std::uint64_t> ReadWholeNumber(const std::string& word);

// The words joined as a usage text lists them: "a, b or c".
std::string ListedWords(const std::vector<std::string>& words);

template <typename T>
void CommandLine::Choice(const std::string& name, const Choices<T>& choices, T& value)
{
    std::vector<std::string> words;
    for (const auto& choice : choices)
        words.push_back(choice.first);
    Value(name, name + " takes " + ListedWords(words), [choices, &value](const std::string& word) {
        const auto chosen = std::ranges::find(choices, word, &std::pair<std::string, T>::first);
        if (chosen == choices.end())
            return false;
        value = chosen->second;
        return true;
    });
}

template <typename T>
void CommandLine::Number(const std::string& name, std::uint64_t low, std::uint64_t high, T& value,
                         const std::string& what)
{
    const std::string range = "a whole number from " + std::to_string(low) + " to " + std::to_string(high);
    Value(name, name + " takes " + (what.empty() ? range : what), [low, high, &value](const std::string& word) {
        const std::optional<std::uint64_t> number = ReadWholeNumber(word);
        if (!number || *number < low || *number > high)
            return false;
        value = static_cast<T>(*number);
        return true;
    });
}

}  // namespace tavlix::cli
