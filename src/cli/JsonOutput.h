#pragma once

#include <iosfwd>
#include <string>

#include <nlohmann/json.hpp>

namespace tavlix::cli {

// JSON with its members in the order they were added, as tavlix-cli has always written them.
using Json = nlohmann::ordered_json;

// The value on one line without spaces. Bytes that are not UTF-8 (a history file may hold
// any) become U+FFFD, so the output stays JSON.
std::string JsonText(const Json& value);

// A JSON array written one element a line: "[", each element on a line of its own, then "]"
// on its own line. Long lists are written while they are made, and a reader can take them
// line by line.
class JsonArrayLines {
public:
    explicit JsonArrayLines(std::ostream& out);
    void Add(const Json& element);
    void End();

private:
    std::ostream& m_out;
    bool m_empty = true;
};

}  // namespace tavlix::cli
