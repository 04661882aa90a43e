#include <gtest/gtest.h>

#include <QSettings>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "SettingsTestSupport.h"
#include "platform/qt/QSettingsProfileStore.h"
#include "settings/Profile.h"
#include "settings/SettingsTable.h"

namespace tavlix {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

SettingName KeyOf(const setting::AnySetting& entry)
{
    return std::visit([](const auto* s) { return s->key; }, entry);
}

// Filled in as the program fills them, the patterns may not meet another entry either.
TEST(SettingsTableTest, NoTwoEntriesShareAValue)
{
    std::map<std::tuple<SettingStore, std::string, std::string>, std::size_t> owners;
    for (std::size_t i = 0; i < std::size(setting::kAll); ++i) {
        const SettingName key = KeyOf(setting::kAll[i]);
        for (const bool training : {true, false}) {
            const SettingParts parts{TrainingPlanSection(training), "1"};
            const auto owner = owners.try_emplace(
                {key.store, FillSettingPattern(key.section, parts), FillSettingPattern(key.name, parts)}, i).first;
            EXPECT_EQ(owner->second, i) << key.section << " / " << key.name;
        }
    }
    EXPECT_EQ(FillSettingPattern("Last Saved Path - %1", {"50%2", "x"}), "Last Saved Path - 50%2");
}

// The parts the stored files hold values for: the Training Game's plan with its four
// range numbers, the professionals' Holy War ranking with its six places, the release
// notes of 1.5 and the export of My Favorites.
std::vector<SettingParts> StoredParts(const SettingName& key)
{
    static const std::string proAj = RankingLevelCode(true, false, true);
    static const std::vector<std::string> numbers{"1", "2", "3", "4", "5", "6"};
    std::string_view first = key.name.starts_with("Release Note") ? "1.5" : "My Favorites";
    std::size_t places = key.name.ends_with("%2") ? 6 : 1;
    if (key.section == "%1") {
        first = TrainingPlanSection(false);
        places = std::min<std::size_t>(places, 4);
    } else if (key.section.starts_with("Rank\\")) {
        first = proAj;
    }
    std::vector<SettingParts> parts;
    for (std::size_t i = 0; i < places; ++i)
        parts.push_back({first, numbers[i]});
    return parts;
}

template <class Setting>
void ReadAndWriteBack(Profile& profile, const Setting& s, const SettingParts& parts)
{
    WriteSetting(profile, s, ReadSetting(profile, s, parts), parts);
}
void ReadAndWriteBack(Profile& profile, const CallerDefaultNumberSetting& s, const SettingParts& parts)
{
    WriteSetting(profile, s, ReadSetting(profile, s, 0xDEAD, parts), parts);
}
void ReadAndWriteBack(Profile& profile, const CallerDefaultTextSetting& s, const SettingParts& parts)
{
    WriteSetting(profile, s, ReadSetting(profile, s, "(not stored)", parts), parts);
}

// The files in stored/ are the three settings files as the program wrote them before
// its settings had a table: every entry, with values other than the defaults.
TEST(SettingsTableTest, StoredFilesReadAndWriteBackByteForByte)
{
    const ScratchFolder folder;
    const QString root = QString::fromStdString(folder.Path().string());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, root + "/user");
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, root + "/machine");
    const fs::path version = "Brelmor/Tavlix Standard Edition/1.5.conf";
    const std::map<fs::path, std::string> files{
        {folder.Path() / "user" / version, "user.conf"},
        {folder.Path() / "machine" / version, "machine.conf"},
        {folder.Path() / "user/Brelmor/Tavlix Standard Edition.conf", "edition.conf"}};
    for (const auto& [file, stored] : files)
        WriteBytes(file, ReadBytes(fs::path(TAVLIX_STORED_SETTINGS) / stored));
    {
        QSettingsProfileStore user(QSettings::UserScope, "Brelmor", "Tavlix Standard Edition/1.5");
        QSettingsProfileStore machine(QSettings::SystemScope, "Brelmor", "Tavlix Standard Edition/1.5");
        QSettingsProfileStore edition(QSettings::UserScope, "Brelmor", "Tavlix Standard Edition");
        std::map<SettingStore, Profile> profiles{{SettingStore::User, Profile(user)},
                                                 {SettingStore::Machine, Profile(machine)},
                                                 {SettingStore::Edition, Profile(edition)}};
        for (const setting::AnySetting& entry : setting::kAll)
            for (const SettingParts& parts : StoredParts(KeyOf(entry)))
                std::visit([&](const auto* s) { ReadAndWriteBack(profiles.at(s->key.store), *s, parts); }, entry);
    }
    for (const auto& [file, stored] : files)
        EXPECT_EQ(ReadBytes(file), ReadBytes(fs::path(TAVLIX_STORED_SETTINGS) / stored)) << stored;
}

}  // namespace
}  // namespace tavlix
