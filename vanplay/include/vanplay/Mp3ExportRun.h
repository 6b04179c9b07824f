#pragma once
// One MP3 export off the window thread: Kvne_WavtoMp3 runs on its own
// thread (its Mp3Progress messages go to the window) and WM_VP_MP3DONE
// (lParam: the library's result) is posted when it has returned.

#include <atomic>
#include <string>
#include <thread>

#include "platform/MessageWindow.h"

namespace vanplay {

class Mp3ExportRun {
public:
    Mp3ExportRun(std::string wavPath, std::string mp3Path, vt::HWND window);
    // Waits for the library: an export is never cut off half-written.
    ~Mp3ExportRun();
    Mp3ExportRun(const Mp3ExportRun&) = delete;
    Mp3ExportRun& operator=(const Mp3ExportRun&) = delete;

    bool Start();
    void Join();
    bool Finished() const { return finished_; }
    int Result() const { return result_; }
    const std::string& Source() const { return wav_; }
    const std::string& Target() const { return mp3_; }

private:
    std::string wav_;
    std::string mp3_;
    vt::HWND window_;
    std::thread thread_;
    std::atomic<bool> finished_{false};
    std::atomic<int> result_{0};
};

}  // namespace vanplay
