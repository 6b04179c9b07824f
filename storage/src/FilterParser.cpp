#include "FilterParser.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>

#include "JetPattern.h"
#include "storage/DateTimeText.h"

namespace storage {

namespace {

constexpr int kMaxDepth = 200;

bool IsWordStart(unsigned char c) {
    return std::isalpha(c) || c == '_' || c >= 0x80;
}
bool IsWordChar(unsigned char c) {
    return std::isalnum(c) || c == '_' || c >= 0x80;
}

bool IsNumericColumn(ColumnType t) {
    return t == ColumnType::AutoNumber || t == ColumnType::Long || t == ColumnType::Byte ||
           t == ColumnType::YesNo;
}

bool ParseNumber(const std::string& s, Value& out) {
    std::int64_t n = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    if (ec == std::errc() && p == s.data() + s.size()) {
        out = Value(n);
        return true;
    }
    double d = 0;
    auto [q, ec2] = std::from_chars(s.data(), s.data() + s.size(), d);
    if (ec2 == std::errc() && q == s.data() + s.size() && !s.empty()) {
        out = Value(d);
        return true;
    }
    return false;
}

// Splits "a<sep>b<sep>c" into whole numbers; false unless exactly `count` parts.
bool SplitNumbers(std::string_view s, const char* seps, int count, int* out, int* digits) {
    int part = 0;
    size_t i = 0;
    while (part < count) {
        size_t start = i;
        int v = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
            v = v * 10 + (s[i] - '0');
            if (v > 100000)
                return false;
            ++i;
        }
        if (i == start)
            return false;
        out[part] = v;
        if (digits)
            digits[part] = static_cast<int>(i - start);
        ++part;
        if (part == count)
            break;
        if (i >= s.size() || !std::strchr(seps, s[i]))
            return false;
        ++i;
    }
    return i == s.size();
}

// A filter's date literal: "y/m/d h:m:s" with a four-digit year first,
// otherwise the month first; the time may be left out or have no seconds.
bool ParseDateLiteral(std::string_view s, std::string& out) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    size_t space = s.find(' ');
    std::string_view datePart = s.substr(0, space);
    std::string_view timePart;
    if (space != std::string_view::npos) {
        timePart = s.substr(space + 1);
        while (!timePart.empty() && timePart.front() == ' ') timePart.remove_prefix(1);
    }
    int d[3], digits[3];
    if (!SplitNumbers(datePart, "/-", 3, d, digits))
        return false;
    vt::LocalTime t;
    if (digits[0] == 4) {
        t.year = d[0], t.month = d[1], t.day = d[2];
    } else {
        t.month = d[0], t.day = d[1], t.year = d[2];
        if (digits[2] <= 2)
            t.year += t.year < 30 ? 2000 : 1900;
    }
    if (!timePart.empty()) {
        int h[3];
        if (SplitNumbers(timePart, ":", 3, h, nullptr)) {
            t.hour = h[0], t.minute = h[1], t.second = h[2];
        } else if (SplitNumbers(timePart, ":", 2, h, nullptr)) {
            t.hour = h[0], t.minute = h[1];
        } else {
            return false;
        }
    }
    if (!IsValidLocalTime(t))
        return false;
    out = FormatDateTime(t);
    return true;
}

}  // namespace

Status FilterParser::FailAt(size_t pos, const std::string& what) const {
    return Status(ErrorCode::InvalidFilter, what + " at character " + std::to_string(pos + 1) +
                                                " of filter \"" + std::string(text_) + "\"");
}

Status FilterParser::Fail(const std::string& what) const {
    return FailAt(tok_.pos, what);
}

bool FilterParser::IsWord(const char* word) const {
    return tok_.kind == Token::Kind::Word && tok_.text == word;
}

Status FilterParser::Next() {
    return Lex(tok_);
}

