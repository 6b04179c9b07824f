#include "directory/CardDavSync.h"

#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <set>

#include "CardDavHttp.h"
#include "CardDavMultistatus.h"
#include "CardDavStore.h"
#include "vcard/VCard.h"
#include "workbook/Utf8.h"

namespace directory {

namespace {

using Kind = CardDavReport::Kind;
using Error = CardDavReport::Error;

constexpr size_t kFetchBatch = 250;  // hrefs per multiget
constexpr const char* kCopySuffix = " (Vantelo)";

std::string XmlEscape(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

std::string SyncCollectionBody(const std::string& token) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
           "<D:sync-collection xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:carddav\">"
           "<D:sync-token>" +
           XmlEscape(token) +
           "</D:sync-token><D:sync-level>1</D:sync-level>"
           "<D:prop><D:getetag/><C:address-data/></D:prop></D:sync-collection>";
}

constexpr const char* kPropfindBody =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<D:propfind xmlns:D=\"DAV:\"><D:prop><D:getetag/><D:resourcetype/></D:prop></D:propfind>";

std::string MultigetBody(const std::vector<std::string>& hrefs) {
    std::string body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
        "<C:addressbook-multiget xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:carddav\">"
        "<D:prop><D:getetag/><C:address-data/></D:prop>";
    for (const auto& h : hrefs) body += "<D:href>" + XmlEscape(h) + "</D:href>";
    return body + "</C:addressbook-multiget>";
}

// The contact as its card holds it: a value the book keeps cut to its
// column's width stands for the card's whole value while the kept part is
// unchanged, so an edit of another field never cuts it on the server.
vcard::ContactFields Effective(const std::string& card, const vcard::ContactFields& local) {
    std::vector<vcard::ContactFields> cards;
    std::string error;
    if (!vcard::VCard::Parse(card, cards, error) || cards.empty())
        return local;
    vcard::ContactFields out = local;
    for (int f = 0; f < vcard::kFieldCount; ++f) {
        const std::string& whole = cards.front()[f];
        if (whole.size() > local[f].size() &&
            workbook::FirstCharacters(whole, kContactFieldChars) == local[f])
            out[f] = whole;
    }
    return out;
}

// Without a known version (a server that gave no ETag) the write is plain.
std::vector<std::string> IfMatch(const std::string& etag) {
    if (etag.empty())
        return {};
    return {"If-Match: " + etag};
}

std::string NewUid() {
    std::random_device device;
    char text[40];
    std::snprintf(text, sizeof text, "%08x-%04x-%04x-%04x-%04x%08x", device(), device() & 0xffff,
                  (device() & 0x0fff) | 0x4000, (device() & 0x3fff) | 0x8000, device() & 0xffff,
                  device());
    return text;
}

// "scheme://host:port" and "/path/" of the address book's URL.
void SplitUrl(const std::string& url, std::string& origin, std::string& path) {
    const auto scheme = url.find("://");
    const auto slash = url.find('/', scheme == std::string::npos ? 0 : scheme + 3);
    origin = slash == std::string::npos ? url : url.substr(0, slash);
    path = slash == std::string::npos ? "/" : url.substr(slash);
}

class Runner {
public:
    Runner(const CardDavSettings& s, const std::string& password, long connect, long request,
           const std::atomic<bool>* stop)
        : settings_(s), http_(s.user, password, connect, request, stop) {
        SplitUrl(s.url, origin_, bookPath_);
    }

    CardDavReport Run(const std::filesystem::path& database);

private:
    struct Remote {
        std::string href, etag, card;
        bool hasCard = false;
    };

    std::string Url(const std::string& href) const {
        return href.rfind("http", 0) == 0 ? href : origin_ + href;
    }
    bool IsBook(const DavMember& m) const {
        return m.collection || m.href == bookPath_ || m.href + "/" == bookPath_ ||
               Url(m.href) == settings_.url;
    }
    void Problem(Error e, const std::string& detail, long status = 0) {
        report_.problems.push_back({e, detail, status});
    }
    // False (and one line) when the server cannot go on: no answer or no login.
    bool Reachable(const HttpReply& r) {
        if (!r.error.empty()) {
            Problem(Error::Unreachable, r.error);
            return false;
        }
        if (r.status == 401) {
            Problem(Error::Unauthorized, settings_.user, 401);
            return false;
        }
        return true;
    }
    HttpReply Send(const std::string& method, const std::string& url, const std::string& body,
                   std::vector<std::string> headers) {
        return http_.Send(method, url, body, headers);
    }
    bool DatabaseOk(const storage::Status& s) {
        if (!s.ok())
            Problem(Error::Database, s.ToString());
        return s.ok();
    }

