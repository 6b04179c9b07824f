#include "vantelo/app/DirectoryNamer.h"

#include <cstdio>

#include "directory/LdapLookup.h"
#include "directory/LdapSettings.h"
#include "i18n/Translations.h"
#include "platform/TranslateNoop.h"

namespace vantelo {

namespace {

constexpr const char* kContext = "vantelo";
constexpr const char* kSettingsRefused =
    QT_TRANSLATE_NOOP("vantelo", "디렉터리 조회를 쓸 수 없습니다: %1");
constexpr const char* kDirectoryAway = QT_TRANSLATE_NOOP(
    "vantelo", "디렉터리 서버에 물을 수 없어 발신자 이름은 주소록에서만 찾습니다: %1");

}  // namespace

DirectoryNamer::DirectoryNamer(Post post, Named named, Say say, const vt::Clock& clock)
    : post_(std::move(post)), named_(std::move(named)), say_(std::move(say)), clock_(clock) {}

DirectoryNamer::~DirectoryNamer() = default;

bool DirectoryNamer::Start(const std::filesystem::path& settingsFile) {
    std::string error;
    const auto settings = directory::LoadLdapSettings(&error, settingsFile);
    if (!settings) {
        say_(vt::i18n::Tr(kContext, kSettingsRefused, {error}));
        return false;
    }
    if (!settings->Enabled())
        return false;
    lookup_ = std::make_unique<directory::LdapLookup>(
        *settings, [this](const std::string& number, const directory::LdapAnswer& answer) {
            post_([this, number, answer] { Answered(number, answer); });
        });
    return true;
}

std::string DirectoryNamer::Today() const {
    const vt::LocalTime now = clock_.NowLocal();
    char day[16];
    std::snprintf(day, sizeof day, "%04d-%02d-%02d", now.year, now.month, now.day);
    return day;
}

void DirectoryNamer::Ask(const std::string& number) {
    if (!lookup_)
        return;
    if (auto kept = cache_.Find(number, Today())) {
        // Through the queue as well: the phone is told after it has asked.
        post_([this, number, name = *kept] { named_(number, name); });
        return;
    }
    lookup_->Ask(number);
}

void DirectoryNamer::Answered(const std::string& number, const directory::LdapAnswer& answer) {
    using Outcome = directory::LdapAnswer::Outcome;
    if (answer.outcome == Outcome::Failed) {
        if (!failing_)
            say_(vt::i18n::Tr(kContext, kDirectoryAway, {answer.error}));
        failing_ = true;
        return;
    }
    failing_ = false;
    cache_.Keep(number, answer.name, Today());
    named_(number, answer.name);
}

}  // namespace vantelo
