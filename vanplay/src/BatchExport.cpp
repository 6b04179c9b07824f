#include "vanplay/BatchExport.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "mp3conv/Mp3Conv.h"
#include "mp3conv/Mp3FailureReason.h"
#include "platform/Translate.h"
#include "vanplay/DecodeRun.h"
#include "vanplay/PlayerController.h"
#include "vanplay/PlayerIds.h"
#include "vanplay/PlayerPaths.h"

namespace vanplay {

namespace fs = std::filesystem;

namespace {

constexpr const char* kContext = "vanplay";
constexpr const char* kNoSuchFile = QT_TRANSLATE_NOOP("vanplay", "그런 파일이 없습니다");
constexpr const char* kNoTempFile =
    QT_TRANSLATE_NOOP("vanplay", "변환에 쓸 임시 파일을 만들 수 없습니다");

// Progress of the library, redrawn in place on a terminal. The library
// posts from the calling thread, so printing here is safe.
class ProgressLine : public vt::MessageWindow {
public:
    ProgressLine(std::FILE* out, std::string name)
        : out_(out), name_(std::move(name)), live_(::isatty(::fileno(out)) != 0) {}

    bool Post(vt::UINT message, vt::WPARAM wParam, vt::LPARAM lParam) noexcept override {
        if (message != Mp3Progress)
            return true;
        last_ = PlayerController::Mp3ProgressText(wParam, lParam);
        if (live_) {
            std::fprintf(out_, "\r%s: %s", name_.c_str(), last_.c_str());
            std::fflush(out_);
        }
        return true;
    }

    void Finish(const std::string& target) {
        std::fprintf(out_, "%s%s: %s -> %s\n", live_ ? "\r" : "", name_.c_str(), last_.c_str(),
                     target.c_str());
    }

private:
    std::FILE* out_;
    std::string name_;
    bool live_;
    std::string last_ = PlayerController::Mp3ProgressText(0, 0);
};

// Removes the temporary decoded file however the export ends.
struct TempFile {
    fs::path path;
    ~TempFile() {
        std::error_code ec;
        if (!path.empty())
            fs::remove(path, ec);
    }
};

}  // namespace

int BatchExport::Run(const std::vector<std::string>& files) {
    int failed = 0;
    for (const auto& file : files)
        if (!ExportOne(file))
            ++failed;
    return failed ? 1 : 0;
}

void BatchExport::Fail(const std::string& file, const std::string& reason) {
    std::fprintf(err_, "vanplay: %s: %s\n", file.c_str(), reason.c_str());
}

bool BatchExport::ExportOne(const std::string& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) {
        Fail(file, vt::Translate(kContext, kNoSuchFile));
        return false;
    }
    const std::string target = Mp3PathFor(file);
    std::string wav = file;
    TempFile decoded;
    if (IsCompressed(file)) {
        auto temp = MakePrivateTempFile(file);
        if (!temp) {
            Fail(file, vt::Translate(kContext, kNoTempFile));
            return false;
        }
        decoded.path = *temp;
        const int result =
            DecodeRun::Convert({file, temp->string(), CodecVolume, kProgressScale}, {}, nullptr);
        if (result != kDecodeOk) {
            Fail(file, vt::Translate(kContext, DecodeResultReason(result)));
            return false;
        }
        wav = temp->string();
    }
    ProgressLine progress(out_, FileNamePart(file));
    const int result = Kvne_WavtoMp3(&progress, wav.c_str(), target.c_str());
    if (result != kMp3Ok) {
        if (::isatty(::fileno(out_)))
            std::fputc('\n', out_);
        Fail(file, vt::Translate(mp3conv::kReasonContext, mp3conv::Mp3FailureReason(result)));
        return false;
    }
    progress.Finish(target);
    return true;
}

}  // namespace vanplay
