// Many real desks on one shared database: N `vantelo --headless` programs
// (20 by default), each on its own simulated line (`linesim serve`) in its
// own private environment, all on one private PostgreSQL server. Each desk's
// line rings in turn with caller ID; the figure is the time from the caller
// ID sent to the line until every other desk printed the ring's notice
// ("notice: DESK: 홍길동 0212345678"), beside the time until the ringing desk
// itself shows the caller. At the end the shared call log must hold every
// call, logged by its desk.
//
//   vantelo_headless_desks_bench [--desks N] [--rounds N]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "HeadlessProcess.h"
#include "linesim/ScopedDaemon.h"
#include "platform/Clock.h"
#include "storage/ChangeListener.h"
#include "testsupport/PostgresServer.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/core/PhoneSettings.h"
#include "vantelo/core/VanteloDatabase.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// One desk: its environment, line and program. Environments nest: each
// holds the variables until the next is made, and they are undone in reverse.
struct Desk {
    Desk(const std::string& uri, std::string deskName) : name(std::move(deskName)) {
        vantelo::PhoneSettings s;
        s.IntExtDelay = 0;
        s.DatabaseUrl = uri;
        s.DeskName = name;
        vantelo::SaveSettings(s);
        daemon.Command("speed 20");
        phone.emplace();
    }
    ~Desk() { phone.reset(); }

    // The line's control socket is in this desk's runtime folder.
    std::string Line(const std::string& command) {
        const char* before = std::getenv("XDG_RUNTIME_DIR");
        const std::string saved = before ? before : "";
        ::setenv("XDG_RUNTIME_DIR", env.RuntimeDir().c_str(), 1);
        std::string answer = daemon.Command(command);
        ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
        return answer;
    }

    std::string name;
    vt::test::TestEnvironment env;
    linesim::test::ScopedDaemon daemon{0};
    std::optional<vantelo::HeadlessProcess> phone;
};

std::pair<double, double> MedianWorst(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.back()};
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t count = 20;
    int rounds = 2;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--desks") == 0)
            count = static_cast<std::size_t>(std::max(2, std::atoi(argv[i + 1])));
        else if (std::strcmp(argv[i], "--rounds") == 0)
            rounds = std::max(1, std::atoi(argv[i + 1]));
    }
    vt::test::PostgresServer server;
    const std::string uri = server.NewDatabase();
    {
        vt::test::TestEnvironment setup;
        vt::SystemClock clock;
        if (!vantelo::PrepareDatabase(clock, uri).ok())
            return 1;
        vantelo::CRSAddressList contacts;
        vantelo::ContactRecord kim;
        *kim.Field("Name") = "홍길동";
        *kim.Field("HomePhone") = "0212345678";
        if (!contacts.Open(uri).ok() || !contacts.AddContact(kim).ok())
            return 1;
    }

    std::vector<std::unique_ptr<Desk>> desks;
    int status = 0;
    [&] {
        const auto started = Clock::now();
        for (std::size_t d = 0; d < count; ++d) {
            desks.push_back(std::make_unique<Desk>(uri, "desk" + std::to_string(d + 1)));
            if (!desks.back()->phone->WaitUntilServing()) {
                std::fprintf(stderr, "desk %zu did not start\n", d + 1);
                status = 1;
                return;
            }
        }
        // Every desk listens before the first ring.
        const std::string listening =
            std::string(
                "SELECT count(*) FROM pg_stat_activity WHERE datname = "
                "current_database() AND state = 'idle' AND query LIKE 'LISTEN%' AND "
                "application_name = '") +
            storage::ChangeListener::kApplicationName + "'";
        const auto until = Clock::now() + std::chrono::seconds(60);
        while (server.Value(uri, listening) != std::to_string(count)) {
            if (Clock::now() > until) {
                std::fprintf(stderr, "not every desk listens\n");
                status = 1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        std::printf("%zu desks started and listening in %.1f s\n", count,
                    Ms(Clock::now() - started) / 1000);

        std::vector<double> local, slowest;
        for (int r = 0; r < rounds; ++r)
            for (std::size_t k = 0; k < count; ++k) {
                Desk& ringing = *desks[k];
                ringing.Line("ring 1000 1000 1");
                if (!ringing.phone->WaitFor("popup: Vantelo\\n Ring", 20s)) {
                    std::fprintf(stderr, "%s did not ring\n", ringing.name.c_str());
                    status = 1;
                    return;
                }
                const auto start = Clock::now();
                ringing.Line("cid 0212345678");
                if (!ringing.phone->WaitFor("popup: 홍길동\\n0212345678", 20s)) {
                    std::fprintf(stderr, "%s did not show the caller\n%s", ringing.name.c_str(),
                                 ringing.phone->Transcript().c_str());
                    status = 1;
                    return;
                }
                local.push_back(Ms(Clock::now() - start));
                const std::string notice = "notice: " + ringing.name + ": 홍길동 0212345678";
                for (std::size_t d = 0; d < count; ++d)
                    if (d != k && !desks[d]->phone->WaitFor(notice, 20s)) {
                        std::fprintf(stderr, "%s did not see the ring of %s\n%s",
                                     desks[d]->name.c_str(), ringing.name.c_str(),
                                     desks[d]->phone->Transcript().c_str());
                        status = 1;
                        return;
                    }
                slowest.push_back(Ms(Clock::now() - start));
                // The caller gives up; every other desk hears that too.
                const std::string ended = "notice: " + ringing.name + ": 벨이 멈췄습니다";
                for (std::size_t d = 0; d < count; ++d)
                    if (d != k && !desks[d]->phone->WaitFor(ended, 30s)) {
                        std::fprintf(stderr, "%s did not see the end of %s's ring\n",
                                     desks[d]->name.c_str(), ringing.name.c_str());
                        status = 1;
                        return;
                    }
                std::this_thread::sleep_for(300ms);  // the line settles between calls
            }
        const std::size_t calls = count * static_cast<std::size_t>(rounds);
        const auto rows = vantelo::CallRows(uri, calls, 20s);
        const auto [lm, lw] = MedianWorst(local);
        const auto [sm, sw] = MedianWorst(slowest);
        std::printf("%zu calls, each seen by all %zu other desks; %zu calls in the shared log\n",
                    calls, count - 1, rows.size());
        std::printf(
            "  caller ID to the ringing desk's own pop-up:   median %.1f ms, worst %.1f ms\n", lm,
            lw);
        std::printf(
            "  caller ID to the notice on the slowest desk:  median %.1f ms, worst %.1f ms\n", sm,
            sw);
        if (rows.size() != calls)
            status = 1;
    }();
    while (!desks.empty()) desks.pop_back();  // environments undone in reverse
    return status;
}
