#include "settings/SettingsTable.h"

#include "platform/ProfileStore.h"
#include "settings/Profile.h"

namespace tavlix {

namespace {

struct FilledName {
    std::string section;
    std::string name;
};

FilledName Fill(const SettingName& key, const SettingParts& parts)
{
    return {FillSettingPattern(key.section, parts), FillSettingPattern(key.name, parts)};
}

std::uint32_t WithinRange(std::uint32_t value, std::uint32_t lowest, std::uint32_t highest,
                          std::uint32_t defaultValue)
{
    return value >= lowest && value <= highest ? value : defaultValue;
}

template <class Default>
std::uint32_t ReadNumber(const Profile& profile, const NumberSettingOf<Default>& setting,
                         std::uint32_t defaultValue, const SettingParts& parts)
{
    const FilledName at = Fill(setting.key, parts);
    std::uint32_t value = 0;
    if (setting.fallbackSection.empty()) {
        value = profile.GetProfileInt(at.section, at.name, defaultValue);
    } else {
        value = profile.GetProfileInt(at.section, at.name, kAnyNumber);
        if (value == kAnyNumber)
            value = profile.GetProfileInt(setting.fallbackSection, at.name, defaultValue);
    }
    return WithinRange(value, setting.lowest, setting.highest, defaultValue);
}

template <class Default>
std::string ReadText(const Profile& profile, const TextSettingOf<Default>& setting, std::string_view defaultValue,
                     const SettingParts& parts)
{
    const FilledName at = Fill(setting.key, parts);
    if (setting.length == TextLength::Whole)
        return profile.Store().ReadString(at.section, at.name).value_or(std::string(defaultValue));
    return profile.GetProfileString(at.section, at.name, defaultValue);
}

bool WriteNumber(Profile& profile, const SettingName& key, std::uint32_t value, const SettingParts& parts)
{
    const FilledName at = Fill(key, parts);
    return profile.WriteProfileInt(at.section, at.name, value);
}

bool WriteText(Profile& profile, const SettingName& key, TextLength length, std::string_view value,
               const SettingParts& parts)
{
    const FilledName at = Fill(key, parts);
    if (length == TextLength::Whole)
        return profile.Store().WriteString(at.section, at.name, value);
    return profile.WriteProfileString(at.section, at.name, value);
}

}  // namespace

std::string_view TrainingPlanSection(bool training) { return training ? "Training" : "Training Game"; }

std::string RankingLevelCode(bool professional, bool standardRule, bool jqkEnabled)
{
    std::string code = professional ? "PRO_" : "AMA_";
    code += standardRule ? 'S' : 'A';
    code += jqkEnabled ? 'J' : 'S';
    return code;
}

std::string FillSettingPattern(std::string_view pattern, const SettingParts& parts)
{
    // One pass over the pattern, so that a part holding "%2" stays as it is.
    std::string filled;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::string_view rest = pattern.substr(i);
        if (rest.starts_with("%1") || rest.starts_with("%2")) {
            filled += rest[1] == '1' ? parts.first : parts.second;
            ++i;
        } else {
            filled += pattern[i];
        }
    }
    return filled;
}

bool ReadSetting(const Profile& profile, const FlagSetting& setting, const SettingParts& parts)
{
    const FilledName at = Fill(setting.key, parts);
    switch (setting.rule) {
    case FlagRule::NonZeroIsTrue: return profile.GetProfileInt(at.section, at.name, setting.defaultValue) != 0;
    case FlagRule::OnlyOneIsTrue: return profile.GetProfileInt(at.section, at.name, setting.defaultValue) == 1;
    case FlagRule::TextOneIsTrue:
        return profile.GetProfileString(at.section, at.name, setting.defaultValue ? "1" : "") == "1";
    }
    return setting.defaultValue;
}

std::uint32_t ReadSetting(const Profile& profile, const NumberSetting& setting, const SettingParts& parts)
{
    return ReadNumber(profile, setting, setting.defaultValue, parts);
}

std::uint32_t ReadSetting(const Profile& profile, const CallerDefaultNumberSetting& setting,
                          std::uint32_t defaultValue, const SettingParts& parts)
{
    return ReadNumber(profile, setting, defaultValue, parts);
}

std::string ReadSetting(const Profile& profile, const TextSetting& setting, const SettingParts& parts)
{
    return ReadText(profile, setting, setting.defaultValue, parts);
}

std::string ReadSetting(const Profile& profile, const CallerDefaultTextSetting& setting,
                        std::string_view defaultValue, const SettingParts& parts)
{
    return ReadText(profile, setting, defaultValue, parts);
}

bool WriteSetting(Profile& profile, const FlagSetting& setting, bool value, const SettingParts& parts)
{
    if (setting.rule == FlagRule::TextOneIsTrue)
        return WriteText(profile, setting.key, TextLength::HelperLimit, value ? "1" : "0", parts);
    return WriteNumber(profile, setting.key, value ? 1 : 0, parts);
}

bool WriteSetting(Profile& profile, const NumberSetting& setting, std::uint32_t value, const SettingParts& parts)
{
    return WriteNumber(profile, setting.key, value, parts);
}

bool WriteSetting(Profile& profile, const CallerDefaultNumberSetting& setting, std::uint32_t value,
                  const SettingParts& parts)
{
    return WriteNumber(profile, setting.key, value, parts);
}

bool WriteSetting(Profile& profile, const TextSetting& setting, std::string_view value, const SettingParts& parts)
{
    return WriteText(profile, setting.key, setting.length, value, parts);
}

bool WriteSetting(Profile& profile, const CallerDefaultTextSetting& setting, std::string_view value,
                  const SettingParts& parts)
{
    return WriteText(profile, setting.key, setting.length, value, parts);
}

}  // namespace tavlix
