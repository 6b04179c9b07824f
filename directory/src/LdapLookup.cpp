#include "directory/LdapLookup.h"

#include <signal.h>

#include <optional>

#include "notify/StoredPassword.h"

namespace directory {

LdapLookup::LdapLookup(LdapSettings settings, Answered answered, std::chrono::milliseconds budget)
    : settings_(std::move(settings)), answered_(std::move(answered)), budget_(budget) {
    thread_ = std::thread([this] { Run(); });
}

LdapLookup::~LdapLookup() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        waiting_.clear();
    }
    wake_.notify_all();
    thread_.join();
}

void LdapLookup::Ask(const std::string& number) {
    {
        std::lock_guard lock(mutex_);
        waiting_.push_back({number, std::chrono::steady_clock::now() + budget_});
    }
    wake_.notify_one();
}

void LdapLookup::Run() {
    // A server that closes the connection under a write must not end the
    // program: the write fails and the look-up says so.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);

    // Found before the first call comes, so no caller waits for the
    // Secret Service.
    std::optional<LdapClient> client;
    const notify::PasswordLookup password =
        notify::FindStoredPassword({"directory", "Vantelo directory", settings_.server, settings_.bindDn,
                              settings_.passwordFile});
    if (password.ok)
        client.emplace(settings_, password.password);
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
        if (stopping_)
            return;
        const Asked asked = std::move(waiting_.front());
        waiting_.pop_front();
        lock.unlock();
        LdapAnswer answer;
        if (client) {
            answer = client->Find(asked.number, asked.deadline);
        } else {
            answer.outcome = LdapAnswer::Outcome::Failed;
            answer.error = password.error;
        }
        answered_(asked.number, answer);
        lock.lock();
    }
}

}  // namespace directory
