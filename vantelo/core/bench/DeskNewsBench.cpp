// How fast a call logged on one desk reaches the other desks of a shared
// database (a private PostgreSQL server of the bench's own, on a Unix socket):
//
// 1. Two desks: desk A logs calls through its store; desk B's channel hears
//    the CallList change, and B's call log then reads the new row. Median
//    and worst of both delays, from the moment A began to log the call.
// 2. Many desks on one server (--desks, 20 by default), each with its
//    channel and its store: each call is logged by one desk in turn, and
//    every other desk must hear it; the delay is the slowest desk's.
//
//   vantelo_desks_bench [--calls N] [--desks N]

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/Clock.h"
#include "testsupport/PostgresServer.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/DatabasePhoneStore.h"
#include "vantelo/core/DeskChannel.h"
#include "vantelo/core/VanteloDatabase.h"

namespace {

using Clock = std::chrono::steady_clock;
using vantelo::DeskChannel;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

struct Figures {
    double median = 0;
    double worst = 0;
};

Figures Summary(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? Figures{} : Figures{v[v.size() / 2], v.back()};
}

// Every desk's count of CallList news and when the last came, shared with
// the channels' threads.
class Heard {
public:
    explicit Heard(std::size_t desks) : count_(desks, 0), last_(desks) {}
    void Note(std::size_t desk) {
        const auto now = Clock::now();
        std::lock_guard lock(mutex_);
        ++count_[desk];
        last_[desk] = now;
        changed_.notify_all();
    }
    std::size_t Count(std::size_t desk) {
        std::lock_guard lock(mutex_);
        return count_[desk];
    }
    // Waits (at most 10 s) until every desk but `writer` counts more than
    // `before` of it; the time the slowest one heard, or nothing.
    std::optional<Clock::time_point> AllBut(std::size_t writer,
                                            const std::vector<std::size_t>& before) {
        std::unique_lock lock(mutex_);
        const bool done = changed_.wait_for(lock, std::chrono::seconds(10), [&] {
            for (std::size_t d = 0; d < count_.size(); ++d)
                if (d != writer && count_[d] <= before[d])
                    return false;
            return true;
        });
        if (!done)
            return std::nullopt;
        Clock::time_point slowest{};
        for (std::size_t d = 0; d < count_.size(); ++d)
            if (d != writer)
                slowest = std::max(slowest, last_[d]);
        return slowest;
    }
    std::vector<std::size_t> Counts() {
        std::lock_guard lock(mutex_);
        return count_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::size_t> count_;
    std::vector<Clock::time_point> last_;
};

struct Desk {
    std::unique_ptr<vantelo::DatabasePhoneStore> store;
    std::unique_ptr<DeskChannel> channel;
};

std::vector<Desk> OpenDesks(const std::string& uri, std::size_t count, Heard& heard,
                            const vt::Clock& clock) {
    std::vector<Desk> desks(count);
    for (std::size_t d = 0; d < count; ++d) {
        desks[d].store = std::make_unique<vantelo::DatabasePhoneStore>(clock, uri);
        DeskChannel::Handlers h;
        h.tableChanged = [&heard, d](const std::string& table) {
            if (table == "CallList")
                heard.Note(d);
        };
        desks[d].channel = DeskChannel::Open(uri, "desk " + std::to_string(d + 1), h);
    }
    // Until every channel listens.
    const auto until = Clock::now() + std::chrono::seconds(30);
    for (const Desk& desk : desks)
        while (!desk.channel->Listening() && Clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return desks;
}

bool Log(Desk& desk, int n) {
    vantelo::CallRecord call;
    call.CallMode = vantelo::kCallReceived;
    call.CallNum = "02" + std::to_string(10000000 + n);
    call.CallName = "홍길동";
    std::string error;
    if (!desk.store->AppendCall(call, error)) {
        std::fprintf(stderr, "logging a call failed: %s\n", error.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int calls = 200;
    std::size_t deskCount = 20;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--calls") == 0)
            calls = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--desks") == 0)
            deskCount = static_cast<std::size_t>(std::max(2, std::atoi(argv[i + 1])));
    }
    vt::test::TestEnvironment env;
    vt::test::PostgresServer server;
    const vt::Clock& clock = vt::SystemClock::Instance();

    // 1. Two desks.
    {
        const std::string uri = server.NewDatabase();
        if (!vantelo::PrepareDatabase(clock, uri).ok())
            return 1;
        Heard heard(2);
        std::vector<Desk> desks = OpenDesks(uri, 2, heard, clock);
        vantelo::CRSCallList log(uri);  // desk B's call log page
        if (!log.Open().ok())
            return 1;
        std::vector<double> news, rows, appends;
        for (int n = 0; n < calls; ++n) {
            const auto before = heard.Counts();
            const auto start = Clock::now();
            if (!Log(desks[0], n))
                return 1;
            appends.push_back(Ms(Clock::now() - start));
            const auto heardAt = heard.AllBut(0, before);
            if (!heardAt) {
                std::fprintf(stderr, "desk B did not hear call %d within 10 s\n", n + 1);
                return 1;
            }
            news.push_back(Ms(*heardAt - start));
            if (!log.ReApply().ok() || log.GetRecordCount() != n + 1) {
                std::fprintf(stderr, "desk B does not list call %d\n", n + 1);
                return 1;
            }
            rows.push_back(Ms(Clock::now() - start));
        }
        const Figures a = Summary(appends), h = Summary(news), r = Summary(rows);
        std::printf("two desks, %d calls logged on A:\n", calls);
        std::printf("  A logs the call:             median %.2f ms, worst %.2f ms\n", a.median,
                    a.worst);
        std::printf("  B hears it (LISTEN/NOTIFY):  median %.2f ms, worst %.2f ms\n", h.median,
                    h.worst);
        std::printf("  B's call log lists it:       median %.2f ms, worst %.2f ms\n", r.median,
                    r.worst);
    }

    // 2. Many desks.
    {
        const std::string uri = server.NewDatabase();
        if (!vantelo::PrepareDatabase(clock, uri).ok())
            return 1;
        Heard heard(deskCount);
        std::vector<Desk> desks = OpenDesks(uri, deskCount, heard, clock);
        std::vector<double> slowest;
        for (int n = 0; n < calls; ++n) {
            const std::size_t writer = static_cast<std::size_t>(n) % deskCount;
            const auto before = heard.Counts();
            const auto start = Clock::now();
            if (!Log(desks[writer], n))
                return 1;
            const auto heardAt = heard.AllBut(writer, before);
            if (!heardAt) {
                std::fprintf(stderr, "not every desk heard call %d within 10 s\n", n + 1);
                return 1;
            }
            slowest.push_back(Ms(*heardAt - start));
        }
        const Figures s = Summary(slowest);
        std::printf(
            "%zu desks on one server, %d calls (each desk logs in turn), all %zu others "
            "heard every call:\n",
            deskCount, calls, deskCount - 1);
        std::printf("  slowest desk hears it:       median %.2f ms, worst %.2f ms\n", s.median,
                    s.worst);
    }
    return 0;
}
