#pragma once
// Slot 0 of liblindev opened for the length of one command (with the
// diagnostic log on, as the phone program opens it) and closed again.

#include <string>

#include "platform/Folders.h"
#include "tyctl/CommandTable.h"

namespace tyctl {

class AdapterSession {
public:
    // Scans for adapters and opens slot 0.
    AdapterSession();
    // Closes slot 0 if it was opened.
    ~AdapterSession();
    AdapterSession(const AdapterSession&) = delete;
    AdapterSession& operator=(const AdapterSession&) = delete;

    bool Found() const { return found_; }
    bool Open() const { return open_; }

private:
    bool found_ = false;
    bool open_ = false;
};

// The line that tells why no adapter was found: an adapter present but
// refused or not openable (what to do about it), a missing runtime folder,
// or none at all.
std::string NoAdapterLine();

// Runs `body` with slot 0 open; reports a missing adapter.
template <typename Body>
int WithAdapter(CommandContext& c, Body body) {
    AdapterSession session;
    if (!session.Found()) {
        c.err << NoAdapterLine() << '\n';
        return kExitNoAdapter;
    }
    if (!session.Open()) {
        c.err << "tyctl: the adapter cannot be opened\n";
        return kExitNoAdapter;
    }
    return body();
}

}  // namespace tyctl
