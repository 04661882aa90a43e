#include "update/InstallerFile.h"

#include <array>

#include "settings/PathText.h"

namespace tavlix {

namespace {

bool EndsWithNoCase(std::string_view text, std::string_view ending)
{
    return text.size() >= ending.size() && EqualsIgnoringCase(text.substr(text.size() - ending.size()), ending);
}

// The address without its query and fragment: what names the file.
std::string_view AddressPath(std::string_view address) { return address.substr(0, address.find_first_of("?#")); }

}  // namespace

std::string AddressFileName(std::string_view address)
{
    const std::string_view path = AddressPath(address);
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string InstallerExtension(std::string_view fileName)
{
    static constexpr std::array<std::string_view, 5> kKinds = {".exe", ".deb", ".AppImage", ".tar.gz", ".tar.xz"};
    for (const std::string_view kind : kKinds)
        if (fileName.size() > kind.size() && EndsWithNoCase(fileName, kind))
            return std::string(fileName.substr(fileName.size() - kind.size()));
    return {};
}

bool IsWebPageName(std::string_view fileName)
{
    return EndsWithNoCase(fileName, ".htm") || EndsWithNoCase(fileName, ".html");
}

std::filesystem::path InstallerTargetPath(const std::filesystem::path& savePath, std::string_view extension,
                                          const std::filesystem::path& fallbackFolder,
                                          const std::function<bool(const std::filesystem::path&)>& exists)
{
    const std::filesystem::path folder = savePath.has_parent_path() ? savePath.parent_path() : fallbackFolder;
    std::string stem = savePath.filename().string();
    if (EndsWithNoCase(stem, extension))
        stem.resize(stem.size() - extension.size());
    std::filesystem::path target = folder / (stem + std::string(extension));
    for (int copy = 1; exists(target); ++copy)
        target = folder / (stem + "(" + std::to_string(copy) + ")" + std::string(extension));
    return target;
}

}  // namespace tavlix
