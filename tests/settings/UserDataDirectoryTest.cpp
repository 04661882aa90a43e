#include <gtest/gtest.h>

#include <sys/stat.h>

#include "settings/UserDataDirectory.h"
#include "SettingsTestSupport.h"

namespace tavlix {
namespace {

using namespace tavlix::testing;
using Names = std::set<std::string>;

const std::string kRoot = "You can't set root path (0-level deep directory) of a drive as the user data "
                          "directory. It should be at least 1-level deep user directory.";
const std::string kUnderProduct = "For data security consideration, you are not allowed to set up the user "
                                  "data directory within the root path of the product installation pack.";

std::string NotValid(const std::string& path) { return "Path \"" + path + "\" is not a valid Windows file path."; }

std::string Backslashed(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

class UserDataDirectoryTest : public ::testing::Test {
protected:
    UserDataDirectoryTest()
    {
        fs::create_directories(m_root / "Program Files" / "Tavlix");
        fs::create_directories(m_documents);
    }
    UserDataDirectory Make(bool administrator = false)
    {
        return UserDataDirectory(m_store, m_language, m_root / "Program Files" / "Tavlix", m_documents,
                                 administrator);
    }
    std::string Stored() const { return m_store.ReadString("User Data Directory", "").value_or("<none>"); }
    std::string Under(const std::string& relative) const { return (m_root / relative).string(); }

    ScratchFolder m_scratch;
    fs::path m_root = m_scratch.Path();
    fs::path m_documents = m_root / "home" / "Documents";
    InMemoryProfileStore m_store;
    LanguageState m_language = MakeLanguage();
};

TEST_F(UserDataDirectoryTest, CheckGivesTheReasonAndLeavesNothingBehind)
{
    WriteBytes(m_root / "file", "x");
    std::string deep = "/";
    for (int i = 0; i < 50'000; ++i)
        deep += "a/";
    struct Case {
        std::string path;
        std::string error;
    };
    const auto invalid = [](const std::string& path) { return Case {path, NotValid(path)}; };
    const Case cases[] = {
        {"/", kRoot},
        {" \\ ", kRoot},
        invalid(""),
        invalid("relative/data"),
        invalid("~/data"),
        invalid(Under("file/sub")),
        invalid(Under(std::string("a\0b", 3))),
        invalid(Under(std::string(300, 'n') + "/x")),
        invalid(deep + "a"),  // too long: walking it level by level would cost time and memory
        {Under("Program Files/Tavlix"), kUnderProduct},
        {Under("PROGRAM FILES/tavlix/Data"), kUnderProduct},
        {Under("Program Files/Tavlix Data"), kUnderProduct},  // a plain prefix test
        {"  " + Under("file") + "\t", "Path \"" + Under("file") + "\" is not the name of an existing directory."},
        {Under("home/Documents"), ""},
        {Under("new/deeper/deepest"), ""},
        {Under("Program Files/Tavli"), ""},
        {" " + Backslashed(Under("typed/with/backslashes")) + "\\ ", ""},
        {Under("Program Files/../x/y"), ""},
    };
    UserDataDirectory udd = Make();
    for (const auto& c : cases) {
        std::string error = "stale";
        EXPECT_EQ(udd.CheckUserDataDirectory(c.path, error, 1), c.error.empty()) << c.path.substr(0, 200);
        EXPECT_EQ(error, c.error) << c.path.substr(0, 200);
    }
    EXPECT_EQ(FolderNames(m_root), (Names {"Program Files", "home", "file"}));
    EXPECT_EQ(FolderNames(m_root / "Program Files"), (Names {"Tavlix"}));
    EXPECT_TRUE(UserDataDirectory::IsValidDirectoryPath(Under("file")));
    EXPECT_EQ(udd.Current(), "");
}

TEST_F(UserDataDirectoryTest, AFolderOneLevelBelowTheRootIsAcceptedWhenItCanBeMade)
{
    if (::access("/", W_OK) != 0)
        GTEST_SKIP() << "the root folder is not writable here";
    const std::string path = "/" + m_root.filename().string();
    std::string error;
    EXPECT_TRUE(Make().CheckUserDataDirectory(path, error, 1)) << error;
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(UserDataDirectoryTest, StoredDirectoryIsCheckedMadeCurrentAndApplied)
{
    UserDataDirectory udd = Make();
    std::string error;
    EXPECT_FALSE(udd.CheckUserDataDirectory("ignored", error, 0));
    EXPECT_EQ(error, NotValid(""));
    m_store.WriteString("User Data Directory", "", " " + Backslashed(Under("data")) + " ");
    EXPECT_TRUE(udd.CheckUserDataDirectory({}, error, 0)) << error;
    EXPECT_EQ(udd.Current(), Under("data"));
    EXPECT_TRUE(fs::is_directory(m_root / "data"));
    EXPECT_EQ(udd.MyFavoritesFile(), m_root / "data" / "cmf.ini");
    EXPECT_EQ(udd.TroubleMakersFile(), m_root / "data" / "ctm.ini");

    m_store.WriteString("User Data Directory", "", Under("Program Files/Tavlix/udd"));
    EXPECT_FALSE(udd.CheckUserDataDirectory(Under("data"), error, 0));
    EXPECT_EQ(error, kUnderProduct);
    EXPECT_EQ(udd.Current(), "");
}

TEST_F(UserDataDirectoryTest, SetUserDataDirectoryMakesAppliesAndStores)
{
    UserDataDirectory udd = Make();
    std::string error;
    EXPECT_FALSE(udd.SetUserDataDirectory(Under("Program Files/Tavlix/x"), true, error));
    EXPECT_EQ(error, kUnderProduct);
    EXPECT_EQ(Stored(), "<none>");
    EXPECT_TRUE(udd.SetUserDataDirectory(Under("my/data/") + " ", true, error));
    EXPECT_EQ(error, "");
    EXPECT_EQ(udd.Current(), Under("my/data"));
    EXPECT_EQ(Stored(), Under("my/data"));
    EXPECT_EQ(udd.MyFavoritesFile(), m_root / "my" / "data" / "cmf.ini");

    WriteBytes(m_root / "file", "x");
    EXPECT_FALSE(udd.SetUserDataDirectory(Under("file/sub"), false, error));
    EXPECT_EQ(error, "Failed in creating directory " + Under("file/sub") + ".");
    EXPECT_EQ(Stored(), Under("my/data"));
    EXPECT_EQ(udd.MyFavoritesFile(), m_root / "my" / "data" / "cmf.ini");
}

TEST_F(UserDataDirectoryTest, SetUpAsksOnlyWhenNeitherCurrentNorStoredDirectoryWill)
{
    const struct {
        const char* name;
        const char* current;
        const char* stored;
        bool userChooses;
        int dialogs;
        bool result;
    } cases[] = {
        {"current is valid", "current", "Program Files/Tavlix/bad", false, 0, true},
        {"stored is valid", nullptr, "stored", false, 0, true},
        {"user chooses", nullptr, nullptr, true, 1, true},
        {"user cancels", nullptr, "Program Files/Tavlix/bad", false, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_store = InMemoryProfileStore();
        UserDataDirectory udd = Make();
        std::string error;
        if (c.current)
            udd.SetUserDataDirectory(Under(c.current), true, error);
        if (c.stored)
            m_store.WriteString("User Data Directory", "", Under(c.stored));
        int dialogs = 0;
        EXPECT_EQ(udd.SetUpUserDataDirectory([&] {
            ++dialogs;
            if (c.userChooses)
                udd.SetUserDataDirectory(udd.SuggestUserDataDirectory(), true, error);
        }), c.result);
        EXPECT_EQ(dialogs, c.dialogs);
        EXPECT_EQ(udd.Current().empty(), !c.result);
    }
    EXPECT_FALSE(Make().SetUpUserDataDirectory(nullptr));
}

TEST_F(UserDataDirectoryTest, SuggestionTakesTheFirstFreeOrFolderCandidate)
{
    const std::string base = "Brelmor User Data";
    const struct {
        const char* name;
        bool administrator;
        int basesTaken;     // files named base, base (1), ...
        int productsTaken;  // files named Tavlix, Tavlix (1), ... in the first base
        std::string expected;
    } cases[] = {
        {"user", false, 0, 0, base + "/Tavlix"},
        {"administrator", true, 0, 0, base + "/Tavlix"},
        {"base is a file", true, 1, 0, base + " (1)/Tavlix"},
        {"user's base is fixed", false, 1, 0, base + "/Tavlix"},
        {"five bases taken", true, 5, 0, base + " (5)/Tavlix"},
        {"all bases taken", true, 6, 0, ""},
        {"product folder is a file", false, 0, 1, base + "/Tavlix (1)"},
        {"all product folders taken", true, 0, 6, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(m_documents);
        fs::create_directories(m_documents / base);
        for (int i = 0; i < c.productsTaken; ++i)
            WriteBytes(m_documents / base / (i ? "Tavlix (" + std::to_string(i) + ")" : "Tavlix"), "x");
        if (c.basesTaken > 0)
            fs::remove_all(m_documents / base);
        for (int i = 0; i < c.basesTaken; ++i)
            WriteBytes(m_documents / (i ? base + " (" + std::to_string(i) + ")" : base), "x");
        EXPECT_EQ(Make(c.administrator).SuggestUserDataDirectory(),
                  c.expected.empty() ? "" : (m_documents / c.expected).string());
    }
    EXPECT_EQ(UserDataDirectory(m_store, m_language, m_root, "", true).SuggestUserDataDirectory(), "");
}

TEST_F(UserDataDirectoryTest, ChangingDirectoryRefusesAsksToCopyAndStores)
{
    UserDataDirectory udd = Make();
    std::string error;
    ASSERT_TRUE(udd.SetUserDataDirectory(Under("old"), true, error));
    std::vector<std::string> questions;
    bool copy = false;
    const auto ask = [&](const std::string& question) {
        questions.push_back(question);
        return copy;
    };
    EXPECT_TRUE(udd.ChangeUserDataDirectory(" " + Under("OLD") + " ", ask, error));  // the same: nothing
    EXPECT_FALSE(udd.ChangeUserDataDirectory("/", ask, error));
    EXPECT_EQ(error, "Changes to User Data Directory were not saved for the following reason:\r\n\r\n" + kRoot);
    EXPECT_TRUE(questions.empty());
    EXPECT_EQ(udd.Current(), Under("old"));

    for (const char* fresh : {"no", "yes"}) {
        copy = *fresh == 'y';
        questions.clear();
        WriteBytes(fs::path(udd.Current()) / "sub" / "cmf.ini", "[MF]\r\n");
        EXPECT_TRUE(udd.ChangeUserDataDirectory(Under(fresh), ask, error));
        EXPECT_EQ(questions.size(), 1u);
        EXPECT_EQ(udd.Current(), Under(fresh));
        EXPECT_EQ(Stored(), Under(fresh));
        EXPECT_EQ(fs::exists(m_root / fresh / "sub" / "cmf.ini"), copy) << fresh;
    }
    EXPECT_EQ(questions.at(0), "Will you copy the data under the original User Data Directory\r\n\r\n\t" +
                                   Under("no") + "\r\n\r\nto the new User Data Directory\r\n\r\n\t" +
                                   Under("yes") + "?");
}

TEST_F(UserDataDirectoryTest, CopyDirectoryContentCopiesEverythingAndOverwrites)
{
    const fs::path from = m_root / "from", to = m_root / "to";
    WriteBytes(from / "cmf.ini", "new");
    WriteBytes(from / "a" / "b" / ".deep", "deep");
    fs::create_directory_symlink(from, from / "a" / "loop");
    WriteBytes(to / "cmf.ini", "old");
    WriteBytes(to / "mine.txt", "stays");
    EXPECT_TRUE(UserDataDirectory::CopyDirectoryContent(to, from.string() + "/"));
    EXPECT_EQ(ReadBytes(to / "cmf.ini"), "new");
    EXPECT_EQ(ReadBytes(to / "a" / "b" / ".deep"), "deep");
    EXPECT_TRUE(fs::is_symlink(to / "a" / "loop"));
    EXPECT_EQ(ReadBytes(to / "mine.txt"), "stays");

    for (const fs::path& into : {from, from / "inside", from / "." / "a" / "..", fs::path()})
        EXPECT_FALSE(UserDataDirectory::CopyDirectoryContent(into, from)) << into;
    EXPECT_FALSE(UserDataDirectory::CopyDirectoryContent(to, m_root / "missing"));
    EXPECT_FALSE(UserDataDirectory::CopyDirectoryContent(to, from / "cmf.ini"));
    EXPECT_EQ(FolderNames(from), (Names {"a", "cmf.ini"}));
}

TEST_F(UserDataDirectoryTest, WriteTextFileResults)
{
    const fs::path file = m_root / "export" / "MFSaved.txt";
    fs::create_directories(m_root / "folder");
    WriteBytes(m_root / ".hidden.txt", "old");
    WriteBytes(m_root / "file", "x");
    ::mkfifo((m_root / "pipe").c_str(), 0600);
    ::mkfifo((m_root / ".pipe").c_str(), 0600);
    const auto isA = [](const std::string& path, const std::string& list) {
        return "File \"" + path + "\" is a " + list + " file. Please check out the " + list +
               " of this file before writing into it.";
    };
    const auto folder = [](const std::string& path) {
        return "Path \"" + path + "\" points to a directory, not a file.";
    };
    const struct {
        std::string path;
        int result;
        std::string error;
    } cases[] = {
        {file.string(), 1, ""},
        {"  FILE://" + file.string() + " ", 1, ""},
        {"file://" + Backslashed(file.string()), 1, ""},
        {Under("folder"), -1, folder(Under("folder"))},
        {Under("new") + "\\", -1, folder(Under("new") + "/")},
        {Under(".hidden.txt"), -2, isA(Under(".hidden.txt"), "\"Hidden\"")},
        {Under("pipe"), -2, isA(Under("pipe"), "\"System\"")},
        {Under(".pipe"), -2, isA(Under(".pipe"), "\"Hidden\" + \"System\"")},
        {"MFSaved.txt", 0, NotValid("MFSaved.txt")},
        {"file://host/x.txt", 0, NotValid("host/x.txt")},
        {Under("file/x.txt"), 0, NotValid(Under("file/x.txt"))},
    };
    UserDataDirectory udd = Make();
    std::string error;
    for (const auto& c : cases) {
        error = "stale";
        EXPECT_EQ(udd.WriteTextFile(c.path, "1 2 3 4\r\n", error), c.result) << c.path;
        EXPECT_EQ(error, c.error);
    }
    EXPECT_EQ(ReadBytes(file), "1 2 3 4\r\n");
    EXPECT_EQ(FolderNames(file.parent_path()), (Names {"MFSaved.txt"}));
    EXPECT_EQ(ReadBytes(m_root / ".hidden.txt"), "old");
    EXPECT_FALSE(fs::exists(m_root / "new"));

    const LanguageState chinese = MakeLanguage(kLcidEnglish, Edition::SimplifiedChinese);
    UserDataDirectory(m_store, chinese, m_root, m_documents, false).WriteTextFile(Under(".hidden.txt"), "", error);
    EXPECT_EQ(error, "文件“" + Under(".hidden.txt") + "”是\"隐藏\"文件。写入之前，请先检查此文件的\"隐藏\"属性。");
}

TEST_F(UserDataDirectoryTest, WriteTextFileThatFailsKeepsTheOldFile)
{
    WriteBytes(m_root / "export.txt", "old list");
    std::string error;
    int result = 0;
    {
        FileSizeLimit limit(1024);
        result = Make().WriteTextFile(Under("export.txt"), std::string(10'000, 'q'), error);
    }
    EXPECT_EQ(result, -3);
    EXPECT_EQ(error, "Can't write file \"" + Under("export.txt") +
                         "\". Please check if the disk is full, or the directory or disk is write-protected.");
    EXPECT_EQ(ReadBytes(m_root / "export.txt"), "old list");
    EXPECT_EQ(FolderNames(m_root), (Names {"Program Files", "home", "export.txt"}));

    const fs::path file = m_root / ".locked.txt";
    WriteBytes(file, "old");
    if (IsRoot())
        return;  // root may write any file
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_EQ(Make().WriteTextFile(file.string(), "new", error), -2);
    EXPECT_EQ(error, "File \"" + file.string() + "\" is a \"Read-only\" + \"Hidden\" file. Please check out "
                     "the \"Read-only\" + \"Hidden\" of this file before writing into it.");
    EXPECT_EQ(ReadBytes(file), "old");
}

}  // namespace
}  // namespace tavlix
