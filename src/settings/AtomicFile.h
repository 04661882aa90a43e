#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace tavlix {

// Writes the whole file or nothing. The bytes go to a temporary file beside the target,
// which is flushed to the disk and then renamed over the target, so a crash, a full disk
// or a failed write never leaves a half-written file: on failure the temporary file is
// removed and the old file stays as it was. Missing parent folders are created first.
// A link is written through, so it stays a link; an existing file keeps its permissions.
// Refused, and left alone: an existing file this user may not write, and anything that is
// not a regular file (a folder, a device, a pipe).
// Returns the empty error code on success.
std::error_code WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

}  // namespace tavlix
