#include "vantelo/app/MessageMailer.h"

namespace vantelo {

MessageMailer::MessageMailer(Post post, Say say, notify::MailServiceOptions options)
    : post_(std::move(post)),
      say_(std::move(say)),
      service_(
          [this](const notify::MailStatus& status) {
              post_([this, status] { say_(status); });
          },
          std::move(options)) {}

MessageMailer::~MessageMailer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
    service_.Stop();
}

bool MessageMailer::Start() {
    if (!service_.Start())
        return false;
    thread_ = std::thread([this] { HandOver(); });
    return true;
}

void MessageMailer::Arrived(const NewMessage& message) {
    if (!thread_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        waiting_.push_back(MailOf(message));
    }
    wake_.notify_one();
}

notify::MessageMail MessageMailer::MailOf(const NewMessage& message) {
    return {message.callId, message.number,  message.name,
            message.start,  message.seconds, message.recording};
}

void MessageMailer::HandOver() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
        if (waiting_.empty())
            return;  // stopping, and every message handed over
        notify::MessageMail mail = std::move(waiting_.front());
        waiting_.pop_front();
        lock.unlock();
        service_.Enqueue(mail);  // says its own line when the item cannot be written
        lock.lock();
    }
}

}  // namespace vantelo
