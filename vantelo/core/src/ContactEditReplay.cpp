#include "vantelo/core/ContactEditReplay.h"

#include "platform/Translate.h"
#include "storage/Filter.h"
#include "storage/Transaction.h"
#include "vantelo/core/PhoneIds.h"
#include "vantelo/core/UserLog.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {

namespace {

using storage::Status;

Status OpenOnce(std::unique_ptr<storage::RecordSet>& set, const storage::TableSchema& schema,
                const std::filesystem::path& server) {
    if (set && set->IsOpen())
        return Status::Ok();
    set = std::make_unique<storage::RecordSet>(schema);
    return set->Open(server);
}

}  // namespace

ContactEditReplay::ContactEditReplay(std::filesystem::path server, std::filesystem::path appFolder)
    : server_(std::move(server)), appFolder_(std::move(appFolder)) {}

ContactEditReplay::~ContactEditReplay() = default;

storage::Result<storage::RecordSet*> ContactEditReplay::Table(const std::string& name) {
    const bool inner = name == "InnerLineList";
    if (!inner && name != "AddressList")
        return Status(storage::ErrorCode::InvalidArgument, "no contact table: " + name);
    std::unique_ptr<storage::RecordSet>& set = inner ? inner_ : book_;
    Status s = OpenOnce(set, inner ? InnerLineListSchema() : AddressListSchema(), server_);
    if (!s.ok())
        return s;
    return set.get();
}

Status ContactEditReplay::Apply(const ContactEdit& edit) {
    Status s = OpenOnce(log_, ContactEditLogSchema(), server_);
    if (s.ok())
        s = log_->ApplyFilter("[EditUid] = " + storage::QuoteText(edit.uid));
    if (!s.ok())
        return s;
    if (log_->GetRecordCount() > 0)
        return Status::Ok();  // taken before; the spool did not learn it
    auto table = Table(edit.table);
    if (!table.ok())
        return table.status();
    storage::RecordSet& set = *table.value();
    const bool add = edit.kind == ContactEdit::Kind::Add;
    bool gone = false;
    if (!add) {
        s = set.ApplyFilter("[ID] = " + std::to_string(edit.serverId));
        if (!s.ok())
            return s;
        gone = set.GetRecordCount() == 0;
        if (!gone)
            s = set.SetAbsolutePosition(0);
        if (!s.ok())
            return s;
    }
    storage::Transaction transaction(*set.GetConnection());
    s = transaction.Begin();
    if (s.ok() && gone) {
        // Deleted on the server meanwhile: only the id is recorded, so the
        // edit is dropped once.
    } else if (s.ok() && edit.kind == ContactEdit::Kind::Delete) {
        s = set.Delete();
    } else if (s.ok()) {
        s = add ? set.AddNew() : set.Edit();
        if (s.ok())
            s = edit.contact.Write(set);
        if (s.ok())
            s = set.Update();
        if (!s.ok())
            set.CancelUpdate();
    }
    const long long contactId = add ? set.GetLastModified() : edit.serverId;
    if (s.ok())
        s = set.GetConnection()->Exec("INSERT INTO " + storage::QuoteIdentifier("ContactEditLog") +
                                          " (" + storage::QuoteIdentifier("EditUid") + ", " +
                                          storage::QuoteIdentifier("ContactId") + ") VALUES (" +
                                          storage::QuoteText(edit.uid) + ", " +
                                          std::to_string(contactId) + ")",
                                      "recording a contact edit");
    if (s.ok())
        s = transaction.Commit();
    if (!s.ok()) {
        set.Close();  // its view of the table may hold the rolled-back row
        return s;
    }
    if (gone && edit.kind == ContactEdit::Kind::Change)
        UserLog::Append(
            appFolder_,
            vt::Translate(text::kContext, text::kContactChangeDropped, {edit.contact.fields[0]}) +
                " (" + edit.table + " " + std::to_string(edit.serverId) + ", " + edit.uid + ")");
    return s;
}

}  // namespace vantelo
