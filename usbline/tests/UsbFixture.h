#pragma once
// A private environment whose adapter list names the test adapter, and the
// simulated adapter plugged into an emulated USB bus (UsbAdapterBridge).
// The programs run under umockdev-wrapper; without it the tests skip.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "linesim/Model.h"
#include "testsupport/TestEnvironment.h"
#include "testsupport/UsbAdapterBridge.h"

namespace usbline::test {

inline void WriteAdapterList(const std::filesystem::path& configHome, const std::string& text) {
    const auto folder = configHome / "Korvane";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "adapters.conf") << text;
    ::chmod((folder / "adapters.conf").c_str(), 0600);
}

class UsbFixture : public ::testing::Test {
protected:
    void SetUp() override {
        if (!vt::test::UsbAdapterBridge::Available())
            GTEST_SKIP() << vt::test::UsbAdapterBridge::SkipReason();
        env_ = std::make_unique<vt::test::TestEnvironment>();
        WriteAdapterList(env_->ConfigHome(), "# the test adapter\n1234:5678\n");
        bridge_ = std::make_unique<vt::test::UsbAdapterBridge>();
        model_ = std::make_unique<linesim::Model>();
    }
    void TearDown() override {
        bridge_.reset();
        model_.reset();
        env_.reset();
    }
    std::string Plug(int port, const vt::test::UsbAdapterBridge::Options& options) {
        return bridge_->Plug(*model_, port, options);
    }
    std::string Plug(int port = 4) { return bridge_->Plug(*model_, port); }

    std::unique_ptr<vt::test::TestEnvironment> env_;
    std::unique_ptr<vt::test::UsbAdapterBridge> bridge_;
    std::unique_ptr<linesim::Model> model_;
};

}  // namespace usbline::test
