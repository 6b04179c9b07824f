#pragma once
// The shape of one table: its columns in order with their types, and the
// indexes that its lookups and filters need.

#include <string>
#include <string_view>
#include <vector>

#include "storage/Status.h"
#include "storage/Value.h"

namespace storage {

enum class ColumnType {
    AutoNumber,  // Long record number given by the engine; never written
    Long,        // 32-bit whole number
    Byte,        // 0..255
    YesNo,       // 0 or 1
    Text,        // up to maxChars characters, compared without regard to ASCII case
    DateTime,    // local-time text "YYYY-MM-DD HH:MM:SS", or Null
};

struct Column {
    std::string name;
    ColumnType type = ColumnType::Text;
    int maxChars = 255;  // Text only
};

struct TableSchema {
    std::string name;
    std::vector<Column> columns;
    std::vector<std::vector<std::string>> indexes;  // columns of each index
    // Text columns whose values are unique once set: records written before
    // the column existed keep it empty, and any number of them may.
    std::vector<std::string> uniqueWhenSet;

    // Position of a column, names compared without regard to ASCII case; -1
    // when missing.
    int FindColumn(std::string_view column) const;

    // The value a new record starts with.
    Value DefaultValue(int column) const;

    // Checks and normalises a value for a column: numbers in range, a Yes/No
    // from any number (non-zero is Yes), text length, a valid date text.
    Status Coerce(int column, Value& value) const;

    // The definition of one column, as CREATE TABLE and ADD COLUMN take it.
    std::string ColumnSql(int column) const;
    // Both safe to run when the table already exists (IF NOT EXISTS).
    std::string CreateTableSql() const;
    std::string AddColumnSql(int column) const;
    // Every index: those of `indexes`, then one per `uniqueWhenSet`.
    size_t IndexCount() const { return indexes.size() + uniqueWhenSet.size(); }
    // Index `index` of all: its name and its CREATE INDEX IF NOT EXISTS.
    std::string IndexName(size_t index) const;
    std::string CreateIndexSql(size_t index) const;
};

// "name" as an SQL identifier (double quotes doubled).
std::string QuoteIdentifier(std::string_view name);

}  // namespace storage
