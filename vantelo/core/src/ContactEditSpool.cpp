#include "vantelo/core/ContactEditSpool.h"

#include <system_error>

#include "SpoolWalk.h"
#include "SpoolWalk.h"
#include "storage/DatabaseFile.h"
#include "storage/Filter.h"
#include "storage/RecordSet.h"
#include "vantelo/core/DeskIdentity.h"
#include "vantelo/core/OfflineCopy.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {

namespace {

using storage::ColumnType;
using storage::Status;

constexpr const char* kUid = "EditUid";
constexpr const char* kKind = "EditKind";
constexpr const char* kTable = "TableName";
constexpr const char* kServerId = "ServerId";
constexpr const char* kCopyId = "CopyId";

storage::TableSchema ContactTable(const std::string& name) {
    return name == "InnerLineList" ? InnerLineListSchema() : AddressListSchema();
}

bool IsContactTable(const std::string& name) {
    return name == "AddressList" || name == "InnerLineList";
}

Status WriteEdit(storage::RecordSet& set, const ContactEdit& edit) {
    Status s = set.SetField(kUid, edit.uid);
    if (s.ok())
        s = set.SetField(kKind, static_cast<std::int64_t>(edit.kind));
    if (s.ok())
        s = set.SetField(kTable, edit.table);
    if (s.ok())
        s = set.SetField(kServerId, static_cast<std::int64_t>(edit.serverId));
    if (s.ok())
        s = set.SetField(kCopyId, static_cast<std::int64_t>(edit.copyId));
    if (s.ok())
        s = edit.contact.Write(set);
    return s;
}

storage::Result<ContactEdit> ReadEdit(storage::RecordSet& set) {
    ContactEdit edit;
    edit.uid = set.GetText(kUid);
    edit.kind = static_cast<ContactEdit::Kind>(set.GetInteger(kKind));
    edit.table = set.GetText(kTable);
    edit.serverId = set.GetInteger(kServerId);
    edit.copyId = set.GetInteger(kCopyId);
    auto contact = ContactRecord::Read(set);
    if (!contact.ok())
        return contact.status();
    edit.contact = std::move(contact).value();
    return edit;
}

// Writes the buffer that `begin` (AddNew or Edit) opened, or leaves the
// record set as it was.
template <typename Write>
Status WriteBuffer(storage::RecordSet& set, Status begin, const Write& write) {
    Status s = begin.ok() ? write() : begin;
    if (s.ok())
        s = set.Update();
    if (!s.ok())
        set.CancelUpdate();
    return s;
}

}  // namespace

storage::TableSchema ContactEditSpool::Schema() {
    storage::TableSchema t;
    t.name = "ContactEditSpool";
    // The record number keeps the order the edits were made in.
    t.columns = {{"ID", ColumnType::AutoNumber}, {kUid, ColumnType::Text, 36},
                 {kKind, ColumnType::Byte},      {kTable, ColumnType::Text, 32},
                 {kServerId, ColumnType::Long},  {kCopyId, ColumnType::Long}};
    for (const char* field : kContactFieldNames) t.columns.push_back({field, ColumnType::Text});
    t.uniqueWhenSet = {kUid};
    return t;
}

ContactEditSpool::ContactEditSpool(const vt::Clock& clock, std::filesystem::path spoolFile,
                                   std::filesystem::path copyFile)
    : clock_(clock), file_(std::move(spoolFile)), copyFile_(std::move(copyFile)) {}

Status ContactEditSpool::Keep(const ContactEdit& edit) {
    if (!IsContactTable(edit.table))
        return Status(storage::ErrorCode::InvalidArgument, "no contact table: " + edit.table);
    storage::RecordSet spool(Schema());
    Status s = Open(spool);
    if (s.ok())
        s = WriteBuffer(spool, spool.AddNew(), [&] { return WriteEdit(spool, edit); });
    return s;
}

Status ContactEditSpool::KeepAdd(const std::string& table, long long copyId,
                                 const ContactRecord& contact) {
    return Keep({ContactEdit::Kind::Add, NewCallUid(), table, 0, copyId, contact});
}

