#pragma once
// What the call log page asks of the phone beyond the contact pages' dialling:
// the caller's name for a dialled number, playing a logged recording and
// stopping it, and where the application folder is. The phone binding
// implements it.

#include <filesystem>
#include <string>

#include "vantelo/core/CallRecord.h"

namespace vantelo::pages {

class CallLogActions {
public:
    virtual ~CallLogActions() = default;

    virtual std::string LookupName(const std::string& number) = 0;
    // Plays the recording of a logged call (any playback running is stopped).
    virtual void PlayRecording(const CallRecord& call) = 0;
    virtual void StopPlayback() = 0;
    virtual std::filesystem::path ApplicationFolder() const = 0;
};

}  // namespace vantelo::pages
