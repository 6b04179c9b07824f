#pragma once
// ARS prompt-and-collect of one slot: streams a voice prompt to the line
// (request 0x76, bulk-out blocks) while the adapter reports over bulk-in
// whether the caller pressed keys, waits for keys, and reads them (0x69)
// into the 48-character key buffer, whose first character tells the
// outcome. Also the firmware download (0x79 and one bulk-out).

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace lindev {

class CLineDevice;

class ArsEngine {
public:
    static constexpr std::size_t kKeyBufferSize = 48;
    static constexpr std::size_t kPathSize = 260;
    // The key buffer holds the count character, the keys and a NUL.
    static constexpr int kMaxKeyCount = static_cast<int>(kKeyBufferSize) - 2;
    static constexpr long kMaxFirmware = 7500;

    explicit ArsEngine(CLineDevice& device);
    ~ArsEngine();
    ArsEngine(const ArsEngine&) = delete;
    ArsEngine& operator=(const ArsEngine&) = delete;

    // TY_SetARS after its status check: 1 started, 0 refused.
    int Start(const char* promptFile, int keyCount, char terminator, int repetitions, int waitMs);
    // TY_GetARS: the keys as the export returns them; false for null.
    bool Keys(std::string* keys);
    // Asks a running run to end (its outcome is then "Y") and, unless
    // `wait` is false, waits for it.
    void Stop(bool wait = true);

    bool Running() const { return running_.load() != 0; }

    // TY_FirmwareUpdate: 0 image too large or missing, 1 request 0x79
    // failed, 2 not all bytes taken, 3 done.
    int FirmwareUpdate(const char* path);

    // The terminator's code for request 0x76: "*" 10, "#" 12, "0" 11; the
    // code of a digit for the others ("1".."9"), else 0.
    static std::uint8_t TerminatorCode(char terminator);

private:
    struct Job {
        std::string prompt;
        int maxKeys = 1;
        int waitMs = 0;
        int repetitions = 0;
        char terminator = '#';
    };

    void Run(const Job& job);
    // Fills keys_ with the outcome.
    void PromptAndCollect(const Job& job);
    void CollectKeys(int maxKeys);
    bool StopAsked() const { return stopRequested_.load() != 0; }
    bool SleepUnlessStopped(unsigned ms);

    CLineDevice& device_;
    std::mutex control_;
    std::mutex keysMutex_;  // the key buffer: written by the run, read by TY_GetARS
    char keys_[kKeyBufferSize] = {};
    std::atomic<int> running_{0};
    std::atomic<int> stopRequested_{0};
    std::thread thread_;
};

}  // namespace lindev
