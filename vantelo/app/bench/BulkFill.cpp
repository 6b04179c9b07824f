#include "BulkFill.h"

#include <sqlite3.h>

#include <cstdio>
#include <string>

#include "platform/Clock.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo::bench {

namespace {

bool Exec(sqlite3* db, const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) == SQLITE_OK)
        return true;
    std::fprintf(stderr, "fill: %s\n", error ? error : "?");
    sqlite3_free(error);
    return false;
}

bool Fill(const std::filesystem::path& file, long contacts, long calls) {
    sqlite3* db = nullptr;
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK)
        return false;
    const std::string sql =
        "BEGIN;"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
        std::to_string(contacts) +
        ") INSERT INTO AddressList (Name, \"Group\", HomePhone, CellPhone, Email) "
        "SELECT '이름' || i, CASE WHEN i % 50 = 0 THEN '모임' || (i % 700) ELSE '친구' END, "
        "'02' || (10000000 + i), '010' || (20000000 + i), 'p' || i || '@example.com' FROM n;"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
        std::to_string(calls) +
        ") INSERT INTO CallList (CallMode, CallName, CallNum, CallDate, CallTime) "
        "SELECT i % 4, CASE WHEN i % 3 = 0 THEN '이름' || (i % 100000) ELSE '' END, "
        "'02' || (10000000 + i % 100000), "
        "strftime('%Y-%m-%d %H:%M:%S', '2020-01-01', '+' || (i * 97) || ' seconds'), "
        "i % 600 FROM n;"
        "COMMIT;";
    const bool ok = Exec(db, sql);
    sqlite3_close(db);
    return ok;
}

}  // namespace

bool MakeDatabase(const std::filesystem::path& file, long contacts, long calls) {
    return PrepareDatabase(vt::SystemClock::Instance(), file).ok() &&
           Fill(file, contacts, calls);
}

}  // namespace vantelo::bench
