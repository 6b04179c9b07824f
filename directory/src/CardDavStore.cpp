#include "CardDavStore.h"

#include <sqlite3.h>

#include "vantelo/core/ContactRecord.h"
#include "workbook/Utf8.h"

namespace directory {

using storage::ErrorCode;
using storage::Status;

namespace {

// Edits and deletions by any program that writes the file. The sync's own
// writes are counted too and taken off again in the same transaction.
constexpr const char* kTriggers =
    "CREATE TRIGGER IF NOT EXISTS CardDavEdited AFTER UPDATE ON AddressList BEGIN "
    "UPDATE CardDavState SET LocalEdits = LocalEdits + 1 WHERE ContactId = OLD.ID; END;"
    "CREATE TRIGGER IF NOT EXISTS CardDavDeleted AFTER DELETE ON AddressList BEGIN "
    "UPDATE CardDavState SET LocalDeleted = 1 WHERE ContactId = OLD.ID; END;";

std::string FieldList() {
    std::string out;
    for (int f = 0; f < vcard::kFieldCount; ++f)
        out += std::string(f ? ", " : "") + "\"" + vantelo::kContactFieldNames[f] + "\"";
    return out;
}

// The contact's fields as the book stores them, with the national form of
// each telephone field beside it, as every writer of the book keeps them:
// a number written "+82 2-123-4567" on a card then names its caller, and a
// changed number leaves no stale form behind.
struct StoredColumns {
    std::vector<std::string> names;
    std::vector<std::string> values;
};

StoredColumns Stored(const vcard::ContactFields& fields) {
    StoredColumns out;
    for (int i = 0; i < vcard::kFieldCount; ++i) {
        out.names.push_back(vantelo::kContactFieldNames[i]);
        out.values.push_back(workbook::FirstCharacters(fields[i], kContactFieldChars));
    }
    for (const vantelo::NumberKeyColumn& column : vantelo::kNumberKeyColumns)
        for (int i = 0; i < vcard::kFieldCount; ++i)
            if (std::string_view(vantelo::kContactFieldNames[i]) == column.field) {
                out.names.push_back(column.key);
                out.values.push_back(vantelo::NumberKey(out.values[i]));
            }
    return out;
}

std::string Column(sqlite3_stmt* s, int i) {
    const unsigned char* t = sqlite3_column_text(s, i);
    return t ? reinterpret_cast<const char*>(t) : "";
}

struct Statement {
    sqlite3_stmt* s = nullptr;
    ~Statement() { sqlite3_finalize(s); }
};

}  // namespace

CardDavStore::~CardDavStore() = default;

storage::Result<std::unique_ptr<CardDavStore>> CardDavStore::Open(const std::filesystem::path& file,
                                                                  const std::string& bookUrl) {
    auto c = storage::Connection::Open(file, storage::Connection::Mode::ReadWrite);
    if (!c.ok())
        return c.status();
    std::unique_ptr<CardDavStore> store(new CardDavStore(std::move(c).value()));
    Status s = store->Prepare(bookUrl);
    if (!s.ok())
        return s;
    return store;
}

Status CardDavStore::Prepare(const std::string& bookUrl) {
    url_ = bookUrl;
    Status s = c_->Exec(kTriggers, "adding the address-book triggers");
    if (!s.ok())
        return s;
    Statement st;
    sqlite3_prepare_v2(c_->Handle(), "SELECT Url FROM CardDavBook", -1, &st.s, nullptr);
    bool other = false, same = false;
    while (st.s && sqlite3_step(st.s) == SQLITE_ROW)
        (Column(st.s, 0) == url_ ? same : other) = true;
    if (!other)
        return Status::Ok();
    // Another address book was named: its cards are not this one's.
    s = Begin();
    if (s.ok())
        s = c_->Exec("DELETE FROM CardDavState; DELETE FROM CardDavBook", "forgetting the book");
    if (!s.ok()) {
        Rollback();
        return s;
    }
    return Commit();
}

Status CardDavStore::Begin() {
    return c_->Exec("BEGIN IMMEDIATE", "starting a write");
}

Status CardDavStore::Commit() {
    return c_->Exec("COMMIT", "committing the sync");
}

void CardDavStore::Rollback() {
    c_->Exec("ROLLBACK", "rolling back");
}

Status CardDavStore::Run(const std::string& sql, const std::vector<std::string>& texts,
                         const std::vector<std::int64_t>& numbers) {
    Statement st;
    int rc = sqlite3_prepare_v2(c_->Handle(), sql.c_str(), -1, &st.s, nullptr);
    if (rc != SQLITE_OK)
        return c_->StatusFor(rc, "preparing a statement");
    int i = 1;
    for (const auto& t : texts)
        sqlite3_bind_text(st.s, i++, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
    for (auto n : numbers) sqlite3_bind_int64(st.s, i++, n);
    rc = sqlite3_step(st.s);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        return c_->StatusFor(rc, "writing the contact book");
    return Status::Ok();
}

std::string CardDavStore::SyncToken() {
    Statement st;
    sqlite3_prepare_v2(c_->Handle(), "SELECT SyncToken FROM CardDavBook WHERE Url = ?", -1, &st.s,
                       nullptr);
    if (!st.s)
        return {};
    sqlite3_bind_text(st.s, 1, url_.c_str(), -1, SQLITE_TRANSIENT);
    return sqlite3_step(st.s) == SQLITE_ROW ? Column(st.s, 0) : std::string();
}

Status CardDavStore::SetSyncToken(const std::string& token) {
    Status s = Run("DELETE FROM CardDavBook WHERE Url = ?", {url_});
    if (!s.ok())
        return s;
    return Run("INSERT INTO CardDavBook (Url, SyncToken) VALUES (?, ?)", {url_, token});
}

std::vector<SharedCard> CardDavStore::Select(const std::string& where, const std::string& text) {
    std::vector<SharedCard> out;
    Statement st;
    const std::string sql =
        "SELECT ContactId, Href, ETag, Card, LocalEdits, LocalDeleted FROM CardDavState " + where;
    sqlite3_prepare_v2(c_->Handle(), sql.c_str(), -1, &st.s, nullptr);
    if (!st.s)
        return out;
    if (!text.empty())
        sqlite3_bind_text(st.s, 1, text.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(st.s) == SQLITE_ROW) {
        SharedCard c;
        c.contactId = sqlite3_column_int64(st.s, 0);
        c.href = Column(st.s, 1);
        c.etag = Column(st.s, 2);
        c.card = Column(st.s, 3);
        c.localEdits = sqlite3_column_int64(st.s, 4);
        c.localDeleted = sqlite3_column_int64(st.s, 5) != 0;
        out.push_back(std::move(c));
    }
    return out;
}

std::optional<SharedCard> CardDavStore::ByHref(const std::string& href) {
    auto found = Select("WHERE Href = ?", href);
    if (found.empty())
        return std::nullopt;
    return found.front();
}

std::vector<SharedCard> CardDavStore::AllShared() {
    return Select("");
}

std::vector<SharedCard> CardDavStore::LocalChanges() {
    return Select("WHERE LocalEdits > 0 OR LocalDeleted = 1");
}

std::vector<std::int64_t> CardDavStore::Unshared() {
    std::vector<std::int64_t> out;
    Statement st;
    sqlite3_prepare_v2(c_->Handle(),
                       "SELECT ID FROM AddressList WHERE ID NOT IN "
                       "(SELECT ContactId FROM CardDavState) ORDER BY ID",
                       -1, &st.s, nullptr);
    while (st.s && sqlite3_step(st.s) == SQLITE_ROW) out.push_back(sqlite3_column_int64(st.s, 0));
    return out;
}

std::optional<vcard::ContactFields> CardDavStore::Contact(std::int64_t id) {
    Statement st;
    const std::string sql = "SELECT " + FieldList() + " FROM AddressList WHERE ID = ?";
    sqlite3_prepare_v2(c_->Handle(), sql.c_str(), -1, &st.s, nullptr);
    if (!st.s)
        return std::nullopt;
    sqlite3_bind_int64(st.s, 1, id);
    if (sqlite3_step(st.s) != SQLITE_ROW)
        return std::nullopt;
    vcard::ContactFields f;
    for (int i = 0; i < vcard::kFieldCount; ++i) f[i] = Column(st.s, i);
    return f;
}

storage::Result<std::int64_t> CardDavStore::AddContact(const vcard::ContactFields& fields) {
    const StoredColumns stored = Stored(fields);
    std::string names, marks;
    for (size_t i = 0; i < stored.names.size(); ++i) {
        names += std::string(i ? ", " : "") + "\"" + stored.names[i] + "\"";
        marks += i ? ", ?" : "?";
    }
    Status s = Run("INSERT INTO AddressList (" + names + ") VALUES (" + marks + ")", stored.values);
    if (!s.ok())
        return s;
    return static_cast<std::int64_t>(sqlite3_last_insert_rowid(c_->Handle()));
}

Status CardDavStore::UpdateContact(std::int64_t id, const vcard::ContactFields& fields) {
    const StoredColumns stored = Stored(fields);
    std::string sets;
    for (size_t i = 0; i < stored.names.size(); ++i)
        sets += std::string(i ? ", " : "") + "\"" + stored.names[i] + "\" = ?";
    return Run("UPDATE AddressList SET " + sets + " WHERE ID = ?", stored.values, {id});
}

Status CardDavStore::DeleteContact(std::int64_t id) {
    return Run("DELETE FROM AddressList WHERE ID = ?", {}, {id});
}

Status CardDavStore::PutShared(const SharedCard& card) {
    Status s = DropShared(card.href);
    if (!s.ok())
        return s;
    return Run(
        "INSERT INTO CardDavState (Href, ETag, Card, ContactId, LocalEdits, LocalDeleted) "
        "VALUES (?, ?, ?, ?, 0, 0)",
        {card.href, card.etag, card.card}, {card.contactId});
}

Status CardDavStore::DropShared(const std::string& href) {
    return Run("DELETE FROM CardDavState WHERE Href = ?", {href});
}

Status CardDavStore::Relink(const std::string& href, std::int64_t contactId) {
    return Run(
        "UPDATE CardDavState SET ContactId = ?2, LocalDeleted = 0, LocalEdits = LocalEdits + 1 "
        "WHERE Href = ?1",
        {href}, {contactId});
}

Status CardDavStore::MarkSent(const std::string& href, const std::string& etag,
                              const std::string& card, std::int64_t edits) {
    return Run(
        "UPDATE CardDavState SET ETag = ?1, Card = ?2, "
        "LocalEdits = max(LocalEdits - ?4, 0) WHERE Href = ?3",
        {etag, card, href}, {edits});
}

}  // namespace directory
