#pragma once
// A private D-Bus session bus for one test (dbus-daemon on a socket in the
// test's folder) and, on request, a real Secret Service on it
// (gnome-keyring-daemon's secrets component, its keyrings in the test's
// XDG_DATA_HOME). Both are stopped by the destructor. Where a program is
// missing, Available() is false and SkipReason() says which.

#include <filesystem>
#include <memory>
#include <string>

namespace vt::test {

class ChildProcess;

class SessionBus {
public:
    explicit SessionBus(const std::filesystem::path& folder);
    ~SessionBus();
    SessionBus(const SessionBus&) = delete;
    SessionBus& operator=(const SessionBus&) = delete;

    bool Available() const { return skipReason_.empty(); }
    const std::string& SkipReason() const { return skipReason_; }
    // For DBUS_SESSION_BUS_ADDRESS.
    const std::string& Address() const { return address_; }

    // Starts the Secret Service (with an unlocked default keyring) on this
    // bus and waits up to 15 s until it answers. Set
    // DBUS_SESSION_BUS_ADDRESS to Address() first. False if it did not come.
    bool StartSecretService();

private:
    bool NameHasOwner(const std::string& name);

    std::unique_ptr<ChildProcess> daemon_;
    std::unique_ptr<ChildProcess> keyring_;
    std::string address_;
    std::string skipReason_;
};

}  // namespace vt::test
