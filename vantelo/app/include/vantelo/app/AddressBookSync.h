#pragma once
// The phone's address-book sync (the [CardDav] settings): a sync every few
// minutes and on demand, on a thread of its own, so a server that is slow
// or away never holds the phone's thread. Each run's one status line comes
// back through `post` to the owner's thread, once per news: a server that
// stays away is said once, not every few minutes.

#include <filesystem>
#include <functional>
#include <string>

#include "directory/CardDavService.h"

namespace vantelo {

class AddressBookSync {
public:
    using Post = std::function<void(std::function<void()>)>;
    // `line` for the status bar; `contactsChanged` when the book here changed.
    using Say = std::function<void(const std::string& line, bool contactsChanged)>;

    AddressBookSync(Post post, Say say, std::filesystem::path database);
    ~AddressBookSync();
    AddressBookSync(const AddressBookSync&) = delete;
    AddressBookSync& operator=(const AddressBookSync&) = delete;

    // Reads [CardDav] and starts (or restarts) the sync; false when it is
    // off or its settings cannot be used (that said in one line).
    bool Start();
    // A sync now (after Start).
    void SyncNow();

private:
    Post post_;
    Say say_;
    directory::CardDavService service_;
};

}  // namespace vantelo
