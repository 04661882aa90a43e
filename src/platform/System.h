#pragma once

#include <filesystem>

namespace tavlix {

// Administrator: the effective user is root, or belongs to one of the groups that may
// administer the machine (sudo, wheel, admin).
bool IsUserAdmin();

// The running executable (kind 1) or its folder (kind 2); empty for any other kind.
std::filesystem::path GetProgramPath(int kind);

}  // namespace tavlix
