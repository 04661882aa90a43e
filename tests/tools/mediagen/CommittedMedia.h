#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace tavlix::testing {

// data/ of the source tree, where the generated media are committed.
inline std::filesystem::path DataDirectory() { return TAVLIX_DATA_DIR; }

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The committed files of one data/ subfolder with the given extension, sorted.
inline std::vector<std::filesystem::path> CommittedFiles(const char* folder, const char* extension)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(DataDirectory() / folder))
        if (entry.path().extension() == extension)
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

inline std::uint32_t BigEndian(const std::vector<std::uint8_t>& b, std::size_t at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | b.at(at + std::size_t(i));
    return v;
}

inline std::uint32_t LittleEndian(const std::vector<std::uint8_t>& b, std::size_t at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | b.at(at + std::size_t(i));
    return v;
}

}  // namespace tavlix::testing
