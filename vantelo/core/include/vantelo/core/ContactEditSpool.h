#pragma once
// The contact edits a desk made while the office's shared server was away,
// kept in order in a table of the desk's private spool file until the server
// takes them. The edits were made on the desk's copy of the contact tables
// (see OfflineCopy); each names its contact by the server's ID, which the
// copy keeps, and carries an id of its own so that the server takes it once.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "storage/RecordSet.h"
#include "storage/Result.h"
#include "storage/TableSchema.h"
#include "vantelo/core/ContactRecord.h"

namespace vantelo {

struct ContactEdit {
    enum class Kind { Add = 1, Change = 2, Delete = 3 };
    Kind kind = Kind::Add;
    std::string uid;         // unique, time-ordered
    std::string table;       // "AddressList" or "InnerLineList"
    long long serverId = 0;  // the contact changed or deleted (0: not on the server)
    long long copyId = 0;    // the copy's record the edit was made on
    ContactRecord contact;   // all fields, for an add and a change
};

class ContactEditSpool {
public:
    static storage::TableSchema Schema();

    // `spoolFile`: the desk's spool (made when missing, 0600); `copyFile`:
    // the desk's copy the edits were made on.
    ContactEditSpool(const vt::Clock& clock, std::filesystem::path spoolFile,
                     std::filesystem::path copyFile);

    // After the caller added the record `copyId` to `table` in the copy.
    storage::Status KeepAdd(const std::string& table, long long copyId,
                            const ContactRecord& contact);
    // After the caller changed the copy's record `copyId`. A contact added on
    // this desk that the server has not taken yet has its add changed instead.
    storage::Status KeepChange(const std::string& table, long long copyId,
                               const ContactRecord& contact);
    // Before the caller deletes the copy's record `copyId`. A contact added on
    // this desk that the server has not taken yet loses its add instead.
    storage::Status KeepDelete(const std::string& table, long long copyId);

    // The edits kept; 0 when there are none (or no spool file yet).
    storage::Result<long> Count();
    // The edits kept, oldest first (for a look at them).
    storage::Result<std::vector<ContactEdit>> Edits();

    // Offers the kept edits to `store`, oldest first; each edit it takes is
    // removed. Stops at the first refusal and returns it; an edit taken but
    // not removed is offered again next time (the store knows its id).
    using Store = std::function<storage::Status(const ContactEdit& edit)>;
    storage::Result<int> HandOver(const Store& store);

    const std::filesystem::path& File() const { return file_; }

private:
    // Opens the spool's table (made when missing).
    storage::Status Open(storage::RecordSet& spool);
    storage::Status Keep(const ContactEdit& edit);
    // Changes (or, with no contact, removes) the kept add of the copy's
    // record; false when there is none.
    storage::Result<bool> ChangeKeptAdd(const std::string& table, long long copyId,
                                        const ContactRecord* contact);

    const vt::Clock& clock_;
    std::filesystem::path file_;
    std::filesystem::path copyFile_;
    bool ready_ = false;
};

}  // namespace vantelo
