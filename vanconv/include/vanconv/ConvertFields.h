#pragma once
// The sixteen contact fields every transfer handles, in their order, with
// the list box that maps each to a worksheet column and its caption.

#include <array>

#include "platform/TranslateNoop.h"

namespace vanconv {

struct ConvertField {
    const char* field;    // column of AddressList
    const char* listBox;  // the window's list box
    const char* caption;  // the list box's caption
};

inline constexpr int kFieldCount = 16;

inline constexpr std::array<ConvertField, kFieldCount> kConvertFields = {{
    {"Name", "cboName", QT_TRANSLATE_NOOP("vanconv::text", "이      름 :")},
    {"Group", "cboGroup", QT_TRANSLATE_NOOP("vanconv::text", "그      룹 :")},
    {"HomePhone", "cboHomeTel", QT_TRANSLATE_NOOP("vanconv::text", "집   전화 : ")},
    {"HomeAddress", "cboHomeAddr", QT_TRANSLATE_NOOP("vanconv::text", "집   주소 :")},
    {"CellPhone", "cboCellPhone", QT_TRANSLATE_NOOP("vanconv::text", "이동전화 :")},
    {"CompanyName", "cboComName", QT_TRANSLATE_NOOP("vanconv::text", "회      사 :")},
    {"CompanyDepartment", "cboComDept", QT_TRANSLATE_NOOP("vanconv::text", "부      서 :")},
    {"CompanyDuty", "cboComDuty", QT_TRANSLATE_NOOP("vanconv::text", "직      책 :")},
    {"CompanyAddress1", "cboComAddr1", QT_TRANSLATE_NOOP("vanconv::text", "회사주소1:")},
    {"CompanyAddress2", "cboComAddr2", QT_TRANSLATE_NOOP("vanconv::text", "회사주소2:")},
    {"CompanyPhone1", "cboComTel1", QT_TRANSLATE_NOOP("vanconv::text", "회사전화1:")},
    {"CompanyPhone2", "cboComTel2", QT_TRANSLATE_NOOP("vanconv::text", "회사전화2:")},
    {"CompanyInnerLine", "cboComInTel", QT_TRANSLATE_NOOP("vanconv::text", "회사내선 :")},
    {"FaxNum", "cboFax", QT_TRANSLATE_NOOP("vanconv::text", "Fax        :")},
    {"Email", "cboEmail", QT_TRANSLATE_NOOP("vanconv::text", "e-mail    :")},
    {"WebPage", "cboWebPage", QT_TRANSLATE_NOOP("vanconv::text", "Web       :")},
}};

inline constexpr int kNameField = 0;
inline constexpr int kGroupField = 1;

// The group of a contact imported without one.
inline constexpr const char* kNoGroup = "그룹지정 안함";
// Longer imported values keep this many characters.
inline constexpr int kMaxImportChars = 250;

// The list entry at index 0 of every column list: no column.
inline constexpr const char* kNoColumn = "None";

// The field with that column name; -1 for none.
int FieldIndex(const char* name);

}  // namespace vanconv
