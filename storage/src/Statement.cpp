#include "Statement.h"

#include "PgQuery.h"

namespace storage {

Statement::Statement() = default;

Statement::Statement(Connection* connection, sqlite3_stmt* stmt)
    : connection_(connection), stmt_(stmt) {}

Statement::Statement(Connection* connection, std::unique_ptr<PgQuery> pg)
    : connection_(connection), pg_(std::move(pg)) {}

Statement::~Statement() {
    if (stmt_)
        sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept
    : connection_(other.connection_), stmt_(other.stmt_), pg_(std::move(other.pg_)) {
    other.stmt_ = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        if (stmt_)
            sqlite3_finalize(stmt_);
        connection_ = other.connection_;
        stmt_ = other.stmt_;
        other.stmt_ = nullptr;
        pg_ = std::move(other.pg_);
    }
    return *this;
}

Result<Statement> Statement::Prepare(Connection& connection, const std::string& sql) {
    if (PgSession* server = connection.Server())
        return Statement(&connection, std::make_unique<PgQuery>(*server, sql));
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(connection.Handle(), sql.c_str(), static_cast<int>(sql.size()),
                                &stmt, nullptr);
    if (rc != SQLITE_OK) {
        if (stmt)
            sqlite3_finalize(stmt);
        return connection.StatusFor(rc, "preparing a query");
    }
    return Statement(&connection, stmt);
}

Status Statement::Bind(int index, const Value& value) {
    if (pg_)
        return pg_->Bind(index, value);
    int rc = SQLITE_OK;
    switch (value.kind()) {
        case Value::Kind::Null:
            rc = sqlite3_bind_null(stmt_, index);
            break;
        case Value::Kind::Integer:
            rc = sqlite3_bind_int64(stmt_, index, value.AsInteger());
            break;
        case Value::Kind::Real:
            rc = sqlite3_bind_double(stmt_, index, value.AsReal());
            break;
        case Value::Kind::Text: {
            std::string text = value.AsText();
            rc = sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                                   SQLITE_TRANSIENT);
            break;
        }
    }
    return rc == SQLITE_OK ? Status::Ok() : connection_->StatusFor(rc, "binding a value");
}

Status Statement::BindAll(const std::vector<Value>& values, int first) {
    for (size_t i = 0; i < values.size(); ++i) {
        Status s = Bind(first + static_cast<int>(i), values[i]);
        if (!s.ok())
            return s;
    }
    return Status::Ok();
}

Result<bool> Statement::Step() {
    if (pg_)
        return pg_->Step();
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // The statement's own code is the extended one; reset to clear it.
    Status s = connection_->StatusFor(rc, "running a query");
    sqlite3_reset(stmt_);
    return s;
}

Status Statement::Run() {
    while (true) {
        Result<bool> r = Step();
        if (!r.ok())
            return r.status();
        if (!r.value())
            return Status::Ok();
    }
}

void Statement::Reset() {
    if (pg_) {
        pg_->Reset();
        return;
    }
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::ColumnCount() const {
    if (pg_)
        return pg_->ColumnCount();
    return sqlite3_column_count(stmt_);
}

std::int64_t Statement::ColumnInteger(int index) const {
    if (pg_)
        return pg_->ColumnInteger(index);
    return sqlite3_column_int64(stmt_, index);
}

Value Statement::Column(int index) const {
    if (pg_)
        return pg_->Column(index);
    switch (sqlite3_column_type(stmt_, index)) {
        case SQLITE_INTEGER:
            return Value(static_cast<std::int64_t>(sqlite3_column_int64(stmt_, index)));
        case SQLITE_FLOAT:
            return Value(sqlite3_column_double(stmt_, index));
        case SQLITE_NULL:
            return Value();
        default: {
            const unsigned char* text = sqlite3_column_text(stmt_, index);
            int n = sqlite3_column_bytes(stmt_, index);
            return Value(std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(n)));
        }
    }
}

}  // namespace storage
