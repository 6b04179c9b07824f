#include "usbline/CTyCtiInstance.h"

#include <gtest/gtest.h>

#include <thread>

#include "FaultInjectingDriver.h"
#include "usbline/DriverRegistry.h"

using namespace usbline;
using usbline::test::FaultInjectingDriver;
using usbline::test::RecordedCall;

namespace {

constexpr const char* kDevice = "fault:/adapter0";

class CTyCtiInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        driver = std::make_shared<FaultInjectingDriver>();
        RegisterDriver("fault:", driver);
        cti.SetDeviceName(kDevice);
    }
    void TearDown() override {
        cti.Device_Close();
        UnregisterDriver("fault:");
    }
    RecordedCall LastCall() { return driver->Calls().back(); }

    std::shared_ptr<FaultInjectingDriver> driver;
    CTyCtiInstance cti;
};

std::string P(const char* pipe) { return std::string(kDevice) + "/" + pipe; }

}  // namespace

TEST(CTyCtiInstanceName, NullNameLeavesNameAndFlagUnchanged) {
    CTyCtiInstance fresh;
    fresh.SetDeviceName(nullptr);
    EXPECT_FALSE(fresh.HasDeviceName());
    EXPECT_STREQ(fresh.DeviceName(), "");
    fresh.SetDeviceName("sim");
    fresh.SetDeviceName(nullptr);
    EXPECT_TRUE(fresh.HasDeviceName());
    EXPECT_STREQ(fresh.DeviceName(), "sim");
}

TEST(CTyCtiInstanceName, LongNameIsCutTo259Characters) {
    CTyCtiInstance fresh;
    std::string longName(400, 'x');
    fresh.SetDeviceName(longName.c_str());
    EXPECT_EQ(std::string(fresh.DeviceName()).size(), 259u);
}

TEST_F(CTyCtiInstanceTest, OpenTakesControlThenTheFourPipesInOrder) {
    ASSERT_EQ(cti.Device_Open(), 1);
    EXPECT_TRUE(cti.IsOpen());
    std::vector<std::string> expected{kDevice, P("PIPE82"), P("PIPE04"), P("PIPE86"),
                                      P("PIPE87")};
    EXPECT_EQ(driver->Opened(), expected);
    EXPECT_EQ(cti.Device_Close(), 1);
    // Closing order: control, record, bulk-out, interrupt, bulk-in.
    EXPECT_EQ(driver->Closed(), expected);
    EXPECT_EQ(driver->LiveHandles(), 0u);
}

TEST_F(CTyCtiInstanceTest, PipeThatCannotOpenLeavesEverythingClosed) {
    driver->FailOpenOf("PIPE86");
    EXPECT_EQ(cti.Device_Open(), 0);
    EXPECT_FALSE(cti.IsOpen());
    EXPECT_EQ(driver->LiveHandles(), 0u) << "handles opened before the failure are closed";
    EXPECT_EQ(driver->Opened().size(), 4u) << "PIPE87 is not tried after PIPE86 failed";
    EXPECT_EQ(cti.Interrupt_Read(), 0xFFFFFFFFu);
    EXPECT_TRUE(driver->Calls().empty());
}

TEST_F(CTyCtiInstanceTest, ControlThatCannotOpenTriesNoPipe) {
    driver->FailOpenOf("adapter0");
    EXPECT_EQ(cti.Device_Open(), 0);
    EXPECT_EQ(driver->Opened().size(), 1u);
    EXPECT_TRUE(driver->Closed().empty());
}

TEST_F(CTyCtiInstanceTest, CloseOnAClosedObjectReturnsOneAndClosesNothing) {
    EXPECT_EQ(cti.Device_Close(), 1);
    EXPECT_TRUE(driver->Closed().empty());
}

