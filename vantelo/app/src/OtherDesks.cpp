#include "vantelo/app/OtherDesks.h"

#include "i18n/Translations.h"
#include "platform/TranslateNoop.h"

namespace vantelo {

namespace {

constexpr const char* kContext = "vantelo";
constexpr const char* kAnswered = QT_TRANSLATE_NOOP("vantelo", "%1: 전화를 받았습니다");
constexpr const char* kStopped = QT_TRANSLATE_NOOP("vantelo", "%1: 벨이 멈췄습니다");

}  // namespace

OtherDesks::OtherDesks(Post post, Shown shown)
    : post_(std::move(post)), shown_(std::move(shown)), alive_(std::make_shared<bool>(true)) {}

OtherDesks::~OtherDesks() {
    channel_.reset();  // no news arrives from here on
    *alive_ = false;
}

bool OtherDesks::Start(const std::filesystem::path& database, const std::string& desk) {
    DeskChannel::Handlers handlers;
    handlers.tableChanged = [this](const std::string& table) { Changed(table); };
    handlers.ring = [this](const RingAnnouncement& ring) {
        post_([this, alive = alive_, ring] {
            if (*alive && shown_.ring)
                shown_.ring(ring);
        });
    };
    // What changed while the server was away is unknown: every page looks again.
    handlers.resumed = [this] {
        for (const char* table : {"CallList", "AddressList", "InnerLineList", "BlockList"})
            Changed(table);
    };
    channel_ = DeskChannel::Open(database, desk, std::move(handlers));
    return channel_ != nullptr;
}

void OtherDesks::Changed(const std::string& table) {
    {
        std::lock_guard lock(mutex_);
        const bool first = pending_.empty();
        if (!pending_.insert(table).second || !first)
            return;  // the task posted already takes it along
    }
    post_([this, alive = alive_] {
        if (!*alive)
            return;
        std::set<std::string> tables;
        {
            std::lock_guard lock(mutex_);
            tables.swap(pending_);
        }
        if (shown_.tablesChanged)
            shown_.tablesChanged(tables);
    });
}

std::string OtherDesks::NoticeLine(const RingAnnouncement& ring) {
    switch (ring.kind) {
        case RingAnnouncement::Kind::Ringing:
            return ring.NoticeText();
        case RingAnnouncement::Kind::Answered:
            return vt::i18n::Tr(kContext, kAnswered, {ring.desk});
        case RingAnnouncement::Kind::Stopped:
            return vt::i18n::Tr(kContext, kStopped, {ring.desk});
    }
    return {};
}

}  // namespace vantelo
