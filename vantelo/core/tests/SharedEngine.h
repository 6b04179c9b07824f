#pragma once
// For the record-set tests that run on both engines: on the server engine a
// fresh database of the test program's own PostgreSQL is named by
// DatabaseUrl in the test's settings file, as an office desk has it, so
// every record set and PrepareDatabase of the test find it by themselves.
// Use inside a vt::test::TestEnvironment.

#include <gtest/gtest.h>

#include <string>

#include "storage/Dialect.h"
#include "testsupport/PostgresServer.h"
#include "vantelo/core/PhoneSettings.h"

namespace vantelo::test {

inline bool UseEngine(storage::Dialect dialect) {
    if (dialect == storage::Dialect::SQLite)
        return false;
    PhoneSettings settings;
    settings.DatabaseUrl = vt::test::PostgresServer::Shared().NewDatabase();
    return SaveSettings(settings);
}

inline std::string EngineName(const ::testing::TestParamInfo<storage::Dialect>& info) {
    return info.param == storage::Dialect::SQLite ? "SQLite" : "PostgreSQL";
}

inline const auto kBothEngines =
    ::testing::Values(storage::Dialect::SQLite, storage::Dialect::PostgreSQL);

}  // namespace vantelo::test
