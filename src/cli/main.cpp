#include <iostream>

#include "cli/Cli.h"

int main(int argc, char** argv)
{
    return tavlix::cli::Run(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout,
                            std::cerr);
}
