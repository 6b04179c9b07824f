#pragma once
// Slot 0 served on the in-process simulated adapter, for the operations that
// stream audio: files in the test's private folder, the messages posted, and
// the transfers in the adapter's log.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "AdapterFixture.h"
#include "platform/QueueMessageWindow.h"
#include "testsupport/WavFixture.h"

namespace lindev::test {

class AudioFixture : public AdapterFixture {
protected:
    void SetUp() override {
        AdapterFixture::SetUp();
        Sim("speed 1");
        Sim("audio off");
        Sim("mic tone");
        Sim("capture off");
        ASSERT_EQ(TY_StartService(&window, 0), 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        window.Drain();
    }
    void TearDown() override {
        TY_StopRecord(0);
        TY_StopWaveOut(0);
        AdapterFixture::TearDown();
        window.Drain();
    }

    static std::filesystem::path File(const std::string& name) { return env_->Root() / name; }
    static void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_TRUE(f);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    // Bytes that never repeat a 4-byte window in practice.
    static std::vector<std::uint8_t> Pattern(std::size_t n, std::uint32_t seed = 12345) {
        std::vector<std::uint8_t> bytes(n);
        for (auto& b : bytes) {
            seed = seed * 1103515245u + 12345u;
            b = static_cast<std::uint8_t>(seed >> 16);
        }
        return bytes;
    }
    // A mu-law WAV whose data are exactly these codes.
    static std::filesystem::path MuLawWav(const std::string& name,
                                          const std::vector<std::uint8_t>& codes) {
        std::vector<std::uint8_t> bytes = {'R', 'I', 'F', 'F', 0,    0,    0, 0, 'W', 'A', 'V',
                                           'E', 'f', 'm', 't', ' ',  16,   0, 0, 0,   7,   0,
                                           1,   0,   0x40, 0x1F, 0,   0,   0x40, 0x1F, 0, 0,  1,
                                           0,   8,   0,    'd',  'a', 't', 'a', 0,    0,  0,  0};
        const auto n = static_cast<std::uint32_t>(codes.size());
        for (int i = 0; i < 4; ++i) {
            bytes[4 + i] = static_cast<std::uint8_t>((n + 36) >> (8 * i));
            bytes[40 + i] = static_cast<std::uint8_t>(n >> (8 * i));
        }
        bytes.insert(bytes.end(), codes.begin(), codes.end());
        const auto path = File(name);
        WriteFile(path, bytes);
        return path;
    }
    // Bulk-out transfers received since the last "log clear", as lengths.
    static std::vector<int> BulkOutLengths() {
        std::vector<int> lengths;
        for (const std::string& l : Model().Log())
            if (l.rfind("BULK_OUT length=", 0) == 0) lengths.push_back(std::stoi(l.substr(16)));
        return lengths;
    }
    // Waits until the adapter has played out what it was sent (status bit 5 clear).
    static void WaitUntilPlayedOut() {
        for (int i = 0; i < 500 && (TY_GetTYplusState(0) & 0x20); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    static int Count(const std::string& text) {
        const std::string log = LogText();
        int n = 0;
        for (std::size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++n;
        return n;
    }

    vt::QueueMessageWindow window;
};

}  // namespace lindev::test
