#include <gtest/gtest.h>

#include "platform/InMemoryProfileStore.h"
#include "settings/Profile.h"
#include "update/UpdateDecision.h"

namespace tavlix {
namespace {

using std::chrono::year;
using std::chrono::year_month_day;

constexpr year_month_day kOwnBuild = year(2012) / 12 / 20;
constexpr year_month_day kToday = year(2014) / 6 / 1;
constexpr const char* kHome = "https://www.brelmor.com/tavlix/index.html";

std::optional<UpdateOffer> Decide(const std::string& info)
{
    return DecideUpdate(ParseUpdateInfo(info), kOwnBuild, kToday, kHome);
}

struct OfferCase {
    std::string info;
    std::optional<UpdateOffer::Kind> kind;  // nothing: no offer
    const char* address;
};

class DecisionTest : public ::testing::TestWithParam<OfferCase> {};

TEST_P(DecisionTest, Decides)
{
    const auto offer = Decide(GetParam().info);
    ASSERT_EQ(offer.has_value(), GetParam().kind.has_value()) << GetParam().info;
    if (offer) {
        EXPECT_EQ(offer->kind, *GetParam().kind);
        EXPECT_EQ(offer->address, GetParam().address);
    }
}

constexpr auto kInstaller = UpdateOffer::Kind::Installer;
constexpr auto kPage = UpdateOffer::Kind::WebPage;
constexpr auto kDownloadPage = UpdateOffer::Kind::DownloadPage;
const std::string kSum = "0123456789abcdef0123456789ABCDEF0123456789abcdef0123456789abcdef";
INSTANTIATE_TEST_SUITE_P(
    Offers, DecisionTest,
    ::testing::Values(
        OfferCase{"Build=2013-1-5\nURL=https://u.test/t_1.6_amd64.deb\nSHA256=" + kSum, kInstaller,
                  "https://u.test/t_1.6_amd64.deb"},
        OfferCase{"Build=2013-1-5\nURL=https://u.test/T.AppImage?m=2", kDownloadPage, kHome},
        OfferCase{"Build=2013-1-5\nURL=HTTPS://u.test/t.TAR.XZ\nSHA256=" + kSum, kInstaller,
                  "HTTPS://u.test/t.TAR.XZ"},
        OfferCase{"Version=1.\xC2\x85" "6\nBuild=2013-1-5\nURL=https://u.test/new.html", {}, ""},
        OfferCase{"Build=2014-6-1\nURL=https://u.test/new.HTML", kPage, "https://u.test/new.HTML"},
        OfferCase{"Build=2013-1-5\nURL=https://u.test/notes.txt", kPage, kHome},
        OfferCase{"Build=2013-1-5", kPage, kHome},
        OfferCase{"Build=2013-1-5\nURL=http://u.test/setup.exe", {}, ""},
        OfferCase{"Build=2013-1-5\nURL=http://u.test/new.htm", {}, ""},
        OfferCase{"Build=2013-1-5\nURL=https://u.test/s.exe\nSHA256=1234", {}, ""},
        OfferCase{"Build=2014-6-2\nURL=https://u.test/s.exe", {}, ""},
        OfferCase{"Build=2012-12-20\nURL=https://u.test/s.exe", {}, ""},
        OfferCase{"Build=2013-13-01\nURL=https://u.test/s.exe", {}, ""}, OfferCase{"", {}, ""}));

TEST(UpdateDecisionTest, OnceADayAndQuietForFiveDaysAfterNo)
{
    InMemoryProfileStore store;
    Profile profile(store);
    const auto day = [](int after) {
        return year_month_day(std::chrono::sys_days(year(2013) / 12 / 30) + std::chrono::days(after));
    };
    EXPECT_TRUE(IsCheckDue(profile, day(0)));
    EXPECT_EQ(store.ReadString("AutoDetect", "Last Try"), "2013-12-30");
    EXPECT_FALSE(IsCheckDue(profile, day(0))) << "a second start on the same day";
    RecordDenial(profile, day(0));
    EXPECT_EQ(store.ReadString("AutoDetect", "Last Deny"), "2013-12-30");
    for (int after = 1; after <= 5; ++after)
        EXPECT_FALSE(IsCheckDue(profile, day(after))) << "day D+" << after;
    EXPECT_TRUE(IsCheckDue(profile, day(6))) << "day D+6, in the new year";
    EXPECT_EQ(store.ReadString("AutoDetect", "Last Try"), "2014-1-5");

    store.WriteString("AutoDetect", "Last Deny", "2014-1-9");
    EXPECT_TRUE(IsCheckDue(profile, day(7))) << "a denial dated later does not count";
}

TEST(UpdateDecisionTest, InfoAddressByEditionAndCode)
{
    EXPECT_EQ(InfoFileAddress({"https://u.test", ""}, Edition::Standard),
              "https://u.test/tavlix/download/updtinfo.txt");
    EXPECT_EQ(InfoFileAddress({"https://u.test/", ""}, Edition::SimplifiedChinese),
              "https://u.test/cn/tavlix/download/updtprc.txt");
    EXPECT_EQ(InfoFileAddress({"https://u.test/", "oem_2"}, Edition::SimplifiedChinese),
              "https://u.test/tavlix/download/updt_oem_2.txt");
    EXPECT_EQ(InfoFileAddress({"https://u.test/", "../x"}, Edition::Standard),
              "https://u.test/tavlix/download/updtinfo.txt");
    EXPECT_EQ(InfoFileAddress({"http://u.test/", ""}, Edition::Standard), "");
    EXPECT_EQ(InfoFileAddress({"https://", ""}, Edition::Standard), "");
}

TEST(UpdateDecisionTest, TheShippedSiteNeverResolves)
{
    const UpdateSettings settings = ReadUpdateSettings(TAVLIX_SHIPPED_UPDATE_SETTINGS);
    EXPECT_TRUE(IsSecureAddress(settings.site));
    EXPECT_TRUE(settings.site.ends_with(".invalid/")) << settings.site;
}

}  // namespace
}  // namespace tavlix
