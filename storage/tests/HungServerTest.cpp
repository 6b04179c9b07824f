// A server that stops answering (a hung process, a host gone quiet while the
// connection stays up) costs a caller the session's deadline once, never for
// ever: the command fails as a lost connection, and the session then fails
// at once, so a program above it can carry on without the server.

#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <signal.h>

#include <vector>

#include "TestTables.h"
#include "storage/Connection.h"
#include "storage/RecordSet.h"
#include "testsupport/TestEnvironment.h"

namespace storage {
namespace {

// The server processes of this program's sessions with `database`.
std::vector<int> SessionProcesses(const std::filesystem::path& database) {
    std::vector<int> pids;
    PGconn* admin = PQconnectdb(database.c_str());
    PGresult* r = PQexec(admin,
                         "SELECT pid FROM pg_stat_activity WHERE datname = current_database() "
                         "AND application_name = 'vantelo' AND pid <> pg_backend_pid()");
    for (int i = 0; PQresultStatus(r) == PGRES_TUPLES_OK && i < PQntuples(r); ++i)
        pids.push_back(std::atoi(PQgetvalue(r, i, 0)));
    PQclear(r);
    PQfinish(admin);
    return pids;
}

TEST(HungServer, ACommandGivesUpAtTheDeadlineAndTheSessionFailsAtOnceAfter) {
    vt::test::TestEnvironment env;
    SetServerAnswerDeadline(300);
    const std::filesystem::path db = test::MakeDatabase(Dialect::PostgreSQL, env.Root());
    auto connection = Connection::Open(db);
    ASSERT_TRUE(connection.ok()) << connection.status().ToString();
    RecordSet people(test::PeopleTable());
    ASSERT_TRUE(people.Open(db).ok());
    const std::vector<int> hung = SessionProcesses(db);
    ASSERT_EQ(hung.size(), 2u);
    for (int pid : hung) ASSERT_EQ(::kill(pid, SIGSTOP), 0);

    struct Case {
        const char* what;
        std::function<Status()> run;
    };
    const std::vector<Case> cases = {
        {"a statement", [&] { return connection.value()->Exec("SELECT 1", "asking"); }},
        {"a query of a record set", [&] { return people.Requery(); }},
    };
    for (const Case& c : cases) {
        Status first = c.run();
        EXPECT_EQ(first.code(), ErrorCode::Io) << c.what << ": " << first.ToString();
        EXPECT_NE(first.message().find("did not answer within 0.3"), std::string::npos)
            << c.what << ": " << first.message();
        // The session is given up: the next command fails without a wait.
        Status again = c.run();
        EXPECT_EQ(again.code(), ErrorCode::Io) << c.what;
        EXPECT_NE(again.message().find("given up earlier"), std::string::npos) << again.message();
    }
    for (int pid : hung) ::kill(pid, SIGCONT);
    // The server itself is well: a new session works.
    SetServerAnswerDeadline(30000);
    auto fresh = Connection::Open(db);
    ASSERT_TRUE(fresh.ok()) << fresh.status().ToString();
    EXPECT_TRUE(fresh.value()->Exec("SELECT 1", "asking").ok());
}

}  // namespace
}  // namespace storage
