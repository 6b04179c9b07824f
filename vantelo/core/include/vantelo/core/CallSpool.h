#pragma once
// The calls a desk logged while the office's shared store could not be
// reached, kept in a private SQLite file of the application folder in the
// call log's own shape (with each call's desk and unique id) until the store
// takes them, oldest first. The id a call was first tried with stays with
// it, so a call whose first write reached the server after all is never
// stored twice.

#include <filesystem>
#include <functional>
#include <string>

#include "platform/Clock.h"
#include "storage/Result.h"
#include "vantelo/core/CallRecord.h"

namespace vantelo {

class CallSpool {
public:
    static constexpr const char* kFileName = "VanteloSpool.db";

    CallSpool(const vt::Clock& clock, std::filesystem::path file);

    // Keeps the call at the end of the spool (the file is made when missing).
    storage::Status Keep(const CallRecord& call, const std::string& uid);
    // The calls kept; 0 when there is no spool file.
    storage::Result<long> Count();

    // Offers the kept calls to `store`, oldest first; each call it takes is
    // removed from the spool. Stops at the first refusal and returns it; a
    // call that cannot be removed after it was taken is offered again next
    // time (the store knows it by its id).
    using Store = std::function<storage::Status(CallRecord& call, const std::string& uid)>;
    storage::Result<int> HandOver(const Store& store);

    const std::filesystem::path& File() const { return file_; }

private:
    const vt::Clock& clock_;
    std::filesystem::path file_;
};

}  // namespace vantelo