Status ContactEditSpool::KeepChange(const std::string& table, long long copyId,
                                    const ContactRecord& contact) {
    auto serverId = OfflineCopy::ServerIdOf(copyFile_, ContactTable(table), copyId);
    if (!serverId.ok())
        return serverId.status();
    if (serverId.value() == 0) {
        auto changed = ChangeKeptAdd(table, copyId, &contact);
        if (!changed.ok() || changed.value())
            return changed.status();
        // Added here and handed over, but not copied back yet: the server's
        // ID is not known, so the change is dropped when it is handed over.
    }
    return Keep(
        {ContactEdit::Kind::Change, NewCallUid(), table, serverId.value(), copyId, contact});
}

Status ContactEditSpool::KeepDelete(const std::string& table, long long copyId) {
    auto serverId = OfflineCopy::ServerIdOf(copyFile_, ContactTable(table), copyId);
    if (!serverId.ok())
        return serverId.status();
    if (serverId.value() == 0) {
        auto removed = ChangeKeptAdd(table, copyId, nullptr);
        return removed.status();
    }
    return Keep({ContactEdit::Kind::Delete, NewCallUid(), table, serverId.value(), copyId, {}});
}

storage::Result<bool> ContactEditSpool::ChangeKeptAdd(const std::string& table, long long copyId,
                                                      const ContactRecord* contact) {
    std::error_code ec;
    if (!std::filesystem::exists(file_, ec))
        return false;
    storage::RecordSet spool(Schema());
    Status s = Open(spool);
    if (s.ok())
        s = spool.ApplyFilter("[" + std::string(kKind) +
                              "] = " + std::to_string(static_cast<int>(ContactEdit::Kind::Add)) +
                              " AND [" + kTable + "] = " + storage::QuoteText(table) + " AND [" +
                              kCopyId + "] = " + std::to_string(copyId));
    if (!s.ok())
        return s;
    if (spool.GetRecordCount() == 0)
        return false;
    s = spool.SetAbsolutePosition(0);
    if (!s.ok())
        return s;
    if (!contact)
        s = spool.Delete();
    else
        s = WriteBuffer(spool, spool.Edit(), [&] { return contact->Write(spool); });
    if (!s.ok())
        return s;
    return true;
}

Status ContactEditSpool::Open(storage::RecordSet& spool) {
    // The file is the calls' spool too (its tables as the calls' spool
    // makes them), with the edits' table beside them.
    if (!ready_) {
        auto prepared = PrepareDatabase(clock_, file_);
        if (prepared.ok())
            prepared = storage::PrepareDatabaseFile(file_, {Schema()}, clock_);
        if (!prepared.ok())
            return prepared.status();
        ready_ = true;
    }
    return spool.Open(file_);
}

storage::Result<long> ContactEditSpool::Count() {
    std::error_code ec;
    if (!std::filesystem::exists(file_, ec))
        return 0L;
    storage::RecordSet spool(Schema());
    Status s = Open(spool);
    if (!s.ok())
        return s;
    return spool.GetRecordCount();
}

storage::Result<std::vector<ContactEdit>> ContactEditSpool::Edits() {
    std::vector<ContactEdit> edits;
    auto count = Count();
    if (!count.ok() || count.value() == 0)
        return count.ok() ? storage::Result<std::vector<ContactEdit>>(edits)
                          : storage::Result<std::vector<ContactEdit>>(count.status());
    storage::RecordSet spool(Schema());
    Status s = Open(spool);
    for (long i = 0; s.ok() && i < spool.GetRecordCount(); ++i) {
        s = spool.SetAbsolutePosition(i);
        auto edit = s.ok() ? ReadEdit(spool) : storage::Result<ContactEdit>(s);
        if (!edit.ok())
            return edit.status();
        edits.push_back(std::move(edit).value());
    }
    if (!s.ok())
        return s;
    return edits;
}

storage::Result<int> ContactEditSpool::HandOver(const Store& store) {
    auto count = Count();
    if (!count.ok() || count.value() == 0)
        return count.ok() ? storage::Result<int>(0) : storage::Result<int>(count.status());
    storage::RecordSet spool(Schema());
    return HandOverInOrder(spool, Open(spool), [&]() -> Status {
        auto edit = ReadEdit(spool);
        if (!edit.ok())
            return edit.status();
        return store(edit.value());
    });
}

}  // namespace vantelo
