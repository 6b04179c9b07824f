#include "ArsEngine.h"
#include "Protocol.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "CLineDevice.h"
#include "lindev/lindev.h"
#include "platform/Tick.h"

namespace lindev {

namespace {

constexpr std::uint32_t kBlock = 64;
constexpr int kWaitStepMs = 100;
constexpr unsigned kWaitSleepMs = 90;
constexpr int kMaxCount = 50;

// Received-digit code to character; the key count is converted the same way.
char KeyChar(std::uint8_t code) {
    switch (code) {
        case 10: return '*';
        case 11: return '0';
        case 12: return '#';
        default: return static_cast<char>('0' + code);
    }
}

bool ReadWhole(const std::string& path, std::vector<std::uint8_t>* bytes, long limit) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return false;
    const std::streamoff size = in.tellg();
    if (size < 0 || (limit >= 0 && size > limit)) return false;
    bytes->resize(static_cast<std::size_t>(size));
    in.seekg(0);
    return static_cast<bool>(in.read(reinterpret_cast<char*>(bytes->data()), size)) || size == 0;
}

}  // namespace

ArsEngine::ArsEngine(CLineDevice& device) : device_(device) {}

ArsEngine::~ArsEngine() { Stop(); }

std::uint8_t ArsEngine::TerminatorCode(char terminator) {
    switch (terminator) {
        case '*': return 10;
        case '#': return 12;
        case '0': return 11;
        default:
            return terminator >= '1' && terminator <= '9' ? static_cast<std::uint8_t>(terminator - '0')
                                                          : 0;
    }
}

int ArsEngine::Start(const char* promptFile, int keyCount, char terminator, int repetitions,
                     int waitMs) {
    std::lock_guard lock(control_);
    Job job;
    job.prompt = promptFile ? promptFile : "";
    // The key read lands in the 48-character buffer: more keys do not fit.
    if (keyCount < 0 || keyCount > kMaxKeyCount) {
        device_.Log("ARS refused: the key count must be 0.." + std::to_string(kMaxKeyCount));
        return 0;
    }
    if (job.prompt.size() >= kPathSize) {
        device_.Log("ARS refused: the prompt path is longer than 259 bytes");
        return 0;
    }
    job.maxKeys = keyCount + 1;
    job.waitMs = waitMs;
    job.repetitions = std::clamp(repetitions, 0, 255);
    job.terminator = terminator;
    if (!device_.IsOpen() || device_.Recording() || device_.Playing() || Running()) return 0;
    if (thread_.joinable()) thread_.join();  // a finished earlier run
    stopRequested_.store(0);
    running_.store(1);
    try {
        thread_ = std::thread(&ArsEngine::Run, this, job);
    } catch (const std::system_error&) {
        running_.store(0);
        return 0;
    }
    return 1;
}

void ArsEngine::Stop(bool wait) {
    stopRequested_.store(1);
    if (!wait) return;
    std::lock_guard lock(control_);
    if (thread_.joinable()) thread_.join();
}

void ArsEngine::Run(const Job& job) {
    running_.store(1);
    device_.Log("ARS FUNC().");
    PromptAndCollect(job);
    running_.store(0);
    std::string keys;
    {
        std::lock_guard lock(keysMutex_);
        keys.assign(keys_, ::strnlen(keys_, sizeof keys_));
    }
    device_.Log("Message. WM_TY_THREADNOTIFY 2L GetARS=" + keys);
    device_.PostMessage(WM_TY_THREADNOTIFY, 2);
}

bool ArsEngine::SleepUnlessStopped(unsigned ms) {
    for (unsigned slept = 0; slept < ms && !StopAsked(); slept += 10) vt::SleepMs(std::min(10u, ms - slept));
    return !StopAsked();
}

