#include "storage/TableSchema.h"

#include <cctype>
#include <charconv>

#include "platform/Translate.h"
#include "storage/DateTimeText.h"

namespace storage {

namespace {

constexpr const char* kContext = "storage";

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// Characters of a UTF-8 text (continuation bytes are not counted).
size_t CharCount(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}

// A whole number, from a number or from a text that is one.
bool WholeNumber(const Value& v, std::int64_t& out) {
    if (v.kind() == Value::Kind::Integer) {
        out = v.AsInteger();
        return true;
    }
    if (v.kind() == Value::Kind::Real) {
        double d = v.AsReal();
        out = static_cast<std::int64_t>(d);
        return static_cast<double>(out) == d;
    }
    if (v.kind() != Value::Kind::Text)
        return false;
    const std::string s = v.AsText();
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return !s.empty() && ec == std::errc() && p == s.data() + s.size();
}

Status RangeCheck(const Column& c, Value& value, std::int64_t lo, std::int64_t hi) {
    if (value.IsNull()) {
        value = Value(std::int64_t{0});
        return Status::Ok();
    }
    std::int64_t n = 0;
    if (!WholeNumber(value, n))
        return Status(
            ErrorCode::InvalidValue,
            vt::Translate(kContext,
                          QT_TRANSLATE_NOOP("storage", "필드 %1에는 정수가 필요합니다: '%2'"),
                          {c.name, value.AsText()}));
    if (n < lo || n > hi)
        return Status(
            ErrorCode::InvalidValue,
            vt::Translate(
                kContext, QT_TRANSLATE_NOOP("storage", "필드 %1은(는) %2 범위의 값을 받습니다: %3"),
                {c.name, std::to_string(lo) + ".." + std::to_string(hi), std::to_string(n)}));
    value = Value(n);
    return Status::Ok();
}

}  // namespace

std::string QuoteIdentifier(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

int TableSchema::FindColumn(std::string_view column) const {
    for (size_t i = 0; i < columns.size(); ++i)
        if (SameName(columns[i].name, column))
            return static_cast<int>(i);
    return -1;
}

Value TableSchema::DefaultValue(int column) const {
    switch (columns[column].type) {
        case ColumnType::Text:
            return Value(std::string());
        case ColumnType::DateTime:
            return Value();
        case ColumnType::AutoNumber:
            return Value();
        default:
            return Value(std::int64_t{0});
    }
}

Status TableSchema::Coerce(int column, Value& value) const {
    const Column& c = columns[column];
    switch (c.type) {
        case ColumnType::AutoNumber:
            return Status(
                ErrorCode::InvalidValue,
                vt::Translate(kContext,
                              QT_TRANSLATE_NOOP("storage", "필드 %1은(는) 데이터베이스가 정합니다"),
                              {c.name}));
        case ColumnType::Long:
            return RangeCheck(c, value, -2147483648LL, 2147483647LL);
        case ColumnType::Byte:
            return RangeCheck(c, value, 0, 255);
        case ColumnType::YesNo: {
            std::int64_t n = 0;
            if (!value.IsNull() && !WholeNumber(value, n))
                return Status(ErrorCode::InvalidValue,
                              vt::Translate(kContext,
                                            QT_TRANSLATE_NOOP(
                                                "storage", "필드 %1에는 Yes 또는 No가 필요합니다"),
                                            {c.name}));
            value = Value(std::int64_t{n != 0 ? 1 : 0});
            return Status::Ok();
        }
        case ColumnType::Text: {
            std::string s = value.AsText();
            if (CharCount(s) > static_cast<size_t>(c.maxChars))
                return Status(
                    ErrorCode::InvalidValue,
                    vt::Translate(kContext,
                                  QT_TRANSLATE_NOOP("storage", "필드 %1은(는) 최대 %2자입니다"),
                                  {c.name, std::to_string(c.maxChars)}));
            value = Value(std::move(s));
            return Status::Ok();
        }
        case ColumnType::DateTime:
            if (value.IsNull())
                return Status::Ok();
            if (!ParseDateTime(value.AsText()))
                return Status(
                    ErrorCode::InvalidValue,
                    vt::Translate(
                        kContext,
                        QT_TRANSLATE_NOOP(
                            "storage",
                            "필드 %1에는 'YYYY-MM-DD HH:MM:SS' 형식의 날짜가 필요합니다: '%2'"),
                        {c.name, value.AsText()}));
            value = Value(value.AsText());
            return Status::Ok();
    }
    return Status::Ok();
}

std::string TableSchema::ColumnSql(int column) const {
    const Column& c = columns[column];
    const std::string q = QuoteIdentifier(c.name);
    switch (c.type) {
        case ColumnType::AutoNumber:
            return q + " INTEGER PRIMARY KEY AUTOINCREMENT";
        case ColumnType::Long:
            return q + " INTEGER NOT NULL DEFAULT 0 CHECK (typeof(" + q + ") = 'integer' AND " + q +
                   " BETWEEN -2147483648 AND 2147483647)";
        case ColumnType::Byte:
            return q + " INTEGER NOT NULL DEFAULT 0 CHECK (typeof(" + q + ") = 'integer' AND " + q +
                   " BETWEEN 0 AND 255)";
        case ColumnType::YesNo:
            return q + " INTEGER NOT NULL DEFAULT 0 CHECK (" + q + " IN (0, 1))";
        case ColumnType::Text:
            return q + " TEXT NOT NULL DEFAULT '' COLLATE NOCASE CHECK (typeof(" + q +
                   ") = 'text' AND length(" + q + ") <= " + std::to_string(c.maxChars) + ")";
        case ColumnType::DateTime:
            return q + " TEXT CHECK (" + q + " IS NULL OR (typeof(" + q + ") = 'text' AND " + q +
                   " GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9] "
                   "[0-9][0-9]:[0-9][0-9]:[0-9][0-9]'))";
    }
    return q;
}

std::string TableSchema::CreateTableSql() const {
    std::string sql = "CREATE TABLE IF NOT EXISTS " + QuoteIdentifier(name) + " (";
    for (size_t i = 0; i < columns.size(); ++i) {
        if (i)
            sql += ", ";
        sql += ColumnSql(static_cast<int>(i));
    }
    return sql + ")";
}

std::string TableSchema::AddColumnSql(int column) const {
    return "ALTER TABLE " + QuoteIdentifier(name) + " ADD COLUMN " + ColumnSql(column);
}

std::string TableSchema::IndexName(size_t index) const {
    if (index >= indexes.size())
        return "uniq_" + name + "_" + uniqueWhenSet[index - indexes.size()];
    std::string out = "idx_" + name;
    for (const auto& c : indexes[index]) out += "_" + c;
    return out;
}

std::string TableSchema::CreateIndexSql(size_t index) const {
    if (index >= indexes.size()) {
        const std::string column = QuoteIdentifier(uniqueWhenSet[index - indexes.size()]);
        return "CREATE UNIQUE INDEX IF NOT EXISTS " + QuoteIdentifier(IndexName(index)) + " ON " +
               QuoteIdentifier(name) + " (" + column + ") WHERE " + column + " <> ''";
    }
    std::string cols;
    for (const auto& c : indexes[index]) {
        if (!cols.empty())
            cols += ", ";
        cols += QuoteIdentifier(c);
    }
    return "CREATE INDEX IF NOT EXISTS " + QuoteIdentifier(IndexName(index)) + " ON " +
           QuoteIdentifier(name) + " (" + cols + ")";
}

}  // namespace storage
