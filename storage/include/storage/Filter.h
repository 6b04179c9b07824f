#pragma once
// A filter in the condition syntax of the program's filter texts:
//   [Name] >= '가' AND [Name] < '나'
//   [CallName] LIKE '*kim*' ORDER BY [CallDate]
//   [CallDate] >= #2007/3/12 0:0:0# AND [CallDate] <= #2007/3/12 23:59:59#
// Parsing checks every field name against the table and turns the text into
// SQL whose literals are all bound values, so no text in a filter can change
// the structure of the query. A text that does not parse is an error.
//
// The SQL is written for one engine: on PostgreSQL text fields compare and
// sort through lower() in the "C" collation (SQLite's NOCASE: ASCII letters
// only), LIKE becomes ILIKE (or a "~*" regular expression for "#" and "[...]"),
// and a field that is no text is matched through its text form.

#include <string>
#include <string_view>
#include <vector>

#include "storage/Dialect.h"
#include "storage/Result.h"
#include "storage/TableSchema.h"
#include "storage/Value.h"

namespace storage {

class Filter {
public:
    Filter() = default;  // no condition, no order

    static Result<Filter> Parse(std::string_view text, const TableSchema& schema,
                                Dialect dialect = Dialect::SQLite);

    const std::string& Text() const { return text_; }
    Dialect GetDialect() const { return dialect_; }
    // The condition as SQL with "?" for every literal; empty when none.
    const std::string& WhereSql() const { return where_; }
    // The ordering terms without "ORDER BY"; empty when none.
    const std::string& OrderBySql() const { return orderBy_; }
    // The literals, in the order of the "?" in WhereSql().
    const std::vector<Value>& Binds() const { return binds_; }

private:
    friend class FilterParser;
    std::string text_;
    Dialect dialect_ = Dialect::SQLite;
    std::string where_;
    std::string orderBy_;
    std::vector<Value> binds_;
};

// The text quoted as a filter's text literal: in single quotes, with every
// single quote doubled. For building filters from what a user typed.
std::string QuoteText(std::string_view text);

// The text with the LIKE wild cards "*", "?", "#" and "[" written as the
// one-character lists "[*]", "[?]", "[#]", "[[]", so that a pattern built
// around it matches the text literally.
std::string EscapeLikeText(std::string_view text);

}  // namespace storage
