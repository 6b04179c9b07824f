#include "storage/ChangeListener.h"

#include <libpq-fe.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

#include "PgSession.h"
#include "storage/Dialect.h"
#include "storage/TableSchema.h"

namespace storage {

namespace {

using Clock = std::chrono::steady_clock;

// An idle session asks the server this often whether it is still there, so a
// network that went away silently is noticed.
constexpr std::chrono::seconds kIdleCheck{30};

enum class Wait { Ready, TimedOut, Stopped };

}  // namespace

class ChangeListener::Worker {
public:
    Worker(std::string uri, std::vector<std::string> channels, Handlers handlers, Timing timing)
        : uri_(std::move(uri)),
          channels_(std::move(channels)),
          handlers_(std::move(handlers)),
          timing_(timing),
          wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
        thread_ = std::thread([this] { Run(); });
    }

    ~Worker() {
        stop_ = true;
        Wake();
        thread_.join();
        if (wake_ >= 0)
            ::close(wake_);
    }

    void Send(const std::string& channel, const std::string& payload) {
        {
            std::lock_guard lock(mutex_);
            if (queue_.size() >= kQueueLimit)
                queue_.pop_front();
            queue_.push_back({channel, payload});
        }
        Wake();
    }

    std::atomic<bool> listening{false};
    std::atomic<int> connections{0};

private:
    void Wake() {
        const std::uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(wake_, &one, sizeof one);
    }

    void DrainWake() {
        std::uint64_t count = 0;
        [[maybe_unused]] ssize_t n = ::read(wake_, &count, sizeof count);
    }

    // Waits for `events` on the session's socket (0: only for a wake-up)
    // until `deadline`; a wake-up counts as Ready so queued work is looked at.
    Wait WaitFor(short events, Clock::time_point deadline, short* got = nullptr) {
        for (;;) {
            if (stop_)
                return Wait::Stopped;
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                return Wait::TimedOut;
            pollfd fds[2] = {{wake_, POLLIN, 0}, {conn_ ? PQsocket(conn_) : -1, events, 0}};
            const int n = ::poll(fds, events && conn_ ? 2 : 1,
                                 static_cast<int>(std::min<long long>(left.count(), 1 << 30)));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return Wait::TimedOut;
            if (fds[0].revents)
                DrainWake();
            if (stop_)
                return Wait::Stopped;
            if (got)
                *got = fds[1].revents;
            if (n > 0)
                return Wait::Ready;
        }
    }

    void Run() {
        auto retry = timing_.firstRetry;
        while (!stop_) {
            if (Connect()) {
                retry = timing_.firstRetry;
                Serve();
            }
            listening = false;
            if (conn_)
                PQfinish(conn_);
            conn_ = nullptr;
            if (stop_)
                break;
            // Only stop (or the wait running out) ends this wait.
            const auto until = Clock::now() + retry;
            while (WaitFor(0, until) == Wait::Ready) {
            }
            retry = std::min(retry * 2, timing_.longestRetry);
        }
        if (conn_)
            PQfinish(conn_);
        conn_ = nullptr;
    }

    bool Connect() {
        PgSession::Parameters p = PgSession::ParametersFor(uri_);
        for (int k = 0; p.keys[k]; ++k)
            if (std::string_view(p.keys[k]) == "fallback_application_name")
                p.values[k] = kApplicationName;
        conn_ = PQconnectStartParams(p.keys, p.values, 1);
        if (!conn_ || PQstatus(conn_) == CONNECTION_BAD)
            return false;
        // The server's farewell when it shuts down is no news for the user.
        PQsetNoticeProcessor(
            conn_, [](void*, const char*) {}, nullptr);
        const auto deadline = Clock::now() + timing_.answer;
        PostgresPollingStatusType state = PGRES_POLLING_WRITING;
        while (state != PGRES_POLLING_OK) {
            if (state == PGRES_POLLING_FAILED)
                return false;
            const short events = state == PGRES_POLLING_READING ? POLLIN : POLLOUT;
            short got = 0;
            const Wait w = WaitFor(events, deadline, &got);
            if (w != Wait::Ready)
                return false;
            if (got)
                state = PQconnectPoll(conn_);
        }
        if (PQsetnonblocking(conn_, 1) != 0)
            return false;
        std::string sql;
        for (const std::string& channel : channels_)
            sql += "LISTEN " + QuoteIdentifier(channel) + ";";
        if (!sql.empty() &&
            (!PQsendQuery(conn_, sql.c_str()) || !Finish(Clock::now() + timing_.answer)))
            return false;
        listening = true;
        if (++connections > 1 && handlers_.resumed)
            handlers_.resumed();
        return true;
    }

