// The real adapter's driver (libusb) through the transport, against the
// simulated adapter on an emulated USB bus.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include "UsbFixture.h"
#include "linesim/InProcessAdapter.h"
#include "platform/DeviceEnumeration.h"
#include "testsupport/Eventually.h"
#include "testsupport/SecondUser.h"
#include "tyctl/CommandTable.h"
#include "usbline/CTyCtiInstance.h"
#include "usbline/UsbAdapters.h"

using namespace std::chrono_literals;
using usbline::test::UsbFixture;
using vt::test::UsbAdapterBridge;
namespace status = usbline::protocol::status;

namespace {

bool Listed(const std::string& path) {
    const auto all = vt::EnumerateDeviceInterfaces();
    return std::find(all.begin(), all.end(), path) != all.end();
}

class UsbDriverTest : public UsbFixture {
protected:
    void TearDown() override {
        cti_.Device_Close();
        UsbFixture::TearDown();
    }
    // Plugs the adapter into port 4 and opens the transport on it.
    void PlugAndOpen() {
        cti_.SetDeviceName(Plug().c_str());
        ASSERT_EQ(cti_.Device_Open(), 1);
    }
    bool OffHookSeen() { return (cti_.Interrupt_Read() & status::kOffHook) != 0; }
    CTyCtiInstance cti_;
};

TEST_F(UsbDriverTest, OpensTheListedAdapterAndReadsItsVersions) {
    const std::string path = Plug();
    EXPECT_EQ(path, "usb:1-4");
    model_->SetVersions(7, 9);
    cti_.SetDeviceName(path.c_str());
    ASSERT_EQ(cti_.Device_Open(), 1);
    std::uint8_t versions[2] = {};
    ASSERT_EQ(cti_.Vendor_Read(0x7E, 0, 0, 2, versions), 1);
    EXPECT_EQ(versions[0], 7);
    EXPECT_EQ(versions[1], 9);
    EXPECT_EQ(bridge_->CountersOf().claims, 1);
    ASSERT_EQ(cti_.Vendor_Read(0x60, 0, 0, 0, nullptr), 1);
    EXPECT_TRUE(vt::test::Eventually([&] { return OffHookSeen(); }));
    std::uint8_t digits[2] = {1, 2};
    ASSERT_EQ(cti_.Vendor_Write(0x62, 100, 0, 2, digits), 1);
    EXPECT_EQ(model_->GetState().sentDigits, "12");
    cti_.Device_Close();
    EXPECT_EQ(bridge_->CountersOf().releases, 1);
}

TEST_F(UsbDriverTest, WhichDevicesAreTakenForAdapters) {
    struct Case {
        const char* name;
        const char* list;
        UsbAdapterBridge::Options options;
        bool taken;
        std::vector<std::string> problemNames;  // all in the problem line
    };
    UsbAdapterBridge::Options wrongEndpoints, kernelDriver, otherIds;
    wrongEndpoints.fourEndpoints = false;
    kernelDriver.kernelDriverBound = true;
    otherIds.vendor = 0x0a5c;
    otherIds.product = 0x0001;
    const Case cases[] = {
        {"listed", "1234:5678\n", {}, true, {}},
        {"listed in capitals with a comment", "  1234:5678 # desk\n", {}, true, {}},
        {"not listed", "abcd:0001\n", {}, false, {}},
        {"other device listed", "1234:5678\n", otherIds, false, {}},
        {"wrong endpoints",
         "1234:5678\n",
         wrongEndpoints,
         false,
         {"1234:5678", "0x86", "거부했습니다"}},
        {"held by a kernel driver", "1234:5678\n", kernelDriver, true, {}},
    };
    int port = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        usbline::test::WriteAdapterList(env_->ConfigHome(), c.list);
        const std::string path = Plug(++port, c.options);
        EXPECT_EQ(Listed(path), c.taken);
        CTyCtiInstance cti;
        cti.SetDeviceName(path.c_str());
        EXPECT_EQ(cti.Device_Open(), c.taken ? 1 : 0);
        const std::string problem = usbline::AdapterProblem();
        EXPECT_EQ(problem.empty(), c.problemNames.empty()) << problem;
        for (const std::string& name : c.problemNames)
            EXPECT_NE(problem.find(name), std::string::npos) << problem;
        if (!c.problemNames.empty()) {
            EXPECT_NE(problem.find("어댑터 " + path + " "), std::string::npos) << problem;
        }
        EXPECT_EQ(bridge_->CountersOf(port).detaches, c.options.kernelDriverBound ? 1 : 0);
        cti.Device_Close();
        bridge_->Unplug(port);
    }
}

TEST_F(UsbDriverTest, RealAdaptersComeFirstInPortOrderThenSimulatedOnes) {
    linesim::Model second;
    bridge_->Plug(second, 12);
    Plug(3);
    linesim::InProcessAdapter simulated(0);
    const std::vector<std::string> expected = {"usb:1-3", "usb:1-12", "inproc:sim0"};
    EXPECT_EQ(vt::EnumerateDeviceInterfaces(), expected);
    bridge_->Unplug(12);
    bridge_->Unplug(3);
}

