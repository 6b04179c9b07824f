#include "testsupport/PostgresServer.h"

#include <fcntl.h>
#include <libpq-fe.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "testsupport/ChildProcess.h"

namespace vt::test {

namespace {

// The server's programs: VT_PG_BIN, else Debian's folder of PostgreSQL 15.
std::filesystem::path ServerPrograms() {
    const char* env = std::getenv("VT_PG_BIN");
    std::filesystem::path bin = env && *env ? env : "/usr/lib/postgresql/15/bin";
    if (!std::filesystem::exists(bin / "initdb") || !std::filesystem::exists(bin / "pg_ctl"))
        throw std::runtime_error("PostgreSQL 15 is not installed (no initdb and pg_ctl in " +
                                 bin.string() +
                                 "): the shared-store tests need it; run "
                                 "scripts/install-deps.sh");
    return bin;
}

std::string ExitText(const std::optional<int>& status) {
    return status ? "exit status " + std::to_string(*status) : "no end within the time limit";
}

}  // namespace

PostgresServer::PostgresServer() : bin_(ServerPrograms()) {
    char pattern[] = "/tmp/vt-pg-XXXXXX";
    if (!::mkdtemp(pattern))
        throw std::runtime_error("cannot make a folder for the test server");
    folder_ = pattern;
    ::chmod(folder_.c_str(), 0700);
    asPostgres_ = ::geteuid() == 0;
    if (asPostgres_) {
        const passwd* pw = ::getpwnam("postgres");
        if (!pw) {
            std::filesystem::remove_all(folder_);
            throw std::runtime_error(
                "the tests run as root but there is no user 'postgres' "
                "to run the test server as");
        }
        // The folder stays private: only its owner, the server's user, enters it.
        if (::chown(folder_.c_str(), pw->pw_uid, pw->pw_gid) != 0) {
            std::filesystem::remove_all(folder_);
            throw std::runtime_error("cannot give the test server's folder to 'postgres'");
        }
    }
    try {
        Run("initdb",
            {"-D", (folder_ / "data").string(), "-U", "postgres", "-E", "UTF8", "--locale=C",
             "--lc-ctype=C.UTF-8", "--auth=trust", "--no-sync"},
            60);
        Start();
        StartWatchdog();
    } catch (...) {
        std::filesystem::remove_all(folder_);
        throw;
    }
}

PostgresServer::~PostgresServer() {
    Stop();
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
    if (watchdogPipe_ >= 0) {
        ::close(watchdogPipe_);
        // The watchdog finds the server gone and ends at once.
        for (int i = 0; i < 1000 && ::waitpid(watchdogPid_, nullptr, WNOHANG) == 0; ++i)
            ::usleep(10000);
    }
}

void PostgresServer::StartWatchdog() {
    // Everything the child needs is made before fork: after it, only
    // async-signal-safe calls until exec.
    const std::string pgctl = (bin_ / "pg_ctl").string();
    std::string script = (asPostgres_ ? "/usr/sbin/runuser -u postgres -- " : "") + pgctl +
                         " -D '" + (folder_ / "data").string() +
                         "' -m immediate -w -t 10 stop >/dev/null 2>&1; rm -rf '" +
                         folder_.string() + "'";
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setsid();  // away from the test's signals
        ::close(fds[1]);
        char byte;
        while (::read(fds[0], &byte, 1) != 0) {
        }
        const char* argv[] = {"/bin/sh", "-c", script.c_str(), nullptr};
        ::execv("/bin/sh", const_cast<char* const*>(argv));
        ::_exit(127);
    }
    ::close(fds[0]);
    if (pid < 0) {
        ::close(fds[1]);
        return;
    }
    watchdogPipe_ = fds[1];
    watchdogPid_ = pid;
}

