#pragma once

#include "platform/Shell.h"

namespace tavlix {

// Opens addresses with the desktop's handler, falling back to xdg-open.
class QtShell : public Shell {
public:
    bool Open(const std::string& address) override;
};

}  // namespace tavlix
