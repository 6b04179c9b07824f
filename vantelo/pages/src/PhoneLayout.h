#pragma once
// Where everything of the phone window sits, in pixels: the main window's
// skinned buttons (with their labels and tool tips), its display areas, and
// the controls of the contact pages and the contact edit page. The skin is
// painted from these tables and the windows are built from them, so the
// pictures and the controls always agree.

#include <QRect>
#include <QString>
#include <span>

namespace vantelo::pages {

struct Place {
    int id;
    int x, y, w, h;
    const char* label;  // drawn on the skin; may be empty
    const char* tip;    // tool tip; may be empty
    QRect Rect() const { return QRect(x, y, w, h); }
    // The label and the tool tip in the user's language.
    QString Label() const;
    QString Tip() const;
};

// A read-only (page) or editable (edit page) field of a contact.
struct FieldPlace {
    int id;
    int field;  // index into the contact record
    int x, y, w, h;
    const char* label;  // drawn left of the field
    QRect Rect() const { return QRect(x, y, w, h); }
    QString Label() const;
};

class PhoneLayout {
public:
    static constexpr int kWindowWidth = 830;
    static constexpr int kWindowHeight = 576;
    // Where the pages are shown (control 1000); every page is this size.
    static constexpr QRect kPageArea{20, 80, 620, 462};
    // The count of new messages: a badge on the answering-machine
    // indicator's upper right corner.
    static constexpr QRect kMessageBadge{713, 130, 22, 14};
    // The strip of page buttons, repainted after a switch.
    static constexpr QRect kPageButtonStrip{209, 44, 355, 29};

    // Skinned buttons of the main window, the four page buttons first.
    static std::span<const Place> MainButtons();
    // Number display, status line, memo box and the four indicators.
    static std::span<const Place> MainAreas();

    // The address book and inner-line pages (same template design).
    static std::span<const Place> ContactPageControls();
    static std::span<const FieldPlace> ContactPageDetails();
    // The contact edit page.
    static std::span<const Place> EditPageControls();
    static std::span<const FieldPlace> EditPageFields();

    // The settings page: its skinned buttons, and its check boxes,
    // edits and captions (the sliders are placed by the page, one under the
    // other in the right-hand column).
    static std::span<const Place> SettingsPageButtons();
    static std::span<const Place> SettingsPageControls();
    static constexpr QRect kSliderColumn{312, 8, 300, 54};  // first slider block

    // The call log page: tabs, search row, grid, and the player and log
    // strip under the grid (buttons are the places with a tool tip; the two
    // captions have a label and no tip).
    static std::span<const Place> CallLogPageControls();
    // The dark plate of the strip, and the well behind the position slider.
    static constexpr QRect kCallLogStrip{8, 408, 604, 48};

    // A label or tool tip of the tables (Korean source) in the user's
    // language; empty for an empty or null text.
    static QString Translate(const char* text);

    // The place of `id` in a table; an empty rectangle when it is not there.
    static QRect RectOf(std::span<const Place> table, int id);
    static const Place* Find(std::span<const Place> table, int id);
};

// Controls of the contact pages.
inline constexpr int IDC_CP_SEARCH_EDIT = 1000;
inline constexpr int IDC_CP_INDEX_TABS = 1001;
inline constexpr int IDC_CP_ADD = 1002;
inline constexpr int IDC_CP_MODIFY = 1003;
inline constexpr int IDC_CP_DELETE = 1004;
inline constexpr int IDC_CP_GROUP = 1007;
inline constexpr int IDC_CP_GRID = 1008;  // 1044 on the inner-line page
inline constexpr int IDC_CP_TARGET = 1027;
inline constexpr int IDC_CP_SEARCH = 1029;
// Controls of the contact edit page.
inline constexpr int IDC_CE_GROUP = 1007;
inline constexpr int IDC_CE_NOTES = 1019;
inline constexpr int IDC_CE_SAVE = 1021;
inline constexpr int IDC_CE_CANCEL = 1022;
// Controls of the settings page.
inline constexpr int IDC_SP_IS_EXT = 1077;
inline constexpr int IDC_SP_OK = 1079;
inline constexpr int IDC_SP_IS_LOCAL = 1080;
inline constexpr int IDC_SP_STR_LOCAL = 1081;
inline constexpr int IDC_SP_STR_EXT = 1082;
inline constexpr int IDC_SP_IS_RECEIVE = 1083;
inline constexpr int IDC_SP_STR_RECEIVE = 1084;
inline constexpr int IDC_SP_REC_RECEIVED = 1086;
inline constexpr int IDC_SP_REC_OUTGOING = 1087;
inline constexpr int IDC_SP_COMPRESS = 1088;
inline constexpr int IDC_SP_PATH = 1090;
inline constexpr int IDC_SP_CALLER_CHOOSES = 1091;
inline constexpr int IDC_SP_GREETING_ONLY = 1067;
inline constexpr int IDC_SP_GREETING_FILE = 1098;
inline constexpr int IDC_SP_DEFAULT_LOAD = 1139;
inline constexpr int IDC_SP_MAX_MESSAGE = 1147;
// Captions 1149-1158: the seven sliders' first, then the three below.
inline constexpr int IDC_SP_CAPTION_FIRST = 1149;
inline constexpr int IDC_SP_CAPTION_COMPRESS = 1156;
inline constexpr int IDC_SP_CAPTION_MAX_MESSAGE = 1157;
inline constexpr int IDC_SP_CAPTION_GREETING = 1158;
// The shortest message kept and the silence that ends a message, with their
// captions, and the button that opens the block list editor.
inline constexpr int IDC_SP_MIN_MESSAGE = 1159;
inline constexpr int IDC_SP_SILENCE = 1160;
inline constexpr int IDC_SP_CAPTION_MIN_MESSAGE = 1161;
inline constexpr int IDC_SP_CAPTION_SILENCE = 1162;
inline constexpr int IDC_SP_BLOCK_LIST = 1163;
// The language of the programs (read at their next start), its caption and
// the note that says so.
inline constexpr int IDC_SP_LANGUAGE = 1164;
inline constexpr int IDC_SP_CAPTION_LANGUAGE = 1165;
inline constexpr int IDC_SP_LANGUAGE_NOTE = 1166;

}  // namespace vantelo::pages
