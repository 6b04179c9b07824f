#pragma once
// A prepared statement with bound values (private to the storage layer).

#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

#include "storage/Connection.h"
#include "storage/Value.h"

namespace storage {

class PgQuery;

// On a server connection the statement runs through PgQuery; the SQL is the
// same, with "?" for every value.
class Statement {
public:
    Statement();
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    static Result<Statement> Prepare(Connection& connection, const std::string& sql);

    bool Valid() const { return stmt_ != nullptr || pg_ != nullptr; }
    Status Bind(int index, const Value& value);  // 1-based
    Status BindAll(const std::vector<Value>& values, int first = 1);
    // true: a row is ready; false: done.
    Result<bool> Step();
    // Runs to the end, for statements without results.
    Status Run();
    void Reset();

    int ColumnCount() const;
    Value Column(int index) const;  // 0-based
    std::int64_t ColumnInteger(int index) const;

private:
    explicit Statement(Connection* connection, sqlite3_stmt* stmt);
    explicit Statement(Connection* connection, std::unique_ptr<PgQuery> pg);

    Connection* connection_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    std::unique_ptr<PgQuery> pg_;
};

}  // namespace storage
