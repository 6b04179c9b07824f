#pragma once
// What the phone window is made with: its database, the ring pop-up's
// timers and whether the desktop has a tray.

#include <filesystem>
#include <functional>
#include <optional>

#include "platform/TimerHost.h"

namespace vantelo::pages {

struct WindowSetup {
    std::filesystem::path database;
    // Timers of the ring pop-up (not owned); its own Qt timers when null.
    vt::TimerHost* popupTimers = nullptr;
    // Whether the desktop has a tray; asked of the desktop when unset.
    std::optional<bool> tray;
    // The settings page's address-book server dialog calls these once its
    // settings are saved and when a sync is asked for; unset: not called.
    std::function<void()> addressBookSaved;
    std::function<void()> syncAddressBook;
};

}  // namespace vantelo::pages