void ArsEngine::PromptAndCollect(const Job& job) {
    auto outcome = [this](char first) {
        std::lock_guard lock(keysMutex_);
        std::memset(keys_, 0, sizeof keys_);
        keys_[0] = first;
    };
    outcome('\0');
    if (!device_.IsOpen()) return outcome(static_cast<char>(0xFF));
    std::vector<std::uint8_t> prompt;
    if (!ReadWhole(job.prompt, &prompt, -1)) return outcome('Q');
    const std::uint32_t length = static_cast<std::uint32_t>(prompt.size());
    CTyCtiInstance& t = device_.Transport();
    for (int rep = 0; rep < job.repetitions; ++rep) {
        std::uint8_t setup[2] = {static_cast<std::uint8_t>(job.maxKeys), TerminatorCode(job.terminator)};
        if (!t.Vendor_Write(Request::StartArsPrompt, static_cast<std::uint16_t>(length & 0xFFFF),
                            static_cast<std::uint16_t>(length >> 16), sizeof setup, setup))
            return outcome('Q');
        if (length > kBlock) {
            std::uint32_t remaining = length;
            std::uint32_t at = 0;
            std::uint32_t before;
            do {
                if (StopAsked()) return outcome('Y');
                before = remaining;
                const std::uint32_t block = std::min(kBlock, remaining);
                const std::uint32_t accepted = t.Bulk_OUT(prompt.data() + at, block);
                if (accepted == 0 && !t.IsOpen()) return outcome('Q');
                at += block;
                remaining -= std::min(accepted, remaining);
                std::uint8_t keysWaiting = 0;
                t.Bulk_IN(&keysWaiting, 1);
                if (keysWaiting != 0) {
                    t.Bulk_OUT(nullptr, 0);
                    return CollectKeys(job.maxKeys);
                }
            } while (before > kBlock);
        }
        int wait = job.waitMs;
        while (wait > kWaitStepMs) {
            if (!SleepUnlessStopped(kWaitSleepMs)) return outcome('Y');
            wait -= kWaitStepMs;
            std::uint8_t waiting = 0;
            if (t.Vendor_Read(Request::PollArsKeys, 0, 0, 1, &waiting) && waiting == 0xFF)
                return CollectKeys(job.maxKeys);
        }
        if (!SleepUnlessStopped(kWaitStepMs)) return outcome('Y');
        t.Vendor_Read(Request::EndArsRepetition, 0, 0, 0, nullptr);
    }
    outcome('Y');
}

void ArsEngine::CollectKeys(int maxKeys) {
    std::uint8_t reply[kKeyBufferSize] = {};
    const bool ok = device_.Transport().Vendor_Read(Request::ReadArsKeys, 0, 0,
                                                    static_cast<std::uint16_t>(maxKeys), reply);
    std::lock_guard lock(keysMutex_);
    std::memset(keys_, 0, sizeof keys_);
    if (!ok) {
        keys_[0] = 'S';
    } else if (reply[0] == '?') {
        keys_[0] = 'U';
    } else {
        for (int i = 0; i < maxKeys; ++i) keys_[i] = KeyChar(reply[i]);
    }
}

bool ArsEngine::Keys(std::string* keys) {
    std::lock_guard lock(keysMutex_);
    switch (keys_[0]) {
        case 'Q':
        case 'S':
        case 'U':
        case 'Y':
            return false;
        case '*': keys_[0] = '0' + 10; break;
        case '0': keys_[0] = '0' + 11; break;
        case '#': keys_[0] = '0' + 12; break;
        default: break;
    }
    const int n = static_cast<signed char>(keys_[0]) - '0';
    if (n < 0 || n > kMaxCount) return false;
    if (n == kMaxCount) {
        std::memset(keys_, 0, sizeof keys_);
    } else {
        const std::size_t cut = std::min<std::size_t>(static_cast<std::size_t>(n) + 1, sizeof keys_ - 1);
        std::memset(keys_ + cut, 0, sizeof keys_ - cut);
    }
    keys->assign(keys_, ::strnlen(keys_, sizeof keys_));
    return true;
}

int ArsEngine::FirmwareUpdate(const char* path) {
    std::vector<std::uint8_t> image;
    if (!path || !ReadWhole(path, &image, kMaxFirmware)) return 0;
    CTyCtiInstance& t = device_.Transport();
    if (!t.Vendor_Read(Request::AnnounceFirmware, static_cast<std::uint16_t>(image.size()), 0, 0,
                       nullptr))
        return 1;
    const std::uint32_t sent = t.Bulk_OUT(image.data(), static_cast<std::uint32_t>(image.size()));
    return sent == image.size() ? 3 : 2;
}

}  // namespace lindev
