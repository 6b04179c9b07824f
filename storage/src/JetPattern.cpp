#include "JetPattern.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace storage {

namespace {

// Code points of a UTF-8 text; a byte that is no valid sequence stands for itself.
std::vector<char32_t> Decode(std::string_view s) {
    std::vector<char32_t> out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        bool valid = len > 0 && i + len <= s.size();
        char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; valid && k < len; ++k) {
            unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80)
                valid = false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!valid) {
            out.push_back(c);
            ++i;
        } else {
            out.push_back(cp);
            i += len;
        }
    }
    return out;
}

void Encode(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char32_t Fold(char32_t c) {
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

}  // namespace

std::optional<JetPattern> JetPattern::Compile(std::string_view pattern) {
    JetPattern p;
    std::vector<char32_t> cps = Decode(pattern);
    for (size_t i = 0; i < cps.size(); ++i) {
        char32_t c = cps[i];
        if (c == '*') {
            if (p.items_.empty() || p.items_.back().kind != Item::Kind::Star)
                p.items_.push_back(Item::Of(Item::Kind::Star));
        } else if (c == '?') {
            p.items_.push_back(Item::Of(Item::Kind::Any));
        } else if (c == '#') {
            p.items_.push_back(Item::Of(Item::Kind::Digit));
        } else if (c == '[') {
            Item item = Item::Of(Item::Kind::Class);
            size_t j = i + 1;
            if (j < cps.size() && cps[j] == '!') {
                item.negated = true;
                ++j;
            }
            size_t start = j;
            while (j < cps.size() && cps[j] != ']') {
                char32_t lo = cps[j];
                if (j + 2 < cps.size() && cps[j + 1] == '-' && cps[j + 2] != ']') {
                    char32_t hi = cps[j + 2];
                    if (hi < lo)
                        return std::nullopt;
                    item.ranges.emplace_back(lo, hi);
                    j += 3;
                } else {
                    item.ranges.emplace_back(lo, lo);
                    ++j;
                }
            }
            if (j >= cps.size() || j == start)
                return std::nullopt;
            i = j;
            // "[*]", "[?]", "[#]", "[[]": one plain character.
            if (!item.negated && item.ranges.size() == 1 &&
                item.ranges[0].first == item.ranges[0].second) {
                p.items_.push_back(Item::Of(Item::Kind::Literal, item.ranges[0].first));
            } else {
                p.items_.push_back(std::move(item));
            }
        } else {
            p.items_.push_back(Item::Of(Item::Kind::Literal, c));
        }
    }
    return p;
}

JetPattern::Shape JetPattern::shape() const {
    bool allStar = !items_.empty();
    bool simple = true;
    for (const Item& item : items_) {
        if (item.kind != Item::Kind::Star)
            allStar = false;
        if (item.kind == Item::Kind::Digit || item.kind == Item::Kind::Class)
            simple = false;
    }
    if (allStar)
        return Shape::MatchAll;
    return simple ? Shape::SimpleLike : Shape::General;
}

size_t JetPattern::MinLength() const {
    size_t n = 0;
    for (const Item& item : items_) n += item.kind != Item::Kind::Star;
    return n;
}

size_t JetPattern::LongestLiteralRun() const {
    size_t longest = 0, run = 0;
    for (const Item& item : items_) {
        run = item.kind == Item::Kind::Literal ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

std::string JetPattern::SqlLikePattern() const {
    std::string out;
    for (const Item& item : items_) {
        switch (item.kind) {
            case Item::Kind::Star:
                out += '%';
                break;
            case Item::Kind::Any:
                out += '_';
                break;
            case Item::Kind::Literal:
                if (item.ch == '%' || item.ch == '_' || item.ch == '\\')
                    out += '\\';
                Encode(item.ch, out);
                break;
            default:
                break;
        }
    }
    return out;
}

namespace {

// One character inside or outside a bracket expression, taken literally.
void RegexChar(char32_t c, std::string& out) {
    if (c < 0x80 && !std::isalnum(static_cast<int>(c)))
        out += '\\';
    Encode(c, out);
}

}  // namespace

std::string JetPattern::RegexPattern() const {
    std::string out = "^";
    for (const Item& item : items_) {
        switch (item.kind) {
            case Item::Kind::Star:
                out += ".*";
                break;
            case Item::Kind::Any:
                out += '.';
                break;
            case Item::Kind::Digit:
                out += "[0-9]";
                break;
            case Item::Kind::Literal:
                RegexChar(item.ch, out);
                break;
            case Item::Kind::Class:
                out += item.negated ? "[^" : "[";
                for (const auto& [lo, hi] : item.ranges) {
                    RegexChar(lo, out);
                    if (hi != lo) {
                        out += '-';
                        RegexChar(hi, out);
                    }
                }
                out += ']';
                break;
        }
    }
    return out + "$";
}

bool JetPattern::ItemMatches(const Item& item, char32_t c) const {
    switch (item.kind) {
        case Item::Kind::Any:
            return true;
        case Item::Kind::Digit:
            return c >= '0' && c <= '9';
        case Item::Kind::Literal:
            return Fold(item.ch) == Fold(c);
        case Item::Kind::Class: {
            bool in = false;
            for (const auto& [lo, hi] : item.ranges) {
                char32_t lower = Fold(c);
                char32_t upper = (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c;
                if ((c >= lo && c <= hi) || (lower >= lo && lower <= hi) ||
                    (upper >= lo && upper <= hi)) {
                    in = true;
                    break;
                }
            }
            return in != item.negated;
        }
        case Item::Kind::Star:
            return false;
    }
    return false;
}

bool JetPattern::Matches(std::string_view value) const {
    std::vector<char32_t> s = Decode(value);
    size_t pi = 0, si = 0;
    size_t starItem = std::string::npos, starPos = 0;
    while (si < s.size()) {
        if (pi < items_.size() && items_[pi].kind == Item::Kind::Star) {
            starItem = pi++;
            starPos = si;
        } else if (pi < items_.size() && ItemMatches(items_[pi], s[si])) {
            ++pi;
            ++si;
        } else if (starItem != std::string::npos) {
            pi = starItem + 1;
            si = ++starPos;
        } else {
            return false;
        }
    }
    while (pi < items_.size() && items_[pi].kind == Item::Kind::Star) ++pi;
    return pi == items_.size();
}

namespace {

void DeletePattern(void* p) {
    delete static_cast<JetPattern*>(p);
}

void VtLike(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    auto* pattern = static_cast<JetPattern*>(sqlite3_get_auxdata(ctx, 1));
    if (!pattern) {
        const char* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
        auto compiled = JetPattern::Compile(text ? text : "");
        if (!compiled) {
            sqlite3_result_error(ctx, "invalid pattern", -1);
            return;
        }
        pattern = new JetPattern(std::move(*compiled));
        sqlite3_set_auxdata(ctx, 1, pattern, DeletePattern);
        // SQLite may have dropped it at once; take it back if it kept it.
        pattern = static_cast<JetPattern*>(sqlite3_get_auxdata(ctx, 1));
        if (!pattern) {
            auto again = JetPattern::Compile(text ? text : "");
            const char* v = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
            sqlite3_result_int(ctx, again->Matches(v ? v : ""));
            return;
        }
    }
    const char* v = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    int n = sqlite3_value_bytes(argv[0]);
    sqlite3_result_int(ctx, pattern->Matches(std::string_view(v ? v : "", v ? n : 0)));
}

}  // namespace

int RegisterJetLike(sqlite3* db) {
    return sqlite3_create_function_v2(db, "vt_like", 2,
                                      SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                                      nullptr, VtLike, nullptr, nullptr, nullptr);
}

}  // namespace storage
