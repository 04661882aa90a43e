#include "cli/Cli.h"

#include <algorithm>
#include <array>
#include <ostream>

#include "cli/Command.h"
#include "cli/CommandLine.h"

namespace tavlix::cli {

namespace {

constexpr const char* kMainHelp =
    "Usage: tavlix-cli COMMAND [OPTIONS] ...\n"
    "\n"
    "Commands:\n"
    "  solve    list the solutions of a question, or of every question (--all)\n"
    "  valid    tell whether a line is a correct answer to a question\n"
    "  normal   print the normal and the sub-normal answer of a correct line\n"
    "  check    judge typed answers the way the program does and print its comment\n"
    "  solutions  print the list of all solutions as the program shows it\n"
    "  list     the complete list of all solutions of a level, as text, JSON or its web page\n"
    "  questions  the questions a training plan gives, in the order of the run\n"
    "  hint     a hint to a question: how many solutions, how one starts, then all of it\n"
    "  stats    the figures of a history of answers: per day, hardest questions, streak\n"
    "  techniques  what a question needs: fractions, going above 24, division, ...\n"
    "  why      whether two answers count as one solution, and why\n"
    "\n"
    "Run 'tavlix-cli COMMAND --help' for the options of a command.\n";

struct CommandName {
    const char* name;
    std::unique_ptr<Command> (*make)();
};

constexpr std::array kCommands = {
    CommandName{"solve", MakeSolveCommand},         CommandName{"valid", MakeValidCommand},
    CommandName{"normal", MakeNormalCommand},       CommandName{"check", MakeCheckCommand},
    CommandName{"solutions", MakeSolutionsCommand}, CommandName{"list", MakeListCommand},
    CommandName{"questions", MakeQuestionsCommand}, CommandName{"hint", MakeHintCommand},
    CommandName{"stats", MakeStatsCommand},         CommandName{"techniques", MakeTechniquesCommand},
    CommandName{"why", MakeWhyCommand},
};

int RunCommand(Command& command, const std::string& name, const std::vector<std::string>& words, const Streams& io)
{
    CommandLine line(name, command.Help());
    command.DeclareOptions(line);
    if (const std::optional<int> stop = line.Parse(words, io.out, io.err))
        return *stop;
    if (!line.HasOperands(command.Operands(), io.err))
        return kUsage;
    return command.Run(line.Operands(), io);
}

}  // namespace

int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        err << kMainHelp;
        return kUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << kMainHelp;
        return kOk;
    }
    const auto named = std::ranges::find_if(kCommands, [&](const CommandName& c) { return args[0] == c.name; });
    if (named == kCommands.end()) {
        err << "tavlix-cli: unknown command '" << args[0] << "'\n" << kMainHelp;
        return kUsage;
    }
    const std::unique_ptr<Command> command = named->make();
    return RunCommand(*command, args[0], {args.begin() + 1, args.end()}, Streams{in, out, err});
}

}  // namespace tavlix::cli
