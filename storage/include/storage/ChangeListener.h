#pragma once
// News between the programs that share one PostgreSQL database: a session
// of its own LISTENs on channels and hands each notification to a handler,
// and sends notifications queued by any thread. Its thread waits on the
// socket with poll(), so stopping is immediate, and nothing it does can hold
// up the caller. When the server goes away it connects again, waiting
// longer after each failure; what was said meanwhile is lost, so the
// handler hears `Resumed` to look at everything again. A SQLite file has no
// such news: Start returns nothing for it.

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace storage {

struct Notification {
    std::string channel;
    std::string payload;
};

class ChangeListener {
public:
    // The session's application_name (seen in pg_stat_activity).
    static constexpr const char* kApplicationName = "vantelo-listener";
    struct Handlers {
        // Called on the listener's thread: hand the news over and return.
        std::function<void(const Notification&)> notified;
        // Listening again after the server was away (not at the first connection).
        std::function<void()> resumed;
    };
    struct Timing {
        std::chrono::milliseconds firstRetry{200};
        std::chrono::milliseconds longestRetry{5000};
        // A connection attempt or a command without an answer this long is
        // taken as a lost connection.
        std::chrono::milliseconds answer{10000};
    };
    // At most this many notifications wait to be sent; older ones go first.
    static constexpr std::size_t kQueueLimit = 256;

    // Starts listening on `channels` of the server `database` names; null for
    // a database file. The first connection is made on the thread too.
    static std::unique_ptr<ChangeListener> Start(const std::filesystem::path& database,
                                                 std::vector<std::string> channels,
                                                 Handlers handlers, Timing timing);
    static std::unique_ptr<ChangeListener> Start(const std::filesystem::path& database,
                                                 std::vector<std::string> channels,
                                                 Handlers handlers) {
        return Start(database, std::move(channels), std::move(handlers), Timing{});
    }
    // Stops the thread at once (joined here).
    ~ChangeListener();
    ChangeListener(const ChangeListener&) = delete;
    ChangeListener& operator=(const ChangeListener&) = delete;

    // Queues NOTIFY `channel` with `payload` (at most 7999 bytes); sent by
    // the listener's thread, never waited for. Kept while the server is away.
    void Send(const std::string& channel, const std::string& payload);

    // True while the session listens.
    bool Listening() const;
    // How many times the session began listening (1 after the first connection).
    int Connections() const;

private:
    class Worker;
    explicit ChangeListener(std::unique_ptr<Worker> worker);
    std::unique_ptr<Worker> worker_;
};

}  // namespace storage
