#pragma once
// What the call log page asks of the phone beyond the contact pages' dialling:
// the caller's name for a dialled number, and what its playback needs of the
// window (the line, the window's flags, the application folder). The phone
// binding implements it.

#include <string>

#include "vantelo/pages/PlaybackHost.h"

namespace vantelo::pages {

class CallLogActions : public PlaybackHost {
public:
    virtual std::string LookupName(const std::string& number) = 0;
    // The page holds the call log's write lock while a long deletion lets
    // the window run on (true), and lets it go (false): a call that ends
    // meanwhile must wait to be stored rather than fail on the lock.
    virtual void HoldCallLog(bool held) { (void)held; }
    // Messages were played (so heard) or deleted on the page: the count of
    // new messages shown elsewhere is looked at again.
    virtual void MessagesChanged() {}
};

}  // namespace vantelo::pages
