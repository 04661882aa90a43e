#pragma once

#include <filesystem>

namespace tavlix {

// Whether the file is a Windows bitmap that holds all the pixel data its header promises.
// Decoders draw the missing rows of a file cut short from whatever memory held, so only
// a whole bitmap may become the background. Uncompressed pixels are counted from the width,
// height and bits per pixel; compressed ones (run-length coded) from the header's image size.
bool IsWholeBitmap(const std::filesystem::path& file);

}  // namespace tavlix
