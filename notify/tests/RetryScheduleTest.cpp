// Back-off between tries: doubling from the first wait up to the ceiling.

#include <gtest/gtest.h>

#include <vector>

#include "notify/RetrySchedule.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

TEST(RetryScheduleTest, WaitsDoubleUpToTheCeilingAndStartOverAfterASuccess) {
    struct Case {
        milliseconds first, ceiling;
        std::vector<milliseconds> waits;
    };
    const Case cases[] = {
        {seconds(5),
         std::chrono::minutes(10),
         {seconds(5), seconds(10), seconds(20), seconds(40), seconds(80), seconds(160),
          seconds(320), seconds(600), seconds(600), seconds(600)}},
        {milliseconds(50),
         milliseconds(200),
         {milliseconds(50), milliseconds(100), milliseconds(200), milliseconds(200)}},
        // A ceiling below the first wait is raised to it.
        {seconds(3), seconds(1), {seconds(3), seconds(3)}},
    };
    for (const auto& c : cases) {
        notify::RetrySchedule schedule(c.first, c.ceiling);
        for (std::size_t i = 0; i < c.waits.size(); ++i)
            EXPECT_EQ(schedule.Failed(), c.waits[i]) << "failure " << i + 1;
        EXPECT_EQ(schedule.Failures(), static_cast<int>(c.waits.size()));
        schedule.Succeeded();
        EXPECT_EQ(schedule.Failed(), c.waits.front());
    }
}

TEST(RetryScheduleTest, ManyFailuresNeverOverflowTheCeiling) {
    notify::RetrySchedule schedule(seconds(5), std::chrono::minutes(10));
    milliseconds last{};
    for (int i = 0; i < 200; ++i) last = schedule.Failed();
    EXPECT_EQ(last, std::chrono::minutes(10));
}

}  // namespace
