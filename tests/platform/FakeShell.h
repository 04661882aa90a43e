#pragma once

#include <string>
#include <vector>

#include "platform/Shell.h"

namespace tavlix::testing {

// A browser that notes every address it is handed; a test can make it refuse them.
class FakeShell : public Shell {
public:
    bool Open(const std::string& address) override
    {
        opened.push_back(address);
        return takes;
    }
    std::vector<std::string> opened;
    bool takes = true;
};

}  // namespace tavlix::testing
