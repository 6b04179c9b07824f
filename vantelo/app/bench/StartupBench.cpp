// Time from starting `vantelo` to its first painted window over a large
// database (contacts in the address book, calls in the call log), on the
// simulated line. The program, started
// with VANTELO_STARTUP_PROBE=1, prints its age at the first paint and ends.
//   vantelo_startup_bench [contacts=100000] [calls=1000000] [runs=5]
// The platform is QT_QPA_PLATFORM's (offscreen unless set; xcb under Xvfb).

#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "linesim/ScopedDaemon.h"
#include "platform/Clock.h"
#include "testsupport/ProbeProcess.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/VanteloDatabase.h"
#include "BulkFill.h"

namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

int main(int argc, char** argv) {
    const long contacts = argc > 1 ? std::atol(argv[1]) : 100000;
    const long calls = argc > 2 ? std::atol(argv[2]) : 1000000;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
    vt::test::TestEnvironment env;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    env.Set("VANTELO_STARTUP_PROBE", "1");
    const auto database = env.AppHome() / vantelo::kDatabaseFileName;
    auto filling = Clock::now();
    if (!vantelo::bench::MakeDatabase(database, contacts, calls))
        return 1;
    std::printf("database: %ld contacts, %ld calls, filled in %.1f s (%.0f MB)\n", contacts,
                calls, std::chrono::duration<double>(Clock::now() - filling).count(),
                std::filesystem::file_size(database) / 1e6);
    linesim::test::ScopedDaemon line(0);

    const auto program = vt::test::BinaryFolder() / "vantelo";
    const auto output = env.Root() / "probe.out";
    std::vector<double> own, outside;
    for (int run = 0; run < runs; ++run) {
        const auto started = Clock::now();
        const auto probe = vt::test::StartProbe(program, {}, output);
        const auto exit = vt::test::WaitProbe(probe, std::chrono::seconds(60));
        const double wallMs =
            std::chrono::duration<double, std::milli>(Clock::now() - started).count();
        const std::string said = vt::test::ReadText(output);
        const auto at = said.find("startup-ms ");
        if (exit.hung || at == std::string::npos) {
            std::fprintf(stderr, "run %d: no first paint reported:\n%s\n", run, said.c_str());
            return 1;
        }
        own.push_back(std::atof(said.c_str() + at + 11));
        outside.push_back(wallMs);
        std::printf("run %d: first painted window %.0f ms after the process start "
                    "(start to exit seen from outside: %.0f ms)\n",
                    run, own.back(), wallMs);
    }
    std::sort(own.begin(), own.end());
    std::printf("median: %.0f ms to the first painted window (platform %s)\n", own[own.size() / 2],
                std::getenv("QT_QPA_PLATFORM"));
    return 0;
}
