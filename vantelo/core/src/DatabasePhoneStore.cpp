#include "vantelo/core/DatabasePhoneStore.h"

#include "vantelo/core/LookupName.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {

DatabasePhoneStore::DatabasePhoneStore(const vt::Clock& clock, std::filesystem::path database)
    : clock_(clock), database_(std::move(database)) {
    auto prepared = PrepareDatabase(clock_, database_);
    if (!prepared.ok()) {
        openError_ = prepared.status().ToString();
        return;
    }
    storage::Status s = addressList_.Open(database_);
    if (s.ok())
        s = innerLineList_.Open(database_);
    if (!s.ok())
        openError_ = s.ToString();
    callList_ = std::make_unique<CRSCallList>(database_);
}

std::string DatabasePhoneStore::LookupName(const std::string& number, const std::string& strExt) {
    if (!addressList_.IsOpen() || !innerLineList_.IsOpen())
        return {};
    storage::Result<std::string> name =
        vantelo::LookupName(number, strExt, addressList_, innerLineList_);
    return name.ok() ? name.value() : std::string();
}

bool DatabasePhoneStore::AppendCall(CallRecord& call, std::string& error) {
    storage::Status s = callList_->AppendCall(call, clock_);
    if (!s.ok())
        error = s.ToString();
    return s.ok();
}

}  // namespace vantelo
