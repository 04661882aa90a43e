#pragma once

#include <string>

namespace tavlix {

// Opens a file or web address in the user's browser or the program registered for it.
class Shell {
public:
    virtual ~Shell() = default;
    // True when the platform reported that the address was handed over.
    virtual bool Open(const std::string& address) = 0;
};

}  // namespace tavlix
