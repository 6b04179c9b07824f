#include "notify/Outbox.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>

#include "Attachment.h"
#include "platform/Folders.h"
#include "platform/IniStore.h"

namespace notify {

namespace fs = std::filesystem;

namespace {

constexpr const char* kItemExtension = ".mail";
constexpr const char* kSection = "Message";
constexpr const char* kLockName = ".lock";

// Microseconds first, so names sort oldest first; the process and a counter
// keep two additions of one microsecond apart.
std::string NewId() {
    static std::atomic<unsigned> counter{0};
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
    char text[64];
    std::snprintf(text, sizeof text, "%017lld-%d-%u", static_cast<long long>(micros),
                  static_cast<int>(::getpid()), counter.fetch_add(1));
    return text;
}

// Makes a rename or removal in the folder durable.
void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::string Describe(const MessageMail& m) {
    return "the message from " + (m.number.empty() ? std::string("an unknown number") : m.number) +
           " at " + m.start;
}

std::optional<AttachKind> ParseKind(const std::string& name) {
    for (AttachKind k : {AttachKind::Mp3, AttachKind::Wav, AttachKind::None})
        if (name == AttachKindName(k))
            return k;
    return std::nullopt;
}

std::optional<OutboxItem> ReadItem(const fs::path& file) {
    vt::IniStore store(file);
    if (!store.Load() || !store.Has(kSection, "Start"))
        return std::nullopt;
    const auto kind = ParseKind(store.GetString(kSection, "Attach"));
    if (!kind)
        return std::nullopt;
    OutboxItem item;
    item.id = file.stem().string();
    item.attach = *kind;
    item.message.callId = store.GetInt(kSection, "CallId");
    item.message.number = store.GetString(kSection, "Number");
    item.message.name = store.GetString(kSection, "Name");
    item.message.start = store.GetString(kSection, "Start");
    item.message.seconds = static_cast<int>(store.GetInt(kSection, "Seconds"));
    item.message.recording = store.GetString(kSection, "Recording");
    const std::string attachment = store.GetString(kSection, "Attachment");
    if (!attachment.empty())
        item.attachment = file.parent_path() / attachment;
    return item;
}

}  // namespace

Outbox::Outbox(fs::path folder) : folder_(std::move(folder)) {}

fs::path Outbox::DefaultFolder() {
    return vt::ApplicationFolderPath() / "Outbox";
}

bool Outbox::Open(std::string* error) {
    if (!vt::EnsureFolder(folder_, 0700)) {
        if (error)
            *error = "mail: the outbox folder " + folder_.string() + " cannot be made";
        return false;
    }
    // A file whose item description is missing is a piece of an addition
    // that did not finish: the message was never queued, so it goes.
    std::error_code ec;
    std::vector<fs::path> pieces;
    for (const auto& entry : fs::directory_iterator(folder_, ec)) {
        const fs::path& path = entry.path();
        const std::string name = path.filename().string();
        if (name == kLockName || path.extension() == kItemExtension)
            continue;
        const std::string id = name.substr(0, name.find('.'));
        if (!fs::exists(folder_ / (id + kItemExtension)))
            pieces.push_back(path);
    }
    for (const auto& piece : pieces) fs::remove(piece, ec);
    return true;
}

bool Outbox::Add(const MessageMail& message, AttachKind attach, std::string* error,
                 std::string* idOut) {
    std::string scratch;
    if (!error)
        error = &scratch;
    const std::string id = NewId();
    fs::path attachment;
    if (attach != AttachKind::None && !message.recording.empty()) {
        attachment = folder_ / (id + (attach == AttachKind::Mp3 ? ".mp3" : ".wav"));
        std::string reason;
        if (!MakeAttachment(message.recording, attach, attachment, &reason)) {
            *error = "mail: " + Describe(message) + " cannot be put in the outbox " +
                     folder_.string() + ": " + reason;
            return false;
        }
    }
    vt::IniStore store(folder_ / (id + kItemExtension));
    store.SetInt(kSection, "CallId", message.callId);
    store.SetString(kSection, "Number", message.number);
    store.SetString(kSection, "Name", message.name);
    store.SetString(kSection, "Start", message.start);
    store.SetInt(kSection, "Seconds", message.seconds);
    store.SetString(kSection, "Recording", message.recording);
    store.SetString(kSection, "Attach",
                    AttachKindName(attachment.empty() ? AttachKind::None : attach));
    store.SetString(kSection, "Attachment", attachment.filename().string());
    if (!store.Save()) {
        std::error_code ec;
        if (!attachment.empty())
            fs::remove(attachment, ec);
        *error = "mail: " + Describe(message) + " cannot be put in the outbox " + folder_.string() +
                 ": the item cannot be written (disk full?)";
        return false;
    }
    SyncFolder(folder_);
    if (idOut)
        *idOut = id;
    return true;
}

std::vector<OutboxItem> Outbox::Items() const {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder_, ec))
        if (entry.path().extension() == kItemExtension)
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<OutboxItem> items;
    for (const auto& file : files)
        if (auto item = ReadItem(file))
            items.push_back(std::move(*item));
    return items;
}

std::optional<OutboxItem> Outbox::Oldest() const {
    auto items = Items();
    if (items.empty())
        return std::nullopt;
    return std::move(items.front());
}

bool Outbox::Remove(const OutboxItem& item, std::string* error) {
    std::error_code ec;
    const fs::path description = folder_ / (item.id + kItemExtension);
    if (!fs::remove(description, ec) && ec) {
        if (error)
            *error = "mail: the sent item " + description.string() +
                     " cannot be removed: " + ec.message();
        return false;
    }
    SyncFolder(folder_);
    if (!item.attachment.empty())
        fs::remove(item.attachment, ec);
    return true;
}

}  // namespace notify
