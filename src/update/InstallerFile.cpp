#include "update/InstallerFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <span>

#include "common/TextUtilities.h"
#include "settings/PathText.h"

namespace tavlix {

namespace {

namespace fs = std::filesystem;

bool EndsWithNoCase(std::string_view text, std::string_view ending)
{
    return text.size() >= ending.size() && EqualsIgnoringCase(text.substr(text.size() - ending.size()), ending);
}

// The address without its query and fragment: what names the file.
std::string_view AddressPath(std::string_view address) { return address.substr(0, address.find_first_of("?#")); }

// The installer kinds taken; the first ones are this platform's own, which the save
// picker lists.
constexpr std::array<std::string_view, 6> kInstallerKinds = {".deb", ".rpm", ".AppImage", ".tar.gz", ".exe", ".tar.xz"};
constexpr std::size_t kPlatformKinds = 4;

// One rename that fails with EEXIST instead of replacing the target.
std::error_code RenameWithoutReplacing(const fs::path& from, const fs::path& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return {};
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return {errno, std::generic_category()};
    // A file system without that flag: a second link to the file is refused on a taken
    // name just the same.
    if (::link(from.c_str(), to.c_str()) != 0)
        return {errno, std::generic_category()};
    ::unlink(from.c_str());
    return {};
}

}  // namespace

std::string AddressFileName(std::string_view address)
{
    const std::string_view path = AddressPath(address);
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string InstallerExtension(std::string_view fileName)
{
    for (const std::string_view kind : kInstallerKinds)
        if (fileName.size() > kind.size() && EndsWithNoCase(fileName, kind))
            return std::string(fileName.substr(fileName.size() - kind.size()));
    return {};
}

bool IsWebPageName(std::string_view fileName)
{
    return EndsWithNoCase(fileName, ".htm") || EndsWithNoCase(fileName, ".html");
}

std::string InstallerPatterns(std::string_view offeredExtension)
{
    std::string patterns;
    bool listed = offeredExtension.empty();
    for (const std::string_view kind : std::span(kInstallerKinds).first(kPlatformKinds)) {
        patterns += (patterns.empty() ? "*" : ";*") + std::string(kind);
        listed = listed || EqualsIgnoringCase(kind, offeredExtension);
    }
    return listed ? patterns : patterns + ";*" + std::string(offeredExtension);
}

fs::path ResolveSavePath(std::string_view typed, const fs::path& home, const fs::path& saveFolder,
                         std::string_view offeredName)
{
    const std::string normalized = NormalizeTypedPath(typed);
    std::string_view rest = normalized;
    const bool inHome = rest == "~" || rest.starts_with("~/");
    if (inHome)
        rest.remove_prefix(std::min<std::size_t>(2, rest.size()));
    const fs::path path = (inHome ? home : saveFolder) / rest;  // an absolute path replaces the folder
    std::error_code error;
    return rest.empty() || fs::is_directory(path, error) ? path / offeredName : path;
}

fs::path InstallerCandidate(const fs::path& savePath, std::string_view extension, int copy)
{
    std::string stem = savePath.filename().string();
    if (EndsWithNoCase(stem, extension))
        stem.resize(stem.size() - extension.size());
    const std::string ending = (copy > 0 ? "(" + std::to_string(copy) + ")" : "") + std::string(extension);
    const std::size_t room = kMaxFileNameBytes > ending.size() ? kMaxFileNameBytes - ending.size() : 0;
    return savePath.parent_path() / (std::string(Utf8Prefix(stem, room)) + ending);
}

fs::path InstallerTargetPath(const fs::path& savePath, std::string_view extension,
                             const std::function<bool(const fs::path&)>& exists)
{
    int copy = 0;
    while (exists(InstallerCandidate(savePath, extension, copy)))
        ++copy;
    return InstallerCandidate(savePath, extension, copy);
}

std::optional<fs::path> MoveToFreeName(const fs::path& from, const fs::path& savePath, std::string_view extension,
                                       std::error_code& error)
{
    for (int copy = 0;; ++copy) {
        const fs::path target = InstallerCandidate(savePath, extension, copy);
        error = RenameWithoutReplacing(from, target);
        if (!error)
            return target;
        if (error != std::errc::file_exists)
            return std::nullopt;
    }
}

}  // namespace tavlix
