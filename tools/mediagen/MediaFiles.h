#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavlix::mediagen {

struct MediaFile {
    std::string path;  // relative to data/, with forward slashes
    std::vector<std::uint8_t> bytes;
};

// Every factory media file the program ships, as it is committed: the seven music
// tracks under music/, the six event sounds under sounds/ and images/back.bmp.
std::vector<MediaFile> BuildMediaFiles();

}  // namespace tavlix::mediagen