TEST_F(UsbDriverTest, AFailedControlTransferClosesTheTransport) {
    struct Case {
        const char* name;
        bool answers;
        std::uint8_t request;
    };
    // An unknown request is stalled; an adapter that never answers times out.
    for (const Case c : {Case{"stall", true, 0x42}, Case{"time-out", false, 0x7E}}) {
        SCOPED_TRACE(c.name);
        UsbAdapterBridge::Options options;
        options.answersControl = c.answers;
        CTyCtiInstance cti;
        cti.SetDeviceName(Plug(5, options).c_str());
        ASSERT_EQ(cti.Device_Open(), 1);
        std::uint8_t reply[2] = {};
        EXPECT_EQ(cti.Vendor_Read(c.request, 0, 0, 2, reply), 0);
        EXPECT_FALSE(cti.IsOpen());
        EXPECT_EQ(cti.Interrupt_Read(), 0xFFFFFFFFu);
        EXPECT_EQ(bridge_->CountersOf(5).releases, 1) << "closed and released";
        bridge_->Unplug(5);
    }
}

TEST_F(UsbDriverTest, TheStatusListenerBlocksUntilItsStopOrTheClose) {
    PlugAndOpen();
    // A stop that comes before its start ends that start at once.
    EXPECT_EQ(cti_.Interrupt_Stop(), 1u);
    EXPECT_EQ(cti_.Interrupt_Start(), 2u);
    for (const bool byClose : {false, true}) {
        SCOPED_TRACE(byClose ? "close" : "stop");
        std::atomic<bool> returned{false};
        std::uint32_t result = 99;
        std::thread listener([&] {
            result = cti_.Interrupt_Start();
            returned.store(true);
        });
        std::this_thread::sleep_for(100ms);
        EXPECT_FALSE(returned.load());
        if (byClose)
            cti_.Device_Close();
        else
            EXPECT_EQ(cti_.Interrupt_Stop(), 1u);
        listener.join();
        EXPECT_EQ(result, byClose ? 0u : 2u);
    }
}

TEST_F(UsbDriverTest, RecordsFillTheCallersRingInOrderAndWrap) {
    PlugAndOpen();
    ASSERT_EQ(model_->SetSpeed(20), "");
    ASSERT_EQ(cti_.Vendor_Read(0x60, 0, 0, 0, nullptr), 1);  // the far end is recorded
    ASSERT_EQ(cti_.Vendor_Read(0x56, 1, 0, 0, nullptr), 1);
    constexpr std::uint32_t kRecords = 10;
    std::vector<std::uint8_t> ring(kRecords * 64, 0xEE);
    std::uint32_t bytes = 0;
    std::thread data([&] { bytes = cti_.IntRecord_Start(ring.data(), ring.size()); });
    const std::uint64_t before = bridge_->CountersOf().recordsSent;
    ASSERT_TRUE(
        vt::test::Eventually([&] { return bridge_->CountersOf().recordsSent - before > 25; }));
    ASSERT_EQ(cti_.IntRecord_Stop(), 1);
    data.join();
    const std::uint64_t sent = bridge_->CountersOf().recordsSent - before;
    EXPECT_EQ(bytes, ring.size()) << "more records than the ring holds";
    EXPECT_EQ(cti_.IntRecord_Read(), sent % kRecords) << "the position wraps with the ring";
    // The records carry the adapter's numbers in order, wrapping with the ring.
    const std::uint32_t last = cti_.IntRecord_Read();
    for (std::uint32_t i = 1; i < kRecords; ++i) {
        const std::uint8_t* newer = &ring[((last + kRecords - i) % kRecords) * 64];
        const std::uint8_t* older = &ring[((last + kRecords - i - 1) % kRecords) * 64];
        const int n = newer[2] | newer[3] << 8, o = older[2] | older[3] << 8;
        EXPECT_EQ(n, o + 1) << i;
        EXPECT_EQ(newer[1], 60);
    }
}

TEST_F(UsbDriverTest, BulkTransfersReachTheModel) {
    PlugAndOpen();
    std::uint8_t in[1] = {0xAA};
    EXPECT_EQ(cti_.Bulk_IN(in, 1), 1u);
    EXPECT_EQ(in[0], 0) << "no ARS key waits";
    std::uint8_t block[64];
    for (int i = 0; i < 64; ++i) block[i] = static_cast<std::uint8_t>(i);
    std::uint8_t count[1] = {1};
    ASSERT_EQ(cti_.Vendor_Write(0x58, 64, 0, 1, count), 1);
    EXPECT_EQ(cti_.Bulk_OUT(block, 64), 64u);
    EXPECT_NE(model_->Log().back().find("BULK_OUT length=64"), std::string::npos);
}

