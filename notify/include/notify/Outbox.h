#pragma once
// The outbox: a private folder (0700) holding one item per message until the
// server has accepted its mail. An item is a description file "ID.mail" and
// its prepared attachment "ID.mp3" / "ID.wav" (both 0600). The attachment is
// written and flushed first, the description last and atomically, so an
// item exists whole or not at all; pieces without a description are removed
// on Open. IDs sort oldest first.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "notify/MailSettings.h"
#include "notify/MessageMail.h"

namespace notify {

struct OutboxItem {
    std::string id;
    MessageMail message;
    AttachKind attach = AttachKind::None;
    std::filesystem::path attachment;  // empty when none
};

class Outbox {
public:
    explicit Outbox(std::filesystem::path folder);

    // "Outbox" in the application folder.
    static std::filesystem::path DefaultFolder();
    const std::filesystem::path& Folder() const { return folder_; }

    // Creates the folder (0700) and removes pieces of additions a crash cut
    // short. False with one line.
    bool Open(std::string* error);

    // Prepares the attachment (MP3 through mp3conv, or WAV; a compressed
    // recording is decoded first) and writes the item. False with one line,
    // and then nothing of it is left in the folder.
    bool Add(const MessageMail& message, AttachKind attach, std::string* error,
             std::string* id = nullptr);

    // Whole items, oldest first.
    std::vector<OutboxItem> Items() const;
    std::optional<OutboxItem> Oldest() const;

    // Removes the description first (the item is gone at that moment), then
    // the attachment. False with one line.
    bool Remove(const OutboxItem& item, std::string* error);

private:
    std::filesystem::path folder_;
};

}  // namespace notify
