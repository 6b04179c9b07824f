// How long the phone takes to decide about a caller with many screening
// rules: from the caller ID to the verdict, rules read from the database,
// the decision, and the hit counted.
//   vantelo_screening_bench [RULES] [CALLS]   (default 10000 rules, 20 calls)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "storage/Transaction.h"
#include "testsupport/TestEnvironment.h"
#include "vantelo/core/CRSBlockList.h"
#include "vantelo/core/DatabasePhoneStore.h"
#include "vantelo/core/VanteloDatabase.h"

int main(int argc, char** argv) {
    const long rules = argc > 1 ? std::atol(argv[1]) : 10000;
    const int calls = argc > 2 ? std::atoi(argv[2]) : 20;
    vt::test::TestEnvironment env;
    vt::SystemClock& clock = const_cast<vt::SystemClock&>(vt::SystemClock::Instance());
    const auto db = env.AppHome() / vantelo::kDatabaseFileName;
    if (!vantelo::PrepareDatabase(clock, db).ok())
        return 1;
    {
        vantelo::CRSBlockList list(db);
        if (!list.Open().ok())
            return 1;
        storage::Transaction tx(*list.GetConnection());
        if (!tx.Begin().ok())
            return 1;
        for (long i = 0; i < rules; ++i) {
            vantelo::ScreeningRule rule;
            // Ranges and single numbers, longer and shorter, one permit in ten.
            rule.pattern = (i % 3 == 0 ? "070" : "02") + std::to_string(1000000 + i) +
                           (i % 2 == 0 ? "*" : "");
            rule.kind = i % 10 == 0 ? vantelo::RuleKind::Permit : vantelo::RuleKind::Block;
            if (!list.Add(rule).ok())
                return 1;
        }
        if (!tx.Commit().ok())
            return 1;
    }
    vantelo::DatabasePhoneStore store(clock, db);
    std::vector<double> ms;
    int blocked = 0;
    for (int i = 0; i < calls; ++i) {
        const std::string number = "02" + std::to_string(1000000 + (i * 487) % rules) + "55";
        const auto start = std::chrono::steady_clock::now();
        const auto decision = store.Screen({number, false, false}, clock.NowLocal());
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                               start)
                         .count());
        blocked += decision.blocked ? 1 : 0;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("rules %ld: caller ID to the screening verdict: median %.2f ms, worst %.2f ms "
                "over %d calls (%d blocked)\n",
                rules, ms[ms.size() / 2], ms.back(), calls, blocked);
    return 0;
}