TEST_F(UsbDriverTest, UnplugFailsEveryCallAndTheSamePortGivesTheSamePath) {
    PlugAndOpen();
    std::atomic<std::uint32_t> listenerResult{99};
    std::thread listener([&] { listenerResult = cti_.Interrupt_Start(); });
    ASSERT_EQ(cti_.Vendor_Read(0x56, 1, 0, 0, nullptr), 1);
    std::vector<std::uint8_t> ring(4000 * 64);
    std::thread data([&] { cti_.IntRecord_Start(ring.data(), ring.size()); });
    ASSERT_TRUE(vt::test::Eventually([&] { return cti_.IntRecord_Read() > 0; }));
    bridge_->Unplug();
    EXPECT_TRUE(vt::test::Eventually([&] { return cti_.Interrupt_Read() == 0xFFFFFFFFu; }));
    listener.join();
    data.join();
    EXPECT_EQ(listenerResult.load(), 0u);
    EXPECT_FALSE(cti_.IsOpen());
    EXPECT_FALSE(Listed("usb:1-4"));
    EXPECT_EQ(cti_.Device_Open(), 0);

    linesim::Model replugged;
    EXPECT_EQ(bridge_->Plug(replugged, 4), "usb:1-4");
    EXPECT_TRUE(Listed("usb:1-4"));
    ASSERT_EQ(cti_.Device_Open(), 1);
    std::uint8_t versions[2] = {};
    EXPECT_EQ(cti_.Vendor_Read(0x7E, 0, 0, 2, versions), 1);
    cti_.Device_Close();
    bridge_->Unplug();  // before the model that answers goes
}

TEST_F(UsbDriverTest, ANodeWithoutPermissionSaysWhatToDo) {
    vt::test::SecondUser user;
    if (!user.Available())
        GTEST_SKIP() << user.SkipReason();
    const std::string path = Plug();
    // The other user may read the emulated bus and the list (and make its
    // udev monitor's socket in the testbed), but the node is root's alone,
    // as a device node without the udev rule is.
    const std::string root = bridge_->RootFolder();
    ASSERT_EQ(::chmod(root.c_str(), 01777), 0);
    ASSERT_EQ(::chmod((root + bridge_->DeviceNode()).c_str(), 0600), 0);
    // The emulation's own socket behind the node stays open to everyone.
    ASSERT_EQ(::chmod((root + "/ioctl" + bridge_->DeviceNode()).c_str(), 0666), 0);
    const auto shared = std::filesystem::path(root) / "config";
    usbline::test::WriteAdapterList(shared, "1234:5678\n");
    ::chmod((shared / "Korvane").c_str(), 0755);
    ::chmod((shared / "Korvane" / "adapters.conf").c_str(), 0644);
    ::chmod(shared.c_str(), 0755);
    // What the other user's tyctl printed, for a failure.
    const auto said = std::filesystem::path(root) / "said.txt";
    std::ofstream(said).close();
    ::chmod(said.c_str(), 0666);
    // tyctl itself, as the other user, its output in `said`.
    const std::string tyctl = (vt::test::BinaryFolder() / "tyctl").string();
    const int code = user.RunAs([&] {
        ::setenv("XDG_CONFIG_HOME", shared.c_str(), 1);
        const int out = ::open(said.c_str(), O_WRONLY | O_TRUNC);
        if (out < 0)
            return 126;
        ::dup2(out, 1);
        ::dup2(out, 2);
        ::execl(tyctl.c_str(), tyctl.c_str(), "adapters", nullptr);
        return 127;
    });
    const std::string text = vt::test::ReadText(said);
    EXPECT_EQ(text.rfind(path + "  usb  1234:5678  열 수 없음: 어댑터 " + path +
                             " (1234:5678)을(를) 열 수 없습니다: 권한이 없습니다",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find("udev"), std::string::npos) << "what to do";
    EXPECT_EQ(code, 0) << text;
}

TEST_F(UsbDriverTest, TyctlAdaptersListsEveryAdapterWithItsKind) {
    Plug(4);
    UsbAdapterBridge::Options wrong;
    wrong.fourEndpoints = false;
    bridge_->Plug(*model_, 6, wrong);
    linesim::InProcessAdapter simulated(0);
    std::ostringstream out, err;
    std::atomic<bool> stop{false};
    const char* argv[] = {"tyctl", "adapters"};
    EXPECT_EQ(tyctl::CommandTable::Dispatch(2, argv, out, err, stop), tyctl::kExitOk);
    std::istringstream lines(out.str());
    std::string line;
    std::vector<std::string> got;
    while (std::getline(lines, line)) got.push_back(line);
    ASSERT_EQ(got.size(), 3u) << out.str();
    EXPECT_EQ(got[0], "usb:1-4  usb  1234:5678  열 수 있음");
    EXPECT_EQ(got[1].rfind("usb:1-6  usb  1234:5678  열 수 없음: 어댑터 usb:1-6", 0), 0u);
    EXPECT_EQ(got[2], "inproc:sim0  simulated  열 수 있음");

    std::ostringstream rule;
    const char* ruleArgv[] = {"tyctl", "adapters", "--udev-rule"};
    EXPECT_EQ(tyctl::CommandTable::Dispatch(3, ruleArgv, rule, err, stop), tyctl::kExitOk);
    EXPECT_NE(rule.str().find("ATTR{idVendor}==\"1234\", ATTR{idProduct}==\"5678\""),
              std::string::npos);
}

}  // namespace
