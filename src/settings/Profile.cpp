#include "settings/Profile.h"

#include "platform/ProfileStore.h"
#include "common/TextUtilities.h"

namespace tavlix {

namespace {

std::string_view TrimSection(std::string_view section) { return TrimCharacters(section, " \t\r\n\\"); }

// Characters as the settings count them: one per UTF-8 character.
std::size_t CharacterCount(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

}  // namespace

std::uint32_t Profile::GetProfileInt(std::string_view section, std::string_view entry,
                                     std::uint32_t defaultValue) const
{
    return m_store.ReadInt(TrimSection(section), TrimBlanksAndLineEnds(entry)).value_or(defaultValue);
}

bool Profile::WriteProfileInt(std::string_view section, std::string_view entry, std::uint32_t value)
{
    return m_store.WriteInt(TrimSection(section), TrimBlanksAndLineEnds(entry), value);
}

std::string Profile::GetProfileString(std::string_view section, std::string_view entry,
                                      std::string_view defaultValue) const
{
    const auto value = m_store.ReadString(TrimSection(section), TrimBlanksAndLineEnds(entry));
    if (!value || CharacterCount(*value) > kMaxStringLength)
        return std::string(defaultValue);
    return *value;
}

bool Profile::WriteProfileString(std::string_view section, std::string_view entry,
                                 std::string_view value)
{
    if (CharacterCount(value) > kMaxStringLength)
        return false;
    return m_store.WriteString(TrimSection(section), TrimBlanksAndLineEnds(entry), value);
}

}  // namespace tavlix
