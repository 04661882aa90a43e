#include "cli/JsonOutput.h"

#include <ostream>

namespace tavlix::cli {

std::string JsonText(const Json& value)
{
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

JsonArrayLines::JsonArrayLines(std::ostream& out) : m_out(out)
{
    m_out << '[';
}

void JsonArrayLines::Add(const Json& element)
{
    m_out << (m_empty ? "\n" : ",\n") << JsonText(element);
    m_empty = false;
}

void JsonArrayLines::End()
{
    m_out << "\n]";
}

}  // namespace tavlix::cli
