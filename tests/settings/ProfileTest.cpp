#include <gtest/gtest.h>

#include <string>

#include "platform/InMemoryProfileStore.h"
#include "settings/Profile.h"

namespace tavlix {
namespace {

TEST(ProfileTest, TrimmingDefaultsAndTheStringLimit)
{
    InMemoryProfileStore store;
    Profile profile(store);
    EXPECT_EQ(profile.GetProfileInt("Game", "Standard", 1), 1u);
    EXPECT_TRUE(profile.WriteProfileInt(" \\Game\\\t", " Standard\r\n", 0));
    EXPECT_EQ(store.ReadInt("Game", "Standard"), 0u);
    EXPECT_EQ(profile.GetProfileInt("Game", "Standard", 1), 0u);

    EXPECT_TRUE(profile.WriteProfileString("Music\\File", "Path", std::string(511, 'x')));
    EXPECT_FALSE(profile.WriteProfileString("Music\\File", "Path", std::string(512, 'y')));
    EXPECT_EQ(profile.GetProfileString("Music\\File", "Path", "d"), std::string(511, 'x'));
    // 511 Chinese characters are 511 characters, whatever their bytes.
    std::string chinese;
    for (int i = 0; i < 511; ++i)
        chinese += "字";
    EXPECT_TRUE(profile.WriteProfileString("App", "Note", chinese));
    store.WriteString("App", "Long", std::string(600, 'z'));
    EXPECT_EQ(profile.GetProfileString("App", "Long", "default"), "default");
    EXPECT_EQ(profile.GetProfileString("App", "Missing", "default"), "default");
}

}  // namespace
}  // namespace tavlix
