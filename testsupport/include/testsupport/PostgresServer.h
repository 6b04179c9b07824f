#pragma once
// For tests of the shared store: a real PostgreSQL server of the test's own,
// made with initdb in a private temporary folder and listening on a Unix
// socket in that folder only (no network port, no system service). Where the
// tests run as root, the server runs as the unprivileged `postgres` user
// through runuser (the server refuses root), and the folder belongs to that
// user; otherwise it belongs to the test. The destructor stops the server
// (fast, then immediate) and removes the folder; should the test program die
// without it, a watchdog process it left behind does the same.
//
// One server serves a whole test program (Shared()); each test takes a fresh
// database of it (NewDatabase()), so the suite stays fast. A machine without
// PostgreSQL makes the constructor throw with a message that says so: such a
// test fails, it never skips.

#include <filesystem>
#include <string>
#include <vector>

namespace vt::test {

class PostgresServer {
public:
    PostgresServer();
    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    // The server of this test program, started on first use and stopped at exit.
    static PostgresServer& Shared();

    const std::filesystem::path& Folder() const { return folder_; }
    // A new empty database (UTF-8) and the URI that opens it as `user`.
    std::string NewDatabase(const std::string& user = "postgres");
    // The URI of database `database` for role `user`.
    std::string Uri(const std::string& database, const std::string& user = "postgres") const;
    // Runs SQL as the superuser in `database`; throws with the server's message.
    void Exec(const std::string& database, const std::string& sql) const;
    // The first column of the first row of `sql` as text, run as the
    // superuser through `uri` ("" without rows); throws with the server's message.
    std::string Value(const std::string& uri, const std::string& sql) const;
    // Stops the server, keeping its data, as an office server that goes away
    // (its clients' connections break); Resume starts it again.
    void Halt();
    void Resume();

private:
    void Run(const std::string& program, const std::vector<std::string>& args, int seconds) const;
    void Start();
    void Stop();
    void StartWatchdog();

    std::filesystem::path bin_;
    std::filesystem::path folder_;
    bool asPostgres_ = false;
    bool running_ = false;
    int databases_ = 0;
    int watchdogPipe_ = -1;  // the watchdog wakes when this closes
    int watchdogPid_ = -1;
};

}  // namespace vt::test
