#pragma once
// The two engines the record sets run on: the SQLite file of one desk, and a
// PostgreSQL server shared by several desks. A database is named by a file
// path or by a libpq connection URI ("postgresql://..." or "postgres://...");
// the name alone chooses the engine.

#include <string>
#include <string_view>

namespace storage {

enum class Dialect { SQLite, PostgreSQL };

// True for a libpq connection URI.
bool IsServerUri(std::string_view database);

inline Dialect DialectOf(std::string_view database) {
    return IsServerUri(database) ? Dialect::PostgreSQL : Dialect::SQLite;
}

// The URI without a password, user information or query, for messages:
// "postgresql://host/office".
std::string DisplayName(std::string_view database);

}  // namespace storage
