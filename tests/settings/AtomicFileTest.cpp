#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>

#include "settings/AtomicFile.h"
#include "SettingsTestSupport.h"

namespace tavlix {
namespace {

using namespace tavlix::testing;

TEST(AtomicFileTest, WritesExactBytesAndKeepsPermissionsAndLinks)
{
    ScratchFolder scratch;
    const fs::path file = scratch.Path() / "a" / "b" / "data.bin";
    const std::string bytes("one\r\ntwo\0three\xff\n", 17);
    EXPECT_FALSE(WriteFileAtomically(file, bytes));
    EXPECT_EQ(ReadBytes(file), bytes);
    WriteBytes(scratch.Path() / "plain", "x");
    EXPECT_EQ(fs::status(file).permissions(), fs::status(scratch.Path() / "plain").permissions());

    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(file, mode);
    fs::create_symlink("b/data.bin", scratch.Path() / "a" / "link");
    EXPECT_FALSE(WriteFileAtomically(scratch.Path() / "a" / "link", ""));
    EXPECT_TRUE(fs::is_symlink(scratch.Path() / "a" / "link"));
    EXPECT_EQ(ReadBytes(file), "");
    EXPECT_EQ(fs::status(file).permissions(), mode);
    EXPECT_EQ(FolderNames(file.parent_path()), (std::set<std::string> {"data.bin"}));
}

// Each failure leaves the folder as it was: the old file whole, no temporary file.
TEST(AtomicFileTest, AFailedWriteChangesNothing)
{
    const struct {
        const char* name;
        std::function<fs::path(const fs::path&)> target;
        std::size_t size;
    } cases[] = {
        {"target is a folder", [](const fs::path& f) { fs::create_directory(f / "d"); return f / "d"; }, 1},
        {"parent is a file", [](const fs::path& f) { return f / "old.ini" / "x.ini"; }, 1},
        {"target is a pipe", [](const fs::path& f) { ::mkfifo((f / "p").c_str(), 0600); return f / "p"; }, 1},
        {"no file name", [](const fs::path& f) { return f / ""; }, 1},
        {"empty path", [](const fs::path&) { return fs::path(); }, 1},
        {"disk full half-way", [](const fs::path& f) { return f / "old.ini"; }, 64 * 1024},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder scratch;
        WriteBytes(scratch.Path() / "old.ini", "old settings");
        const fs::path target = c.target(scratch.Path());
        const std::set<std::string> before = FolderNames(scratch.Path());
        std::error_code ec;
        {
            FileSizeLimit limit(4096);
            ec = WriteFileAtomically(target, std::string(c.size, 'n'));
        }
        EXPECT_TRUE(ec);
        EXPECT_EQ(ReadBytes(scratch.Path() / "old.ini"), "old settings");
        EXPECT_EQ(FolderNames(scratch.Path()), before);
    }
}

TEST(AtomicFileTest, AFileThisUserMayNotWriteIsLeftAlone)
{
    if (IsRoot())
        GTEST_SKIP() << "root may write any file";
    ScratchFolder scratch;
    const fs::path file = scratch.Path() / "locked.ini";
    WriteBytes(file, "old");
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_EQ(WriteFileAtomically(file, "new"), std::errc::permission_denied);
    EXPECT_EQ(ReadBytes(file), "old");
}

}  // namespace
}  // namespace tavlix
