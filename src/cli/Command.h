#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "cli/CommandLine.h"

namespace tavlix::cli {

// The streams a command reads its input from, writes its results to and tells mistakes on.
struct Streams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

// One command of tavlix-cli. It declares its options to the shared parser, says how many
// operands it takes with the options given, and then runs; Run returns the exit code.
class Command {
public:
    virtual ~Command() = default;
    virtual const char* Help() const = 0;
    virtual void DeclareOptions(CommandLine& line) = 0;
    virtual OperandCount Operands() const = 0;
    virtual int Run(const std::vector<std::string>& operands, const Streams& io) = 0;
};

// The commands; each lives in the file of its name.
std::unique_ptr<Command> MakeSolveCommand();
std::unique_ptr<Command> MakeValidCommand();
std::unique_ptr<Command> MakeNormalCommand();
std::unique_ptr<Command> MakeCheckCommand();
std::unique_ptr<Command> MakeSolutionsCommand();
std::unique_ptr<Command> MakeListCommand();
std::unique_ptr<Command> MakeQuestionsCommand();
std::unique_ptr<Command> MakeHintCommand();
std::unique_ptr<Command> MakeStatsCommand();
std::unique_ptr<Command> MakeTechniquesCommand();
std::unique_ptr<Command> MakeWhyCommand();

}  // namespace tavlix::cli