Status FilterParser::Lex(Token& t) {
    while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
    t = Token{};
    t.pos = at_;
    if (at_ >= text_.size())
        return Status::Ok();
    char c = text_[at_];
    if (c == '[') {
        size_t end = text_.find(']', at_ + 1);
        if (end == std::string_view::npos)
            return FailAt(at_, "unclosed '['");
        if (end == at_ + 1)
            return FailAt(at_, "empty field name");
        t.kind = Token::Kind::Name;
        t.text = std::string(text_.substr(at_ + 1, end - at_ - 1));
        at_ = end + 1;
    } else if (c == '\'' || c == '"') {
        t.kind = Token::Kind::Text;
        size_t i = at_ + 1;
        while (true) {
            if (i >= text_.size())
                return FailAt(at_, "unclosed text");
            if (text_[i] == c) {
                if (i + 1 < text_.size() && text_[i + 1] == c) {
                    t.text += c;
                    i += 2;
                    continue;
                }
                break;
            }
            t.text += text_[i++];
        }
        at_ = i + 1;
    } else if (c == '#') {
        size_t end = text_.find('#', at_ + 1);
        if (end == std::string_view::npos)
            return FailAt(at_, "unclosed date");
        t.kind = Token::Kind::Date;
        if (!ParseDateLiteral(text_.substr(at_ + 1, end - at_ - 1), t.text))
            return FailAt(at_, "invalid date");
        at_ = end + 1;
    } else if (std::isdigit(static_cast<unsigned char>(c)) ||
               (c == '.' && at_ + 1 < text_.size() &&
                std::isdigit(static_cast<unsigned char>(text_[at_ + 1])))) {
        t.kind = Token::Kind::Number;
        size_t i = at_;
        while (i < text_.size() &&
               (std::isdigit(static_cast<unsigned char>(text_[i])) || text_[i] == '.'))
            ++i;
        if (i < text_.size() && IsWordChar(static_cast<unsigned char>(text_[i])))
            return FailAt(at_, "invalid number");
        t.text = std::string(text_.substr(at_, i - at_));
        at_ = i;
    } else if (c == '(' || c == ')' || c == ',') {
        t.kind = c == '('   ? Token::Kind::LParen
                 : c == ')' ? Token::Kind::RParen
                            : Token::Kind::Comma;
        ++at_;
    } else if (c == '=' || c == '<' || c == '>') {
        t.kind = Token::Kind::Op;
        t.text = c;
        ++at_;
        if (at_ < text_.size() && c != '=' &&
            (text_[at_] == '=' || (c == '<' && text_[at_] == '>'))) {
            t.text += text_[at_++];
        }
    } else if (c == '-') {
        // A sign belongs to the number that follows.
        size_t save = at_++;
        Token number;
        Status s = Lex(number);
        if (!s.ok())
            return s;
        if (number.kind != Token::Kind::Number)
            return FailAt(save, "'-' without a number");
        t = number;
        t.text = "-" + t.text;
        t.pos = save;
    } else if (IsWordStart(static_cast<unsigned char>(c))) {
        size_t i = at_;
        while (i < text_.size() && IsWordChar(static_cast<unsigned char>(text_[i]))) ++i;
        t.kind = Token::Kind::Word;
        t.text = std::string(text_.substr(at_, i - at_));
        for (char& ch : t.text)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        at_ = i;
    } else {
        return FailAt(at_, std::string("unexpected character '") + c + "'");
    }
    return Status::Ok();
}

Status FilterParser::ColumnName(const std::string& name, size_t pos, int& column) const {
    column = schema_.FindColumn(name);
    if (column < 0)
        return Status(ErrorCode::UnknownField, "table " + schema_.name + " has no field [" + name +
                                                   "] (character " + std::to_string(pos + 1) +
                                                   " of filter \"" + std::string(text_) + "\")");
    return Status::Ok();
}

Status FilterParser::Run() {
    out_.text_ = std::string(text_);
    Status s = Next();
    if (!s.ok())
        return s;
    if (tok_.kind != Token::Kind::End && !IsWord("ORDER")) {
        s = ParseOr(out_.where_, 0);
        if (!s.ok())
            return s;
    }
    if (IsWord("ORDER")) {
        s = ParseOrderBy();
        if (!s.ok())
            return s;
    }
    if (tok_.kind != Token::Kind::End)
        return Fail("unexpected text");
    return Status::Ok();
}

