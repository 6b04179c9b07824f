#pragma once
// The converter window's fixed texts.

namespace vanconv::text {

inline constexpr const char* kCaption = "엑셀 데이터 Vantelo 주소록 변환기";
inline constexpr const char* kToVantelo = "Excel File -> Vantelo";
inline constexpr const char* kToExcel = "Vantelo -> Excel File";
inline constexpr const char* kModeFrame = "변환 방식";
inline constexpr const char* kAppend = "기존 주소록에 추가하기";
inline constexpr const char* kReplace = "새 주소록 만들기  (기존 주소록은 삭제됩니다.)";
inline constexpr const char* kFileOpen = "엑셀파일 선택";
inline constexpr const char* kSheetLabel = "Work Sheet 선택 :";
inline constexpr const char* kRowsLabel = "데이터 라인 영역 선택 :";
inline constexpr const char* kRowsFrom = "로 부터";
inline constexpr const char* kRowsTo = "까지의 데이터";
inline constexpr const char* kTransDesign = "변    환";
inline constexpr const char* kTrans = "변 환";
inline constexpr const char* kSave = "주소록 저장";
inline constexpr const char* kExit = "닫    기";

inline constexpr const char* kChooseWorkbook = "엑셀 파일을 선택해 주십시요.";
inline constexpr const char* kTransHint = "변환 설정을 마치고 '변환'버튼을 눌러주시기 바랍니다.";
inline constexpr const char* kSaveHint = "'저장'버튼을 눌러 주소록을 저장할 수 있습니다.";
inline constexpr const char* kOverwrite = "기존 파일의 경우 덥어쓰게 됩니다.";
inline constexpr const char* kNoFile = "파일이 존재하지 않습니다.  다시 파일을 찾아주십시요.";
inline constexpr const char* kNotInstalled = "Vantelo이 정상적으로 설치되지 않았습니다.";
inline constexpr const char* kReinstall = "Vantelo 프로그램을 PC에 다시 설치하고 실행해 주십시요.";
inline constexpr const char* kInstalledAt = "Vantelo : ";
inline constexpr const char* kCheckSettings = "변환 설정을 확인 하십시요.";
inline constexpr const char* kBadRange = "데이터 범위가 잘못되었습니다.";
inline constexpr const char* kConverting = "변환중... 잠시 기다려 주시기 바랍니다.";
inline constexpr const char* kReplaceQuestion =
    "이전 주소록의 데이터가 모두 삭제됩니다.\n계속 진행하시겠습니까?";
inline constexpr const char* kReplaceTitle = "새주소록";
inline constexpr const char* kReplacing = "새주소록 작업";
inline constexpr const char* kDone = "변환이 완료되었습니다.";
inline constexpr const char* kContinue = "계속 작업시 파일열기를 눌러주십시요.";
inline constexpr const char* kNameMissing = "이름을 입력하여 주십시오.";
inline constexpr const char* kChooseName = "새로운 이름을 선택해 주시기 바랍니다.";
inline constexpr const char* kSaveTitle = "Select FileName";
inline constexpr const char* kSaved = "저장 완료";

// Texts this converter adds: its progress and the failures it reports (a file
// it cannot open, read or save, a Vantelo that does not close or start
// again, a transfer that fails).
inline constexpr const char* kCannotOpen = "파일을 열 수 없습니다: ";
inline constexpr const char* kStillRunning =
    "Vantelo 프로그램이 종료되지 않아 변환하지 않았습니다.";
inline constexpr const char* kCloseVantelo = "Vantelo를 닫은 뒤 다시 '변환'을 눌러 주십시요.";
inline constexpr const char* kFailed = "변환하지 못했습니다. 주소록은 바뀌지 않았습니다.";
inline constexpr const char* kRestartFailed = "Vantelo를 다시 시작하지 못했습니다: ";
inline constexpr const char* kCannotRead = "주소록을 읽을 수 없습니다: ";
inline constexpr const char* kCannotSave = "파일을 저장하지 못했습니다: ";
inline constexpr const char* kProgress = "변환중... ";

// What assistive technology calls the controls whose captions do not name
// them alone: the two row numbers, and the file and status lines.
inline constexpr const char* kStartRowName = "데이터 시작 줄";
inline constexpr const char* kEndRowName = "데이터 끝 줄";
inline constexpr const char* kFilePathName = "선택한 엑셀 파일";
inline constexpr const char* kStatusName = "변환 상태";

}  // namespace vanconv::text
