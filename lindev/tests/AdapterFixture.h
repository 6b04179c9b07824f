#pragma once
// Slot 0 of liblindev opened on an in-process simulated adapter, once per
// test suite (opening pauses 200 ms); each test starts with the line idle,
// the request log empty and the service stopped.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DiagnosticLog.h"
#include "lindev/lindev.h"
#include "linesim/InProcessAdapter.h"
#include "testsupport/TestEnvironment.h"

namespace lindev::test {

class AdapterFixture : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        env_ = new vt::test::TestEnvironment;
        adapter_ = new linesim::InProcessAdapter(0);
        ASSERT_EQ(TY_InitializeAllDevice(), 1);
        ASSERT_EQ(TY_OpenDeviceByIndex(0, 1), 1);
    }
    static void TearDownTestSuite() {
        TY_StopService(0);
        TY_CloseDeviceByIndex(0);
        delete adapter_;
        delete env_;
        adapter_ = nullptr;
        env_ = nullptr;
    }

protected:
    void SetUp() override {
        Sim("hangup");
        TY_HookOn(0);
        Sim("headset 1");
        Sim("log clear");
    }
    void TearDown() override { TY_StopService(0); }

    static std::string Sim(const std::string& command) { return adapter_->Command(command); }
    static linesim::Model& Model() { return adapter_->GetModel(); }

    // Vendor requests received since the last "log clear", oldest first.
    static std::vector<std::string> Requests() {
        std::vector<std::string> lines;
        for (const std::string& l : Model().Log())
            if (l.rfind("VENDOR_", 0) == 0) lines.push_back(l);
        return lines;
    }
    // Requests with this code ("0x60").
    static std::vector<std::string> Requests(const std::string& code) {
        std::vector<std::string> lines;
        for (const std::string& l : Requests())
            if (l.find(" " + code + " ") != std::string::npos) lines.push_back(l);
        return lines;
    }
    // Closes and opens slot 0 again (the versions are read at open).
    static void Reopen() {
        TY_CloseDeviceByIndex(0);
        ASSERT_EQ(TY_OpenDeviceByIndex(0, 1), 1);
        Sim("log clear");
    }
    // Reopens on an adapter reporting these versions ("5 2": hardware 5,
    // firmware 2); a test that changes them puts back kUsualVersions.
    static void ReopenWithVersions(const std::string& versions) {
        Sim("version " + versions);
        Reopen();
    }
    static constexpr const char* kUsualVersions = "5 3";
    static std::string LogText() { return vt::test::ReadText(DiagnosticLog::TodayFile()); }
    static bool Logged(const std::string& message) {
        return LogText().find("DevID=0, " + message + " \r\n") != std::string::npos;
    }

    static vt::test::TestEnvironment* env_;
    static linesim::InProcessAdapter* adapter_;
};

inline vt::test::TestEnvironment* AdapterFixture::env_ = nullptr;
inline linesim::InProcessAdapter* AdapterFixture::adapter_ = nullptr;

}  // namespace lindev::test