Status FilterParser::ParseOr(std::string& sql, int depth) {
    if (depth > kMaxDepth)
        return Fail("filter nested too deeply");
    std::string left;
    Status s = ParseAnd(left, depth);
    if (!s.ok())
        return s;
    if (!IsWord("OR")) {
        sql = std::move(left);
        return Status::Ok();
    }
    sql = "(" + left;
    while (IsWord("OR")) {
        s = Next();
        if (!s.ok())
            return s;
        std::string right;
        s = ParseAnd(right, depth);
        if (!s.ok())
            return s;
        sql += " OR " + right;
    }
    sql += ")";
    return Status::Ok();
}

Status FilterParser::ParseAnd(std::string& sql, int depth) {
    std::string left;
    Status s = ParseNot(left, depth);
    if (!s.ok())
        return s;
    if (!IsWord("AND")) {
        sql = std::move(left);
        return Status::Ok();
    }
    sql = "(" + left;
    while (IsWord("AND")) {
        s = Next();
        if (!s.ok())
            return s;
        std::string right;
        s = ParseNot(right, depth);
        if (!s.ok())
            return s;
        sql += " AND " + right;
    }
    sql += ")";
    return Status::Ok();
}

Status FilterParser::ParseNot(std::string& sql, int depth) {
    if (depth > kMaxDepth)
        return Fail("filter nested too deeply");
    if (IsWord("NOT")) {
        Status s = Next();
        if (!s.ok())
            return s;
        std::string inner;
        s = ParseNot(inner, depth + 1);
        if (!s.ok())
            return s;
        sql = "(NOT " + inner + ")";
        return Status::Ok();
    }
    return ParsePrimary(sql, depth);
}

Status FilterParser::ParsePrimary(std::string& sql, int depth) {
    if (tok_.kind == Token::Kind::LParen) {
        Status s = Next();
        if (!s.ok())
            return s;
        std::string inner;
        s = ParseOr(inner, depth + 1);
        if (!s.ok())
            return s;
        if (tok_.kind != Token::Kind::RParen)
            return Fail("')' expected");
        sql = "(" + inner + ")";
        return Next();
    }
    Operand left;
    Status s = ParseOperand(left);
    if (!s.ok())
        return s;

    if (tok_.kind == Token::Kind::Op) {
        std::string op = tok_.text;
        s = Next();
        if (!s.ok())
            return s;
        Operand right;
        s = ParseOperand(right);
        if (!s.ok())
            return s;
        std::string l, r;
        s = EmitOperand(left, right, l);
        if (!s.ok())
            return s;
        s = EmitOperand(right, left, r);
        if (!s.ok())
            return s;
        if (FoldsCase(left) || FoldsCase(right)) {
            l = "lower(" + l + ")";
            r = "lower(" + r + ")";
        }
        sql = "(" + l + " " + op + " " + r + ")";
        return Status::Ok();
    }
    bool negated = false;
    if (IsWord("NOT")) {
        negated = true;
        s = Next();
        if (!s.ok())
            return s;
        if (!IsWord("LIKE"))
            return Fail("LIKE expected after NOT");
    }
    if (IsWord("LIKE")) {
        s = Next();
        if (!s.ok())
            return s;
        return EmitLike(left, negated, sql);
    }
    if (IsWord("IS")) {
        s = Next();
        if (!s.ok())
            return s;
        bool isNot = false;
        if (IsWord("NOT")) {
            isNot = true;
            s = Next();
            if (!s.ok())
                return s;
        }
        if (!IsWord("NULL"))
            return Fail("NULL expected after IS");
        std::string l;
        s = EmitOperand(left, Operand{}, l);
        if (!s.ok())
            return s;
        sql = "(" + l + (isNot ? " IS NOT NULL)" : " IS NULL)");
        return Next();
    }
    return Fail("comparison expected");
}

