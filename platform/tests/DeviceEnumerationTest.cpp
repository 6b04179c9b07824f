#include "platform/DeviceEnumeration.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

#include "testsupport/TestEnvironment.h"

namespace {

// Binds a Unix socket at `path` (the device socket a daemon would serve).
int BindSocketAt(const std::filesystem::path& path) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    return fd;
}

}  // namespace

TEST(DeviceEnumeration, ListsDeviceSocketsByNumberAfterInProcessDevices) {
    vt::test::TestEnvironment env;
    auto folder = vt::DeviceSocketFolder();
    EXPECT_EQ(folder, env.RuntimeDir() / "tyline");
    EXPECT_TRUE(vt::EnumerateDeviceInterfaces().empty());

    int s10 = BindSocketAt(vt::DeviceSocketPath(10));
    int s2 = BindSocketAt(vt::DeviceSocketPath(2));
    int ctl = BindSocketAt(vt::ControlSocketPath(0));  // control sockets are not devices
    std::ofstream(folder / "sim3.dev") << "not a socket";
    std::ofstream(folder / "simx.dev") << "";

    vt::RegisterDeviceInterface("inproc:b");
    vt::RegisterDeviceInterface("inproc:a");
    vt::RegisterDeviceInterface("inproc:b");
    std::vector<std::string> expected{"inproc:b", "inproc:a", vt::DeviceSocketPath(2).string(),
                                      vt::DeviceSocketPath(10).string()};
    EXPECT_EQ(vt::EnumerateDeviceInterfaces(), expected);

    vt::UnregisterDeviceInterface("inproc:b");
    vt::UnregisterDeviceInterface("inproc:a");
    ::unlink(vt::DeviceSocketPath(2).c_str());
    EXPECT_EQ(vt::EnumerateDeviceInterfaces(),
              std::vector<std::string>{vt::DeviceSocketPath(10).string()});
    ::close(s10);
    ::close(s2);
    ::close(ctl);
}
