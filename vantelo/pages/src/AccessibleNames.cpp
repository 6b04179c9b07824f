#include "AccessibleNames.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

#include "CallListPage.h"
#include "PhoneLayout.h"
#include "platform/TranslateNoop.h"
#include "vantelo/pages/PhoneIds.h"
#include "widgets/TransparentLabel.h"

namespace vantelo::pages {

namespace {

constexpr ControlName kMainWindow[] = {
    {IDC_PAGE_ADDRESSBOOK, QT_TRANSLATE_NOOP("AccessibleNames", "주소록")},
    {IDC_PAGE_INNERLINE, QT_TRANSLATE_NOOP("AccessibleNames", "내선목록")},
    {IDC_PAGE_CALLLOG, QT_TRANSLATE_NOOP("AccessibleNames", "통화목록")},
    {IDC_PAGE_SETTINGS, QT_TRANSLATE_NOOP("AccessibleNames", "환경설정")},
    {IDC_MEMO, QT_TRANSLATE_NOOP("AccessibleNames", "메모")},
    {IDC_SAVE_MEMO, QT_TRANSLATE_NOOP("AccessibleNames", "메모 저장")},
    {IDC_ARS, QT_TRANSLATE_NOOP("AccessibleNames", "부재중 자동 응답")},
    {IDC_RECEIVE, QT_TRANSLATE_NOOP("AccessibleNames", "당겨받기")},
    {IDC_PLAY, QT_TRANSLATE_NOOP("AccessibleNames", "재생")},
    {IDC_RECORD, QT_TRANSLATE_NOOP("AccessibleNames", "녹음")},
    {IDC_KEY_1, "1"},
    {IDC_KEY_1 + 1, "2"},
    {IDC_KEY_1 + 2, "3"},
    {IDC_KEY_1 + 3, "4"},
    {IDC_KEY_1 + 4, "5"},
    {IDC_KEY_1 + 5, "6"},
    {IDC_KEY_1 + 6, "7"},
    {IDC_KEY_1 + 7, "8"},
    {IDC_KEY_1 + 8, "9"},
    {IDC_KEY_STAR, QT_TRANSLATE_NOOP("AccessibleNames", "별표")},
    {IDC_KEY_0, "0"},
    {IDC_KEY_HASH, QT_TRANSLATE_NOOP("AccessibleNames", "샵")},
    {IDC_HOOK, QT_TRANSLATE_NOOP("AccessibleNames", "통화")},
    {IDC_REDIAL, QT_TRANSLATE_NOOP("AccessibleNames", "재다이얼")},
    {IDC_MUTE, QT_TRANSLATE_NOOP("AccessibleNames", "묵음")},
    {IDC_FLASH, QT_TRANSLATE_NOOP("AccessibleNames", "플래시")},
    {IDC_MINIMISE, QT_TRANSLATE_NOOP("AccessibleNames", "최소화")},
    {IDC_HIDE, QT_TRANSLATE_NOOP("AccessibleNames", "트레이로 숨기기")},
};

// The grid is 1008 on the address book page and 1044 on the inner-line page.
constexpr ControlName kContactPage[] = {
    {IDC_CP_INDEX_TABS, QT_TRANSLATE_NOOP("AccessibleNames", "이름 색인")},
    {IDC_CP_GROUP, QT_TRANSLATE_NOOP("AccessibleNames", "그룹")},
    {IDC_CP_TARGET, QT_TRANSLATE_NOOP("AccessibleNames", "검색 대상")},
    {IDC_CP_SEARCH_EDIT, QT_TRANSLATE_NOOP("AccessibleNames", "검색어")},
    {IDC_CP_SEARCH, QT_TRANSLATE_NOOP("AccessibleNames", "검색 실행")},
    {IDC_CP_ADD, QT_TRANSLATE_NOOP("AccessibleNames", "등록")},
    {IDC_CP_MODIFY, QT_TRANSLATE_NOOP("AccessibleNames", "수정")},
    {IDC_CP_DELETE, QT_TRANSLATE_NOOP("AccessibleNames", "삭제")},
    {IDC_CP_GRID, QT_TRANSLATE_NOOP("AccessibleNames", "주소록 목록")},
    {1044, QT_TRANSLATE_NOOP("AccessibleNames", "내선 목록")},
};

constexpr ControlName kEditPage[] = {
    {IDC_CE_NOTES, QT_TRANSLATE_NOOP("AccessibleNames", "메모")},
    {IDC_CE_SAVE, QT_TRANSLATE_NOOP("AccessibleNames", "저장")},
    {IDC_CE_CANCEL, QT_TRANSLATE_NOOP("AccessibleNames", "취소")},
};

constexpr ControlName kSettingsPage[] = {
    {IDC_SP_IS_LOCAL, nullptr},
    {IDC_SP_STR_LOCAL, nullptr, IDC_SP_IS_LOCAL},
    {IDC_SP_IS_EXT, nullptr},
    {IDC_SP_STR_EXT, nullptr, IDC_SP_IS_EXT},
    {IDC_SP_IS_RECEIVE, nullptr},
    {IDC_SP_STR_RECEIVE, nullptr, IDC_SP_IS_RECEIVE},
    {IDC_SP_REC_RECEIVED, nullptr},
    {IDC_SP_REC_OUTGOING, nullptr},
    {IDC_SP_COMPRESS, nullptr, IDC_SP_CAPTION_COMPRESS},
    {IDC_SP_MAX_MESSAGE, nullptr, IDC_SP_CAPTION_MAX_MESSAGE},
    {IDC_SP_GREETING_ONLY, nullptr},
    {IDC_SP_CALLER_CHOOSES, nullptr},
    {IDC_SP_MIN_MESSAGE, nullptr, IDC_SP_CAPTION_MIN_MESSAGE},
    {IDC_SP_SILENCE, nullptr, IDC_SP_CAPTION_SILENCE},
    {IDC_SP_GREETING_FILE, nullptr, IDC_SP_CAPTION_GREETING},
    {IDC_SP_PATH, QT_TRANSLATE_NOOP("AccessibleNames", "안내 메시지 파일 찾아보기")},
    {1092, nullptr, 1149},
    {1093, nullptr, 1150},
    {1094, nullptr, 1151},
    {1095, nullptr, 1152},
    {1096, nullptr, 1153},
    {1097, nullptr, 1154},
    {1105, nullptr, 1155},
    {IDC_SP_LANGUAGE, nullptr, IDC_SP_CAPTION_LANGUAGE},
    {IDC_SP_DEFAULT_LOAD, QT_TRANSLATE_NOOP("AccessibleNames", "기본값으로 설정")},
    {IDC_SP_BLOCK_LIST, QT_TRANSLATE_NOOP("AccessibleNames", "차단 목록 (Ctrl+B)")},
    {IDC_SP_OK, QT_TRANSLATE_NOOP("AccessibleNames", "저장")},
};

constexpr ControlName kCallLogPage[] = {
    {IDC_CL_TABS, QT_TRANSLATE_NOOP("AccessibleNames", "통화 종류")},
    {IDC_CL_TARGET, QT_TRANSLATE_NOOP("AccessibleNames", "검색 대상")},
    {IDC_CL_SEARCH_EDIT, QT_TRANSLATE_NOOP("AccessibleNames", "검색어")},
    {IDC_CL_SEARCH, QT_TRANSLATE_NOOP("AccessibleNames", "검색")},
    {IDC_CL_GRID, QT_TRANSLATE_NOOP("AccessibleNames", "통화 목록")},
    {IDC_CL_PLAY, QT_TRANSLATE_NOOP("AccessibleNames", "녹음 재생")},
    {IDC_CL_STOP, QT_TRANSLATE_NOOP("AccessibleNames", "재생 멈춤")},
    {IDC_CL_HEADSET, QT_TRANSLATE_NOOP("AccessibleNames", "헤드셋으로 듣기")},
    {IDC_CL_SLIDER, QT_TRANSLATE_NOOP("AccessibleNames", "재생 위치")},
    {IDC_CL_DELETE, QT_TRANSLATE_NOOP("AccessibleNames", "선택 삭제")},
    {IDC_CL_DELETE_ALL, QT_TRANSLATE_NOOP("AccessibleNames", "전체 삭제")},
    {IDC_CL_BACKUP, QT_TRANSLATE_NOOP("AccessibleNames", "선택 백업")},
    {IDC_CL_BACKUP_ALL, QT_TRANSLATE_NOOP("AccessibleNames", "전체 백업")},
    {IDC_CL_EXPORT_CSV, QT_TRANSLATE_NOOP("AccessibleNames", "CSV로 내보내기")},
};

struct Meaning {
    int bitmap;
    const char* text;
};

constexpr Meaning kIndicators[] = {
    {IDB_HOOK_OFF, QT_TRANSLATE_NOOP("AccessibleNames", "통화 중")},
    {IDB_HOOK_ON, QT_TRANSLATE_NOOP("AccessibleNames", "대기 중")},
    {IDB_ANSWERING_ON, QT_TRANSLATE_NOOP("AccessibleNames", "자동 응답 중")},
    {IDB_ANSWERING_OFF, QT_TRANSLATE_NOOP("AccessibleNames", "자동 응답 안 함")},
    {IDB_RECORDING_ON, QT_TRANSLATE_NOOP("AccessibleNames", "녹음 중")},
    {IDB_RECORDING_OFF, QT_TRANSLATE_NOOP("AccessibleNames", "녹음 안 함")},
    {IDB_PLAYBACK_ON, QT_TRANSLATE_NOOP("AccessibleNames", "재생 중")},
    {IDB_PLAYBACK_OFF, QT_TRANSLATE_NOOP("AccessibleNames", "재생 안 함")},
};

QString Translate(const char* name) {
    return QCoreApplication::translate("AccessibleNames", name);
}

// The text a caption shows, without the colon that leads to its field.
QString CaptionText(const QWidget* w) {
    QString text;
    if (auto* label = qobject_cast<const QLabel*>(w))
        text = label->text();
    else if (auto* button = qobject_cast<const QAbstractButton*>(w))
        text = button->text();
    else if (auto* plain = qobject_cast<const vt::widgets::TransparentLabel*>(w))
        text = plain->Text();
    text = text.trimmed();
    while (text.endsWith(QLatin1Char(':'))) text = text.chopped(1).trimmed();
    return text;
}

}  // namespace

std::span<const ControlName> AccessibleNames::MainWindow() {
    return kMainWindow;
}
std::span<const ControlName> AccessibleNames::ContactPage() {
    return kContactPage;
}
std::span<const ControlName> AccessibleNames::EditPage() {
    return kEditPage;
}
std::span<const ControlName> AccessibleNames::SettingsPage() {
    return kSettingsPage;
}
std::span<const ControlName> AccessibleNames::CallLogPage() {
    return kCallLogPage;
}

QString AccessibleNames::Indicator(int bitmapId) {
    for (const Meaning& m : kIndicators)
        if (m.bitmap == bitmapId)
            return Translate(m.text);
    return {};
}

QString AccessibleNames::NumberDisplay() {
    return Translate(QT_TRANSLATE_NOOP("AccessibleNames", "번호 표시"));
}

QString AccessibleNames::StatusLine() {
    return Translate(QT_TRANSLATE_NOOP("AccessibleNames", "상태 표시줄"));
}

QString AccessibleNames::RingPopup() {
    return Translate(QT_TRANSLATE_NOOP("AccessibleNames", "전화 수신 알림"));
}

QString AccessibleNames::HookKey() {
    return Translate(QT_TRANSLATE_NOOP("AccessibleNames", "F5: 전화 받기 / 끊기"));
}

QString AccessibleNames::PageKeys() {
    return Translate(
        QT_TRANSLATE_NOOP("AccessibleNames", "Ctrl+Tab: 다음 페이지, Ctrl+Shift+Tab: 이전 페이지"));
}

void AccessibleNames::Apply(std::span<const ControlName> names, const Lookup& control) {
    QWidget* previous = nullptr;
    for (const ControlName& n : names) {
        QWidget* w = control(n.id);
        if (!w)
            continue;
        if (n.name)
            w->setAccessibleName(Translate(n.name));
        else if (QWidget* caption = n.caption ? control(n.caption) : nullptr) {
            w->setAccessibleName(CaptionText(caption));
            if (auto* label = qobject_cast<QLabel*>(caption))
                label->setBuddy(w);
        }
        // Tab leaves a multi-line box instead of typing a tab into it.
        if (auto* text = qobject_cast<QPlainTextEdit*>(w))
            text->setTabChangesFocus(true);
        if (w->focusPolicy() & Qt::TabFocus) {
            if (previous)
                QWidget::setTabOrder(previous, w);
            previous = w;
        }
    }
}

void AccessibleNames::Apply(std::span<const FieldPlace> fields, const Lookup& control) {
    for (const FieldPlace& f : fields) {
        QWidget* w = control(f.id);
        if (!w)
            continue;
        const QString name = f.Label().simplified();
        w->setAccessibleName(name);
        // The text typed into a combo box goes to its own line edit, which
        // has the focus then.
        if (auto* box = qobject_cast<QComboBox*>(w); box && box->lineEdit())
            box->lineEdit()->setAccessibleName(name);
    }
}

}  // namespace vantelo::pages