    // Sends what libpq holds and reads until the command sent has all its
    // results; notifications that arrive meanwhile are handed on.
    bool Finish(Clock::time_point deadline) {
        for (;;) {
            const int flushed = PQflush(conn_);
            if (flushed < 0)
                return false;
            if (flushed == 0 && !PQisBusy(conn_)) {
                PGresult* r = PQgetResult(conn_);
                if (!r)
                    break;
                const ExecStatusType st = PQresultStatus(r);
                PQclear(r);
                if (st == PGRES_FATAL_ERROR && PQstatus(conn_) == CONNECTION_BAD)
                    return false;
                continue;
            }
            short got = 0;
            if (WaitFor(flushed ? POLLIN | POLLOUT : POLLIN, deadline, &got) != Wait::Ready)
                return false;
            if ((got & (POLLIN | POLLERR | POLLHUP)) && !Consume())
                return false;
        }
        Deliver();
        return PQstatus(conn_) == CONNECTION_OK;
    }

    bool Consume() {
        if (!PQconsumeInput(conn_))
            return false;
        Deliver();
        return true;
    }

    void Deliver() {
        while (PGnotify* n = PQnotifies(conn_)) {
            Notification news{n->relname ? n->relname : "", n->extra ? n->extra : ""};
            PQfreemem(n);
            if (handlers_.notified)
                handlers_.notified(news);
        }
    }

    // Listens until the connection is lost or the listener stops.
    void Serve() {
        auto idleSince = Clock::now();
        while (!stop_) {
            std::optional<Notification> next;
            {
                std::lock_guard lock(mutex_);
                if (!queue_.empty()) {
                    next = std::move(queue_.front());
                    queue_.pop_front();
                }
            }
            if (next) {
                const char* values[] = {next->channel.c_str(), next->payload.c_str()};
                if (!PQsendQueryParams(conn_, "SELECT pg_notify($1, $2)", 2, nullptr, values,
                                       nullptr, nullptr, 0) ||
                    !Finish(Clock::now() + timing_.answer))
                    return;
                idleSince = Clock::now();
                continue;
            }
            short got = 0;
            const Wait w = WaitFor(POLLIN, idleSince + kIdleCheck, &got);
            if (w == Wait::Stopped)
                return;
            if (w == Wait::TimedOut) {
                if (!PQsendQuery(conn_, "SELECT 1") || !Finish(Clock::now() + timing_.answer))
                    return;
                idleSince = Clock::now();
                continue;
            }
            if ((got & (POLLIN | POLLERR | POLLHUP)) && !Consume())
                return;
            if (PQstatus(conn_) != CONNECTION_OK)
                return;
        }
    }

    const std::string uri_;
    const std::vector<std::string> channels_;
    const Handlers handlers_;
    const Timing timing_;
    const int wake_;
    PGconn* conn_ = nullptr;  // the thread's alone
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::deque<Notification> queue_;
    std::thread thread_;
};

std::unique_ptr<ChangeListener> ChangeListener::Start(const std::filesystem::path& database,
                                                      std::vector<std::string> channels,
                                                      Handlers handlers, Timing timing) {
    if (!IsServerUri(database.native()) || !PgSession::CheckUri(database.native()).ok())
        return nullptr;
    return std::unique_ptr<ChangeListener>(new ChangeListener(std::make_unique<Worker>(
        database.native(), std::move(channels), std::move(handlers), timing)));
}

ChangeListener::ChangeListener(std::unique_ptr<Worker> worker) : worker_(std::move(worker)) {}

ChangeListener::~ChangeListener() = default;

void ChangeListener::Send(const std::string& channel, const std::string& payload) {
    worker_->Send(channel, payload);
}

bool ChangeListener::Listening() const {
    return worker_->listening;
}

int ChangeListener::Connections() const {
    return worker_->connections;
}

}  // namespace storage
