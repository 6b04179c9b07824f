#include "vantelo/app/AddressBookSync.h"

namespace vantelo {

namespace {

bool ChangedHere(const directory::CardDavReport& report) {
    using Kind = directory::CardDavReport::Kind;
    for (Kind k : {Kind::AddedHere, Kind::ChangedHere, Kind::RemovedHere, Kind::Conflict})
        if (report.Count(k) > 0)
            return true;
    return false;
}

}  // namespace

AddressBookSync::AddressBookSync(Post post, Say say, std::filesystem::path database)
    : post_(std::move(post)),
      say_(std::move(say)),
      service_(std::move(database),
               [this](const directory::CardDavReport& report, const std::string& line) {
                   const bool changed = ChangedHere(report);
                   post_([this, line, changed] { say_(line, changed); });
               }) {}

AddressBookSync::~AddressBookSync() {
    service_.Stop();
}

bool AddressBookSync::Start() {
    std::string error;
    const auto settings = directory::LoadCardDavSettings(&error);
    if (!settings) {
        service_.Start({});  // pauses the syncs
        say_(error, false);
        return false;
    }
    service_.Start(*settings);
    return settings->Enabled();
}

void AddressBookSync::SyncNow() {
    service_.SyncNow();
}

}  // namespace vantelo
