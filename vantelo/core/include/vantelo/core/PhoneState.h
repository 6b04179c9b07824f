#pragma once
// The state of the main window that the phone controller and the answering
// machine share: the flags of the phone, the numbers and the current call.
// All of it is cleared at start.

#include <string>

#include "vantelo/core/CallRecord.h"

namespace vantelo {

struct PhoneState {
    bool busyGuard = false;  // a button action runs
    bool ringing = false;    // ring detected, no ring end or hang-up since
    bool connected = false;  // the far end answered during this call
    bool recording = false;  // a recording started here runs
    bool playing = false;    // a playback into the line runs
    bool mute = false;
    bool absenceMode = false;  // the answering machine is switched on
    bool engaged = false;      // the machine has taken the current call
    int absenceLevel = 0;      // the machine's step; 0 when not engaged
    bool appDialled = false;   // the number was dialled by the program
    bool innerLine = false;    // the current or last number is an inner-line number
    bool dialRecordArmed = false;
    bool deviceOpen = false;
    // The line is off-hook as far as the hook messages told: a hook-on
    // without a call before it is a repeat (as after a re-plug).
    bool inCall = false;
    // A caller ID that came before its ring was detected (as on lines that
    // send it before the first ring): the ring keeps it.
    bool callerIdBeforeRing = false;

    std::string dialledNumber;
    std::string lineDigits;
    std::string callerNumber;
    std::string lastNumber;
    bool lastInner = false;

    CallRecord call;
};

}  // namespace vantelo
