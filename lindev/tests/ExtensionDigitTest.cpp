// Keys the far end presses while the adapter dials reach the application as
// extension digits: the simulated adapter (stepped time) behind usbline's
// driver, its status word polled every 30 ms into the line event engine.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RecordingSink.h"
#include "Protocol.h"
#include "LineEventEngine.h"
#include "lindev/lindev.h"
#include "linesim/InProcessAdapter.h"
#include "linesim/ManualTimeSource.h"
#include "testsupport/TestEnvironment.h"
#include "usbline/CTyCtiInstance.h"

namespace {

using lindev::test::RecordingSink;

struct DialAndKeys {
    const char* what;
    std::vector<std::uint8_t> sent;  // send codes, as lindev dials them
    std::uint16_t onMs, offMs;
    std::uint64_t keysAt;               // ms after the dialling began
    const char* keys;                   // the far end's, 100 ms on, 100 ms off
    std::vector<vt::LPARAM> extension;  // WM_EX_EXT_DTMF codes, in order
};

// Off-hook, dials and lets the far end press its keys as the case says,
// polling every 30 ms; what the engine posted.
RecordingSink DialWithKeys(const DialAndKeys& c) {
    vt::test::TestEnvironment env;
    auto time = std::make_shared<linesim::ManualTimeSource>();
    linesim::InProcessAdapter adapter(7, time);
    CTyCtiInstance device;
    RecordingSink sink;
    lindev::LineEventEngine engine(sink);
    device.SetDeviceName(adapter.DevicePath().c_str());
    EXPECT_EQ(device.Device_Open(), 1);
    EXPECT_EQ(device.Vendor_Read(lindev::Request::HookOff, 0, 0, 0, nullptr), 1);
    std::vector<std::uint8_t> codes = c.sent;
    EXPECT_EQ(device.Vendor_Write(lindev::Request::SendDtmf, c.onMs, c.offMs,
                                  static_cast<std::uint16_t>(codes.size()), codes.data()),
              1);
    for (std::uint64_t t = 0; t < 2000; ++t, time->Advance(1)) {
        if (t == c.keysAt) {
            EXPECT_EQ(adapter.Command(std::string("dtmf ") + c.keys), "OK");
        }
        if (t % lindev::kPollPeriodMs == 0)
            engine.Poll(device.Interrupt_Read());
    }
    device.Device_Close();
    return sink;
}

std::vector<vt::LPARAM> Posted(const RecordingSink& sink, vt::UINT message) {
    std::vector<vt::LPARAM> params;
    for (const auto& e : sink.Posts(message)) params.push_back(e.lParam);
    return params;
}

TEST(ExtensionDigitTest, FarEndKeyWhileTheAdapterDialsIsPostedWithItsCode) {
    // Send codes 1..9 are the digits; the adapter's receiver reports its own
    // digits (the echo) with the same codes, also as extension digits.
    const std::vector<DialAndKeys> cases = {
        {"# during the echo of a digit", {5}, 400, 0, 100, "#", {5, 12}},
        {"A in the pause between two digits", {1, 2}, 200, 300, 250, "A", {1, 13, 2}},
        {"D as the last digit ends", {9}, 300, 0, 280, "D", {9, 0}},
        {"* over the next digit's echo", {1, 2, 3}, 100, 100, 150, "*", {1, 10, 3}},
        {"two keys during one long digit", {4}, 900, 0, 100, "67", {4, 6, 7}},
    };
    for (const DialAndKeys& c : cases) {
        SCOPED_TRACE(c.what);
        const RecordingSink sink = DialWithKeys(c);
        EXPECT_EQ(Posted(sink, WM_EX_EXT_DTMF), c.extension);
        EXPECT_TRUE(Posted(sink, WM_TY_GETDTMF).empty()) << "every key came while dialling";
    }
}

}  // namespace
