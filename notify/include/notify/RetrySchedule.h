#pragma once
// Back-off between tries of a mail the server did not take: the first wait,
// doubled after each failure up to a ceiling; a success starts over.

#include <chrono>

namespace notify {

class RetrySchedule {
public:
    using Duration = std::chrono::milliseconds;

    explicit RetrySchedule(Duration first = std::chrono::seconds(5),
                           Duration ceiling = std::chrono::minutes(10));

    // The wait after one more failure.
    Duration Failed();
    void Succeeded() { failures_ = 0; }
    int Failures() const { return failures_; }

private:
    Duration first_;
    Duration ceiling_;
    int failures_ = 0;
};

}  // namespace notify
