#include "platform/SoundFileCheck.h"

#include <cstring>
#include <optional>

namespace tavlix {

namespace {

bool HasTag(std::span<const std::uint8_t> bytes, std::size_t at, const char (&tag)[5])
{
    return bytes.size() >= at + 4 && std::memcmp(bytes.data() + at, tag, 4) == 0;
}

std::uint32_t BigEndian(std::span<const std::uint8_t> bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | bytes[at + std::size_t(i)];
    return value;
}

// Reads the events of one track, the way a sequencer walks them.
class TrackReader {
public:
    explicit TrackReader(std::span<const std::uint8_t> track) : m_track(track) {}

    bool ReadAll()
    {
        while (m_at < m_track.size()) {
            if (!Quantity() || !Event())
                return false;
        }
        return true;
    }

private:
    // A variable-length quantity: at most four bytes, the last without its top bit.
    std::optional<std::uint32_t> Quantity()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4 && m_at < m_track.size(); ++i) {
            const std::uint8_t byte = m_track[m_at++];
            value = value << 7 | (byte & 0x7Fu);
            if (!(byte & 0x80))
                return value;
        }
        return std::nullopt;
    }

    bool Skip(std::size_t count)
    {
        if (m_track.size() - m_at < count)
            return false;
        m_at += count;
        return true;
    }

    bool DataBytes(int count)
    {
        for (int i = 0; i < count; ++i) {
            if (m_at >= m_track.size() || (m_track[m_at] & 0x80))
                return false;
            ++m_at;
        }
        return true;
    }

    bool Event()
    {
        if (m_at >= m_track.size())
            return false;
        std::uint8_t status = m_track[m_at];
        if (status & 0x80) {
            ++m_at;
        } else {
            if (!m_runningStatus)
                return false;
            status = m_runningStatus;
        }
        if (status < 0xF0) {
            m_runningStatus = status;
            const std::uint8_t kind = status & 0xF0;
            return DataBytes(kind == 0xC0 || kind == 0xD0 ? 1 : 2);
        }
        // Meta and system exclusive events end any running status.
        m_runningStatus = 0;
        if (status == 0xFF) {
            if (m_at >= m_track.size())
                return false;
            const std::uint8_t type = m_track[m_at++];
            const std::optional<std::uint32_t> length = Quantity();
            if (!length || (type == 0x51 && *length != 3))  // a tempo is three bytes
                return false;
            return Skip(*length);
        }
        if (status == 0xF0 || status == 0xF7) {
            const std::optional<std::uint32_t> length = Quantity();
            return length && Skip(*length);
        }
        return false;
    }

    std::span<const std::uint8_t> m_track;
    std::size_t m_at = 0;
    std::uint8_t m_runningStatus = 0;
};

}  // namespace

bool IsWellFormedMidi(std::span<const std::uint8_t> file)
{
    if (!HasTag(file, 0, "MThd") || file.size() < 14)
        return false;
    const std::uint32_t headerLength = BigEndian(file, 4, 4);
    const std::uint32_t format = BigEndian(file, 8, 2);
    const std::uint32_t tracks = BigEndian(file, 10, 2);
    const std::uint32_t division = BigEndian(file, 12, 2);
    if (headerLength < 6 || format > 1 || tracks == 0 || (format == 0 && tracks != 1)
        || division == 0 || (division & 0x8000))
        return false;

    if (file.size() - 8 < headerLength)
        return false;
    std::size_t at = 8 + std::size_t(headerLength);
    std::uint32_t tracksFound = 0;
    while (at < file.size()) {
        if (file.size() - at < 8)
            return false;
        const std::size_t length = BigEndian(file, at + 4, 4);
        const std::size_t body = at + 8;
        if (file.size() - body < length)
            return false;
        // Chunks of other kinds are skipped, as the format allows.
        if (HasTag(file, at, "MTrk")) {
            if (!TrackReader(file.subspan(body, length)).ReadAll())
                return false;
            ++tracksFound;
        }
        at = body + length;
    }
    return tracksFound >= tracks;
}

bool HasWaveHeader(std::span<const std::uint8_t> start)
{
    return HasTag(start, 0, "RIFF") && HasTag(start, 8, "WAVE");
}

}  // namespace tavlix
