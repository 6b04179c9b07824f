#pragma once
// Mails each new answering-machine message when the settings name a mail
// server. Preparing a mail (the MP3 of the recording) takes tens of
// milliseconds, so it runs on a thread of its own, in arrival order, and
// the phone's thread only hands the message over. Status lines of the
// delivery come back through `post` to the owner's thread.

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "notify/MailService.h"
#include "vantelo/core/NewMessage.h"

namespace vantelo {

class MessageMailer {
public:
    using Post = std::function<void(std::function<void()>)>;
    using Say = std::function<void(const notify::MailStatus&)>;

    // `say` runs on the owner's thread (through `post`), for each mail sent
    // and each failure.
    MessageMailer(Post post, Say say, notify::MailServiceOptions options = {});
    // Hands over every message given so far, then stops delivery (the
    // outbox keeps what was not sent).
    ~MessageMailer();
    MessageMailer(const MessageMailer&) = delete;
    MessageMailer& operator=(const MessageMailer&) = delete;

    // Reads [Mail]; false when mail is off or cannot work (one line said).
    bool Start();
    void Arrived(const NewMessage& message);

    static notify::MessageMail MailOf(const NewMessage& message);

private:
    void HandOver();

    Post post_;
    Say say_;
    notify::MailService service_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<notify::MessageMail> waiting_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace vantelo
