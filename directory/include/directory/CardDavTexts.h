#pragma once
// The address-book sync's texts for the user (Korean source; the programs'
// catalogs translate them in the context "directory").

#include "platform/TranslateNoop.h"

namespace directory::texts {

inline constexpr const char* kContext = "directory";

// Settings.
inline constexpr const char* kBadUrl = QT_TRANSLATE_NOOP(
    "directory", "주소록 설정: Url '%1'은(는) http:// 또는 https:// 주소가 아닙니다");
inline constexpr const char* kBadUser =
    QT_TRANSLATE_NOOP("directory", "주소록 설정: User에 제어 문자가 있습니다");
inline constexpr const char* kBadMinutes = QT_TRANSLATE_NOOP(
    "directory", "주소록 설정: SyncMinutes '%1'은(는) 1에서 1440 사이의 분이 아닙니다");
inline constexpr const char* kPasswordInFile =
    QT_TRANSLATE_NOOP("directory",
                      "주소록 설정: Password 키는 읽지 않습니다. 비밀번호는 비밀 저장소나 "
                      "PasswordFile이 가리키는 0600 파일에 두십시오");
inline constexpr const char* kSettingsUnreadable =
    QT_TRANSLATE_NOOP("directory", "주소록 설정: 설정 파일 %1을(를) 읽을 수 없습니다");
inline constexpr const char* kNoPassword =
    QT_TRANSLATE_NOOP("directory", "주소록 비밀번호를 찾을 수 없습니다: %1");

// Changes, one line each.
inline constexpr const char* kAddedHere = QT_TRANSLATE_NOOP("directory", "추가됨(서버에서): %1");
inline constexpr const char* kChangedHere = QT_TRANSLATE_NOOP("directory", "변경됨(서버에서): %1");
inline constexpr const char* kRemovedHere = QT_TRANSLATE_NOOP("directory", "삭제됨(서버에서): %1");
inline constexpr const char* kSentNew = QT_TRANSLATE_NOOP("directory", "서버에 추가함: %1");
inline constexpr const char* kSentChange = QT_TRANSLATE_NOOP("directory", "서버에 변경 보냄: %1");
inline constexpr const char* kRemovedThere = QT_TRANSLATE_NOOP("directory", "서버에서 삭제함: %1");
inline constexpr const char* kConflict = QT_TRANSLATE_NOOP(
    "directory", "양쪽에서 변경됨: %1 - 서버의 것을 두고 이 프로그램의 것은 '%2'(으)로 저장함");
inline constexpr const char* kKeptEdited =
    QT_TRANSLATE_NOOP("directory", "서버에서 삭제되었지만 여기서 고친 연락처라 남겨 다시 보냄: %1");
inline constexpr const char* kSummary =
    QT_TRANSLATE_NOOP("directory", "주소록 동기화: 받음 %1, 보냄 %2, 충돌 %3");
inline constexpr const char* kNothingChanged =
    QT_TRANSLATE_NOOP("directory", "주소록 동기화: 바뀐 것 없음");

// Errors, one line each.
inline constexpr const char* kUnreachable =
    QT_TRANSLATE_NOOP("directory", "주소록 서버에 연결할 수 없습니다: %1");
inline constexpr const char* kUnauthorized = QT_TRANSLATE_NOOP(
    "directory", "주소록 서버가 로그인을 거절했습니다(401): 사용자 %1의 비밀번호를 확인하십시오");
inline constexpr const char* kPreconditionFailed = QT_TRANSLATE_NOOP(
    "directory",
    "서버의 카드가 그 사이에 바뀌어 보내지 않았습니다(412): %1 - 다음 동기화에서 맞춥니다");
inline constexpr const char* kNotVCard =
    QT_TRANSLATE_NOOP("directory", "vCard가 아닌 항목은 건너뜁니다: %1 (%2)");
inline constexpr const char* kServerError =
    QT_TRANSLATE_NOOP("directory", "주소록 서버 오류 %1: %2");
inline constexpr const char* kBadAnswer =
    QT_TRANSLATE_NOOP("directory", "주소록 서버의 응답을 읽을 수 없습니다: %1");
inline constexpr const char* kDatabaseError =
    QT_TRANSLATE_NOOP("directory", "연락처 데이터베이스 오류: %1");
inline constexpr const char* kSyncOff =
    QT_TRANSLATE_NOOP("directory", "주소록 동기화가 설정되지 않았습니다([CardDav] Url)");

}  // namespace directory::texts
