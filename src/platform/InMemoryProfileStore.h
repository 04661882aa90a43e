#pragma once

#include <map>
#include <utility>
#include <variant>

#include "platform/ProfileStore.h"

namespace tavlix {

// A profile store that lives in memory: the tests' settings, and the fallback when no
// persistent store can be had.
class InMemoryProfileStore : public ProfileStore {
public:
    std::optional<std::uint32_t> ReadInt(std::string_view section,
                                         std::string_view name) const override
    {
        const auto it = m_values.find(Key(section, name));
        if (it == m_values.end() || !std::holds_alternative<std::uint32_t>(it->second))
            return std::nullopt;
        return std::get<std::uint32_t>(it->second);
    }
    std::optional<std::string> ReadString(std::string_view section,
                                          std::string_view name) const override
    {
        const auto it = m_values.find(Key(section, name));
        if (it == m_values.end() || !std::holds_alternative<std::string>(it->second))
            return std::nullopt;
        return std::get<std::string>(it->second);
    }
    bool WriteInt(std::string_view section, std::string_view name, std::uint32_t value) override
    {
        m_values[Key(section, name)] = value;
        return true;
    }
    bool WriteString(std::string_view section, std::string_view name,
                     std::string_view value) override
    {
        m_values[Key(section, name)] = std::string(value);
        return true;
    }

private:
    using SettingKey = std::pair<std::string, std::string>;
    static SettingKey Key(std::string_view section, std::string_view name)
    {
        return {std::string(section), std::string(name)};
    }

    std::map<SettingKey, std::variant<std::uint32_t, std::string>> m_values;
};

}  // namespace tavlix
