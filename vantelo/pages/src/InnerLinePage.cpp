#include "InnerLinePage.h"

#include "platform/TranslateNoop.h"
#include "vantelo/core/CRSInnerLineList.h"
#include "vantelo/pages/PhoneIds.h"

namespace vantelo::pages {

namespace {

using A = ContactPage::Action;

ContactPage::Design InnerLineDesign() {
    return {IDD_INNERLINE,
            1044,
            {{QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "이름"), 70, 0},
             {QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "부서"), 90, 6},
             {QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "직책"), 90, 7},
             {QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "내선"), 40, 12, A::DialInner},
             {QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "자택전화"), 80, 2, A::DialOutside,
              true},
             {QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "이동전화"), 80, 4, A::DialOutside,
              true},
             {QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "회사전화1"), 80, 10, A::DialOutside,
              true},
             {QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "회사전화2"), 80, 11, A::DialOutside,
              true},
             {QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "e-mail"), 150, 14, A::Email},
             {QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "Web page"), 150, 15, A::Web},
             {QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "집주소"), 250, 3},
             {QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "회사주소1"), 250, 8},
             {QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "회사주소2"), 250, 9},
             {QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "FAX"), 80, 13}},
            {{QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "전체 보기"), 0},
             {QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "이름"), 1},
             {QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "부서"), 2},
             {QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "내선"), 3},
             {QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "전화번호"), 4}},
            IDB_INNERLINE_NORMAL,
            IDB_INNERLINE_PRESSED,
            IDB_INNERLINE_HOVER,
            IDB_INNERLINE_BACK};
}

}  // namespace

InnerLinePage::InnerLinePage(PageOwner& owner, const vt::widgets::SkinImages& skin, QWidget* parent)
    : ContactPage(owner, std::make_unique<CRSInnerLineList>(), InnerLineDesign(), skin, parent) {}

}  // namespace vantelo::pages
