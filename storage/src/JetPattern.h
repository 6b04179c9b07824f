#pragma once
// The LIKE patterns of the stored filter texts: "*" any run of characters,
// "?" one character, "#" one digit, "[abc]" / "[a-z]" / "[!a-z]" one
// character of (or not of) a list. Letters match without regard to ASCII
// case, so a search finds a name however its letters are cased.

#include <sqlite3.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace storage {

class JetPattern {
public:
    enum class Shape {
        MatchAll,    // only "*": every value matches
        SimpleLike,  // only "*", "?" and plain characters: SQLite's LIKE does it
        General,     // needs this class's own matcher
    };

    // nullopt for a malformed pattern (an unclosed or empty "[").
    static std::optional<JetPattern> Compile(std::string_view pattern);

    bool Matches(std::string_view value) const;
    Shape shape() const;
    // The fewest characters a matching value has.
    size_t MinLength() const;
    // The most plain characters that stand next to each other.
    size_t LongestLiteralRun() const;
    // The same pattern for SQLite's LIKE with ESCAPE '\'; only for SimpleLike.
    std::string SqlLikePattern() const;
    // The same pattern as an anchored regular expression for PostgreSQL's
    // case-insensitive "~*" (the server's matcher for "#" and "[...]").
    std::string RegexPattern() const;

private:
    struct Item {
        enum class Kind { Star, Any, Digit, Literal, Class } kind;
        char32_t ch = 0;
        bool negated = false;
        std::vector<std::pair<char32_t, char32_t>> ranges;
        static Item Of(Kind k, char32_t c = 0) {
            Item item{k, 0, false, {}};
            item.ch = c;
            return item;
        }
    };
    bool ItemMatches(const Item& item, char32_t c) const;

    std::vector<Item> items_;
};

// Adds the SQL function vt_like(value, pattern) to a connection.
int RegisterJetLike(sqlite3* db);

}  // namespace storage
