#include "testsupport/SessionBus.h"

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>

#include "platform/Folders.h"
#include "testsupport/ChildProcess.h"
#include "testsupport/Eventually.h"

namespace vt::test {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDaemon = "/usr/bin/dbus-daemon";
constexpr const char* kKeyring = "/usr/bin/gnome-keyring-daemon";
constexpr const char* kSend = "/usr/bin/dbus-send";

void Stop(std::unique_ptr<ChildProcess>& process) {
    if (!process)
        return;
    process->Signal(SIGTERM);
    process->WaitExit(std::chrono::seconds(5));
    process.reset();
}

}  // namespace

SessionBus::SessionBus(const fs::path& folder) {
    for (const char* program : {kDaemon, kSend})
        if (::access(program, X_OK) != 0) {
            skipReason_ = std::string("no ") + program;
            return;
        }
    vt::EnsureFolder(folder, 0700);
    const std::string address = "unix:path=" + (folder / "bus").string();
    // A bus of its own kind: no service is started on demand, so nothing
    // the test did not start (a keyring writing into the home folder) runs.
    const fs::path config = folder / "bus.conf";
    std::ofstream(config) << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus "
                             "Configuration 1.0//EN\"\n"
                             " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                             "<busconfig><type>session</type><listen>"
                          << address
                          << "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                             "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                             "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>"
                             "</busconfig>\n";
    daemon_ = std::make_unique<ChildProcess>(
        kDaemon, std::vector<std::string>{"--config-file=" + config.string(), "--nofork",
                                          "--nosyslog", "--print-address"});
    if (!daemon_->WaitForOutput(address, std::chrono::seconds(15))) {
        skipReason_ = "dbus-daemon did not start: " + daemon_->Output();
        Stop(daemon_);
        return;
    }
    address_ = address;
}

SessionBus::~SessionBus() {
    Stop(keyring_);
    Stop(daemon_);
}

bool SessionBus::NameHasOwner(const std::string& name) {
    ChildProcess send(
        kSend, {"--session", "--print-reply", "--dest=org.freedesktop.DBus",
                "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", "string:" + name});
    const auto status = send.WaitExit(std::chrono::seconds(5));
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0 &&
           send.Output().find("boolean true") != std::string::npos;
}

bool SessionBus::StartSecretService() {
    if (!Available())
        return false;
    if (::access(kKeyring, X_OK) != 0) {
        skipReason_ = std::string("no ") + kKeyring;
        return false;
    }
    // --unlock reads the new keyring's password from standard input, here
    // empty: the default keyring is made and left unlocked.
    keyring_ = std::make_unique<ChildProcess>(
        kKeyring, std::vector<std::string>{"--foreground", "--components=secrets", "--unlock"});
    return Eventually([&] { return NameHasOwner("org.freedesktop.secrets"); },
                      std::chrono::seconds(15));
}

}  // namespace vt::test
