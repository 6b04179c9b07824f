#include "PhoneLayout.h"

#include <QCoreApplication>

#include "CallListPage.h"
#include "platform/TranslateNoop.h"
#include "vantelo/pages/PhoneIds.h"

namespace vantelo::pages {

namespace {

constexpr Place kMainButtons[] = {
    {IDC_PAGE_ADDRESSBOOK, 209, 44, 86, 29, QT_TRANSLATE_NOOP("PhoneLayout", "주소록"),
     QT_TRANSLATE_NOOP("PhoneLayout", "주소록 페이지")},
    {IDC_PAGE_INNERLINE, 299, 44, 86, 29, QT_TRANSLATE_NOOP("PhoneLayout", "내선목록"),
     QT_TRANSLATE_NOOP("PhoneLayout", "내선목록 페이지")},
    {IDC_PAGE_CALLLOG, 388, 44, 86, 29, QT_TRANSLATE_NOOP("PhoneLayout", "통화목록"),
     QT_TRANSLATE_NOOP("PhoneLayout", "통화목록 페이지")},
    {IDC_PAGE_SETTINGS, 478, 44, 86, 29, QT_TRANSLATE_NOOP("PhoneLayout", "환경설정"),
     QT_TRANSLATE_NOOP("PhoneLayout", "환경설정 페이지")},
    {IDC_MINIMISE, 769, 15, 22, 22, "-", ""},
    {IDC_HIDE, 794, 15, 22, 22, "x", ""},
    {IDC_SAVE_MEMO, 651, 210, 157, 21, QT_TRANSLATE_NOOP("PhoneLayout", "메모 저장"),
     QT_TRANSLATE_NOOP("PhoneLayout", "메모를 저장합니다.")},
    {IDC_ARS, 651, 303, 80, 30, QT_TRANSLATE_NOOP("PhoneLayout", "부재중"),
     QT_TRANSLATE_NOOP("PhoneLayout", "부재중임을 설정합니다.")},
    {IDC_RECEIVE, 735, 303, 80, 30, QT_TRANSLATE_NOOP("PhoneLayout", "당겨받기"),
     QT_TRANSLATE_NOOP("PhoneLayout", "전화를 끌어받습니다.")},
    {IDC_PLAY, 651, 337, 80, 30, QT_TRANSLATE_NOOP("PhoneLayout", "재생"),
     QT_TRANSLATE_NOOP("PhoneLayout", "파일 재생을 합니다.")},
    {IDC_RECORD, 735, 337, 80, 30, QT_TRANSLATE_NOOP("PhoneLayout", "녹취"),
     QT_TRANSLATE_NOOP("PhoneLayout", "통화 녹취를 합니다.")},
    {1045, 661, 381, 35, 20, "1", ""},
    {1046, 714, 381, 35, 20, "2", ""},
    {1047, 766, 381, 35, 20, "3", ""},
    {1048, 661, 410, 35, 20, "4", ""},
    {1049, 714, 410, 35, 20, "5", ""},
    {1050, 766, 410, 35, 20, "6", ""},
    {1051, 661, 438, 35, 20, "7", ""},
    {1052, 714, 438, 35, 20, "8", ""},
    {1053, 766, 438, 35, 20, "9", ""},
    {IDC_KEY_STAR, 661, 467, 35, 20, "*", ""},
    {IDC_KEY_0, 714, 467, 35, 20, "0", ""},
    {IDC_KEY_HASH, 766, 467, 35, 20, "#", ""},
    {IDC_HOOK, 681, 494, 99, 30, QT_TRANSLATE_NOOP("PhoneLayout", "통화"),
     QT_TRANSLATE_NOOP("PhoneLayout", "Hook Off")},
    {IDC_REDIAL, 655, 530, 60, 30, QT_TRANSLATE_NOOP("PhoneLayout", "재다이얼"), ""},
    {IDC_MUTE, 718, 530, 32, 30, QT_TRANSLATE_NOOP("PhoneLayout", "묵음"),
     QT_TRANSLATE_NOOP("PhoneLayout", "Mute 설정을 설정합니다.")},
    {IDC_FLASH, 753, 530, 60, 30, QT_TRANSLATE_NOOP("PhoneLayout", "플래시"), ""},
};

constexpr Place kMainAreas[] = {
    {IDC_NUMBER, 651, 44, 157, 84, "", ""},
    {IDC_PIC_HOOK, 651, 136, 36, 28, QT_TRANSLATE_NOOP("PhoneLayout", "통화"), ""},
    {IDC_PIC_ANSWERING, 691, 136, 36, 28, QT_TRANSLATE_NOOP("PhoneLayout", "부재"), ""},
    {IDC_PIC_RECORDING, 731, 136, 36, 28, QT_TRANSLATE_NOOP("PhoneLayout", "녹취"), ""},
    {IDC_PIC_PLAYBACK, 772, 136, 36, 28, QT_TRANSLATE_NOOP("PhoneLayout", "재생"), ""},
    {IDC_MEMO, 651, 236, 157, 62, "", ""},
    {IDC_STATUS, 28, 549, 604, 20, "", ""},
    {IDC_PAGE_AREA, 20, 80, 620, 462, "", ""},
};

constexpr Place kContactPageControls[] = {
    {IDC_CP_INDEX_TABS, 8, 6, 604, 26, "", ""},
    {IDC_CP_GROUP, 8, 206, 108, 24, "", ""},
    {IDC_CP_TARGET, 150, 206, 92, 24, QT_TRANSLATE_NOOP("PhoneLayout", "검색"), ""},
    {IDC_CP_SEARCH_EDIT, 246, 206, 120, 24, "", ""},
    {IDC_CP_SEARCH, 370, 206, 48, 24, QT_TRANSLATE_NOOP("PhoneLayout", "검색"),
     QT_TRANSLATE_NOOP("PhoneLayout", "검색 실행")},
    {IDC_CP_ADD, 432, 204, 58, 28, QT_TRANSLATE_NOOP("PhoneLayout", "등록"),
     QT_TRANSLATE_NOOP("PhoneLayout", "등록")},
    {IDC_CP_MODIFY, 494, 204, 58, 28, QT_TRANSLATE_NOOP("PhoneLayout", "수정"),
     QT_TRANSLATE_NOOP("PhoneLayout", "수정")},
    {IDC_CP_DELETE, 556, 204, 58, 28, QT_TRANSLATE_NOOP("PhoneLayout", "삭제"),
     QT_TRANSLATE_NOOP("PhoneLayout", "삭제")},
    {IDC_CP_GRID, 8, 238, 604, 218, "", ""},
};

constexpr FieldPlace kContactPageDetails[] = {
    {1051, 0, 74, 40, 226, 19, QT_TRANSLATE_NOOP("PhoneLayout", "이 름")},
    {1046, 1, 74, 60, 226, 19, QT_TRANSLATE_NOOP("PhoneLayout", "그룹")},
    {1049, 14, 74, 80, 226, 19, QT_TRANSLATE_NOOP("PhoneLayout", "E-mail")},
    {1050, 15, 74, 100, 226, 19, QT_TRANSLATE_NOOP("PhoneLayout", "Web")},
    {1041, 2, 74, 120, 226, 19, QT_TRANSLATE_NOOP("PhoneLayout", "자택전화")},
    {IDC_CL_BACKUP_ALL, 4, 74, 140, 226, 19, QT_TRANSLATE_NOOP("PhoneLayout", "이동전화")},
    {1043, 13, 74, 160, 226, 19, QT_TRANSLATE_NOOP("PhoneLayout", "Fax")},
    {1048, 3, 74, 180, 226, 19, QT_TRANSLATE_NOOP("PhoneLayout", "자택주소")},
    {1052, 5, 386, 40, 226, 19, QT_TRANSLATE_NOOP("PhoneLayout", "회사명")},
    {1053, 6, 386, 60, 226, 19, QT_TRANSLATE_NOOP("PhoneLayout", "부서")},
    {1055, 7, 386, 80, 226, 19, QT_TRANSLATE_NOOP("PhoneLayout", "직책")},
    {1054, 12, 386, 100, 226, 19, QT_TRANSLATE_NOOP("PhoneLayout", "내선")},
    {1056, 10, 386, 120, 226, 19, QT_TRANSLATE_NOOP("PhoneLayout", "전화번호1")},
    {1057, 11, 386, 140, 226, 19, QT_TRANSLATE_NOOP("PhoneLayout", "전화번호2")},
    {1058, 8, 386, 160, 226, 19, QT_TRANSLATE_NOOP("PhoneLayout", "회사주소1")},
    {1059, 9, 386, 180, 226, 19, QT_TRANSLATE_NOOP("PhoneLayout", "회사주소2")},
};

constexpr Place kEditPageControls[] = {
    {IDC_CE_NOTES, 86, 310, 526, 96, QT_TRANSLATE_NOOP("PhoneLayout", "메모"), ""},
    {IDC_CE_SAVE, 436, 420, 84, 30, QT_TRANSLATE_NOOP("PhoneLayout", "저장"),
     QT_TRANSLATE_NOOP("PhoneLayout", "저장")},
    {IDC_CE_CANCEL, 528, 420, 84, 30, QT_TRANSLATE_NOOP("PhoneLayout", "취소"),
     QT_TRANSLATE_NOOP("PhoneLayout", "취소")},
};

constexpr FieldPlace kEditPageFields[] = {
    {1003, 0, 86, 44, 214, 24, QT_TRANSLATE_NOOP("PhoneLayout", "이름")},
    {1007, 1, 86, 76, 214, 24, QT_TRANSLATE_NOOP("PhoneLayout", "그룹")},
    {1005, 2, 86, 108, 214, 24, QT_TRANSLATE_NOOP("PhoneLayout", "자택 전화")},
    {1006, 4, 86, 140, 214, 24, QT_TRANSLATE_NOOP("PhoneLayout", "이동 전화")},
    {1014, 13, 86, 172, 214, 24, QT_TRANSLATE_NOOP("PhoneLayout", "Fax")},
    {1008, 14, 86, 204, 214, 24, QT_TRANSLATE_NOOP("PhoneLayout", "E-mail")},
    {1009, 15, 86, 236, 214, 24, QT_TRANSLATE_NOOP("PhoneLayout", "Web Page")},
    {1004, 3, 86, 268, 214, 24, QT_TRANSLATE_NOOP("PhoneLayout", "자택 주소")},
    {1010, 5, 398, 44, 214, 24, QT_TRANSLATE_NOOP("PhoneLayout", "회사명")},
    {1011, 6, 398, 76, 214, 24, QT_TRANSLATE_NOOP("PhoneLayout", "부서")},
    {1012, 7, 398, 108, 214, 24, QT_TRANSLATE_NOOP("PhoneLayout", "직책")},
    {1013, 12, 398, 140, 214, 24, QT_TRANSLATE_NOOP("PhoneLayout", "내선 번호")},
    {1017, 10, 398, 172, 214, 24, QT_TRANSLATE_NOOP("PhoneLayout", "회사전화1")},
    {1018, 11, 398, 204, 214, 24, QT_TRANSLATE_NOOP("PhoneLayout", "회사전화2")},
    {1015, 8, 398, 236, 214, 24, QT_TRANSLATE_NOOP("PhoneLayout", "회사주소1")},
    {1016, 9, 398, 268, 214, 24, QT_TRANSLATE_NOOP("PhoneLayout", "회사주소2")},
};
// The labels are the check boxes' own texts (the outside-line one keeps its
// leading blanks, which line its colon up with the others).
constexpr Place kSettingsPageButtons[] = {
    {IDC_SP_PATH, 127, 349, 65, 19, QT_TRANSLATE_NOOP("PhoneLayout", "Path"),
     QT_TRANSLATE_NOOP("PhoneLayout", "찾아보기")},
    {IDC_SP_DEFAULT_LOAD, 297, 400, 215, 30, QT_TRANSLATE_NOOP("PhoneLayout", "Default Load"),
     QT_TRANSLATE_NOOP("PhoneLayout", "기본값으로 설정")},
    {IDC_SP_OK, 447, 432, 65, 28, QT_TRANSLATE_NOOP("PhoneLayout", "Ok"),
     QT_TRANSLATE_NOOP("PhoneLayout", "저장")},
    {IDC_SP_BLOCK_LIST, 297, 432, 144, 28, QT_TRANSLATE_NOOP("PhoneLayout", "차단 목록..."),
     QT_TRANSLATE_NOOP("PhoneLayout", "걸려 오는 전화의 차단 목록 편집 (Ctrl+B)")},
};

constexpr Place kSettingsPageControls[] = {
    {IDC_SP_IS_LOCAL, 12, 14, 118, 22, QT_TRANSLATE_NOOP("PhoneLayout", "지역 번호 :"), ""},
    {IDC_SP_STR_LOCAL, 134, 14, 160, 22, "", ""},
    {IDC_SP_IS_EXT, 12, 42, 118, 22, QT_TRANSLATE_NOOP("PhoneLayout", "         외선 번호 :"), ""},
    {IDC_SP_STR_EXT, 134, 42, 160, 22, "", ""},
    {IDC_SP_IS_RECEIVE, 12, 70, 118, 22, QT_TRANSLATE_NOOP("PhoneLayout", "끌어받기 번호 :"), ""},
    {IDC_SP_STR_RECEIVE, 134, 70, 160, 22, "", ""},
    {IDC_SP_REC_RECEIVED, 12, 112, 138, 22, QT_TRANSLATE_NOOP("PhoneLayout", "착신 자동 녹음"), ""},
    {IDC_SP_REC_OUTGOING, 154, 112, 140, 22, QT_TRANSLATE_NOOP("PhoneLayout", "발신 자동 녹음"),
     ""},
    {IDC_SP_CAPTION_COMPRESS, 12, 142, 118, 24, QT_TRANSLATE_NOOP("PhoneLayout", "녹음 압축률 : "),
     ""},
    {IDC_SP_COMPRESS, 134, 142, 160, 24, "", ""},
    {IDC_SP_CAPTION_MAX_MESSAGE, 12, 184, 150, 22,
     QT_TRANSLATE_NOOP("PhoneLayout", "녹음 최대시간(초) :"), ""},
    {IDC_SP_MAX_MESSAGE, 166, 184, 60, 22, "", ""},
    {IDC_SP_GREETING_ONLY, 12, 214, 282, 22, QT_TRANSLATE_NOOP("PhoneLayout", "안내 메시지만 재생"),
     ""},
    {IDC_SP_CALLER_CHOOSES, 12, 240, 282, 22,
     QT_TRANSLATE_NOOP("PhoneLayout", "메시지 재생 후 상대응답"), ""},
    {IDC_SP_CAPTION_GREETING, 12, 270, 150, 20, QT_TRANSLATE_NOOP("PhoneLayout", "안내 메시지 : "),
     ""},
    {IDC_SP_GREETING_FILE, 12, 292, 282, 52, "", ""},
    {IDC_SP_CAPTION_MIN_MESSAGE, 12, 386, 150, 24,
     QT_TRANSLATE_NOOP("PhoneLayout", "녹음 최소시간(초) :"), ""},
    {IDC_SP_MIN_MESSAGE, 166, 386, 90, 24, "", ""},
    {IDC_SP_CAPTION_SILENCE, 12, 416, 150, 24,
     QT_TRANSLATE_NOOP("PhoneLayout", "무음 종료시간(초) :"), ""},
    {IDC_SP_SILENCE, 166, 416, 90, 24, "", ""},
    {IDC_SP_CAPTION_LANGUAGE, 520, 386, 92, 18, QT_TRANSLATE_NOOP("PhoneLayout", "언어 :"), ""},
    {IDC_SP_LANGUAGE, 520, 404, 92, 24, "", ""},
    {IDC_SP_LANGUAGE_NOTE, 520, 430, 92, 28,
     QT_TRANSLATE_NOOP("PhoneLayout", "다시 시작하면 적용됩니다."), ""},
};

constexpr Place kCallLogPageControls[] = {
    {IDC_CL_TABS, 8, 6, 604, 26, "", ""},
    {IDC_CL_CAPTION_TARGET, 12, 38, 60, 24, QT_TRANSLATE_NOOP("PhoneLayout", "검색 대상"), ""},
    {IDC_CL_TARGET, 74, 38, 110, 24, "", ""},
    {IDC_CL_CAPTION_TEXT, 196, 38, 46, 24, QT_TRANSLATE_NOOP("PhoneLayout", "검색어"), ""},
    {IDC_CL_SEARCH_EDIT, 244, 38, 200, 24, "", ""},
    {IDC_CL_SEARCH, 450, 37, 56, 26, QT_TRANSLATE_NOOP("PhoneLayout", "검색"),
     QT_TRANSLATE_NOOP("PhoneLayout", "검색")},
    {IDC_CL_GRID, 8, 70, 604, 330, "", ""},
    {IDC_CL_PLAY, 16, 415, 40, 34, "", QT_TRANSLATE_NOOP("PhoneLayout", "선택된 녹취파일 재생")},
    {IDC_CL_STOP, 60, 415, 40, 34, "", QT_TRANSLATE_NOOP("PhoneLayout", "재생 멈춤")},
    {IDC_CL_HEADSET, 104, 415, 72, 34, "", QT_TRANSLATE_NOOP("PhoneLayout", "헤드셋으로 듣기")},
    {IDC_CL_SLIDER, 190, 418, 90, 28, "", ""},
    {IDC_CL_DELETE, 300, 417, 58, 30, QT_TRANSLATE_NOOP("PhoneLayout", "선택 삭제"),
     QT_TRANSLATE_NOOP("PhoneLayout", "하나의 선택 목록을 삭제")},
    {IDC_CL_DELETE_ALL, 362, 417, 58, 30, QT_TRANSLATE_NOOP("PhoneLayout", "전체 삭제"),
     QT_TRANSLATE_NOOP("PhoneLayout", "전체 목록을 삭제")},
    {IDC_CL_BACKUP, 424, 417, 58, 30, QT_TRANSLATE_NOOP("PhoneLayout", "선택 백업"),
     QT_TRANSLATE_NOOP("PhoneLayout", "선택된 하나의 목록 백업")},
    {IDC_CL_BACKUP_ALL, 486, 417, 58, 30, QT_TRANSLATE_NOOP("PhoneLayout", "전체 백업"),
     QT_TRANSLATE_NOOP("PhoneLayout", "전체 목록을 백업")},
    {IDC_CL_EXPORT_CSV, 548, 417, 58, 30, QT_TRANSLATE_NOOP("PhoneLayout", "CSV"),
     QT_TRANSLATE_NOOP("PhoneLayout", "보이는 통화 목록을 CSV 파일로 내보내기")},
};

}  // namespace

std::span<const Place> PhoneLayout::MainButtons() {
    return kMainButtons;
}
std::span<const Place> PhoneLayout::MainAreas() {
    return kMainAreas;
}
std::span<const Place> PhoneLayout::ContactPageControls() {
    return kContactPageControls;
}
std::span<const FieldPlace> PhoneLayout::ContactPageDetails() {
    return kContactPageDetails;
}
std::span<const Place> PhoneLayout::EditPageControls() {
    return kEditPageControls;
}
std::span<const FieldPlace> PhoneLayout::EditPageFields() {
    return kEditPageFields;
}

std::span<const Place> PhoneLayout::SettingsPageButtons() {
    return kSettingsPageButtons;
}
std::span<const Place> PhoneLayout::SettingsPageControls() {
    return kSettingsPageControls;
}

std::span<const Place> PhoneLayout::CallLogPageControls() {
    return kCallLogPageControls;
}

QString Place::Label() const {
    return PhoneLayout::Translate(label);
}
QString Place::Tip() const {
    return PhoneLayout::Translate(tip);
}
QString FieldPlace::Label() const {
    return PhoneLayout::Translate(label);
}

QString PhoneLayout::Translate(const char* text) {
    return text && *text ? QCoreApplication::translate("PhoneLayout", text) : QString();
}

const Place* PhoneLayout::Find(std::span<const Place> table, int id) {
    for (const Place& p : table)
        if (p.id == id)
            return &p;
    return nullptr;
}

QRect PhoneLayout::RectOf(std::span<const Place> table, int id) {
    const Place* p = Find(table, id);
    return p ? p->Rect() : QRect();
}

}  // namespace vantelo::pages
