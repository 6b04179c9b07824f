#include "storage/Status.h"

#include "platform/Translate.h"

namespace storage {

namespace {
constexpr const char* kContext = "storage";
}  // namespace

const char* ErrorCodeName(ErrorCode code) {
    switch (code) {
        case ErrorCode::None:
            return QT_TRANSLATE_NOOP("storage", "정상");
        case ErrorCode::InvalidFilter:
            return QT_TRANSLATE_NOOP("storage", "잘못된 조건");
        case ErrorCode::UnknownField:
            return QT_TRANSLATE_NOOP("storage", "알 수 없는 필드");
        case ErrorCode::InvalidValue:
            return QT_TRANSLATE_NOOP("storage", "잘못된 값");
        case ErrorCode::InvalidArgument:
            return QT_TRANSLATE_NOOP("storage", "잘못된 인수");
        case ErrorCode::NotOpen:
            return QT_TRANSLATE_NOOP("storage", "열려 있지 않음");
        case ErrorCode::NoCurrentRecord:
            return QT_TRANSLATE_NOOP("storage", "현재 레코드 없음");
        case ErrorCode::NotEditing:
            return QT_TRANSLATE_NOOP("storage", "편집 중이 아님");
        case ErrorCode::ReadOnly:
            return QT_TRANSLATE_NOOP("storage", "읽기 전용");
        case ErrorCode::Busy:
            return QT_TRANSLATE_NOOP("storage", "데이터베이스 잠김");
        case ErrorCode::DiskFull:
            return QT_TRANSLATE_NOOP("storage", "디스크 가득 참");
        case ErrorCode::Damaged:
            return QT_TRANSLATE_NOOP("storage", "손상된 데이터베이스");
        case ErrorCode::Incompatible:
            return QT_TRANSLATE_NOOP("storage", "호환되지 않는 데이터베이스");
        case ErrorCode::Io:
            return QT_TRANSLATE_NOOP("storage", "입출력 오류");
        case ErrorCode::Engine:
            return QT_TRANSLATE_NOOP("storage", "데이터베이스 오류");
        case ErrorCode::Cancelled:
            return QT_TRANSLATE_NOOP("storage", "취소됨");
    }
    return QT_TRANSLATE_NOOP("storage", "오류");
}

std::string Status::ToString() const {
    const std::string kind = vt::Translate(kContext, ErrorCodeName(error_.code));
    if (ok() || error_.message.empty())
        return kind;
    return kind + ": " + error_.message;
}

}  // namespace storage
