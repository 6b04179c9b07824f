// The condition syntax: what parses, what it becomes, and what is refused.

#include <gtest/gtest.h>

#include "TestTables.h"
#include "storage/Filter.h"

namespace storage {
namespace {

using test::PeopleTable;

Filter MustParse(const std::string& text) {
    Result<Filter> f = Filter::Parse(text, PeopleTable());
    EXPECT_TRUE(f.ok()) << text << ": " << f.status().ToString();
    return f.ok() ? f.value() : Filter();
}

ErrorCode ParseError(const std::string& text) {
    Result<Filter> f = Filter::Parse(text, PeopleTable());
    return f.ok() ? ErrorCode::None : f.status().code();
}

TEST(FilterParse, EmptyTextHasNoConditionAndNoOrder) {
    Filter f = MustParse("");
    EXPECT_EQ(f.WhereSql(), "");
    EXPECT_EQ(f.OrderBySql(), "");
    EXPECT_TRUE(f.Binds().empty());
}

TEST(FilterParse, EveryLiteralBecomesABoundValue) {
    Filter f = MustParse("[Name] >= '가' AND [Name] < '나'");
    EXPECT_EQ(f.WhereSql(), "((\"Name\" >= ?) AND (\"Name\" < ?))");
    ASSERT_EQ(f.Binds().size(), 2u);
    EXPECT_EQ(f.Binds()[0], Value("가"));
    EXPECT_EQ(f.Binds()[1], Value("나"));
}

TEST(FilterParse, DoubledQuoteIsOneQuoteInTheValue) {
    Filter f = MustParse("[Name] = 'O''Brien'");
    ASSERT_EQ(f.Binds().size(), 1u);
    EXPECT_EQ(f.Binds()[0], Value("O'Brien"));
}

TEST(FilterParse, DateLiteralBecomesStoredText) {
    Filter f = MustParse("[Seen] >= #2007/3/12 0:0:0# AND [Seen] <= #2007/3/12 23:59:59#");
    ASSERT_EQ(f.Binds().size(), 2u);
    EXPECT_EQ(f.Binds()[0], Value("2007-03-12 00:00:00"));
    EXPECT_EQ(f.Binds()[1], Value("2007-03-12 23:59:59"));
    EXPECT_EQ(MustParse("[Seen] = #3/12/2007#").Binds()[0], Value("2007-03-12 00:00:00"));
}

TEST(FilterParse, TrailingOrderByIsSeparated) {
    Filter f = MustParse("[Name] LIKE '*a*' ORDER BY [Seen]");
    EXPECT_EQ(f.OrderBySql(), "\"Seen\" ASC");
    EXPECT_EQ(MustParse("ORDER BY [Age] DESC, Name").OrderBySql(), "\"Age\" DESC, \"Name\" ASC");
}

TEST(FilterParse, LikeChoosesTheCheapestTest) {
    EXPECT_EQ(MustParse("[Name] LIKE '**'").WhereSql(), "1");
    EXPECT_EQ(MustParse("[Seen] LIKE '*'").WhereSql(), "(\"Seen\" IS NOT NULL)");
    Filter simple = MustParse("[Name] LIKE '*50%_[*]*'");
    EXPECT_EQ(simple.WhereSql(), "(\"Name\" LIKE ? ESCAPE '\\')");
    EXPECT_EQ(simple.Binds()[0], Value("%50\\%\\_*%"));
    Filter general = MustParse("[Phone] LIKE '02##*'");
    EXPECT_EQ(general.WhereSql(), "vt_like(\"Phone\", ?)");
}

TEST(FilterParse, ServerDialectKeepsTheMeaningOfEveryCondition) {
    struct Case {
        const char* text;
        const char* where;
        const char* orderBy;
        std::vector<Value> binds;
    };
    const Case cases[] = {
        // Text compares as SQLite's NOCASE: lower() in the "C" collation.
        {"[Name] >= '가' AND [Name] < '나'",
         "((lower(\"Name\") >= lower(?)) AND "
         "(lower(\"Name\") < lower(?)))",
         "",
         {"가", "나"}},
        {"[Age] > 40", "(\"Age\" > ?)", "", {40}},
        {"[Seen] <= #2007/3/12 23:59:59#", "(\"Seen\" <= ?)", "", {"2007-03-12 23:59:59"}},
        {"[Name] LIKE '**'", "TRUE", "", {}},
        // Without ASCII letters the plain LIKE means the same and is cheaper.
        {"[Age] LIKE '*1*'", "(\"Age\"::text LIKE ? ESCAPE '\\')", "", {"%1%"}},
        {"[Name] LIKE '*김민준*'", "(\"Name\" LIKE ? ESCAPE '\\')", "", {"%김민준%"}},
        // Without three plain characters in a row no trigram index applies.
        {"[Name] LIKE '*김민*'", "((\"Name\" || '') LIKE ? ESCAPE '\\')", "", {"%김민%"}},
        {"[Phone] LIKE '02#*'", "((\"Phone\" || '') ~ ?)", "", {"^02[0-9].*$"}},
        {"[Name] LIKE '*kim*' ORDER BY [Seen]",
         "(\"Name\" ILIKE ? ESCAPE '\\')",
         "\"Seen\" ASC NULLS FIRST",
         {"%kim%"}},
        {"[Phone] LIKE '02#[!a-c.]*'", "((\"Phone\" || '') ~* ?)", "", {"^02[0-9][^a-c\\.].*$"}},
        {"[Name] NOT LIKE '*' ORDER BY [Group] DESC",
         "(NOT TRUE)",
         "lower(\"Group\") DESC NULLS LAST",
         {}},
    };
    for (const Case& c : cases) {
        Result<Filter> f = Filter::Parse(c.text, PeopleTable(), Dialect::PostgreSQL);
        ASSERT_TRUE(f.ok()) << c.text << ": " << f.status().ToString();
        EXPECT_EQ(f.value().WhereSql(), c.where) << c.text;
        EXPECT_EQ(f.value().OrderBySql(), c.orderBy) << c.text;
        EXPECT_EQ(f.value().Binds(), c.binds) << c.text;
    }
}

TEST(FilterParse, NamesAreCheckedAndQuotedFromTheTable) {
    EXPECT_EQ(MustParse("[group] = 'x'").WhereSql(), "(\"Group\" = ?)");
    EXPECT_EQ(MustParse("name = 'x'").WhereSql(), "(\"Name\" = ?)");
    EXPECT_EQ(ParseError("[Nope] = 1"), ErrorCode::UnknownField);
    EXPECT_EQ(ParseError("[Name\"; DROP TABLE People; --] = 1"), ErrorCode::UnknownField);
}

TEST(FilterParse, UnparseableTextsAreErrors) {
    const char* bad[] = {
        "[Name] = 'unclosed",
        "[Name = 'x'",
        "[Name] == 'x'",
        "[Name] = 'x' AND",
        "([Name] = 'x'",
        "[Name] = 'x')",
        "[Name] LIKE '[abc'",
        "[Name] LIKE [Phone]",
        "[Age] = 'old'",
        "[Seen] = #2007/13/1#",
        "[Seen] = #2007/2/29#",
        "[Seen] = 5",
        "[Name] = 'x' ORDER [Age]",
        "[Name] = 'x' ORDER BY",
        "[Name] = 'x'; DELETE FROM People",
        "[Name]",
        "1 2",
        "[Name] = 'a' OR OR [Name] = 'b'",
        "[Name] = x'41'",
    };
    for (const char* text : bad) {
        ErrorCode code = ParseError(text);
        EXPECT_TRUE(code == ErrorCode::InvalidFilter || code == ErrorCode::UnknownField)
            << text << " gave " << ErrorCodeName(code);
    }
}

TEST(FilterParse, DeepNestingIsRefusedNotCrashed) {
    std::string deep(5000, '(');
    deep += "[Age] = 1" + std::string(5000, ')');
    EXPECT_EQ(ParseError(deep), ErrorCode::InvalidFilter);
    std::string nots;
    for (int i = 0; i < 5000; ++i) nots += "NOT ";
    EXPECT_EQ(ParseError(nots + "[Age] = 1"), ErrorCode::InvalidFilter);
}

TEST(FilterQuoting, QuoteTextDoublesSingleQuotes) {
    EXPECT_EQ(QuoteText("O'Brien"), "'O''Brien'");
    EXPECT_EQ(QuoteText(""), "''");
    EXPECT_EQ(EscapeLikeText("a*b?c#d[e]"), "a[*]b[?]c[#]d[[]e]");
}

}  // namespace
}  // namespace storage
