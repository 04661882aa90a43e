#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace tavlix {

// The longest file name, in bytes, that the usual file systems take.
inline constexpr std::size_t kMaxFileNameBytes = 255;

// The last part of an address or path, after its last "/" or "\"; the query and the
// fragment of an address do not count.
std::string AddressFileName(std::string_view address);

// The installer kind a file name ends with, as spelled there: ".exe", ".deb", ".rpm",
// ".AppImage", ".tar.gz" or ".tar.xz", compared without regard to case; empty for any
// other name.
std::string InstallerExtension(std::string_view fileName);

// Ends with ".htm" or ".html", without regard to case.
bool IsWebPageName(std::string_view fileName);

// The save picker's patterns for the installers of this platform, "*.deb;*.rpm;
// *.AppImage;*.tar.gz", followed by the offered file's own extension when it is none of
// these.
std::string InstallerPatterns(std::string_view offeredExtension);

// The file a path typed into the save box names: "~" and "~/..." lie in the home folder,
// a relative path in the save folder. An empty path, or one that names a folder, stands
// for the offered file name in that folder.
std::filesystem::path ResolveSavePath(std::string_view typed, const std::filesystem::path& home,
                                      const std::filesystem::path& saveFolder, std::string_view offeredName);

// The names an installer may be stored under, in the order they are tried: copy 0 is
// the save path's file name without a final `extension`, followed by the extension;
// copy n puts "(n)" before the extension. The name is shortened, never the number nor
// the extension, to fit kMaxFileNameBytes.
std::filesystem::path InstallerCandidate(const std::filesystem::path& savePath, std::string_view extension,
                                         int copy);

// The first candidate that `exists` does not report.
std::filesystem::path InstallerTargetPath(const std::filesystem::path& savePath, std::string_view extension,
                                          const std::function<bool(const std::filesystem::path&)>& exists);

// Moves a finished download to the first candidate that is free at that moment, each
// try one step that never replaces a file, so a file that appeared meanwhile keeps its
// name and the download takes the next number. The stored path, or nothing with the
// reason in `error`.
std::optional<std::filesystem::path> MoveToFreeName(const std::filesystem::path& from,
                                                    const std::filesystem::path& savePath,
                                                    std::string_view extension, std::error_code& error);

}  // namespace tavlix
