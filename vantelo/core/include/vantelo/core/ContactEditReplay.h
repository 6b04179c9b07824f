#pragma once
// Carries the contact edits a desk kept while the shared server was away
// out on the server, each exactly once: the edit and its id go into the
// server in one transaction, and an edit whose id the server holds is
// skipped. A change replaces every field of the contact, so the edit
// handed over last wins; a change or delete of a contact deleted on the
// server meanwhile is dropped (a change with one line in the user log).

#include <filesystem>
#include <memory>
#include <string>

#include "storage/RecordSet.h"
#include "vantelo/core/ContactEditSpool.h"

namespace vantelo {

class ContactEditReplay {
public:
    // `server`: the shared database; `appFolder`: where the user log is.
    ContactEditReplay(std::filesystem::path server, std::filesystem::path appFolder);
    ~ContactEditReplay();

    // Carries `edit` out (or finds it done); an error when the server did
    // not take it.
    storage::Status Apply(const ContactEdit& edit);

private:
    storage::Result<storage::RecordSet*> Table(const std::string& name);

    std::filesystem::path server_;
    std::filesystem::path appFolder_;
    std::unique_ptr<storage::RecordSet> book_;
    std::unique_ptr<storage::RecordSet> inner_;
    std::unique_ptr<storage::RecordSet> log_;
};

}  // namespace vantelo
