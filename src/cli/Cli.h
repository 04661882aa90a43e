#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tavlix::cli {

// Exit codes of tavlix-cli.
enum ExitCode { kOk = 0, kNegative = 1, kUsage = 2 };

// Runs one tavlix-cli command line (without the program name), reading input from in,
// writing results to out and messages to err; returns the exit code.
int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err);

}  // namespace tavlix::cli
