#include "vantelo/core/CallSpool.h"

#include <system_error>

#include "SpoolWalk.h"
#include "vantelo/core/CRSCallList.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {

CallSpool::CallSpool(const vt::Clock& clock, std::filesystem::path file)
    : clock_(clock), file_(std::move(file)) {}

storage::Status CallSpool::Keep(const CallRecord& call, const std::string& uid) {
    auto prepared = PrepareDatabase(clock_, file_);
    if (!prepared.ok())
        return prepared.status();
    CRSCallList spool(file_);
    CallRecord kept = call;  // the append resets what it stored
    return spool.AppendCall(kept, clock_, uid);
}

storage::Result<long> CallSpool::Count() {
    std::error_code ec;
    if (!std::filesystem::exists(file_, ec))
        return 0L;
    CRSCallList spool(file_);
    storage::Status s = spool.Open();
    if (!s.ok())
        return s;
    return spool.GetRecordCount();
}

storage::Result<int> CallSpool::HandOver(const Store& store) {
    std::error_code ec;
    if (!std::filesystem::exists(file_, ec))
        return 0;
    CRSCallList spool(file_);
    return HandOverInOrder(spool, spool.Open(), [&]() -> storage::Status {
        storage::Result<CallRecord> call = spool.CurrentCall();
        if (!call.ok())
            return call.status();
        return store(call.value(), spool.GetText("CallUid"));
    });
}

}  // namespace vantelo
