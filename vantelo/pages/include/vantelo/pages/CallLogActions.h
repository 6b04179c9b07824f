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
};

}  // namespace vantelo::pages
