#include "settings/CConfigFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <optional>

#include "settings/AtomicFile.h"
#include "settings/PathText.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "common/TextUtilities.h"

namespace tavlix {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kBlockMark = " = {{Block}}";
constexpr std::string_view kBlockWord = "{{Block}}";
constexpr std::string_view kBlockStart = "<B Start>";
constexpr std::string_view kBlockEnd = "<B End>";
constexpr std::string_view kEquals = " = ";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool IsSectionHeader(std::string_view trimmed)
{
    return trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']' &&
           trimmed.find('=') == std::string_view::npos;
}

bool IsComment(std::string_view trimmed) { return !trimmed.empty() && trimmed.front() == ';'; }

// The header line of a section, or nothing for a name that could not be read back as
// one: "=" would stop the header being a header, a line break would split it.
std::optional<std::string> SectionHeader(std::string_view name)
{
    if (name.find_first_of("=\r\n") != std::string_view::npos)
        return std::nullopt;
    return "[" + std::string(TrimBlanksAndLineEnds(name)) + "]";
}

// A key is one line: each line break becomes four blanks. Blanks at its ends would not
// survive the trimming of a save, so they are dropped here already.
std::string KeyText(std::string_view key)
{
    std::string text(key);
    ReplaceAll(text, "\r\n", "    ");
    ReplaceAll(text, "\r", "    ");
    ReplaceAll(text, "\n", "    ");
    return std::string(TrimBlanksAndLineEnds(text));
}

// Line breaks in a value are stored as CR LF, the only break a block keeps; a lone CR
// or LF would otherwise split the line on disk.
std::string ValueText(std::string_view value)
{
    std::string text;
    text.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\r' || c == '\n') {
            text += kLineEnd;
            if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n')
                ++i;
        } else {
            text.push_back(c);
        }
    }
    return text;
}

// Inside a block "<" and ">" are doubled, so no value line can look like an opener or
// a closer; reading undoes it, one pair at a time from the left.
std::string Doubled(std::string_view line)
{
    std::string text;
    text.reserve(line.size());
    for (const char c : line) {
        text.push_back(c);
        if (c == '<' || c == '>')
            text.push_back(c);
    }
    return text;
}

std::string Undoubled(std::string_view text)
{
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        plain.push_back(text[i]);
        if ((text[i] == '<' || text[i] == '>') && i + 1 < text.size() && text[i + 1] == text[i])
            ++i;
    }
    return plain;
}

bool ReadRegularFile(const fs::path& path, std::string& bytes)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return false;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size > CConfigFile::kMaxFileSize)
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.resize(std::size_t(size));
    in.read(bytes.data(), std::streamsize(size));
    bytes.resize(std::size_t(in.gcount()));
    return true;
}

// Editors may put a byte-order mark before the first line; it is no part of it. Marks,
// with the blanks and line ends that trimming drops before them, go from the front of
// the first line with content: a saved file starts with that line and must read back
// the same.
std::string_view WithoutLeadingMarks(std::string_view line)
{
    for (;;) {
        const std::size_t content = line.find_first_not_of(" \t\r\n");
        if (content == std::string_view::npos || !line.substr(content).starts_with(kUtf8ByteOrderMark))
            return line;
        line.remove_prefix(content + kUtf8ByteOrderMark.size());
    }
}

// Physical lines to logical lines: a block becomes one line "key = " followed by its
// value lines joined by CR LF. A line is kept whole whatever its length, also beyond the
// 1,022 characters that other readers of this format take, so no value is ever cut.
std::vector<std::string> LogicalLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    std::optional<std::string> blockKey;
    std::string blockValue;
    bool firstValueLine = true;
    bool sawContent = false;  // the first line with content decides where the file starts
    const auto finishBlock = [&] {
        lines.push_back(*blockKey + Undoubled(blockValue));
        blockKey.reset();
    };

    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (!sawContent) {
            line = WithoutLeadingMarks(line);
            if (TrimBlanksAndLineEnds(line).empty())
                continue;
            sawContent = true;
        }

        if (!blockKey) {
            if (!line.ends_with(kBlockMark)) {
                lines.emplace_back(line);
            } else if (!TrimBlanksAndLineEnds(line.substr(0, line.size() - kBlockMark.size())).empty()) {
                // A block needs a key: without one its value could never be written back.
                blockKey = std::string(line.substr(0, line.size() - kBlockWord.size()));
                blockValue.clear();
                firstValueLine = true;
            }
        } else if (line == kBlockEnd) {
            finishBlock();
        } else if (line != kBlockStart) {
            if (!firstValueLine)
                blockValue += kLineEnd;
            blockValue += line;
            firstValueLine = false;
        }
    }
    if (blockKey)
        finishBlock();
    return lines;
}

}  // namespace

bool CConfigFile::Load(const fs::path& path)
{
    m_lines.clear();
    std::string bytes;
    if (ReadRegularFile(path, bytes))
        m_lines = LogicalLines(bytes);
    Normalize();
    return true;
}

bool CConfigFile::Save(const fs::path& path, const LanguageState& language,
                       std::string* errorText)
{
    Normalize();
    if (EnsureWritable(path) && !WriteFileAtomically(path, Serialize()))
        return true;
    if (errorText) {
        *errorText = language.GetLocalizedString(IDS_ERROR_FILE_CAN_NOT_WRITE_FILE_CHECK_FP);
        ReplaceAll(*errorText, "#1", path.string());
    }
    return false;
}

bool CConfigFile::GetString(std::string_view section, std::string_view key, std::string& value,
                            std::string_view defaultValue) const
{
    int entryCount = 0;
    const int header = FindSection(section, entryCount);
    if (header >= 0 && FindKey(header + 1, key, value) >= 0)
        return true;
    value = defaultValue;
    return false;
}

