#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <ostream>
#include <string_view>

#include "cli/Cli.h"

namespace tavlix::cli {

CommandLine::CommandLine(std::string command, std::string help)
    : m_command(std::move(command)), m_help(std::move(help)), m_app(std::make_unique<CLI::App>("", m_command))
{
    // The help option prints the command's own text, and wins over anything else on the
    // line: it acts as soon as it is read, before the other options' words are checked.
    m_app->set_help_flag();
    m_app->add_flag_callback("-h,--help", [] { throw CLI::CallForHelp(); })->trigger_on_parse();
    // The words that are not declared options stay, in order, as the operands. An answer
    // line such as "-(1-3)*12" is an operand; OptionNotTaken refuses words that name options.
    m_app->allow_extras();
}

CommandLine::~CommandLine() = default;

void CommandLine::Flag(const std::string& name, bool& value)
{
    m_app->add_flag(name, value);
}

void CommandLine::Value(const std::string& name, const std::string& takes, std::function<bool(const std::string&)> read)
{
    const auto check = [read = std::move(read), takes](const std::string& word) {
        return read(word) ? std::string() : takes;
    };
    m_app->add_option(name)->check(CLI::Validator(check, ""))->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    m_usage.emplace_back(name, takes);
}

void CommandLine::Configuration(const std::string& name, std::vector<std::string>& words)
{
    // One value of four words: the four words after the option are its own, whatever they are.
    m_app->add_option(name, words)->type_size(4)->expected(1)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    m_usage.emplace_back(name, name + " takes four numbers");
}

std::optional<int> CommandLine::Parse(const std::vector<std::string>& words, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> backwards(words.rbegin(), words.rend());  // CLI11 takes the words from the back
    try {
        m_app->parse(backwards);
    } catch (const CLI::CallForHelp&) {
        out << m_help;
        return kOk;
    } catch (const CLI::ParseError& error) {
        return Refuse(Explain(error), err);
    }
    m_operands = m_app->remaining();
    if (const std::optional<std::string> option = OptionNotTaken())
        return Refuse(m_command + " does not take " + *option, err);
    return std::nullopt;
}

bool CommandLine::HasOperands(OperandCount count, std::ostream& err) const
{
    const std::size_t given = m_operands.size();
    if (given >= count.least && given <= count.most)
        return true;
    const std::string most = count.most > count.least ? " or " + std::to_string(count.most) : std::string();
    Refuse(m_command + " takes " + std::to_string(count.least) + most + " arguments, " + std::to_string(given) +
               " given",
           err);
    return false;
}

int CommandLine::Refuse(const std::string& reason, std::ostream& err) const
{
    err << "tavlix-cli " << m_command << ": " << reason << "\n\n" << m_help;
    return kUsage;
}

// CLI11 begins the text of a mistake in an option's words with the option's name
// ("--max: 1 required TEXT missing"); the option's usage text says it in the program's words.
std::string CommandLine::Explain(const std::exception& error) const
{
    const std::string_view text = error.what();
    for (const auto& [name, takes] : m_usage)
        if (text.starts_with(name + ":"))
            return takes;
    return std::string(text);
}

// A word left over that starts with two dashes names an option this command does not take;
// a word with one dash is an operand, as a negative number or an answer line can be.
std::optional<std::string> CommandLine::OptionNotTaken() const
{
    const auto option = std::ranges::find_if(m_operands, [](const std::string& word) { return word.starts_with("--"); });
    if (option == m_operands.end())
        return std::nullopt;
    return *option;
}

std::optional<std::uint64_t> ReadWholeNumber(const std::string& word)
{
    std::uint64_t number = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, number);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return number;
}

std::string ListedWords(const std::vector<std::string>& words)
{
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i)
        text += (i == 0 ? "" : i + 1 == words.size() ? " or " : ", ") + words[i];
    return text;
}

}  // namespace tavlix::cli
