#pragma once

#include <QFile>

#include <cstdint>
#include <filesystem>
#include <vector>

namespace tavlix::testsound {

// Writes a sound file the test made and gives its path as the player takes it.
inline std::filesystem::path WriteSoundFile(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    QFile out(path);
    if (out.open(QIODevice::WriteOnly))
        out.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    return QFile::encodeName(path).toStdString();
}

}  // namespace tavlix::testsound
