#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavlix {

class LanguageState;

// A settings file of sections ("[name]"), entries ("key = value") and multi-line values
// stored as blocks ("key = {{Block}}", "<B Start>", the lines with "<" and ">" doubled,
// "<B End>"). The whole file is held as a list of logical lines, a block being one line
// whose value holds its lines joined by CR LF. Files are UTF-8 text written with CR LF
// line ends; reading takes CR LF or LF.
//
// One object per file: Load, then reads; or Load, writes, Save. No file stays open
// between calls.
class CConfigFile {
public:
    // Replaces the list by the file's lines and normalises it. A file that is missing,
    // unreadable, not a regular file or larger than kMaxFileSize gives an empty list.
    // Returns true in every case.
    bool Load(const std::filesystem::path& path);
    // Normalises the list and writes it atomically: on failure the old file is left as it
    // was, false is returned and errorText (when given) receives the message to show.
    bool Save(const std::filesystem::path& path, const LanguageState& language,
              std::string* errorText = nullptr);
    void Clear() { m_lines.clear(); }

    // The entry's value and true; the default and false when the section or key is
    // missing.
    bool GetString(std::string_view section, std::string_view key, std::string& value,
                   std::string_view defaultValue = {}) const;
    // As GetString; a value is true when it contains "true" anywhere (case-sensitive).
    bool GetBool(std::string_view section, std::string_view key, bool& value,
                 bool defaultValue = false) const;
    // Writes "key = value" into the section, adding either when missing. False, with
    // nothing changed, for a section name holding "=" or a line break, or an empty key.
    bool SetString(std::string_view section, std::string_view key, std::string_view value);
    bool SetBool(std::string_view section, std::string_view key, bool value);

    // Index of the section's header line, or -1; entryCount receives the number of lines
    // after the header up to the next blank line or header.
    int FindSection(std::string_view name, int& entryCount) const;
    // As FindSection, appending the section (after a blank line) when it is missing; -1
    // for a name that can not be a section name.
    int FindOrAddSection(std::string_view name, int& entryCount);
    // Index of the entry for key from startIndex up to the next section header, or -1;
    // value receives the text after "key = ".
    int FindKey(int startIndex, std::string_view key, std::string& value) const;

    // Creates the missing folders along path and checks that the file can be opened for
    // writing; a file made only for that test is removed again.
    static bool EnsureWritable(const std::filesystem::path& path);

    const std::vector<std::string>& Lines() const { return m_lines; }
    // Replaces the list by lines a caller built whole (a collection of many entries, where
    // entry-by-entry writes would search the list each time); Save normalises them.
    void SetLines(std::vector<std::string> lines) { m_lines = std::move(lines); }

    // Larger files are not settings files of this program; they load as an empty list
    // rather than exhaust the memory.
    static constexpr std::uintmax_t kMaxFileSize = 64u << 20;

private:
    void Normalize();
    std::string Serialize() const;

    std::vector<std::string> m_lines;
};

}  // namespace tavlix
