#pragma once
// What the phone logic tells its window, and the few things it asks of it
// and of the pages. The window implements it with widgets; the headless
// program prints each change; tests record it.

#include <optional>
#include <string>

#include "vantelo/core/LookupName.h"
#include "vantelo/core/NewMessage.h"

namespace vantelo {

class PhoneView {
public:
    virtual ~PhoneView() = default;

    virtual void SetStatusText(const std::string& text) = 0;
    // Number display (may hold a line break: name, then number).
    virtual void SetNumberText(const std::string& text) = 0;
    // Indicator picture `control` shows `bitmap`.
    virtual void SetPicture(int control, int bitmap) = 0;
    // Two-look buttons switched by a state name ("HookOff", "Play" ...).
    virtual void SetButtonLook(int control, const std::string& state) = 0;
    // Opens the ring pop-up, or replaces its text when it is shown.
    virtual void ShowRingPopup(const std::string& text) = 0;
    virtual void CloseRingPopup() = 0;
    virtual bool RingPopupShown() const = 0;
    virtual void MessageBox(const std::string& text) = 0;
    // An OK/Cancel question; true for OK.
    virtual bool Confirm(const std::string& text) = 0;

    virtual void ShowWindow() {}
    virtual void HideWindow() {}
    virtual std::string ClipboardText() { return {}; }
    virtual std::string MemoText() const { return {}; }
    // The file dialog of the Play button; nothing when cancelled.
    virtual std::optional<std::string> ChooseSoundFile() { return std::nullopt; }

    // Page hooks: the call log page's playback (0 stopped, 1 paused,
    // 2 running), its decoding, its Stop action, and the memo routed to the
    // page that is shown.
    virtual int CallLogPlayState() const { return 0; }
    virtual bool CallLogDecoding() const { return false; }
    virtual void StopCallLogPlayback() {}
    virtual void SaveMemo(const std::string& /*memo*/) {}
    virtual void CodecDone(long /*result*/) {}
    virtual void PlayProgress(long /*bytes*/) {}
    // A call was appended to the call log.
    virtual void CallLogged() {}
    // The caller of a ringing or current call was looked up (the name is
    // empty when nobody has the number); the window decides what to show.
    virtual void CallerIdentified(const std::string& /*number*/, const CallerName& /*caller*/) {}
    // The answering machine kept a new message (told once per message, after
    // its call is in the call log).
    virtual void MessageArrived(const NewMessage& /*message*/) {}
    // The number of messages not yet heard: told at start and whenever it
    // changes (a message arrives, is played or marked heard, or is deleted).
    virtual void NewMessagesChanged(int /*count*/) {}
};

}  // namespace vantelo
