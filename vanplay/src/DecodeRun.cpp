#include "vanplay/DecodeRun.h"

#include "platform/TranslateNoop.h"
#include "speechcodec/VrcToWav.h"
#include "vanplay/PlayerIds.h"

namespace vanplay {

namespace sc = speechcodec;

const char* DecodeResultLabel(int result) {
    switch (result) {
        case kDecodeOk:
            return "";
        case kDecodeNoCodec:
            return QT_TRANSLATE_NOOP("vanplay", "  변환 실패: 코덱 없음");
        case kDecodeCannotRead:
            return QT_TRANSLATE_NOOP("vanplay", "  변환 실패: 파일을 읽을 수 없음");
        case kDecodeCannotCreate:
            return QT_TRANSLATE_NOOP("vanplay", "  변환 실패: 임시 파일 쓰기 오류");
    }
    return QT_TRANSLATE_NOOP("vanplay", "  변환 실패");
}

const char* DecodeResultReason(int result) {
    switch (result) {
        case kDecodeOk:
            return QT_TRANSLATE_NOOP("vanplay", "변환했습니다");
        case kDecodeNoCodec:
            return QT_TRANSLATE_NOOP("vanplay",
                                     "코덱 라이브러리 libtrc.so 또는 그 진입점 중 하나가 없습니다");
        case kDecodeCannotRead:
            return QT_TRANSLATE_NOOP("vanplay", "압축된 녹음을 읽을 수 없습니다");
        case kDecodeCannotCreate:
            return QT_TRANSLATE_NOOP("vanplay", "변환한 WAV 파일을 쓸 수 없습니다");
        case kDecodeCancelled:
            return QT_TRANSLATE_NOOP("vanplay", "취소되었습니다");
    }
    return QT_TRANSLATE_NOOP("vanplay", "변환에 실패했습니다");
}

int DecodeRun::Convert(const DecodeJob& job, const std::function<void(int)>& progress,
                       const std::atomic<bool>* cancel) {
    switch (sc::ConvertVrcToWav({job.source, job.destination, job.volume, job.progressScale},
                                progress, cancel)) {
        case sc::VrcToWavResult::Ok:
            return kDecodeOk;
        case sc::VrcToWavResult::NoCodec:
            return kDecodeNoCodec;
        case sc::VrcToWavResult::CannotRead:
            return kDecodeCannotRead;
        case sc::VrcToWavResult::CannotCreate:
            return kDecodeCannotCreate;
        case sc::VrcToWavResult::Cancelled:
            return kDecodeCancelled;
    }
    return kDecodeCannotCreate;
}

DecodeRun::DecodeRun(DecodeJob job, vt::HWND window, vt::WPARAM serial)
    : job_(std::move(job)), window_(window), serial_(serial) {}

DecodeRun::~DecodeRun() {
    Cancel();
    Join();
}

bool DecodeRun::Start() {
    try {
        thread_ = std::thread([this] {
            const int result = Convert(
                job_,
                [this](int value) {
                    if (window_)
                        window_->Post(WM_TY_CODECPROGRESS, serial_, value);
                },
                &cancel_);
            result_ = result;
            finished_ = true;
            if (window_)
                window_->Post(WM_TY_CODECDONE, serial_, result == kDecodeOk ? 0 : 1);
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void DecodeRun::Join() {
    if (thread_.joinable())
        thread_.join();
}

}  // namespace vanplay