bool CConfigFile::GetBool(std::string_view section, std::string_view key, bool& value,
                          bool defaultValue) const
{
    std::string text;
    if (!GetString(section, key, text)) {
        value = defaultValue;
        return false;
    }
    value = text.find("true") != std::string::npos;
    return true;
}

bool CConfigFile::SetString(std::string_view section, std::string_view key,
                            std::string_view value)
{
    const std::string keyText = KeyText(key);
    int entryCount = 0;
    if (keyText.empty() || !SectionHeader(section))
        return false;
    const int header = FindOrAddSection(section, entryCount);
    std::string line = keyText;
    line += kEquals;
    line += ValueText(value);
    std::string oldValue;
    const int existing = FindKey(header + 1, keyText, oldValue);
    if (existing >= 0)
        m_lines[std::size_t(existing)] = std::move(line);
    else
        m_lines.insert(m_lines.begin() + header + 1 + entryCount, std::move(line));
    return true;
}

bool CConfigFile::SetBool(std::string_view section, std::string_view key, bool value)
{
    return SetString(section, key, value ? "true" : "false");
}

int CConfigFile::FindSection(std::string_view name, int& entryCount) const
{
    entryCount = 0;
    const std::optional<std::string> header = SectionHeader(name);
    if (!header)
        return -1;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i] != *header)
            continue;
        for (std::size_t j = i + 1; j < m_lines.size(); ++j) {
            const std::string_view line = TrimBlanksAndLineEnds(m_lines[j]);
            if (line.empty() || IsSectionHeader(line))
                break;
            ++entryCount;
        }
        return int(i);
    }
    return -1;
}

int CConfigFile::FindOrAddSection(std::string_view name, int& entryCount)
{
    const int found = FindSection(name, entryCount);
    const std::optional<std::string> header = SectionHeader(name);
    if (found >= 0 || !header)
        return found;
    if (!m_lines.empty() && !TrimBlanksAndLineEnds(m_lines.back()).empty())
        m_lines.emplace_back();
    m_lines.push_back(*header);
    return int(m_lines.size()) - 1;
}

int CConfigFile::FindKey(int startIndex, std::string_view key, std::string& value) const
{
    const std::string keyText = KeyText(key);
    if (startIndex < 0 || keyText.empty())
        return -1;
    const std::string prefix = keyText + std::string(kEquals);
    // A saved entry with an empty value has lost its last blank to the trimming.
    const std::string_view emptyEntry = std::string_view(prefix).substr(0, prefix.size() - 1);
    for (std::size_t i = std::size_t(startIndex); i < m_lines.size(); ++i) {
        const std::string& line = m_lines[i];
        if (IsSectionHeader(TrimBlanksAndLineEnds(line)))
            break;
        if (line.starts_with(prefix)) {
            value = line.substr(prefix.size());
            return int(i);
        }
        if (line == emptyEntry) {
            value.clear();
            return int(i);
        }
    }
    return -1;
}

bool CConfigFile::EnsureWritable(const fs::path& path)
{
    if (!path.has_filename())
        return false;
    std::error_code ec;
    if (path.has_parent_path())
        fs::create_directories(path.parent_path(), ec);
    if (ec)
        return false;

    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        // Opening a device or a pipe could block or have effects of its own.
        if (!S_ISREG(info.st_mode))
            return false;
        const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0)
            return false;
        ::close(fd);
        return true;
    }
    if (errno != ENOENT)
        return false;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(path.c_str());
    return true;
}

// After it: every line trimmed, no blank lines but one before each section header that
// is not the first line, and one before a closing run of comments.
void CConfigFile::Normalize()
{
    std::vector<std::string> lines;
    lines.reserve(m_lines.size() + m_lines.size() / 8 + 1);
    for (const std::string& line : m_lines) {
        const std::string_view trimmed = TrimBlanksAndLineEnds(line);
        if (trimmed.empty())
            continue;
        if (IsSectionHeader(trimmed) && !lines.empty())
            lines.emplace_back();
        lines.emplace_back(trimmed);
    }
    std::size_t firstTrailingComment = lines.size();
    while (firstTrailingComment > 0 && IsComment(lines[firstTrailingComment - 1]))
        --firstTrailingComment;
    // Only when the walk stopped at a line that is neither the first nor the last.
    if (firstTrailingComment >= 2 && firstTrailingComment < lines.size())
        lines.insert(lines.begin() + std::ptrdiff_t(firstTrailingComment), std::string());
    m_lines = std::move(lines);
}

// A value with line breaks is written as a block; so is a value that ends like a block
// start, which would otherwise be read back as one.
std::string CConfigFile::Serialize() const
{
    std::string text;
    for (const std::string& line : m_lines) {
        if (line.find(kLineEnd) == std::string::npos && !line.ends_with(kBlockMark)) {
            text += line;
            text += kLineEnd;
            continue;
        }
        // The key must lie on the first line; a text without one can not be a block.
        const std::size_t equals = line.find(kEquals);
        if (equals == std::string::npos || equals > line.find(kLineEnd))
            continue;
        text.append(line, 0, equals);
        text += kBlockMark;
        text += kLineEnd;
        text += kBlockStart;
        text += kLineEnd;
        for (const std::string& valueLine :
             GetSAFromMLString(std::string_view(line).substr(equals + kEquals.size()))) {
            text += Doubled(valueLine);
            text += kLineEnd;
        }
        text += kBlockEnd;
        text += kLineEnd;
    }
    return text;
}

}  // namespace tavlix
