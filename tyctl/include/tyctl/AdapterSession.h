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

// Runs `body` with slot 0 open; reports a missing adapter.
template <typename Body>
int WithAdapter(CommandContext& c, Body body) {
    AdapterSession session;
    if (!session.Found()) {
        std::string folderError;
        if (vt::RuntimeFolder(&folderError).empty())
            c.err << "tyctl: no adapter found: " << folderError << '\n';
        else
            c.err << "tyctl: no adapter found\n";
        return kExitNoAdapter;
    }
    if (!session.Open()) {
        c.err << "tyctl: the adapter cannot be opened\n";
        return kExitNoAdapter;
    }
    return body();
}

}  // namespace tyctl