    bool Pull(std::vector<Remote>& changed, std::vector<std::string>& removed, std::string& token);
    bool Listing(std::vector<DavMember>& members, std::string& token);
    bool Fetch(std::vector<Remote>& changed);
    bool Apply(const std::vector<Remote>& changed, const std::vector<std::string>& removed,
               const std::string& token);
    void ApplyCard(const Remote& remote);
    void Relink();
    bool Push();

    CardDavSettings settings_;
    CardDavHttp http_;
    std::unique_ptr<CardDavStore> store_;
    CardDavReport report_;
    std::string origin_, bookPath_;
};

CardDavReport Runner::Run(const std::filesystem::path& database) {
    auto opened = CardDavStore::Open(database, settings_.url);
    if (!opened.ok()) {
        Problem(Error::Database, opened.status().ToString());
        return report_;
    }
    store_ = std::move(opened).value();
    std::vector<Remote> changed;
    std::vector<std::string> removed;
    std::string token;
    if (!Pull(changed, removed, token) || !Apply(changed, removed, token) || !Push())
        return report_;
    report_.finished = true;
    return report_;
}

bool Runner::Listing(std::vector<DavMember>& members, std::string& token) {
    const std::vector<std::string> xml = {"Content-Type: application/xml; charset=utf-8",
                                          "Depth: 1"};
    HttpReply r = Send("REPORT", settings_.url, SyncCollectionBody(""), xml);
    if (!Reachable(r))
        return false;
    if (r.status != 207)  // no sync-collection here: the members' ETags
        r = Send("PROPFIND", settings_.url, kPropfindBody, xml);
    if (!Reachable(r))
        return false;
    if (r.status != 207) {
        Problem(Error::Server, settings_.url, r.status);
        return false;
    }
    Multistatus m = ParseMultistatus(r.body);
    if (!m.ok) {
        Problem(Error::BadAnswer, m.error);
        return false;
    }
    members = std::move(m.members);
    token = m.syncToken;
    return true;
}

bool Runner::Pull(std::vector<Remote>& changed, std::vector<std::string>& removed,
                  std::string& token) {
    const std::string known = store_->SyncToken();
    if (!known.empty()) {
        HttpReply r = Send("REPORT", settings_.url, SyncCollectionBody(known),
                           {"Content-Type: application/xml; charset=utf-8", "Depth: 1"});
        if (!Reachable(r))
            return false;
        Multistatus m = r.status == 207 ? ParseMultistatus(r.body) : Multistatus();
        if (m.ok) {  // else the token is no longer valid: a full listing
            report_.incremental = true;
            token = m.syncToken;
            for (auto& member : m.members) {
                if (IsBook(member))
                    continue;
                if (member.status == 404)
                    removed.push_back(member.href);
                else if (member.status / 100 == 2)
                    changed.push_back({member.href, member.etag, member.card, member.hasCard});
            }
            return Fetch(changed);
        }
    }
    std::vector<DavMember> members;
    if (!Listing(members, token))
        return false;
    std::map<std::string, std::string> stored;  // href -> etag
    for (const auto& s : store_->AllShared()) stored[s.href] = s.etag;
    for (auto& member : members) {
        if (IsBook(member) || member.status / 100 != 2)
            continue;
        const auto at = stored.find(member.href);
        if (at == stored.end() || at->second != member.etag || member.etag.empty())
            changed.push_back({member.href, member.etag, member.card, member.hasCard});
        if (at != stored.end())
            stored.erase(at);
    }
    for (const auto& [href, etag] : stored) removed.push_back(href);
    return Fetch(changed);
}

// Cards the listing did not carry: by multiget, else one GET each.
bool Runner::Fetch(std::vector<Remote>& changed) {
    std::map<std::string, Remote*> missing;
    for (auto& c : changed)
        if (!c.hasCard)
            missing[c.href] = &c;
    std::vector<std::string> hrefs;
    for (const auto& [href, _] : missing) hrefs.push_back(href);
    for (size_t at = 0; at < hrefs.size(); at += kFetchBatch) {
        const std::vector<std::string> batch(
            hrefs.begin() + at, hrefs.begin() + std::min(hrefs.size(), at + kFetchBatch));
        HttpReply r = Send("REPORT", settings_.url, MultigetBody(batch),
                           {"Content-Type: application/xml; charset=utf-8", "Depth: 1"});
        if (!Reachable(r))
            return false;
        Multistatus m = r.status == 207 ? ParseMultistatus(r.body) : Multistatus();
        for (auto& member : m.members) {
            auto found = missing.find(member.href);
            if (found == missing.end() || !member.hasCard)
                continue;
            found->second->card = std::move(member.card);
            found->second->hasCard = true;
            if (!member.etag.empty())
                found->second->etag = member.etag;
        }
    }
    for (auto& [href, remote] : missing) {
        if (remote->hasCard)
            continue;
        HttpReply r = Send("GET", Url(href), "", {});
        if (!Reachable(r))
            return false;
        if (r.status / 100 != 2) {
            Problem(Error::Server, href, r.status);
            continue;
        }
        remote->card = std::move(r.body);
        remote->hasCard = true;
        if (!r.etag.empty())
            remote->etag = r.etag;
    }
    return true;
}

void Runner::ApplyCard(const Remote& remote) {
    std::vector<vcard::ContactFields> cards;
    std::string error;
    if (!vcard::VCard::Parse(remote.card, cards, error) || cards.empty()) {
        Problem(Error::NotVCard, remote.href + ": " + error);
        return;
    }
    const vcard::ContactFields& fields = cards.front();
    const std::optional<SharedCard> shared = store_->ByHref(remote.href);
    const auto addNew = [&](Kind kind) {
        auto id = store_->AddContact(fields);
        if (!id.ok()) {
            DatabaseOk(id.status());
            return;
        }
        if (DatabaseOk(store_->PutShared({id.value(), remote.href, remote.etag, remote.card})))
            report_.changes.push_back({kind, fields[0], {}});
        else  // without its state it would go back to the server as a new card
            store_->DeleteContact(id.value());
    };
    if (!shared) {
        addNew(Kind::AddedHere);
        return;
    }
    if (!remote.etag.empty() && shared->etag == remote.etag)
        return;  // this side's own last version
    if (shared->localDeleted) {
        // Deleted here but changed there: the change is kept, not lost.
        addNew(Kind::AddedHere);
        return;
    }
    const SharedCard next{shared->contactId, remote.href, remote.etag, remote.card};
    std::optional<vcard::ContactFields> local = store_->Contact(shared->contactId);
    if (local)
        local = Effective(shared->card, *local);
    const bool editedHere = local && shared->localEdits > 0 &&
                            vcard::VCard::Merge(shared->card, *local) != shared->card;
    if (editedHere) {
        vcard::ContactFields copy = *local;
        copy[0] += kCopySuffix;
        if (!DatabaseOk(store_->UpdateContact(shared->contactId, fields)))
            return;
        // The copy is not shared yet: it goes to the server as a new card below.
        auto copyId = store_->AddContact(copy);
        if (!copyId.ok()) {
            DatabaseOk(copyId.status());
            return;
        }
        if (DatabaseOk(store_->PutShared(next)))
            report_.changes.push_back({Kind::Conflict, fields[0], copy[0]});
        return;
    }
    if (DatabaseOk(store_->UpdateContact(shared->contactId, fields)) &&
        DatabaseOk(store_->PutShared(next)))
        report_.changes.push_back({Kind::ChangedHere, fields[0], {}});
}

bool Runner::Apply(const std::vector<Remote>& changed, const std::vector<std::string>& removed,
                   const std::string& token) {
    if (!DatabaseOk(store_->Begin()))
        return false;
    for (const std::string& href : removed) {
        const std::optional<SharedCard> shared = store_->ByHref(href);
        if (!shared)
            continue;
        const std::optional<vcard::ContactFields> local = store_->Contact(shared->contactId);
        const std::string name = local ? (*local)[0] : std::string();
        if (!shared->localDeleted && shared->localEdits > 0 && local &&
            vcard::VCard::Merge(shared->card, Effective(shared->card, *local)) != shared->card) {
            // Edited here: kept, and sent again as a new card below.
            if (DatabaseOk(store_->DropShared(href)))
                report_.changes.push_back({Kind::KeptEdited, name, {}});
            continue;
        }
        if (!shared->localDeleted && !DatabaseOk(store_->DeleteContact(shared->contactId)))
            continue;
        if (DatabaseOk(store_->DropShared(href)) && !shared->localDeleted)
            report_.changes.push_back({Kind::RemovedHere, name, {}});
    }
    for (const Remote& remote : changed)
        if (remote.hasCard)
            ApplyCard(remote);
    if (!token.empty() && !DatabaseOk(store_->SetSyncToken(token))) {
        store_->Rollback();
        return false;
    }
    if (!DatabaseOk(store_->Commit())) {
        store_->Rollback();
        return false;
    }
    return true;
}

// Contacts new here that carry the name of a card deleted here are that
// card again (a table replaced by an import): relinked, they update it, so
// its properties without a column and its address stay.
void Runner::Relink() {
    std::multimap<std::string, std::string> deleted;  // name -> href
    for (const SharedCard& shared : store_->LocalChanges()) {
        std::vector<vcard::ContactFields> old;
        std::string error;
        if (shared.localDeleted && vcard::VCard::Parse(shared.card, old, error) && !old.empty())
            deleted.emplace(old.front()[0], shared.href);
    }
    if (deleted.empty())
        return;
    for (std::int64_t id : store_->Unshared()) {
        const std::optional<vcard::ContactFields> local = store_->Contact(id);
        const auto at = local ? deleted.find((*local)[0]) : deleted.end();
        if (at == deleted.end())
            continue;
        if (DatabaseOk(store_->Relink(at->second, id)))
            deleted.erase(at);
    }
}

bool Runner::Push() {
    const std::vector<std::string> vcardType = {"Content-Type: text/vcard; charset=utf-8"};
    Relink();
    for (const SharedCard& shared : store_->LocalChanges()) {
        std::vector<vcard::ContactFields> old;
        std::string error;
        vcard::VCard::Parse(shared.card, old, error);
        if (shared.localDeleted) {
            HttpReply r = Send("DELETE", Url(shared.href), "", IfMatch(shared.etag));
            if (!Reachable(r))
                return false;
            const std::string name = old.empty() ? shared.href : old.front()[0];
            if (r.status / 100 == 2 || r.status == 404) {
                if (DatabaseOk(store_->DropShared(shared.href)))
                    report_.changes.push_back({Kind::RemovedThere, name, {}});
            } else if (r.status == 412) {
                Problem(Error::PreconditionFailed, name, 412);
            } else {
                Problem(Error::Server, name, r.status);
            }
            continue;
        }
        const std::optional<vcard::ContactFields> local = store_->Contact(shared.contactId);
        if (!local)
            continue;
        const std::string card = vcard::VCard::Merge(shared.card, Effective(shared.card, *local));
        if (card == shared.card) {  // only columns without a card property changed
            DatabaseOk(store_->MarkSent(shared.href, shared.etag, card, shared.localEdits));
            continue;
        }
        std::vector<std::string> headers = IfMatch(shared.etag);
        headers.push_back(vcardType.front());
        HttpReply r = Send("PUT", Url(shared.href), card, headers);
        if (!Reachable(r))
            return false;
        if (r.status / 100 == 2) {
            if (DatabaseOk(store_->MarkSent(shared.href, r.etag, card, shared.localEdits)))
                report_.changes.push_back({Kind::SentChange, (*local)[0], {}});
        } else if (r.status == 412) {
            Problem(Error::PreconditionFailed, (*local)[0], 412);
        } else {
            Problem(Error::Server, (*local)[0], r.status);
        }
    }
    for (std::int64_t id : store_->Unshared()) {
        const std::optional<vcard::ContactFields> local = store_->Contact(id);
        if (!local)
            continue;
        const std::string uid = NewUid();
        const std::string card =
            vcard::VCard::SetProperty(vcard::VCard::CardText(*local), "UID", uid);
        const std::string href = bookPath_ + uid + ".vcf";
        std::vector<std::string> headers = vcardType;
        headers.push_back("If-None-Match: *");
        HttpReply r = Send("PUT", Url(href), card, headers);
        if (!Reachable(r))
            return false;
        if (r.status / 100 == 2) {
            if (DatabaseOk(store_->PutShared({id, href, r.etag, card})))
                report_.changes.push_back({Kind::SentNew, (*local)[0], {}});
        } else {
            Problem(Error::Server, (*local)[0], r.status);
        }
    }
    return true;
}

}  // namespace

CardDavSync::CardDavSync(CardDavSettings settings, std::string password,
                         std::filesystem::path database, long connectSeconds, long requestSeconds,
                         const std::atomic<bool>* stop)
    : settings_(std::move(settings)),
      password_(std::move(password)),
      database_(std::move(database)),
      connectSeconds_(connectSeconds),
      requestSeconds_(requestSeconds),
      stop_(stop) {}

CardDavReport CardDavSync::Run() {
    Runner runner(settings_, password_, connectSeconds_, requestSeconds_, stop_);
    return runner.Run(database_);
}

}  // namespace directory
