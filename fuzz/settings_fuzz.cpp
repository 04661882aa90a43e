// Feeds arbitrary bytes as a file on disk to the two readers of the program's own files:
// the settings file (CConfigFile) and the collections (Collection) read from it.
//
// Each input is loaded, saved to a second file and loaded from there again. Whatever the
// first load could read must survive the save: the logical lines of the settings file,
// the values of a few keys the program reads, and the items of both collections. A loss
// traps so that the fuzzer keeps the input.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "collections/Collection.h"
#include "i18n/LanguageState.h"
#include "settings/CConfigFile.h"

namespace fs = std::filesystem;

namespace {

// Every save ends with an fsync, which on a disk costs more than the rest of a run:
// the files live in memory where the system offers it.
fs::path ScratchParent()
{
    std::error_code ec;
    return fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
}

// A folder of this process's own, removed at exit and before a trap: parallel fuzzing
// jobs do not share files, and a failed input leaves none behind.
class ScratchFolder {
public:
    ScratchFolder()
        : m_path(ScratchParent() / ("tavlix-fuzz-settings-" + std::to_string(::getpid())))
    {
        fs::create_directories(m_path);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() { Remove(); }
    void Remove() const
    {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    fs::path File(std::string_view name) const { return m_path / name; }

private:
    fs::path m_path;
};

const ScratchFolder& Scratch()
{
    static const ScratchFolder folder;
    return folder;
}

const tavlix::LanguageState& English()
{
    static const tavlix::LanguageState language = [] {
        tavlix::LanguageState state;
        state.InitLanguage(tavlix::Edition::Standard, tavlix::kLcidEnglish);
        return state;
    }();
    return language;
}

void Check(bool condition)
{
    if (condition)
        return;
    Scratch().Remove();
    __builtin_trap();
}

struct Key {
    std::string_view section;
    std::string_view key;
};

// Keys the program reads from music.ini and the collection files, and one with a block.
constexpr Key kKeys[] = {
    {"Music", "Music On"},
    {"Music", "General Background Music Path"},
    {"Sound", "Correct"},
    {"My Favorites", "fmf 1"},
    {"Trouble Makers", "fmt 1"},
    {"Notes", "k"},
};

std::vector<std::string> ReadKeys(const tavlix::CConfigFile& config)
{
    std::vector<std::string> values;
    for (const Key& k : kKeys) {
        std::string value;
        bool flag = false;
        const bool found = config.GetString(k.section, k.key, value);
        Check(config.GetBool(k.section, k.key, flag) == found);
        values.push_back((found ? "+" : "-") + value);
    }
    return values;
}

void RoundTripConfig(const fs::path& input, const fs::path& saved)
{
    tavlix::CConfigFile config;
    config.Load(input);
    const std::vector<std::string> lines = config.Lines();
    const std::vector<std::string> values = ReadKeys(config);
    std::string errorText;
    Check(config.Save(saved, English(), &errorText));

    tavlix::CConfigFile reread;
    reread.Load(saved);
    Check(reread.Lines() == lines);
    Check(ReadKeys(reread) == values);
}

bool SameItems(const std::vector<tavlix::CollectionItem>& a,
               const std::vector<tavlix::CollectionItem>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].question != b[i].question || a[i].note != b[i].note)
            return false;
    return true;
}

void RoundTripCollection(bool isMyFavorites, const fs::path& input, const fs::path& saved)
{
    tavlix::Collection collection(isMyFavorites);
    collection.Load(input);
    const std::vector<tavlix::CollectionItem> items = collection.Items();
    std::string errorText;
    Check(collection.Save(saved, English(), errorText));

    tavlix::Collection reread(isMyFavorites);
    reread.Load(saved);
    Check(SameItems(reread.Items(), items));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fs::path input = Scratch().File("input.ini");
    const fs::path saved = Scratch().File("saved.ini");
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
        Check(bool(out));
    }
    RoundTripConfig(input, saved);
    RoundTripCollection(true, input, saved);
    RoundTripCollection(false, input, saved);
    return 0;
}
