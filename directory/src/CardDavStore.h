#pragma once
// The sync's side of the phone's database: the contact book (AddressList),
// what is known of each shared card (CardDavState) and the address book's
// sync token (CardDavBook). Edits and deletions made here by any program are
// counted by triggers on AddressList, so the sync finds them without help
// from the programs that made them.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "storage/Connection.h"
#include "storage/Result.h"
#include "vcard/VCard.h"

namespace directory {

// The width of the contact columns: longer card values are cut to it here.
inline constexpr size_t kContactFieldChars = 255;

struct SharedCard {
    std::int64_t contactId = 0;
    std::string href;
    std::string etag;
    std::string card;  // as last exchanged with the server
    std::int64_t localEdits = 0;
    bool localDeleted = false;
};

class CardDavStore {
public:
    // Opens the (prepared) database for the address book at `bookUrl`. The
    // states of another address book are dropped: its contacts stay and are
    // shared anew.
    static storage::Result<std::unique_ptr<CardDavStore>> Open(const std::filesystem::path& file,
                                                               const std::string& bookUrl);

    // A write transaction that holds the file's lock from its start.
    storage::Status Begin();
    storage::Status Commit();
    void Rollback();

    std::string SyncToken();
    storage::Status SetSyncToken(const std::string& token);

    std::optional<SharedCard> ByHref(const std::string& href);
    std::vector<SharedCard> AllShared();
    // Shared cards edited or deleted here since the last exchange.
    std::vector<SharedCard> LocalChanges();
    // Contacts not shared yet (new here).
    std::vector<std::int64_t> Unshared();

    std::optional<vcard::ContactFields> Contact(std::int64_t id);
    storage::Result<std::int64_t> AddContact(const vcard::ContactFields& fields);
    storage::Status UpdateContact(std::int64_t id, const vcard::ContactFields& fields);
    storage::Status DeleteContact(std::int64_t id);

    // Inserts or replaces the state of `card.href`, its marks cleared.
    storage::Status PutShared(const SharedCard& card);
    storage::Status DropShared(const std::string& href);
    // A card deleted here whose contact came back under a new ID (the
    // converter's import replaces the whole table): the card is the new
    // contact's, marked edited, so it is updated rather than deleted.
    storage::Status Relink(const std::string& href, std::int64_t contactId);
    // After a card was sent: the new version, and the edits it carried
    // taken off the count (edits made meanwhile stay counted).
    storage::Status MarkSent(const std::string& href, const std::string& etag,
                             const std::string& card, std::int64_t edits);

    ~CardDavStore();

private:
    explicit CardDavStore(std::unique_ptr<storage::Connection> c) : c_(std::move(c)) {}
    storage::Status Prepare(const std::string& bookUrl);
    storage::Status Run(const std::string& sql, const std::vector<std::string>& texts,
                        const std::vector<std::int64_t>& numbers = {});
    std::vector<SharedCard> Select(const std::string& where, const std::string& text = {});

    std::unique_ptr<storage::Connection> c_;
    std::string url_;
};

}  // namespace directory
