#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace tavlix {

// The last part of an address or path, after its last "/" or "\"; the query and the
// fragment of an address do not count.
std::string AddressFileName(std::string_view address);

// The installer kind a file name ends with, as spelled there: ".exe", ".deb",
// ".AppImage", ".tar.gz" or ".tar.xz", compared without regard to case; empty for any
// other name.
std::string InstallerExtension(std::string_view fileName);

// Ends with ".htm" or ".html", without regard to case.
bool IsWebPageName(std::string_view fileName);

// Where a downloaded installer is stored: the folder of savePath (fallbackFolder when
// it has none), and its file name without a final `extension`, followed by the
// extension. When that file exists, "name(1)", "name(2)" ... are tried in turn.
std::filesystem::path InstallerTargetPath(const std::filesystem::path& savePath, std::string_view extension,
                                          const std::filesystem::path& fallbackFolder,
                                          const std::function<bool(const std::filesystem::path&)>& exists);

}  // namespace tavlix