TEST_F(CTyCtiInstanceTest, VendorRequestsSendThePackedSetupRecord) {
    ASSERT_EQ(cti.Device_Open(), 1);
    driver->AnswerData({0x05, 0x03});
    std::uint8_t versions[2] = {};
    ASSERT_EQ(cti.Vendor_Read(0x7E, 0x1234, 0xABCD, 2, versions), 1);
    RecordedCall read = LastCall();
    EXPECT_EQ(read.code, 0x00220010u);
    EXPECT_EQ(read.input, (std::vector<std::uint8_t>{0x7E, 0x34, 0x12, 0xCD, 0xAB, 0x02, 0x00}));
    EXPECT_FALSE(read.outputNull);
    EXPECT_EQ(read.outLength, 2u);
    EXPECT_EQ(versions[0], 0x05);
    EXPECT_EQ(versions[1], 0x03);

    std::uint8_t serial[4] = {1, 2, 3, 4};
    ASSERT_EQ(cti.Vendor_Write(0x84, 1, 0, 4, serial), 1);
    EXPECT_EQ(LastCall().code, 0x0022000Cu);
    EXPECT_EQ(LastCall().outLength, 4u);
}

TEST_F(CTyCtiInstanceTest, LengthZeroRequestPassesNullData) {
    ASSERT_EQ(cti.Device_Open(), 1);
    std::uint8_t unused = 0;
    ASSERT_EQ(cti.Vendor_Read(0x60, 0, 0, 0, &unused), 1);
    RecordedCall call = LastCall();
    EXPECT_EQ(call.input, (std::vector<std::uint8_t>{0x60, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(call.outputNull);
    EXPECT_EQ(call.outLength, 0u);
}

TEST_F(CTyCtiInstanceTest, FailedVendorReadClosesTheObject) {
    ASSERT_EQ(cti.Device_Open(), 1);
    driver->FailCode(IOCTL_VENDOR_READ);
    std::uint8_t b = 0;
    EXPECT_EQ(cti.Vendor_Read(0x67, 0, 0, 1, &b), 0);
    EXPECT_FALSE(cti.IsOpen());
    EXPECT_EQ(driver->LiveHandles(), 0u);
    EXPECT_EQ(cti.Interrupt_Read(), 0xFFFFFFFFu);
    EXPECT_EQ(cti.Vendor_Write(0x80, 0, 0, 0, nullptr), 0);
}

TEST_F(CTyCtiInstanceTest, ClosedObjectGivesEachMethodsClosedResultWithoutCalls) {
    std::uint8_t buf[4] = {};
    EXPECT_EQ(cti.Vendor_Read(0x7E, 0, 0, 2, buf), 0);
    EXPECT_EQ(cti.Vendor_Write(0x80, 0, 0, 0, nullptr), 0);
    EXPECT_EQ(cti.Bulk_IN(buf, 4), 0u);
    EXPECT_EQ(cti.Bulk_OUT(buf, 4), 0u);
    EXPECT_EQ(cti.Interrupt_Start(), 0u);
    EXPECT_EQ(cti.Interrupt_Stop(), 0u);
    EXPECT_EQ(cti.IntRecord_Stop(), 0);
    EXPECT_EQ(cti.Interrupt_Read(), 0xFFFFFFFFu);
    EXPECT_EQ(cti.IntRecord_Read(), 0xFFFFFFFFu);
    EXPECT_EQ(cti.IntRecord_Start(buf, 4), 0u);
    EXPECT_TRUE(driver->Calls().empty());
}

TEST_F(CTyCtiInstanceTest, CountRequestsReturnTheDriversCount) {
    ASSERT_EQ(cti.Device_Open(), 1);
    driver->AnswerCount(IOCTL_INTERRUPT_READ, 0x1011);
    driver->AnswerCount(IOCTL_RECORD_READ, 42);
    EXPECT_EQ(cti.Interrupt_Read(), 0x1011u);
    RecordedCall status = LastCall();
    EXPECT_EQ(status.code, 0x00220024u);
    EXPECT_TRUE(status.input.empty());
    EXPECT_TRUE(status.outputNull);
    EXPECT_EQ(cti.IntRecord_Read(), 42u);
    EXPECT_EQ(LastCall().code, 0x00220030u);
}

TEST_F(CTyCtiInstanceTest, FailedStatusReadClosesAndReportsAllOnes) {
    ASSERT_EQ(cti.Device_Open(), 1);
    driver->FailCode(IOCTL_INTERRUPT_READ);
    EXPECT_EQ(cti.Interrupt_Read(), 0xFFFFFFFFu);
    EXPECT_FALSE(cti.IsOpen());
}

TEST_F(CTyCtiInstanceTest, BulkTransfersSendTheLengthAndReturnTheCount) {
    ASSERT_EQ(cti.Device_Open(), 1);
    std::uint8_t block[512] = {};
    driver->AnswerCount(IOCTL_BULK_OUT, 512);
    EXPECT_EQ(cti.Bulk_OUT(block, 512), 512u);
    RecordedCall out = LastCall();
    EXPECT_EQ(out.code, 0x00220016u);
    EXPECT_EQ(out.input, (std::vector<std::uint8_t>{0x00, 0x02, 0x00, 0x00}));
    EXPECT_EQ(out.outLength, 512u);
    driver->AnswerCount(IOCTL_BULK_IN, 64);
    EXPECT_EQ(cti.Bulk_IN(block, 64), 64u);
    EXPECT_EQ(LastCall().code, 0x00220019u);

    driver->FailCode(IOCTL_BULK_OUT);
    EXPECT_EQ(cti.Bulk_OUT(block, 512), 0u);
    EXPECT_FALSE(cti.IsOpen());
}

TEST_F(CTyCtiInstanceTest, RecordStartSpecialCases) {
    std::uint8_t ring[256] = {};
    EXPECT_EQ(cti.IntRecord_Start(ring, 0), 0u);
    ASSERT_EQ(cti.Device_Open(), 1);
    EXPECT_EQ(cti.IntRecord_Start(ring, 0), 0u) << "length 0: no driver call";
    EXPECT_TRUE(driver->Calls().empty());

    // A failing start returns its count (0) and leaves the handles open.
    driver->FailCode(IOCTL_RECORD_START);
    EXPECT_EQ(cti.IntRecord_Start(ring, sizeof ring), 0u);
    EXPECT_TRUE(cti.IsOpen());
    EXPECT_EQ(LastCall().code, 0x00220029u);
    EXPECT_EQ(LastCall().input, (std::vector<std::uint8_t>{0x00, 0x01, 0x00, 0x00}));
}

TEST_F(CTyCtiInstanceTest, StartRequestsBlockUntilTheirStop) {
    ASSERT_EQ(cti.Device_Open(), 1);
    driver->AnswerCount(IOCTL_INTERRUPT_START, 2);
    std::uint32_t started = 99;
    std::thread listener([&] { started = cti.Interrupt_Start(); });
    driver->WaitForCalls(1);
    RecordedCall start = driver->Calls()[0];
    EXPECT_EQ(start.code, 0x0022001Du);
    EXPECT_EQ(start.input, (std::vector<std::uint8_t>{2, 0, 0, 0}));
    EXPECT_EQ(start.outLength, 2u);
    driver->AnswerCount(IOCTL_INTERRUPT_STOP, 1);
    EXPECT_EQ(cti.Interrupt_Stop(), 1u);
    listener.join();
    EXPECT_EQ(started, 2u);

    std::uint8_t ring[640] = {};
    driver->AnswerCount(IOCTL_RECORD_START, 640);
    std::uint32_t recorded = 0;
    std::thread recorder([&] { recorded = cti.IntRecord_Start(ring, sizeof ring); });
    driver->WaitForCalls(3);
    EXPECT_EQ(cti.IntRecord_Stop(), 1);
    recorder.join();
    EXPECT_EQ(recorded, 640u);
}

TEST_F(CTyCtiInstanceTest, SelfCloseInOneThreadFailsCallsInAnother) {
    ASSERT_EQ(cti.Device_Open(), 1);
    std::uint32_t listenerResult = 99;
    std::thread listener([&] { listenerResult = cti.Interrupt_Start(); });
    driver->WaitForCalls(1);
    driver->FailCode(IOCTL_VENDOR_READ);
    std::uint8_t b = 0;
    EXPECT_EQ(cti.Vendor_Read(0x61, 0, 0, 1, &b), 0);
    listener.join();  // the close woke the blocked start
    EXPECT_EQ(listenerResult, 0u);
    EXPECT_EQ(cti.Interrupt_Read(), 0xFFFFFFFFu);
    EXPECT_EQ(driver->LiveHandles(), 0u);
}
