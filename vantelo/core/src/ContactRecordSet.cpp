#include "vantelo/core/ContactRecordSet.h"

#include "StoreBuffer.h"
#include "directory/PhoneNumber.h"
#include "storage/Filter.h"
#include "storage/Transaction.h"
#include "vantelo/core/VanteloDatabase.h"

namespace vantelo {

using storage::Status;

namespace {

// The first syllables of the 14 index tabs, with the last one's end.
const char* const kIndexBounds[] = {"가", "나", "다", "라", "마", "바", "사", "아",
                                    "자", "차", "카", "타", "파", "하", "힣"};

}  // namespace

ContactRecordSet::ContactRecordSet(storage::TableSchema schema)
    : storage::RecordSet(std::move(schema)) {}

Status ContactRecordSet::Open(const std::filesystem::path& database) {
    Status s = storage::RecordSet::Open(database, storage::RecordSetType::Dynaset);
    if (!s.ok())
        return s;
    return ReApply();
}

Status ContactRecordSet::Open() {
    return Open(DefaultDatabasePath());
}

std::string ContactRecordSet::IndexConditionFor(int index) {
    if (index < 1 || index > 14)
        return {};
    return std::string("[Name] >= '") + kIndexBounds[index - 1] + "' AND [Name] < '" +
           kIndexBounds[index] + "'";
}

std::string ContactRecordSet::LikeCondition(const char* field, const std::string& pattern) {
    return std::string("[") + field + "] LIKE '*" + pattern + "*'";
}

std::string ContactRecordSet::TelephoneLike(const std::string& p) {
    return "(" + LikeCondition("HomePhone", p) + " OR " + LikeCondition("CellPhone", p) + " OR " +
           LikeCondition("CompanyPhone1", p) + " OR " + LikeCondition("CompanyPhone2", p) + ")";
}

std::string ContactRecordSet::TelephoneEquals(const std::string& q, const std::string& key,
                                              bool withInnerLine) {
    std::string out = "([HomePhone] = " + q + " OR [CellPhone] = " + q +
                      " OR [CompanyPhone1] = " + q + " OR [CompanyPhone2] = " + q;
    if (withInnerLine)
        out += " OR [CompanyInnerLine] = " + q;
    if (!key.empty())
        for (const NumberKeyColumn& column : kNumberKeyColumns)
            out += std::string(" OR [") + column.key + "] = " + key;
    return out + ")";
}

std::string ContactRecordSet::AppliedFilter() const {
    std::string out;
    for (const std::string* part : {&index_, &group_, &search_}) {
        if (part->empty())
            continue;
        if (!out.empty())
            out += " AND ";
        out += *part;
    }
    return out;
}

Status ContactRecordSet::ReApply() {
    return ApplyFilter(AppliedFilter());
}

// A part that would not parse leaves all three as they were.
Status ContactRecordSet::ApplyParts(std::string index, std::string group, std::string search) {
    std::string oldIndex = std::move(index_), oldGroup = std::move(group_),
                oldSearch = std::move(search_);
    index_ = std::move(index);
    group_ = std::move(group);
    search_ = std::move(search);
    Status s = SetFilter(AppliedFilter());
    if (!s.ok()) {
        index_ = std::move(oldIndex);
        group_ = std::move(oldGroup);
        search_ = std::move(oldSearch);
        return s;
    }
    return ReApply();
}

Status ContactRecordSet::SetIndex(int index) {
    return ApplyParts(IndexConditionFor(index), group_, search_);
}

Status ContactRecordSet::SetGroup(std::string_view group) {
    std::string condition;
    if (!group.empty())
        condition = "[Group] = " + storage::QuoteText(group);
    return ApplyParts(index_, std::move(condition), search_);
}

Status ContactRecordSet::SetSearch(int kind, std::string_view text) {
    // The text is matched literally: quotes doubled, wild cards bracketed.
    std::string pattern = storage::EscapeLikeText(text);
    std::string doubled = storage::QuoteText(pattern);
    doubled = doubled.substr(1, doubled.size() - 2);
    return ApplyParts(index_, group_, SearchConditionFor(kind, doubled));
}

storage::Result<std::string> ContactRecordSet::FindName(std::string_view number,
                                                        std::string_view strExt) {
    if (number.size() < 3)
        return std::string();
    const std::string value = NumberAsStored(number, strExt);
    // The written number as the book stores it, or its national form as the
    // key columns keep it (a caller ID without digits has none).
    const std::string key = directory::NationalNumber(number);
    Status s = SetFilter(
        TelephoneCondition(storage::QuoteText(value), key.empty() ? "" : storage::QuoteText(key)));
    if (s.ok())
        s = Requery();
    if (s.ok())
        s = WalkToEnd();
    if (!s.ok())
        return s;
    if (GetRecordCount() == 0)
        return std::string();
    s = MoveFirst();
    // A record that cannot be read is an error, not a caller without a name.
    storage::Result<storage::Value> v =
        s.ok() ? GetField("Name") : storage::Result<storage::Value>(s);
    if (!v.ok())
        return v.status();
    return v.value().AsText();
}

std::string ContactRecordSet::NumberAsStored(std::string_view number, std::string_view strExt) {
    if (number.size() > 4 && number[0] != '0')
        return std::string(strExt) + std::string(number);
    return std::string(number);
}

storage::Result<std::string> ContactRecordSet::MatchNumber(std::string_view number,
                                                           std::string_view strExt) {
    if (number.size() < 3)
        return std::string();
    storage::Result<std::string> name = FindName(number, strExt);
    // Whatever happened, the page gets its own list back.
    Status back = ReApply();
    if (!name.ok())
        return name;
    if (!back.ok())
        return back;
    return name;
}

storage::Result<long> ContactRecordSet::StoreMissingNumberKeys(
    const std::filesystem::path& database) {
    storage::RecordSet set(Schema());
    Status s = set.Open(database, storage::RecordSetType::Dynaset);
    if (!s.ok())
        return s;
    storage::Connection& connection = *set.GetConnection();
    if (connection.ReadOnly())
        return 0L;
    // Reads first, through the key indexes: a complete file is left without
    // a scan, a write or a lock.
    std::string missing;
    for (const NumberKeyColumn& column : kNumberKeyColumns)
        missing += std::string(missing.empty() ? "" : " OR ") + "[" + column.key + "] = ''";
    s = set.ApplyFilter(missing);
    if (!s.ok())
        return s;
    long changed = 0;
    std::vector<std::pair<const char*, std::string>> keys;
    auto keysOfCurrent = [&]() -> Status {
        keys.clear();
        for (const NumberKeyColumn& column : kNumberKeyColumns) {
            auto field = set.GetField(column.field);
            auto stored = set.GetField(column.key);
            if (!field.ok())
                return field.status();
            if (!stored.ok())
                return stored.status();
            std::string key = NumberKey(field.value().AsText());
            if (key != stored.value().AsText())
                keys.emplace_back(column.key, std::move(key));
        }
        return Status::Ok();
    };
    storage::Transaction transaction(connection);
    bool begun = false;
    for (long i = 0; s.ok() && i < set.GetRecordCount(); ++i) {
        s = set.SetAbsolutePosition(i);
        if (s.ok())
            s = keysOfCurrent();
        if (!s.ok() || keys.empty())
            continue;
        if (!begun) {
            s = transaction.Begin();
            begun = s.ok();
        }
        if (s.ok())
            s = set.Edit();
        for (const auto& [column, key] : keys)
            if (s.ok())
                s = set.SetField(column, key);
        if (s.ok())
            s = set.Update();
        else
            set.CancelUpdate();
        if (s.ok())
            ++changed;
    }
    if (s.ok() && begun)
        s = transaction.Commit();
    if (!s.ok())
        return s;
    return changed;
}

Status ContactRecordSet::AddContact(const ContactRecord& contact) {
    if (!IsOpen()) {
        Status s = Open();
        if (!s.ok())
            return s;
    }
    return StoreBuffer(*this, AddNew(), [&] { return contact.Write(*this); });
}

Status ContactRecordSet::StoreCurrent(const ContactRecord& contact) {
    return StoreBuffer(*this, Edit(), [&] { return contact.Write(*this); });
}

storage::Result<ContactRecord> ContactRecordSet::CurrentContact() {
    return ContactRecord::Read(*this);
}

}  // namespace vantelo
