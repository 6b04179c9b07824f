#pragma once
// The converter window's fixed texts (Korean; shown translated).

#include "platform/TranslateNoop.h"

namespace vanconv::text {

inline constexpr const char* kCaption =
    QT_TRANSLATE_NOOP("vanconv::text", "엑셀 데이터 Vantelo 주소록 변환기");
inline constexpr const char* kToVantelo =
    QT_TRANSLATE_NOOP("vanconv::text", "Excel File -> Vantelo");
inline constexpr const char* kToExcel = QT_TRANSLATE_NOOP("vanconv::text", "Vantelo -> Excel File");
inline constexpr const char* kModeFrame = QT_TRANSLATE_NOOP("vanconv::text", "변환 방식");
inline constexpr const char* kAppend = QT_TRANSLATE_NOOP("vanconv::text", "기존 주소록에 추가하기");
inline constexpr const char* kReplace =
    QT_TRANSLATE_NOOP("vanconv::text", "새 주소록 만들기  (기존 주소록은 삭제됩니다.)");
inline constexpr const char* kFileOpen = QT_TRANSLATE_NOOP("vanconv::text", "엑셀파일 선택");
inline constexpr const char* kSheetLabel = QT_TRANSLATE_NOOP("vanconv::text", "Work Sheet 선택 :");
inline constexpr const char* kRowsLabel =
    QT_TRANSLATE_NOOP("vanconv::text", "데이터 라인 영역 선택 :");
inline constexpr const char* kRowsFrom = QT_TRANSLATE_NOOP("vanconv::text", "로 부터");
inline constexpr const char* kRowsTo = QT_TRANSLATE_NOOP("vanconv::text", "까지의 데이터");
inline constexpr const char* kTransDesign = QT_TRANSLATE_NOOP("vanconv::text", "변    환");
inline constexpr const char* kTrans = QT_TRANSLATE_NOOP("vanconv::text", "변 환");
inline constexpr const char* kSave = QT_TRANSLATE_NOOP("vanconv::text", "주소록 저장");
inline constexpr const char* kExit = QT_TRANSLATE_NOOP("vanconv::text", "닫    기");

inline constexpr const char* kChooseWorkbook =
    QT_TRANSLATE_NOOP("vanconv::text", "엑셀 파일을 선택해 주십시요.");
inline constexpr const char* kTransHint =
    QT_TRANSLATE_NOOP("vanconv::text", "변환 설정을 마치고 '변환'버튼을 눌러주시기 바랍니다.");
inline constexpr const char* kSaveHint =
    QT_TRANSLATE_NOOP("vanconv::text", "'저장'버튼을 눌러 주소록을 저장할 수 있습니다.");
inline constexpr const char* kOverwrite =
    QT_TRANSLATE_NOOP("vanconv::text", "기존 파일의 경우 덥어쓰게 됩니다.");
inline constexpr const char* kNoFile =
    QT_TRANSLATE_NOOP("vanconv::text", "파일이 존재하지 않습니다.  다시 파일을 찾아주십시요.");
inline constexpr const char* kNotInstalled =
    QT_TRANSLATE_NOOP("vanconv::text", "Vantelo이 정상적으로 설치되지 않았습니다.");
inline constexpr const char* kReinstall =
    QT_TRANSLATE_NOOP("vanconv::text", "Vantelo 프로그램을 PC에 다시 설치하고 실행해 주십시요.");
inline constexpr const char* kInstalledAt = QT_TRANSLATE_NOOP("vanconv::text", "Vantelo : ");
inline constexpr const char* kCheckSettings =
    QT_TRANSLATE_NOOP("vanconv::text", "변환 설정을 확인 하십시요.");
inline constexpr const char* kBadRange =
    QT_TRANSLATE_NOOP("vanconv::text", "데이터 범위가 잘못되었습니다.");
inline constexpr const char* kConverting =
    QT_TRANSLATE_NOOP("vanconv::text", "변환중... 잠시 기다려 주시기 바랍니다.");
inline constexpr const char* kReplaceQuestion = QT_TRANSLATE_NOOP(
    "vanconv::text", "이전 주소록의 데이터가 모두 삭제됩니다.\n계속 진행하시겠습니까?");
inline constexpr const char* kReplaceTitle = QT_TRANSLATE_NOOP("vanconv::text", "새주소록");
inline constexpr const char* kReplacing = QT_TRANSLATE_NOOP("vanconv::text", "새주소록 작업");
inline constexpr const char* kDone = QT_TRANSLATE_NOOP("vanconv::text", "변환이 완료되었습니다.");
inline constexpr const char* kContinue =
    QT_TRANSLATE_NOOP("vanconv::text", "계속 작업시 파일열기를 눌러주십시요.");
inline constexpr const char* kNameMissing =
    QT_TRANSLATE_NOOP("vanconv::text", "이름을 입력하여 주십시오.");
inline constexpr const char* kChooseName =
    QT_TRANSLATE_NOOP("vanconv::text", "새로운 이름을 선택해 주시기 바랍니다.");
inline constexpr const char* kSaveTitle = QT_TRANSLATE_NOOP("vanconv::text", "Select FileName");
inline constexpr const char* kSaved = QT_TRANSLATE_NOOP("vanconv::text", "저장 완료");

// Texts this converter adds: its progress and the failures it reports (a file
// it cannot open, read or save, a Vantelo that does not close or start
// again, a transfer that fails).
inline constexpr const char* kCannotOpen =
    QT_TRANSLATE_NOOP("vanconv::text", "파일을 열 수 없습니다: ");
inline constexpr const char* kStillRunning =
    QT_TRANSLATE_NOOP("vanconv::text", "Vantelo 프로그램이 종료되지 않아 변환하지 않았습니다.");
inline constexpr const char* kCloseVantelo =
    QT_TRANSLATE_NOOP("vanconv::text", "Vantelo를 닫은 뒤 다시 '변환'을 눌러 주십시요.");
inline constexpr const char* kFailed =
    QT_TRANSLATE_NOOP("vanconv::text", "변환하지 못했습니다. 주소록은 바뀌지 않았습니다.");
inline constexpr const char* kRestartFailed =
    QT_TRANSLATE_NOOP("vanconv::text", "Vantelo를 다시 시작하지 못했습니다: ");
inline constexpr const char* kCannotRead =
    QT_TRANSLATE_NOOP("vanconv::text", "주소록을 읽을 수 없습니다: ");
inline constexpr const char* kCannotSave =
    QT_TRANSLATE_NOOP("vanconv::text", "파일을 저장하지 못했습니다: ");
inline constexpr const char* kProgress = QT_TRANSLATE_NOOP("vanconv::text", "변환중... ");

// What assistive technology calls the controls whose captions do not name
// them alone: the two row numbers, and the file and status lines.
inline constexpr const char* kStartRowName = QT_TRANSLATE_NOOP("vanconv::text", "데이터 시작 줄");
inline constexpr const char* kEndRowName = QT_TRANSLATE_NOOP("vanconv::text", "데이터 끝 줄");
inline constexpr const char* kFilePathName = QT_TRANSLATE_NOOP("vanconv::text", "선택한 엑셀 파일");
inline constexpr const char* kStatusName = QT_TRANSLATE_NOOP("vanconv::text", "변환 상태");

}  // namespace vanconv::text
