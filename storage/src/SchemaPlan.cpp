#include "SchemaPlan.h"

#include <algorithm>
#include <cctype>

#include "Statement.h"

namespace storage {

namespace {

enum class Affinity { Integer, Text, Blob, Real, Numeric };

// SQLite's rules for the affinity of a declared column type.
Affinity AffinityOf(std::string type) {
    std::transform(type.begin(), type.end(), type.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    auto has = [&](const char* word) { return type.find(word) != std::string::npos; };
    if (has("INT"))
        return Affinity::Integer;
    if (has("CHAR") || has("CLOB") || has("TEXT"))
        return Affinity::Text;
    if (has("BLOB") || type.empty())
        return Affinity::Blob;
    if (has("REAL") || has("FLOA") || has("DOUB"))
        return Affinity::Real;
    return Affinity::Numeric;
}

// Whether a column of that affinity stores the program's values unchanged.
// Numeric affinity keeps whole numbers and date texts as they are.
bool Holds(ColumnType type, Affinity a) {
    switch (type) {
        case ColumnType::Text:
            return a == Affinity::Text;
        case ColumnType::DateTime:
            return a == Affinity::Text || a == Affinity::Numeric;
        default:
            return a == Affinity::Integer || a == Affinity::Numeric;
    }
}

const char* KindOf(ColumnType type) {
    switch (type) {
        case ColumnType::Text:
            return "texts";
        case ColumnType::DateTime:
            return "dates";
        default:
            return "whole numbers";
    }
}

struct FoundColumn {
    std::string name;
    std::string type;
};

Result<std::string> SchemaObjectType(Connection& c, const std::string& name) {
    Result<Statement> st = Statement::Prepare(
        c, "SELECT type FROM sqlite_master WHERE name = ? COLLATE NOCASE AND type <> 'index'");
    if (!st.ok())
        return st.status();
    Status s = st.value().Bind(1, Value(name));
    if (!s.ok())
        return s;
    Result<bool> row = st.value().Step();
    if (!row.ok())
        return row.status();
    return row.value() ? st.value().Column(0).AsText() : std::string();
}

Result<std::vector<FoundColumn>> ColumnsOf(Connection& c, const std::string& table) {
    Result<Statement> st = Statement::Prepare(c, "SELECT name, type FROM pragma_table_info(?)");
    if (!st.ok())
        return st.status();
    Status s = st.value().Bind(1, Value(table));
    if (!s.ok())
        return s;
    std::vector<FoundColumn> out;
    while (true) {
        Result<bool> row = st.value().Step();
        if (!row.ok())
            return row.status();
        if (!row.value())
            return out;
        out.push_back({st.value().Column(0).AsText(), st.value().Column(1).AsText()});
    }
}

Result<bool> IndexExists(Connection& c, const std::string& name) {
    Result<Statement> st =
        Statement::Prepare(c, "SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?");
    if (!st.ok())
        return st.status();
    Status s = st.value().Bind(1, Value(name));
    if (!s.ok())
        return s;
    return st.value().Step();
}

Result<std::string> JournalMode(Connection& c) {
    Result<Statement> st = Statement::Prepare(c, "PRAGMA journal_mode");
    if (!st.ok())
        return st.status();
    Result<bool> row = st.value().Step();
    if (!row.ok())
        return row.status();
    return row.value() ? st.value().Column(0).AsText() : std::string();
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

Result<SchemaPlan> SchemaPlan::Inspect(Connection& c, const std::vector<TableSchema>& tables) {
    SchemaPlan plan;
    Result<std::string> mode = JournalMode(c);
    if (!mode.ok())
        return mode.status();
    plan.wal_ = SameName(mode.value(), "wal");
    for (const TableSchema& table : tables) {
        TableNeed need;
        need.table = &table;
        Result<std::string> type = SchemaObjectType(c, table.name);
        if (!type.ok())
            return type.status();
        if (type.value().empty()) {
            need.create = true;
        } else if (type.value() != "table") {
            plan.refusal_ = table.name + " is a " + type.value() + ", not a table";
            return plan;
        } else {
            Result<std::vector<FoundColumn>> found = ColumnsOf(c, table.name);
            if (!found.ok())
                return found.status();
            for (size_t i = 0; i < table.columns.size(); ++i) {
                const Column& col = table.columns[i];
                auto it =
                    std::find_if(found.value().begin(), found.value().end(),
                                 [&](const FoundColumn& f) { return SameName(f.name, col.name); });
                if (it == found.value().end()) {
                    if (col.type == ColumnType::AutoNumber) {
                        plan.refusal_ = "table " + table.name + " has no column " + col.name +
                                        ", which cannot be added";
                        return plan;
                    }
                    need.columns.push_back(static_cast<int>(i));
                } else if (!Holds(col.type, AffinityOf(it->type))) {
                    plan.refusal_ = "column " + table.name + "." + it->name + " is declared '" +
                                    it->type + "', which cannot hold " + KindOf(col.type);
                    return plan;
                }
            }
        }
        for (size_t k = 0; k < table.IndexCount(); ++k) {
            Result<bool> exists =
                need.create ? Result<bool>(false) : IndexExists(c, table.IndexName(k));
            if (!exists.ok())
                return exists.status();
            if (!exists.value())
                need.indexes.push_back(k);
        }
        if (need.create || !need.columns.empty() || !need.indexes.empty())
            plan.needs_.push_back(std::move(need));
    }
    return plan;
}

bool SchemaPlan::Complete() const {
    return wal_ && needs_.empty();
}

bool SchemaPlan::LacksTablesOrColumns() const {
    return std::any_of(needs_.begin(), needs_.end(),
                       [](const TableNeed& n) { return n.create || !n.columns.empty(); });
}

std::string SchemaPlan::Missing() const {
    std::string out;
    auto add = [&](const std::string& what) { out += (out.empty() ? "" : ", ") + what; };
    for (const TableNeed& n : needs_) {
        if (n.create)
            add("table " + n.table->name);
        for (int c : n.columns) add("column " + n.table->name + "." + n.table->columns[c].name);
    }
    return out;
}

Status SchemaPlan::Apply(Connection& c, PrepareReport& report) const {
    for (const TableNeed& n : needs_) {
        const TableSchema& t = *n.table;
        if (n.create) {
            Status s = c.Exec(t.CreateTableSql(), "creating table " + t.name);
            if (!s.ok())
                return s;
            report.tablesAdded.push_back(t.name);
        }
        for (int col : n.columns) {
            Status s = c.Exec(t.AddColumnSql(col), "adding column " + t.columns[col].name);
            if (!s.ok())
                return s;
            report.columnsAdded.push_back(t.name + "." + t.columns[col].name);
        }
        for (size_t k : n.indexes) {
            Status s = c.Exec(t.CreateIndexSql(k), "creating index " + t.IndexName(k));
            if (!s.ok())
                return s;
        }
    }
    return Status::Ok();
}

bool HoldsRows(Connection& c) {
    Result<Statement> names = Statement::Prepare(
        c,
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' "
        "ESCAPE '\\'");
    if (!names.ok())
        return true;
    while (true) {
        Result<bool> row = names.value().Step();
        if (!row.ok())
            return true;
        if (!row.value())
            return false;
        Result<Statement> any = Statement::Prepare(
            c, "SELECT 1 FROM " + QuoteIdentifier(names.value().Column(0).AsText()) + " LIMIT 1");
        if (!any.ok())
            return true;
        Result<bool> found = any.value().Step();
        if (!found.ok() || found.value())
            return true;
    }
}

}  // namespace storage
