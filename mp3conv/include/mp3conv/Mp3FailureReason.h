#pragma once
// Why Kvne_WavtoMp3 refused, as a Korean text marked for the catalogs
// (context "mp3conv"): the programs that show it say it through their
// translations. Kvne_Mp3ResultText stays the library's short English text
// for logs and benchmarks.

#include "mp3conv/Mp3Conv.h"
#include "platform/TranslateNoop.h"

namespace mp3conv {

inline constexpr const char* kReasonContext = "mp3conv";

inline const char* Mp3FailureReason(int result) {
    switch (result) {
        case kMp3BadArgument:
            return QT_TRANSLATE_NOOP("mp3conv", "파일 이름이 없습니다");
        case kMp3CannotOpen:
            return QT_TRANSLATE_NOOP("mp3conv", "WAV 파일을 열 수 없습니다");
        case kMp3NotWav:
            return QT_TRANSLATE_NOOP("mp3conv",
                                     "8비트 또는 16비트 PCM이나 mu-law 소리의 WAV 파일이 아닙니다");
        case kMp3CannotCreate:
            return QT_TRANSLATE_NOOP("mp3conv", "MP3 파일을 만들 수 없습니다");
        case kMp3EncoderFailed:
            return QT_TRANSLATE_NOOP("mp3conv", "MP3 인코더가 실패했습니다");
        case kMp3ReadFailed:
            return QT_TRANSLATE_NOOP("mp3conv", "WAV 파일을 읽지 못했습니다");
        case kMp3WriteFailed:
            return QT_TRANSLATE_NOOP("mp3conv", "MP3 파일을 쓰지 못했습니다");
        case kMp3SameFile:
            return QT_TRANSLATE_NOOP("mp3conv", "MP3 파일이 자기 원본을 덮어쓰게 됩니다");
    }
    return QT_TRANSLATE_NOOP("mp3conv", "알 수 없는 실패");
}

}  // namespace mp3conv
