#pragma once
// The caller-ID server's texts for the user: Korean source texts, shown
// through the programs' catalogs ("%1" ... filled in after translation).
// The protocol's own lines are never translated.

#include "platform/TranslateNoop.h"

namespace callerid::text {

inline constexpr const char* kContext = "callerid::text";

// A CallerIdServer setting that is no address and port (%1: the value).
inline constexpr const char* kBadSetting = QT_TRANSLATE_NOOP(
    "callerid::text",
    "발신자 표시 서버 설정이 잘못되었습니다: %1 (예: 127.0.0.1:3333). 서버 없이 계속합니다.");
// The listening socket could not be made (%1: address, %2: the reason).
inline constexpr const char* kCannotListen = QT_TRANSLATE_NOOP(
    "callerid::text", "발신자 표시 서버를 %1에서 열 수 없습니다: %2. 서버 없이 계속합니다.");
// A client that does not read its lines is let go (%1: its address).
inline constexpr const char* kSlowClientDropped = QT_TRANSLATE_NOOP(
    "callerid::text", "발신자 표시 클라이언트 %1이(가) 읽지 않아 연결을 끊었습니다.");
// A connection beyond the limit is refused (%1: its address, %2: the limit).
inline constexpr const char* kTooManyClients = QT_TRANSLATE_NOOP(
    "callerid::text", "발신자 표시 클라이언트 %1을(를) 거절했습니다: 연결이 %2개를 넘습니다.");

}  // namespace callerid::text
