#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavlix {

class ProfileStore;

// The registry helpers: DWORD and string values by section and entry name below the
// program's settings root, with a default for a value that is missing or unreadable.
// Sections are trimmed of blanks, tabs, CR, LF and backslashes at both ends, entry
// names of blanks, tabs, CR and LF. Strings hold at most 511 characters.
class Profile {
public:
    static constexpr std::size_t kMaxStringLength = 511;

    explicit Profile(ProfileStore& store) : m_store(store) {}

    std::uint32_t GetProfileInt(std::string_view section, std::string_view entry,
                                std::uint32_t defaultValue) const;
    bool WriteProfileInt(std::string_view section, std::string_view entry, std::uint32_t value);
    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view defaultValue) const;
    // False, and nothing written, for a value longer than 511 characters.
    bool WriteProfileString(std::string_view section, std::string_view entry,
                            std::string_view value);

    ProfileStore& Store() const { return m_store; }

private:
    ProfileStore& m_store;
};

}  // namespace tavlix
