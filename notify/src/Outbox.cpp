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
#include "platform/Translate.h"

namespace notify {

namespace fs = std::filesystem;

namespace {

constexpr const char* kContext = "notify";

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
    if (m.number.empty())
        return vt::Translate(
            kContext, QT_TRANSLATE_NOOP("notify", "%1에 모르는 번호에서 온 메시지"), {m.start});
    return vt::Translate(kContext, QT_TRANSLATE_NOOP("notify", "%2에 %1에서 온 메시지"),
                         {m.number, m.start});
}

std::string NotQueued(const MessageMail& m, const fs::path& folder, const std::string& why) {
    return "mail: " + vt::Translate(kContext,
                                    QT_TRANSLATE_NOOP(
                                        "notify", "%1을(를) 보낼 편지함 %2에 넣을 수 없습니다: %3"),
                                    {Describe(m), folder.string(), why});
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
            *error = "mail: " +
                     vt::Translate(
                         kContext,
                         QT_TRANSLATE_NOOP("notify", "보낼 편지함 폴더 %1을(를) 만들 수 없습니다"),
                         {folder_.string()});
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
            *error = NotQueued(message, folder_, reason);
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
        *error = NotQueued(message, folder_,
                           vt::Translate(kContext, QT_TRANSLATE_NOOP("notify",
                                                                     "항목을 쓸 수 없습니다 "
                                                                     "(디스크가 가득 찼습니까?)")));
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
            *error = "mail: " +
                     vt::Translate(
                         kContext,
                         QT_TRANSLATE_NOOP("notify", "보낸 항목 %1을(를) 지울 수 없습니다: %2"),
                         {description.string(), ec.message()});
        return false;
    }
    SyncFolder(folder_);
    if (!item.attachment.empty())
        fs::remove(item.attachment, ec);
    return true;
}

}  // namespace notify
