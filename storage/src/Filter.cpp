#include "storage/Filter.h"

#include "FilterParser.h"

namespace storage {

Result<Filter> Filter::Parse(std::string_view text, const TableSchema& schema, Dialect dialect) {
    Filter filter;
    filter.dialect_ = dialect;
    FilterParser parser(text, schema, filter);
    Status s = parser.Run();
    if (!s.ok())
        return s;
    return filter;
}

std::string QuoteText(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += '\'';
        out += c;
    }
    return out + "'";
}

std::string EscapeLikeText(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '*' || c == '?' || c == '#' || c == '[') {
            out += '[';
            out += c;
            out += ']';
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace storage
