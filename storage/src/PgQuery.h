#pragma once
// A statement on a PostgreSQL session (private to the storage layer), with
// the layer's "?" placeholders numbered as the server's "$n". The first run
// sends the statement with its values in one round trip; a statement run
// again is prepared on the server once and then only executed.

#include <libpq-fe.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "PgSession.h"
#include "storage/Value.h"

namespace storage {

class PgQuery {
public:
    PgQuery(PgSession& session, const std::string& sql);
    ~PgQuery();
    PgQuery(const PgQuery&) = delete;
    PgQuery& operator=(const PgQuery&) = delete;

    Status Bind(int index, const Value& value);  // 1-based
    Result<bool> Step();
    void Reset();

    int ColumnCount() const;
    Value Column(int index) const;
    std::int64_t ColumnInteger(int index) const;

private:
    Status Execute();

    PgSession& session_;
    std::string sql_;
    int params_ = 0;
    std::vector<std::optional<std::string>> values_;
    std::vector<Oid> types_;
    std::vector<Oid> preparedTypes_;
    std::string name_;  // on the server once prepared
    int runs_ = 0;
    PGresult* result_ = nullptr;
    std::vector<Value::Kind> kinds_;
    int row_ = -1;  // the current row of result_
};

// The SQL with every "?" outside quotes numbered "$1", "$2" ...; `count` the number.
std::string NumberPlaceholders(const std::string& sql, int& count);

}  // namespace storage