Status FilterParser::ParseOperand(Operand& op) {
    op = Operand{};
    switch (tok_.kind) {
        case Token::Kind::Name: {
            op.kind = Operand::Kind::Column;
            Status s = ColumnName(tok_.text, tok_.pos, op.column);
            if (!s.ok())
                return s;
            break;
        }
        case Token::Kind::Word:
            if (tok_.text == "NULL") {
                op.kind = Operand::Kind::Null;
            } else if (tok_.text == "TRUE" || tok_.text == "YES" || tok_.text == "FALSE" ||
                       tok_.text == "NO") {
                op.kind = Operand::Kind::Number;
                op.value = Value(std::int64_t{tok_.text == "TRUE" || tok_.text == "YES"});
            } else {
                static const char* kReserved[] = {"AND", "OR", "NOT", "LIKE", "ORDER", "BY", "IS"};
                for (const char* r : kReserved)
                    if (tok_.text == r)
                        return Fail("field or value expected");
                op.kind = Operand::Kind::Column;
                // Unbracketed names keep the case the caller wrote.
                std::string name(text_.substr(tok_.pos, tok_.text.size()));
                Status s = ColumnName(name, tok_.pos, op.column);
                if (!s.ok())
                    return s;
            }
            break;
        case Token::Kind::Text:
            op.kind = Operand::Kind::Text;
            op.value = Value(tok_.text);
            break;
        case Token::Kind::Number:
            op.kind = Operand::Kind::Number;
            if (!ParseNumber(tok_.text, op.value))
                return Fail("invalid number");
            break;
        case Token::Kind::Date:
            op.kind = Operand::Kind::Date;
            op.value = Value(tok_.text);
            break;
        default:
            return Fail("field or value expected");
    }
    return Next();
}

Status FilterParser::EmitOperand(const Operand& op, const Operand& other, std::string& sql) {
    if (op.kind == Operand::Kind::Column) {
        sql = QuoteIdentifier(schema_.columns[op.column].name);
        return Status::Ok();
    }
    if (op.kind == Operand::Kind::Null) {
        sql = "NULL";
        return Status::Ok();
    }
    Value v = op.value;
    if (other.kind == Operand::Kind::Column) {
        ColumnType type = schema_.columns[other.column].type;
        const std::string& name = schema_.columns[other.column].name;
        if (IsNumericColumn(type)) {
            if (op.kind == Operand::Kind::Date ||
                (op.kind == Operand::Kind::Text && !ParseNumber(v.AsText(), v)))
                return Fail("type mismatch: field [" + name + "] is a number");
        } else if (type == ColumnType::DateTime) {
            std::string normal;
            if (op.kind == Operand::Kind::Number ||
                (op.kind == Operand::Kind::Text && !ParseDateLiteral(v.AsText(), normal)))
                return Fail("type mismatch: field [" + name + "] is a date");
            if (op.kind == Operand::Kind::Text)
                v = Value(normal);
        } else {
            v = Value(v.AsText());
        }
    }
    out_.binds_.push_back(std::move(v));
    sql = "?";
    return Status::Ok();
}

bool FilterParser::FoldsCase(const Operand& op) const {
    return Server() && op.kind == Operand::Kind::Column &&
           schema_.columns[op.column].type == ColumnType::Text;
}

