#include "platform/System.h"

#include <grp.h>
#include <unistd.h>

#include <array>
#include <string_view>
#include <vector>

namespace tavlix {

bool IsUserAdmin()
{
    if (::geteuid() == 0)
        return true;
    const int count = ::getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int read = ::getgroups(count, groups.data());
    constexpr std::array<std::string_view, 3> kAdminGroups = {"sudo", "wheel", "admin"};
    for (int i = 0; i < read; ++i) {
        const group* g = ::getgrgid(groups[std::size_t(i)]);
        if (!g)
            continue;
        for (const std::string_view name : kAdminGroups)
            if (name == g->gr_name)
                return true;
    }
    return false;
}

std::filesystem::path GetProgramPath(int kind)
{
    if (kind != 1 && kind != 2)
        return {};
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    return kind == 1 ? executable : executable.parent_path();
}

}  // namespace tavlix
