#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "collections/Collection.h"
#include "i18n/LanguageState.h"
#include "common/TextUtilities.h"

namespace tavlix {
namespace {

namespace fs = std::filesystem;

class CollectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("tavlix-collection-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_language.InitLanguage(Edition::Standard, kLcidEnglish);
        CBMUtilities::SetCurrentMaximum(13);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path Write(const std::string& content, const char* name = "cmf.ini")
    {
        std::ofstream(m_dir / name, std::ios::binary) << content;
        return m_dir / name;
    }

    std::string Read(const char* name = "cmf.ini") const
    {
        std::ifstream in(m_dir / name, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    static std::vector<std::string> Questions(const Collection& c) { return c.Questions(); }
    // The note of the item with that question; a marker that no note equals when there is none.
    static std::string NoteOf(const Collection& c, std::string_view question)
    {
        const std::size_t at = c.Find(question);
        return at < c.Items().size() ? c.Items()[at].note : "(no item " + std::string(question) + ")";
    }

    fs::path m_dir;
    LanguageState m_language;
};

TEST_F(CollectionTest, LoadStopsAtAGapOrAnEntryWithoutComma)
{
    Collection c(true);
    c.Load(Write("[My Favorites]\r\nfmf 1 = 3 3 8 8,classic\r\nfmf 3 = 1 2 3 4,\r\n"));
    EXPECT_EQ(Questions(c), std::vector<std::string>{"3 3 8 8"});

    c.Load(Write("[My Favorites]\r\nfmf 1 = 1 2 3 4,a\r\nfmf 2 = 5 5 5 5\r\nfmf 3 = 1 1 1 8,b\r\n"));
    EXPECT_EQ(Questions(c), std::vector<std::string>{"1 2 3 4"});

    c.Load(m_dir / "missing.ini");
    EXPECT_TRUE(c.Items().empty());
}

TEST_F(CollectionTest, LoadDropsInvalidAndRepeatedQuestionsAndSorts)
{
    Collection c(false);
    c.Load(Write("[Trouble Makers]\r\nfmt 1 = 13 13 13 12, jqk \r\nfmt 2 = 0 1 2 3,zero\r\n"
                 "fmt 3 = 1 2 3 10,ten\r\nfmt 4 = 1 2 3 9,nine\r\nfmt 5 = 1 2 3 10,again\r\n"
                 "fmt 6 = 8 3 8 3,unsorted\r\n",
                 "ctm.ini"));
    ASSERT_EQ(Questions(c), (std::vector<std::string>{"1 2 3 9", "1 2 3 10", "8 3 8 3", "13 13 13 12"}));
    EXPECT_EQ(c.Items()[1].note, "ten");
    EXPECT_EQ(c.Items()[3].note, "jqk");
}

TEST_F(CollectionTest, NormalizeLeavesASingleItemAlone)
{
    Collection c(true);
    c.Items() = {{"1 2 3", {}, "invalid"}};
    c.Normalize();
    ASSERT_EQ(c.Items().size(), 1u);
    c.Items().push_back({"1 2 3", {}, "again"});
    c.Normalize();
    EXPECT_TRUE(c.Items().empty());
}

TEST_F(CollectionTest, NotesSurviveASaveAndLoad)
{
    const std::vector<std::string> notes = {
        "a, b, c", "\"quoted\" and 'single'", "<B End> <html> >> <<", "中文备注，还有逗号",
        "first line\r\nsecond line", "", "  trailing comma,", "%1 #1 {{Block}}", "key = value"};
    Collection saved(true);
    for (std::size_t i = 0; i < notes.size(); ++i)
        saved.Items().push_back({"1 1 1 " + std::to_string(i + 1), {}, notes[i]});
    std::string error;
    ASSERT_TRUE(saved.Save(m_dir / "cmf.ini", m_language, error)) << error;

    Collection loaded(true);
    loaded.Load(m_dir / "cmf.ini");
    ASSERT_EQ(loaded.Items().size(), notes.size());
    for (std::size_t i = 0; i < notes.size(); ++i) {
        EXPECT_EQ(NoteOf(loaded, "1 1 1 " + std::to_string(i + 1)), std::string(TrimBlanksAndLineEnds(notes[i])))
            << notes[i];
    }
}

TEST_F(CollectionTest, SavedFileHoldsOnlyTheNumberedKeys)
{
    Collection c(false);
    c.Items() = {{"4 4 10 10", {}, "hard"}, {"1 5 5 5", {}, ""}};
    std::string error;
    ASSERT_TRUE(c.Save(m_dir / "ctm.ini", m_language, error));
    EXPECT_EQ(Read("ctm.ini"), "[Trouble Makers]\r\nfmt 1 = 1 5 5 5,\r\nfmt 2 = 4 4 10 10,hard\r\n");
}

// Runs body in a child process and returns its exit code, or -signal when it was killed
// after waitMs (0: not killed).
template <typename Body>
int InChild(Body body, int killAfterMs = 0)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(body());
    if (killAfterMs > 0) {
        ::usleep(useconds_t(killAfterMs) * 1000);
        ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

Collection ManyItems(const std::string& note)
{
    Collection c(true);
    for (int a = 1; a <= 13; ++a)
        for (int b = a; b <= 13; ++b)
            for (int d = b; d <= 13; ++d)
                c.Items().push_back({std::to_string(a) + " " + std::to_string(b) + " 7 " + std::to_string(d), {}, note});
    return c;
}

TEST_F(CollectionTest, AFailedSaveLeavesTheOldFile)
{
    Collection c(true);
    c.Items() = {{"3 3 8 8", {}, "old"}};
    std::string error;
    ASSERT_TRUE(c.Save(m_dir / "cmf.ini", m_language, error));
    const std::string before = Read();

    // The disk takes no more than 64 bytes per file: the new file cannot be written.
    const int code = InChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64, 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        Collection bigger = ManyItems("new");
        std::string reason;
        const bool saved = bigger.Save(m_dir / "cmf.ini", m_language, reason);
        return !saved && reason.find("cmf.ini") != std::string::npos ? 0 : 1;
    });
    EXPECT_EQ(code, 0) << "the save did not fail with the file's name in the reason";
    EXPECT_EQ(Read(), before);
    Collection loaded(true);
    loaded.Load(m_dir / "cmf.ini");
    EXPECT_EQ(Questions(loaded), std::vector<std::string>{"3 3 8 8"});
}

TEST_F(CollectionTest, ASaveKilledMidWriteLeavesAWholeFile)
{
    const Collection first = ManyItems("first");
    const Collection second = ManyItems("second");
    std::string error;
    ASSERT_TRUE(Collection(first).Save(m_dir / "cmf.ini", m_language, error));
    for (int killAfterMs : {1, 3, 7, 15, 30}) {
        SCOPED_TRACE(killAfterMs);
        InChild([&] {
            for (int round = 0;; ++round) {
                Collection next = round % 2 ? first : second;
                std::string reason;
                next.Save(m_dir / "cmf.ini", m_language, reason);
            }
            return 0;
        }, killAfterMs);
        Collection loaded(true);
        loaded.Load(m_dir / "cmf.ini");
        ASSERT_EQ(loaded.Items().size(), first.Items().size());
        const std::string note = loaded.Items().front().note;
        EXPECT_TRUE(note == "first" || note == "second") << note;
        EXPECT_TRUE(std::all_of(loaded.Items().begin(), loaded.Items().end(),
                                [&](const CollectionItem& item) { return item.note == note; }));
    }
    // Whatever temporary file a killed save left behind, the next save and load work.
    Collection last(true);
    last.Items() = {{"3 3 8 8", {}, "last"}};
    ASSERT_TRUE(last.Save(m_dir / "cmf.ini", m_language, error)) << error;
    Collection loaded(true);
    loaded.Load(m_dir / "cmf.ini");
    EXPECT_EQ(Questions(loaded), std::vector<std::string>{"3 3 8 8"});
}

TEST_F(CollectionTest, AByteOrderMarkIsNoPartOfTheFile)
{
    Collection c(true);
    c.Load(Write("\xEF\xBB\xBF[My Favorites]\r\nfmf 1 = 3 3 8 8,classic\r\nfmf 2 = 1 2 3 4,easy\r\n"));
    EXPECT_EQ(Questions(c), (std::vector<std::string>{"1 2 3 4", "3 3 8 8"}));
    c.Items().push_back({"1 1 1 8", {}, "new"});
    std::string error;
    ASSERT_TRUE(c.Save(m_dir / "cmf.ini", m_language, error)) << error;
    Collection again(true);
    again.Load(m_dir / "cmf.ini");
    EXPECT_EQ(again.Items().size(), 3u);
    EXPECT_EQ(NoteOf(again, "3 3 8 8"), "classic");
}

TEST_F(CollectionTest, AFileNotUnderstoodIsSetAsideBeforeItIsOverwritten)
{
    const std::string foreign = "[Meine Favoriten]\r\nfmf 1 = 3 3 8 8,classic\r\n";
    Collection c(true);
    c.Load(Write(foreign));
    EXPECT_TRUE(c.Items().empty());
    c.Items().push_back({"1 2 3 4", {}, "new"});
    std::string error;
    ASSERT_TRUE(c.Save(m_dir / "cmf.ini", m_language, error)) << error;
    EXPECT_EQ(Read("cmf (not understood).ini"), foreign);
    EXPECT_EQ(Read(), "[My Favorites]\r\nfmf 1 = 1 2 3 4,new\r\n");

    // Set aside once: later saves only write the collection.
    c.Items().push_back({"3 3 8 8", {}, "again"});
    ASSERT_TRUE(c.Save(m_dir / "cmf.ini", m_language, error)) << error;
    EXPECT_FALSE(fs::exists(m_dir / "cmf (not understood 2).ini"));

    // A second file not understood keeps the first copy and takes the next name.
    Collection later(true);
    later.Load(Write("garbage"));
    ASSERT_TRUE(later.Save(m_dir / "cmf.ini", m_language, error)) << error;
    EXPECT_EQ(Read("cmf (not understood).ini"), foreign);
    EXPECT_EQ(Read("cmf (not understood 2).ini"), "garbage");

    // An empty collection as the program writes it, and comments, are understood.
    for (const char* understood : {"[My Favorites]\r\n", "; mine\r\n[My Favorites]\r\n", "", "\r\n"}) {
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        Collection plain(true);
        plain.Load(Write(understood));
        ASSERT_TRUE(plain.Save(m_dir / "cmf.ini", m_language, error)) << error;
        EXPECT_FALSE(fs::exists(m_dir / "cmf (not understood).ini")) << understood;
    }
}

TEST_F(CollectionTest, NothingIsWrittenWhenAFileNotUnderstoodCannotBeSetAside)
{
    Collection c(true);
    c.Load(Write("[Something else]\r\n"));
    // The name the copy would take is a folder that is not empty: the copy fails.
    fs::create_directories(m_dir / "cmf (not understood).ini" / "inside");
    for (int n = 2; n <= 100; ++n)
        fs::create_directories(Collection::SetAsidePath(m_dir / "cmf.ini", n));
    c.Items().push_back({"1 2 3 4", {}, "new"});
    std::string error;
    EXPECT_FALSE(c.Save(m_dir / "cmf.ini", m_language, error));
    EXPECT_NE(error.find("not understood"), std::string::npos) << error;
    EXPECT_EQ(Read(), "[Something else]\r\n");
}

TEST_F(CollectionTest, HostileFilesLoadWhatCanBeLoaded)
{
    std::string garbage(100000, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 131) % 256);
    Collection c(true);
    c.Load(Write(garbage));
    EXPECT_TRUE(c.Items().empty());
    c.Load(Write("[My Favorites]\r\nfmf 1 = 3 3 8 8,ok\r\n" + garbage));
    EXPECT_EQ(Questions(c), std::vector<std::string>{"3 3 8 8"});
}

TEST_F(CollectionTest, AMillionItemsLoadAndSave)
{
    std::string file = "[My Favorites]\r\n";
    file.reserve(40u << 20);
    for (int n = 1; n <= 1000000; ++n) {
        const int a = 1 + n % 13, b = 1 + (n / 13) % 13, c = 1 + (n / 169) % 13, d = 1 + (n / 2197) % 13;
        file += "fmf " + std::to_string(n) + " = " + std::to_string(a) + " " + std::to_string(b) + " " +
                std::to_string(c) + " " + std::to_string(d) + ",note " + std::to_string(n) + "\r\n";
    }
    Collection c(true);
    c.Load(Write(file));
    // Every distinct text once: 13^4 orderings of the numbers.
    EXPECT_EQ(c.Items().size(), 28561u);
    std::string error;
    EXPECT_TRUE(c.Save(m_dir / "cmf.ini", m_language, error));
    Collection again(true);
    again.Load(m_dir / "cmf.ini");
    EXPECT_EQ(again.Items().size(), 28561u);
}

TEST_F(CollectionTest, SaveToChecksWhileTyping)
{
    Collection c(false);
    c.Items() = {{"3 3 8 8", {}, ""}};
    EXPECT_EQ(CheckSaveToQuestion("8 3 8 3", c, 13, m_language).status, "The question already exists in \"Trouble Makers\".");
    EXPECT_FALSE(CheckSaveToQuestion("8 3 8 3", c, 13, m_language).okEnabled);
    EXPECT_TRUE(CheckSaveToQuestion(" 1 2 3 4 ", c, 13, m_language).okEnabled);
    EXPECT_EQ(CheckSaveToQuestion("1 2 3", c, 13, m_language).status, "");
    EXPECT_EQ(CheckSaveToQuestion("1 2 3 44", c, 13, m_language).status, "Invalid question.");
    EXPECT_TRUE(CheckSaveToQuestion("1 2 3 11", c, 13, m_language).okEnabled);
    EXPECT_FALSE(CheckSaveToQuestion("1 2 3 11", c, 10, m_language).okEnabled);
}

TEST_F(CollectionTest, ItemDialogStoresTheSortedForm)
{
    Collection c(true);
    c.Items() = {{"3 3 8 8", {}, ""}, {"1 2 3 4", {}, ""}};
    ItemCheck check = CheckItem("5 3 2 4", c, std::string::npos, m_language);
    EXPECT_EQ(check.result, ItemCheck::Accepted);
    EXPECT_EQ(check.storedQuestion, "2 3 4 5");
    EXPECT_EQ(check.message, "Your question is reordered and saved as:\r\n\r\n\t2 3 4 5");
    EXPECT_EQ(CheckItem("2 3 4 5", c, std::string::npos, m_language).message, "");
    EXPECT_EQ(CheckItem("8 8 3 3", c, std::string::npos, m_language).result, ItemCheck::Duplicate);
    EXPECT_EQ(CheckItem("8 8 3 3", c, 0, m_language).result, ItemCheck::Accepted) << "its own question";
    EXPECT_EQ(CheckItem("1 2 3", c, 0, m_language).result, ItemCheck::Invalid);
}

TEST_F(CollectionTest, SolutionsAndInstructionTexts)
{
    EXPECT_EQ(SolutionsText("1 2 3 4", false, m_language, true), "A1: 4*(1+2+3)\r\nA2: (1+3)*(2+4)\r\nA3: 1*2*3*4");
    EXPECT_EQ(SolutionsText("1 1 1 1", true, m_language, true), "There is no solution.");
    EXPECT_TRUE(SolutionsText("1 2", false, m_language, true).starts_with("Please enter the 24 question"));
    EXPECT_TRUE(SolutionsText("1 2 3 4 5", false, m_language, true).starts_with("The question is not valid!"));
    EXPECT_TRUE(SolutionsText("1 2", false, m_language, false).starts_with("The question is not valid!"));
    // Court cards are read whatever the J/Q/K choice, and the choice is kept.
    CBMUtilities::SetCurrentMaximum(10);
    EXPECT_NE(SolutionsText("12 12 1 1", false, m_language, true), "There is no solution.");
    EXPECT_EQ(CBMUtilities::GetCurrentMaximum(), 10u);
}

TEST_F(CollectionTest, ExportText)
{
    Collection c(true);
    c.Items() = {{"1 1 1 1", {}, ""}, {"3 3 8 8", {}, "nice"}};
    EXPECT_EQ(ExportText(c, {"My list", true, false}, m_language),
              "\t\tMy list\r\n\r\nQ1: 1 1 1 1\r\nNote: \r\n(None)\r\nQ2: 3 3 8 8\r\nNote: \r\nnice");
    EXPECT_EQ(ExportText(c, {"T", false, true}, m_language),
              "\t\tT\r\n\r\nQ1: 1 1 1 1\r\nThere is no solution.\r\n\r\nQ2: 3 3 8 8\r\nA1: 8/(3-8/3)");
}

}  // namespace
}  // namespace tavlix
