#pragma once
// Recursive-descent parser of the filter texts' condition syntax (private).

#include <cstddef>
#include <string>
#include <string_view>

#include "storage/Filter.h"

namespace storage {

class FilterParser {
public:
    FilterParser(std::string_view text, const TableSchema& schema, Filter& out)
        : text_(text), schema_(schema), out_(out) {}

    Status Run();

private:
    struct Token {
        enum class Kind { End, Name, Word, Text, Number, Date, LParen, RParen, Comma, Op };
        Kind kind = Kind::End;
        std::string text;  // name, word (upper case), text, number, date ("YYYY-MM-DD HH:MM:SS")
        size_t pos = 0;
    };
    struct Operand {
        enum class Kind { Column, Text, Number, Date, Null } kind = Kind::Null;
        int column = -1;
        Value value;
    };

    Status Next();
    Status Lex(Token& token);
    bool IsWord(const char* word) const;
    Status Fail(const std::string& what) const;
    Status FailAt(size_t pos, const std::string& what) const;

    Status ParseOr(std::string& sql, int depth);
    Status ParseAnd(std::string& sql, int depth);
    Status ParseNot(std::string& sql, int depth);
    Status ParsePrimary(std::string& sql, int depth);
    Status ParseOperand(Operand& op);
    Status ParseOrderBy();
    Status EmitOperand(const Operand& op, const Operand& other, std::string& sql);
    Status EmitLike(const Operand& column, bool negated, std::string& sql);
    bool Server() const { return out_.dialect_ == Dialect::PostgreSQL; }
    // A text field on the server, compared and sorted as SQLite's NOCASE.
    bool FoldsCase(const Operand& op) const;
    Status ColumnName(const std::string& name, size_t pos, int& column) const;

    std::string_view text_;
    const TableSchema& schema_;
    Filter& out_;
    size_t at_ = 0;
    Token tok_;
};

}  // namespace storage