Status FilterParser::EmitLike(const Operand& column, bool negated, std::string& sql) {
    if (column.kind != Operand::Kind::Column)
        return Fail("LIKE needs a field on its left");
    if (tok_.kind != Token::Kind::Text)
        return Fail("LIKE needs a quoted pattern");
    std::optional<JetPattern> pattern = JetPattern::Compile(tok_.text);
    if (!pattern)
        return Fail("invalid LIKE pattern");
    const Column& c = schema_.columns[column.column];
    const std::string name = QuoteIdentifier(c.name);
    std::string test;
    const char* yes = Server() ? "TRUE" : "1";
    const char* no = Server() ? "FALSE" : "0";
    if (c.type == ColumnType::Text && pattern->MinLength() > static_cast<size_t>(c.maxChars)) {
        // Longer than any value of the field: nothing matches, and the
        // engine is never handed a pattern it refuses as too complex.
        sql = negated ? yes : no;
        return Next();
    }
    if (Server()) {
        // Text columns are in the "C" collation, so ILIKE and "~*" fold
        // ASCII letters only; other fields match through their text form.
        // A trigram index finds nothing to look up in a pattern without three
        // plain characters in a row and would hand back every record to be
        // checked; a scan of the table is several times faster then, so the
        // field is written so that no such index applies.
        const bool trigrams = pattern->LongestLiteralRun() >= 3;
        const std::string value = c.type != ColumnType::Text ? name + "::text"
                                  : trigrams                 ? name
                                                             : "(" + name + " || '')";
        // Without an ASCII letter the case rule changes nothing, and the
        // plain match is much cheaper for the server than the folding one.
        const bool letters = std::any_of(tok_.text.begin(), tok_.text.end(), [](char ch) {
            return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
        });
        switch (pattern->shape()) {
            case JetPattern::Shape::MatchAll:
                test = c.type == ColumnType::DateTime ? "(" + name + " IS NOT NULL)" : yes;
                break;
            case JetPattern::Shape::SimpleLike:
                test = "(" + value + (letters ? " ILIKE" : " LIKE") + " ? ESCAPE '\\')";
                out_.binds_.push_back(Value(pattern->SqlLikePattern()));
                break;
            case JetPattern::Shape::General:
                test = "(" + value + (letters ? " ~* ?)" : " ~ ?)");
                out_.binds_.push_back(Value(pattern->RegexPattern()));
                break;
        }
        sql = negated ? "(NOT " + test + ")" : test;
        return Next();
    }
    switch (pattern->shape()) {
        case JetPattern::Shape::MatchAll:
            // Every value but Null; most columns never hold Null.
            test = c.type == ColumnType::DateTime ? "(" + name + " IS NOT NULL)" : "1";
            break;
        case JetPattern::Shape::SimpleLike:
            test = "(" + name + " LIKE ? ESCAPE '\\')";
            out_.binds_.push_back(Value(pattern->SqlLikePattern()));
            break;
        case JetPattern::Shape::General:
            test = "vt_like(" + name + ", ?)";
            out_.binds_.push_back(Value(tok_.text));
            break;
    }
    sql = negated ? "(NOT " + test + ")" : test;
    return Next();
}

Status FilterParser::ParseOrderBy() {
    Status s = Next();
    if (!s.ok())
        return s;
    if (!IsWord("BY"))
        return Fail("BY expected after ORDER");
    s = Next();
    if (!s.ok())
        return s;
    while (true) {
        int column = -1;
        if (tok_.kind == Token::Kind::Name) {
            s = ColumnName(tok_.text, tok_.pos, column);
        } else if (tok_.kind == Token::Kind::Word) {
            s = ColumnName(std::string(text_.substr(tok_.pos, tok_.text.size())), tok_.pos, column);
        } else {
            return Fail("field expected after ORDER BY");
        }
        if (!s.ok())
            return s;
        s = Next();
        if (!s.ok())
            return s;
        std::string dir = " ASC";
        if (IsWord("ASC") || IsWord("DESC")) {
            dir = " " + tok_.text;
            s = Next();
            if (!s.ok())
                return s;
        }
        if (!out_.orderBy_.empty())
            out_.orderBy_ += ", ";
        const std::string field = QuoteIdentifier(schema_.columns[column].name);
        const bool fold = Server() && schema_.columns[column].type == ColumnType::Text;
        // SQLite sorts Null before every value; the server, after.
        if (Server())
            dir += dir == " ASC" ? " NULLS FIRST" : " NULLS LAST";
        out_.orderBy_ += (fold ? "lower(" + field + ")" : field) + dir;
        if (tok_.kind != Token::Kind::Comma)
            break;
        s = Next();
        if (!s.ok())
            return s;
    }
    return Status::Ok();
}

}  // namespace storage
