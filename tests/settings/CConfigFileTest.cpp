#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <random>

#include "settings/CConfigFile.h"
#include "SettingsTestSupport.h"

namespace tavlix {
namespace {

using namespace tavlix::testing;
using Lines = std::vector<std::string>;

class CConfigFileTest : public ::testing::Test {
protected:
    CConfigFile LoadText(std::string_view text)
    {
        WriteBytes(m_file, text);
        CConfigFile config;
        EXPECT_TRUE(config.Load(m_file));
        return config;
    }
    std::string SaveText(CConfigFile& config)
    {
        const fs::path out = m_scratch.Path() / "saved.ini";
        EXPECT_TRUE(config.Save(out, m_language));
        return ReadBytes(out);
    }

    ScratchFolder m_scratch;
    fs::path m_file = m_scratch.Path() / "config.ini";
    LanguageState m_language = MakeLanguage();
};

const std::string kLong(5000, 'x');

TEST_F(CConfigFileTest, LoadThenSaveWritesTheNormalForm)
{
    const struct {
        const char* name;
        std::string file;
        std::string saved;
    } cases[] = {
        {"blank lines collapse", "[A]\r\nx = 1\r\n\r\n\r\n[B]\r\ny = 2\r\n", "[A]\r\nx = 1\r\n\r\n[B]\r\ny = 2\r\n"},
        {"one blank before each header", "[A]\r\nx = 1\r\n[B]\r\n[C]\r\n", "[A]\r\nx = 1\r\n\r\n[B]\r\n\r\n[C]\r\n"},
        {"none before a first header", "\r\n \r\n[A]\r\nx = 1\r\n", "[A]\r\nx = 1\r\n"},
        {"lines are trimmed", "  [A] \t\r\n\tx = 1  \r\n", "[A]\r\nx = 1\r\n"},
        {"LF and no final line end", "[A]\nx = 1\n[B]\ny = 2", "[A]\r\nx = 1\r\n\r\n[B]\r\ny = 2\r\n"},
        {"block", "k = {{Block}}\r\n<B Start>\r\na<<b>>\r\n\r\n  c\r\n<B End>\r\n",
         "k = {{Block}}\r\n<B Start>\r\na<<b>>\r\n\r\n  c\r\n<B End>\r\n"},
        {"unclosed block", "k = {{Block}}\r\n<B Start>\r\nv\r\nw", "k = {{Block}}\r\n<B Start>\r\nv\r\nw\r\n<B End>\r\n"},
        {"opener inside a block", "k = {{Block}}\r\na\r\n<B Start>\r\nb\r\n<B End>\r\n",
         "k = {{Block}}\r\n<B Start>\r\na\r\nb\r\n<B End>\r\n"},
        {"one-line block", "k = {{Block}}\r\n<B Start>\r\nv\r\n<B End>\r\nz = 1\r\n", "k = v\r\nz = 1\r\n"},
        {"bare block mark", "[A]\r\n = {{Block}}\r\nx = 1\r\n", "[A]\r\nx = 1\r\n"},
        {"trailing comments", "[A]\r\nx = 1\r\n; one\r\n\r\n; two\r\n", "[A]\r\nx = 1\r\n\r\n; one\r\n; two\r\n"},
        {"comments after the first line", "x = 1\r\n; c\r\n", "x = 1\r\n; c\r\n"},
        {"only comments", "; a\r\n\r\n; b\r\n", "; a\r\n; b\r\n"},
        {"inner comments", "; h\r\n[A]\r\n; n\r\nx = 1\r\n", "; h\r\n\r\n[A]\r\n; n\r\nx = 1\r\n"},
        {"malformed lines", "[A\r\nx=1\r\n[a=b]\r\n]\r\n[]\r\n", "[A\r\nx=1\r\n[a=b]\r\n]\r\n\r\n[]\r\n"},
        {"empty", "", ""},
        {"byte-order mark", "\xEF\xBB\xBF[A]\r\nx = 1\r\n", "[A]\r\nx = 1\r\n"},
        {"byte-order mark later on", "x = 1\r\n\xEF\xBB\xBF\r\n", "x = 1\r\n\xEF\xBB\xBF\r\n"},
        {"two byte-order marks", "\xEF\xBB\xBF\xEF\xBB\xBFx\r\n", "x\r\n"},
        {"byte-order mark after a blank line", " \r\n\r\xEF\xBB\xBF[A]\r\nk = v\r\n", "[A]\r\nk = v\r\n"},
        {"byte-order mark before a block", "\xEF\xBB\xBF = {{Block}}\r\n<B Start>\r\na\r\n<B End>\r\n",
         "<B Start>\r\na\r\n<B End>\r\n"},
        {"block without a key", "[A]\r\n  = {{Block}}\r\n<B Start>\r\na\r\nb\r\n<B End>\r\n",
         "[A]\r\n<B Start>\r\na\r\nb\r\n<B End>\r\n"},
        {"long line", "k = " + kLong + "\r\n", "k = " + kLong + "\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CConfigFile config = LoadText(c.file);
        EXPECT_EQ(SaveText(config), c.saved);
        EXPECT_EQ(LoadText(c.saved).Lines(), config.Lines());
    }
}

TEST_F(CConfigFileTest, ReadingFindsEntriesOfTheirOwnSectionOnly)
{
    CConfigFile config = LoadText("x = 0\r\n[A]\r\nx = 1\r\nlast =  two\r\nk=v\r\nMusic On = true\r\n"
                                  "no = True\r\nyes = untrue\r\nblock = {{Block}}\r\n<B Start>\r\n"
                                  "a<<b\r\nc>>>>\r\n<B End>\r\n[B]\r\nonlyB = 3\r\n");
    const struct {
        const char* section;
        const char* key;
        const char* value;  // nullptr: not found
        bool boolean;
    } cases[] = {
        {"A", "x", "1", false},        {"A", "last", " two", false},       {"A", "k", nullptr, true},
        {"A", "music on", nullptr, true}, {"A", "Music On", "true", true}, {"A", "no", "True", false},
        {"A", "yes", "untrue", true},  {"A", "block", "a<b\r\nc>>", false}, {"A", "onlyB", nullptr, true},
        {"B", "onlyB", "3", false},    {"a", "x", nullptr, true},          {" A\t", "x", "1", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        std::string value = "stale";
        bool flag = !c.boolean;
        EXPECT_EQ(config.GetString(c.section, c.key, value, "default"), c.value != nullptr);
        EXPECT_EQ(value, c.value ? c.value : "default");
        EXPECT_EQ(config.GetBool(c.section, c.key, flag, true), c.value != nullptr);
        EXPECT_EQ(flag, c.boolean);
    }
}

TEST_F(CConfigFileTest, WritingPlacesEntriesInTheirSection)
{
    CConfigFile config = LoadText("[A]\r\nx = 1\r\ny = 2\r\n[B]\r\nz = 3\r\n");
    EXPECT_TRUE(config.SetString("A", "new", "v"));
    EXPECT_TRUE(config.SetBool("A", "x", false));
    EXPECT_TRUE(config.SetBool(" C ", "k", true));
    EXPECT_TRUE(config.SetString("C", "k2", "w"));
    EXPECT_EQ(config.Lines(), (Lines {"[A]", "x = false", "y = 2", "new = v", "", "[B]", "z = 3", "",
                                      "[C]", "k = true", "k2 = w"}));
    CConfigFile empty;
    EXPECT_TRUE(empty.SetString("S", "k", "v"));
    EXPECT_EQ(empty.Lines(), (Lines {"[S]", "k = v"}));
    CConfigFile built;
    built.SetLines({" [A] ", "x = 1", "", "y = a\r\nb"});
    EXPECT_EQ(SaveText(built), "[A]\r\nx = 1\r\ny = {{Block}}\r\n<B Start>\r\na\r\nb\r\n<B End>\r\n");
}

TEST_F(CConfigFileTest, ValuesSurviveASaveExactly)
{
    const struct {
        const char* key;
        std::string value;
        std::string readBack;
    } cases[] = {
        {"leading blank", " v", " v"},
        {"empty", "", ""},
        {"brackets", "<B End> <<x>>", "<B End> <<x>>"},
        {"lines", "a<b\r\n\r\n<B End>\r\nc>", "a<b\r\n\r\n<B End>\r\nc>"},
        {"lone breaks", "a\nb\rc", "a\r\nb\r\nc"},
        {"like a block start", "x = {{Block}}", "x = {{Block}}"},
        {"mark", "{{Block}}", "{{Block}}"},
        {"long", kLong, kLong},
        {"UTF-8", "缺省 ü", "缺省 ü"},
    };
    CConfigFile config;
    for (const auto& c : cases)
        ASSERT_TRUE(config.SetString("Values", c.key, c.value));
    config.SetString("Other", "after", "1");
    CConfigFile again = LoadText(SaveText(config));
    for (const auto& c : cases) {
        std::string value;
        EXPECT_TRUE(again.GetString("Values", c.key, value)) << c.key;
        EXPECT_EQ(value, c.readBack) << c.key;
    }
    EXPECT_EQ(again.Lines().size(), config.Lines().size());
}

TEST_F(CConfigFileTest, KeysAreOneLineAndUnreadableSectionNamesAreRefused)
{
    CConfigFile config;
    EXPECT_TRUE(config.SetString("S", "a\r\nb", "1"));
    EXPECT_TRUE(config.SetString("S", "  c\nd  ", "2"));
    EXPECT_EQ(config.Lines(), (Lines {"[S]", "a    b = 1", "c    d = 2"}));
    std::string value;
    EXPECT_TRUE(config.GetString("S", "a    b", value));

    for (const char* section : {"a=b", "a\r\nb", "a\nb", "a\rb"}) {
        int count = 7;
        EXPECT_FALSE(config.SetString(section, "k", "v")) << section;
        EXPECT_EQ(config.FindOrAddSection(section, count), -1);
        EXPECT_EQ(count, 0);
    }
    for (const char* key : {"", " ", "\r\n"})
        EXPECT_FALSE(config.SetString("S", key, "v"));
    EXPECT_EQ(config.Lines().size(), 3u);
}

TEST_F(CConfigFileTest, FindSectionAndFindKeyStayInsideTheSection)
{
    CConfigFile config = LoadText("[A]\r\nx = 1\r\ny = 2\r\n[B]\r\nw = 5\r\n; end\r\n");
    int count = -1;
    EXPECT_EQ(config.FindSection("B", count), 4);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(config.FindSection("Z", count), -1);
    EXPECT_EQ(count, 0);
    std::string value;
    EXPECT_EQ(config.FindKey(1, "y", value), 2);
    EXPECT_EQ(value, "2");
    for (const int start : {1, -1, 1000})
        EXPECT_EQ(config.FindKey(start, "w", value), -1);
    EXPECT_EQ(config.FindOrAddSection("New", count), 9);  // after "; end" and a blank line
}

TEST_F(CConfigFileTest, WhatIsNoReadableFileLoadsAsAnEmptyList)
{
    const fs::path pipe = m_scratch.Path() / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const fs::path huge = m_scratch.Path() / "huge.ini";
    WriteBytes(huge, "[A]\r\nx = 1\r\n");
    fs::resize_file(huge, CConfigFile::kMaxFileSize + 1);
    for (const fs::path& path :
         {m_scratch.Path() / "missing", m_scratch.Path(), pipe, huge, fs::path(), fs::path("/dev/zero")}) {
        CConfigFile config;
        config.SetString("A", "x", "1");
        EXPECT_TRUE(config.Load(path));
        EXPECT_TRUE(config.Lines().empty()) << path;
    }
}

// Whatever a file holds, loading returns, and after one save the file is stable.
TEST_F(CConfigFileTest, GarbageLoadsAndASecondSaveChangesNothing)
{
    const std::string pieces[] = {"[", "]", "=", " ", "\t", ";", "<", ">", "\r", "\n", std::string(1, '\0'),
                                  "k", "\xe4", "\xff", " = {{Block}}", "<B Start>", "<B End>", " = ", "\r\n"};
    for (unsigned seed = 0; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        std::string garbage = "\t = {{Block}}\n\n = ;\n";  // the key would hold a line break
        while (seed > 0 && garbage.size() < 20000)
            garbage += pieces[random() % std::size(pieces)];
        CConfigFile config = LoadText(garbage);
        const std::string first = SaveText(config);
        CConfigFile again = LoadText(first);
        const std::string second = SaveText(again);
        const auto differs = std::mismatch(first.begin(), first.end(), second.begin(), second.end());
        EXPECT_EQ(differs.first, first.end()) << "seed " << seed << ", byte " << differs.first - first.begin();
    }
}

TEST_F(CConfigFileTest, MillionLineFilesLoadAndSaveInLinearTime)
{
    std::string entries, block = "[B]\nk = {{Block}}\n", comments(1'000'000, '\n');
    comments += "[A]\nx = 1\n" + std::string(2'000'000, ';');
    for (int i = 0; i < 1'000'000; ++i) {
        if (i % 1000 == 0)
            entries += "[S" + std::to_string(i / 1000) + "]\r\n";
        entries += "k" + std::to_string(i % 1000) + " = v\r\n";
        block += "<<a>>\n";
        comments += ";\n";
    }
    ASSERT_GT(entries.size(), 5'000'000u);
    const struct {
        const std::string& text;
        std::size_t lines;
        const char* section;
        const char* key;
    } cases[] = {{entries, 1'000'000 + 1000 + 999, "S999", "k999"}, {block, 2, "B", "k"},
                 {comments, 3 + 1'000'000, "A", "x"}};
    for (const auto& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        CConfigFile config = LoadText(c.text);
        SaveText(config);
        EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 20.0);
        EXPECT_EQ(config.Lines().size(), c.lines);
        std::string value;
        EXPECT_TRUE(config.GetString(c.section, c.key, value));
    }
}

TEST_F(CConfigFileTest, FailedSaveReportsThePathAndKeepsTheOldFile)
{
    WriteBytes(m_file, "[Old]\r\nkept = yes\r\n");
    CConfigFile config;
    config.SetString("New", "value", std::string(100'000, 'n'));
    const struct {
        const char* name;
        fs::path target;
        bool diskFull;
    } cases[] = {{"parent is a file", m_file / "x.ini", false},
                 {"target is a folder", m_scratch.Path(), false},
                 {"disk full half-way", m_file, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        bool saved = true;
        {
            std::optional<FileSizeLimit> limit;
            if (c.diskFull)
                limit.emplace(4096);
            saved = config.Save(c.target, m_language, &error);
        }
        EXPECT_FALSE(saved);
        EXPECT_EQ(error, "Can't write file \"" + c.target.string() + "\". Please check if there is file "
                         "protection for its upper folder, or the file is being used by some other program.");
        EXPECT_EQ(ReadBytes(m_file), "[Old]\r\nkept = yes\r\n");
        EXPECT_EQ(FolderNames(m_scratch.Path()), (std::set<std::string> {"config.ini"}));
    }
    EXPECT_FALSE(config.Save(m_scratch.Path(), m_language));
}

TEST_F(CConfigFileTest, EnsureWritableMakesFoldersButLeavesNoFile)
{
    const fs::path file = m_scratch.Path() / "a" / "b" / "c.ini";
    EXPECT_TRUE(CConfigFile::EnsureWritable(file));
    EXPECT_TRUE(fs::is_directory(file.parent_path()));
    EXPECT_FALSE(fs::exists(file));
    WriteBytes(m_file, "keep");
    EXPECT_TRUE(CConfigFile::EnsureWritable(m_file));
    EXPECT_EQ(ReadBytes(m_file), "keep");
    ASSERT_EQ(::mkfifo((m_scratch.Path() / "pipe").c_str(), 0600), 0);
    for (const fs::path& bad : {m_scratch.Path(), m_file / "x", m_scratch.Path() / "pipe", fs::path()})
        EXPECT_FALSE(CConfigFile::EnsureWritable(bad)) << bad;
}

}  // namespace
}  // namespace tavlix
