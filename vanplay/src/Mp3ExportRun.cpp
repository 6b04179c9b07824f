#include "vanplay/Mp3ExportRun.h"

#include <system_error>

#include "mp3conv/Mp3Conv.h"
#include "vanplay/PlayerIds.h"

namespace vanplay {

Mp3ExportRun::Mp3ExportRun(std::string wavPath, std::string mp3Path, vt::HWND window)
    : wav_(std::move(wavPath)), mp3_(std::move(mp3Path)), window_(window) {}

Mp3ExportRun::~Mp3ExportRun() {
    Join();
}

bool Mp3ExportRun::Start() {
    try {
        thread_ = std::thread([this] {
            result_ = Kvne_WavtoMp3(window_, wav_.c_str(), mp3_.c_str());
            finished_ = true;
            if (window_)
                window_->Post(WM_VP_MP3DONE, 0, result_);
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void Mp3ExportRun::Join() {
    if (thread_.joinable())
        thread_.join();
}

}  // namespace vanplay
