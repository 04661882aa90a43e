#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavlix {

// Per-user settings by section and value name below the program's settings root: 32-bit
// integers (DWORD) and strings. Reads of a missing or unreadable value give nothing;
// failed writes are ignored by the callers.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;

    virtual std::optional<std::uint32_t> ReadInt(std::string_view section,
                                                 std::string_view name) const = 0;
    virtual std::optional<std::string> ReadString(std::string_view section,
                                                  std::string_view name) const = 0;
    virtual bool WriteInt(std::string_view section, std::string_view name,
                          std::uint32_t value) = 0;
    virtual bool WriteString(std::string_view section, std::string_view name,
                             std::string_view value) = 0;
    // Where the values are kept, as a user would look for them (a file); empty when
    // they live nowhere a user could reach.
    virtual std::string Location() const { return {}; }
};

}  // namespace tavlix
