#include "PhoneLayout.h"

#include "CallListPage.h"
#include "vantelo/pages/PhoneIds.h"

namespace vantelo::pages {

namespace {

// clang-format off
constexpr Place kMainButtons[] = {
    {IDC_PAGE_ADDRESSBOOK, 209, 44, 86, 29, "주소록", "주소록 페이지"},
    {IDC_PAGE_INNERLINE, 299, 44, 86, 29, "내선목록", "내선목록 페이지"},
    {IDC_PAGE_CALLLOG, 388, 44, 86, 29, "통화목록", "통화목록 페이지"},
    {IDC_PAGE_SETTINGS, 478, 44, 86, 29, "환경설정", "환경설정 페이지"},
    {IDC_MINIMISE, 769, 15, 22, 22, "-", ""},
    {IDC_HIDE, 794, 15, 22, 22, "x", ""},
    {IDC_SAVE_MEMO, 651, 210, 157, 21, "메모 저장", "메모를 저장합니다."},
    {IDC_ARS, 651, 303, 80, 30, "부재중", "부재중임을 설정합니다."},
    {IDC_RECEIVE, 735, 303, 80, 30, "당겨받기", "전화를 끌어받습니다."},
    {IDC_PLAY, 651, 337, 80, 30, "재생", "파일 재생을 합니다."},
    {IDC_RECORD, 735, 337, 80, 30, "녹취", "통화 녹취를 합니다."},
    {1045, 661, 381, 35, 20, "1", ""}, {1046, 714, 381, 35, 20, "2", ""},
    {1047, 766, 381, 35, 20, "3", ""}, {1048, 661, 410, 35, 20, "4", ""},
    {1049, 714, 410, 35, 20, "5", ""}, {1050, 766, 410, 35, 20, "6", ""},
    {1051, 661, 438, 35, 20, "7", ""}, {1052, 714, 438, 35, 20, "8", ""},
    {1053, 766, 438, 35, 20, "9", ""}, {IDC_KEY_STAR, 661, 467, 35, 20, "*", ""},
    {IDC_KEY_0, 714, 467, 35, 20, "0", ""}, {IDC_KEY_HASH, 766, 467, 35, 20, "#", ""},
    {IDC_HOOK, 681, 494, 99, 30, "통화", "Hook Off"},
    {IDC_REDIAL, 655, 530, 60, 30, "재다이얼", ""},
    {IDC_MUTE, 718, 530, 32, 30, "묵음", "Mute 설정을 설정합니다."},
    {IDC_FLASH, 753, 530, 60, 30, "플래시", ""},
};

constexpr Place kMainAreas[] = {
    {IDC_NUMBER, 651, 44, 157, 84, "", ""},
    {IDC_PIC_HOOK, 651, 136, 36, 28, "통화", ""},
    {IDC_PIC_ANSWERING, 691, 136, 36, 28, "부재", ""},
    {IDC_PIC_RECORDING, 731, 136, 36, 28, "녹취", ""},
    {IDC_PIC_PLAYBACK, 772, 136, 36, 28, "재생", ""},
    {IDC_MEMO, 651, 236, 157, 62, "", ""},
    {IDC_STATUS, 28, 549, 604, 20, "", ""},
    {IDC_PAGE_AREA, 20, 80, 620, 462, "", ""},
};

constexpr Place kContactPageControls[] = {
    {IDC_CP_INDEX_TABS, 8, 6, 604, 26, "", ""},
    {IDC_CP_GROUP, 8, 206, 108, 24, "", ""},
    {IDC_CP_TARGET, 150, 206, 92, 24, "검색", ""},
    {IDC_CP_SEARCH_EDIT, 246, 206, 120, 24, "", ""},
    {IDC_CP_SEARCH, 370, 206, 48, 24, "검색", "검색 실행"},
    {IDC_CP_ADD, 432, 204, 58, 28, "등록", "등록"},
    {IDC_CP_MODIFY, 494, 204, 58, 28, "수정", "수정"},
    {IDC_CP_DELETE, 556, 204, 58, 28, "삭제", "삭제"},
    {IDC_CP_GRID, 8, 238, 604, 218, "", ""},
};

constexpr FieldPlace kContactPageDetails[] = {
    {1051, 0, 74, 40, 226, 19, "이 름"},     {1046, 1, 74, 60, 226, 19, "그룹"},
    {1049, 14, 74, 80, 226, 19, "E-mail"},  {1050, 15, 74, 100, 226, 19, "Web"},
    {1041, 2, 74, 120, 226, 19, "자택전화"}, {IDC_CL_BACKUP_ALL, 4, 74, 140, 226, 19, "이동전화"},
    {1043, 13, 74, 160, 226, 19, "Fax"},    {1048, 3, 74, 180, 226, 19, "자택주소"},
    {1052, 5, 386, 40, 226, 19, "회사명"},   {1053, 6, 386, 60, 226, 19, "부서"},
    {1055, 7, 386, 80, 226, 19, "직책"},     {1054, 12, 386, 100, 226, 19, "내선"},
    {1056, 10, 386, 120, 226, 19, "전화번호1"}, {1057, 11, 386, 140, 226, 19, "전화번호2"},
    {1058, 8, 386, 160, 226, 19, "회사주소1"}, {1059, 9, 386, 180, 226, 19, "회사주소2"},
};

constexpr Place kEditPageControls[] = {
    {IDC_CE_NOTES, 86, 310, 526, 96, "메모", ""},
    {IDC_CE_SAVE, 436, 420, 84, 30, "저장", "저장"},
    {IDC_CE_CANCEL, 528, 420, 84, 30, "취소", "취소"},
};

constexpr FieldPlace kEditPageFields[] = {
    {1003, 0, 86, 44, 214, 24, "이름"},       {1007, 1, 86, 76, 214, 24, "그룹"},
    {1005, 2, 86, 108, 214, 24, "자택 전화"},  {1006, 4, 86, 140, 214, 24, "이동 전화"},
    {1014, 13, 86, 172, 214, 24, "Fax"},      {1008, 14, 86, 204, 214, 24, "E-mail"},
    {1009, 15, 86, 236, 214, 24, "Web Page"}, {1004, 3, 86, 268, 214, 24, "자택 주소"},
    {1010, 5, 398, 44, 214, 24, "회사명"},     {1011, 6, 398, 76, 214, 24, "부서"},
    {1012, 7, 398, 108, 214, 24, "직책"},      {1013, 12, 398, 140, 214, 24, "내선 번호"},
    {1017, 10, 398, 172, 214, 24, "회사전화1"}, {1018, 11, 398, 204, 214, 24, "회사전화2"},
    {1015, 8, 398, 236, 214, 24, "회사주소1"},  {1016, 9, 398, 268, 214, 24, "회사주소2"},
};
// The labels are the check boxes' own texts (the outside-line one keeps its
// leading blanks, which line its colon up with the others).
constexpr Place kSettingsPageButtons[] = {
    {IDC_SP_PATH, 127, 349, 65, 19, "Path", "찾아보기"},
    {IDC_SP_DEFAULT_LOAD, 297, 400, 215, 30, "Default Load", "기본값으로 설정"},
    {IDC_SP_OK, 447, 432, 65, 28, "Ok", "저장"},
    {IDC_SP_BLOCK_LIST, 297, 432, 144, 28, "차단 목록...", "걸려 오는 전화의 차단 목록 편집 (Ctrl+B)"},
};

constexpr Place kSettingsPageControls[] = {
    {IDC_SP_IS_LOCAL, 12, 14, 118, 22, "지역 번호 :", ""},
    {IDC_SP_STR_LOCAL, 134, 14, 160, 22, "", ""},
    {IDC_SP_IS_EXT, 12, 42, 118, 22, "         외선 번호 :", ""},
    {IDC_SP_STR_EXT, 134, 42, 160, 22, "", ""},
    {IDC_SP_IS_RECEIVE, 12, 70, 118, 22, "끌어받기 번호 :", ""},
    {IDC_SP_STR_RECEIVE, 134, 70, 160, 22, "", ""},
    {IDC_SP_REC_RECEIVED, 12, 112, 138, 22, "착신 자동 녹음", ""},
    {IDC_SP_REC_OUTGOING, 154, 112, 140, 22, "발신 자동 녹음", ""},
    {IDC_SP_CAPTION_COMPRESS, 12, 142, 118, 24, "녹음 압축률 : ", ""},
    {IDC_SP_COMPRESS, 134, 142, 160, 24, "", ""},
    {IDC_SP_CAPTION_MAX_MESSAGE, 12, 184, 150, 22, "녹음 최대시간(초) :", ""},
    {IDC_SP_MAX_MESSAGE, 166, 184, 60, 22, "", ""},
    {IDC_SP_GREETING_ONLY, 12, 214, 282, 22, "안내 메시지만 재생", ""},
    {IDC_SP_CALLER_CHOOSES, 12, 240, 282, 22, "메시지 재생 후 상대응답", ""},
    {IDC_SP_CAPTION_GREETING, 12, 270, 150, 20, "안내 메시지 : ", ""},
    {IDC_SP_GREETING_FILE, 12, 292, 282, 52, "", ""},
    {IDC_SP_CAPTION_MIN_MESSAGE, 12, 386, 150, 24, "녹음 최소시간(초) :", ""},
    {IDC_SP_MIN_MESSAGE, 166, 386, 90, 24, "", ""},
    {IDC_SP_CAPTION_SILENCE, 12, 416, 150, 24, "무음 종료시간(초) :", ""},
    {IDC_SP_SILENCE, 166, 416, 90, 24, "", ""},
};

constexpr Place kCallLogPageControls[] = {
    {IDC_CL_TABS, 8, 6, 604, 26, "", ""},
    {IDC_CL_CAPTION_TARGET, 12, 38, 60, 24, "검색 대상", ""},
    {IDC_CL_TARGET, 74, 38, 110, 24, "", ""},
    {IDC_CL_CAPTION_TEXT, 196, 38, 46, 24, "검색어", ""},
    {IDC_CL_SEARCH_EDIT, 244, 38, 200, 24, "", ""},
    {IDC_CL_SEARCH, 450, 37, 56, 26, "검색", "검색"},
    {IDC_CL_GRID, 8, 70, 604, 330, "", ""},
    {IDC_CL_PLAY, 16, 415, 40, 34, "", "선택된 녹취파일 재생"},
    {IDC_CL_STOP, 60, 415, 40, 34, "", "재생 멈춤"},
    {IDC_CL_HEADSET, 104, 415, 72, 34, "", "헤드셋으로 듣기"},
    {IDC_CL_SLIDER, 190, 418, 90, 28, "", ""},
    {IDC_CL_DELETE, 300, 417, 58, 30, "선택 삭제", "하나의 선택 목록을 삭제"},
    {IDC_CL_DELETE_ALL, 362, 417, 58, 30, "전체 삭제", "전체 목록을 삭제"},
    {IDC_CL_BACKUP, 424, 417, 58, 30, "선택 백업", "선택된 하나의 목록 백업"},
    {IDC_CL_BACKUP_ALL, 486, 417, 58, 30, "전체 백업", "전체 목록을 백업"},
    {IDC_CL_EXPORT_CSV, 548, 417, 58, 30, "CSV", "보이는 통화 목록을 CSV 파일로 내보내기"},
};
// clang-format on

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