void PostgresServer::Start() {
    // Unix socket only, in the private folder; durability is not what the
    // tests measure.
    Run("pg_ctl",
        {"-D", (folder_ / "data").string(), "-l", (folder_ / "server.log").string(), "-w", "-t",
         "30", "-o",
         "-c listen_addresses='' -c unix_socket_directories='" + folder_.string() +
             "' -c fsync=off -c synchronous_commit=off -c full_page_writes=off "
             "-c max_connections=200",
         "start"},
        40);
    running_ = true;
}

void PostgresServer::Halt() {
    Stop();
}

void PostgresServer::Resume() {
    if (!running_)
        Start();
}

void PostgresServer::Stop() {
    if (!running_)
        return;
    running_ = false;
    try {
        Run("pg_ctl", {"-D", (folder_ / "data").string(), "-m", "fast", "-w", "-t", "10", "stop"},
            15);
    } catch (const std::exception&) {
        try {
            Run("pg_ctl",
                {"-D", (folder_ / "data").string(), "-m", "immediate", "-w", "-t", "10", "stop"},
                15);
        } catch (const std::exception&) {
        }
    }
}

PostgresServer& PostgresServer::Shared() {
    // Destroyed at exit, which stops the server.
    static PostgresServer server;
    return server;
}

void PostgresServer::Run(const std::string& program, const std::vector<std::string>& args,
                         int seconds) const {
    const std::filesystem::path tool = bin_ / program;
    std::unique_ptr<ChildProcess> child;
    if (asPostgres_) {
        std::vector<std::string> full{"-u", "postgres", "--", tool.string()};
        full.insert(full.end(), args.begin(), args.end());
        child = std::make_unique<ChildProcess>("/usr/sbin/runuser", full);
    } else {
        child = std::make_unique<ChildProcess>(tool, args);
    }
    const std::optional<int> status = child->WaitExit(std::chrono::seconds(seconds));
    if (!status || *status != 0)
        throw std::runtime_error(program + " failed (" + ExitText(status) +
                                 "): " + child->Output());
}

std::string PostgresServer::Uri(const std::string& database, const std::string& user) const {
    return "postgresql:///" + database + "?host=" + folder_.string() + "&user=" + user;
}

void PostgresServer::Exec(const std::string& database, const std::string& sql) const {
    PGconn* conn = PQconnectdb((Uri(database) + "&connect_timeout=10").c_str());
    if (PQstatus(conn) != CONNECTION_OK) {
        std::string error = PQerrorMessage(conn);
        PQfinish(conn);
        throw std::runtime_error("cannot reach the test server: " + error);
    }
    PGresult* r = PQexec(conn, sql.c_str());
    const ExecStatusType st = PQresultStatus(r);
    std::string error = PQresultErrorMessage(r);
    PQclear(r);
    PQfinish(conn);
    if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK)
        throw std::runtime_error("the test server refused \"" + sql + "\": " + error);
}

std::string PostgresServer::Value(const std::string& uri, const std::string& sql) const {
    PGconn* conn = PQconnectdb((uri + "&connect_timeout=10").c_str());
    if (PQstatus(conn) != CONNECTION_OK) {
        std::string error = PQerrorMessage(conn);
        PQfinish(conn);
        throw std::runtime_error("cannot reach the test server: " + error);
    }
    PGresult* r = PQexec(conn, sql.c_str());
    const bool ok = PQresultStatus(r) == PGRES_TUPLES_OK;
    std::string value = ok && PQntuples(r) > 0 ? PQgetvalue(r, 0, 0) : "";
    std::string error = PQresultErrorMessage(r);
    PQclear(r);
    PQfinish(conn);
    if (!ok)
        throw std::runtime_error("the test server refused \"" + sql + "\": " + error);
    return value;
}

std::string PostgresServer::NewDatabase(const std::string& user) {
    const std::string name = "vt_test_" + std::to_string(++databases_);
    Exec("postgres", "CREATE DATABASE " + name + " TEMPLATE template0 ENCODING 'UTF8'");
    return Uri(name, user);
}

}  // namespace vt::test
