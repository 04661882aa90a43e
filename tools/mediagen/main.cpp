// Writes the factory music, event sounds and background picture into a data folder:
//   tavlix-mediagen data
// Each file is replaced whole or left as it was.
#include <exception>
#include <filesystem>
#include <iostream>
#include <string_view>

#include "MediaFiles.h"
#include "settings/AtomicFile.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: tavlix-mediagen DATA-FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    try {
        for (const auto& file : tavlix::mediagen::BuildMediaFiles()) {
            const std::string_view bytes(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
            if (const std::error_code error = tavlix::WriteFileAtomically(folder / file.path, bytes)) {
                std::cerr << "tavlix-mediagen: can not write " << (folder / file.path).string() << ": "
                          << error.message() << '\n';
                return 1;
            }
            std::cout << file.path << ": " << file.bytes.size() << " bytes\n";
        }
    } catch (const std::exception& e) {
        std::cerr << "tavlix-mediagen: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
