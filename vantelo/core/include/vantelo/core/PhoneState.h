#pragma once
// The state of the main window that the phone controller and the answering
// machine share: the flags of the phone, the numbers and the current call.
// All of it is cleared at start.

#include <string>

#include "vantelo/core/CallRecord.h"
#include "vantelo/core/Screening.h"

namespace vantelo {

// Where the current call stands. The phone controller alone moves it; the
// answering machine and the window read it.
enum class CallPhase {
    Idle,               // no call: the line is free
    Ringing,            // a call rings and nobody has taken it
    Dialling,           // the line is held and the program dials
    InCall,             // the line is held for the user's call
    MachineEngaged,     // the answering machine has the call
    GreetingRecording,  // a greeting is recorded from the handset on a free line
};

// The phases in which the adapter holds the line for a call.
constexpr bool HoldsLine(CallPhase phase) {
    return phase == CallPhase::Dialling || phase == CallPhase::InCall ||
           phase == CallPhase::MachineEngaged;
}

struct PhoneState {
    CallPhase phase = CallPhase::Idle;
    bool busyGuard = false;  // a button action runs
    bool ringing = false;    // ring detected, no ring end or hang-up since
    bool connected = false;  // the far end answered during this call
    bool recording = false;  // a recording started here runs
    bool playing = false;    // a playback into the line runs
    bool mute = false;
    bool absenceMode = false;  // the answering machine is switched on
    bool engaged = false;      // the machine took the current call (stays set after a take-over)
    int absenceLevel = 0;      // the machine's step; 0 when not engaged
    bool appDialled = false;   // the number was dialled by the program
    bool innerLine = false;    // the current or last number is an inner-line number
    bool dialRecordArmed = false;
    bool deviceOpen = false;
    // A caller ID that came before its ring was detected (as on lines that
    // send it before the first ring): the ring keeps it.
    bool callerIdBeforeRing = false;
    // A screening rule keeps the current caller out (and how).
    bool screenedOut = false;
    bool callerIdSeen = false;  // a caller-ID message came for this call
    BlockAction screenAction = BlockAction::HangUp;

    std::string dialledNumber;
    std::string lineDigits;
    std::string callerNumber;
    std::string lastNumber;
    bool lastInner = false;

    CallRecord call;
};

}  // namespace vantelo
