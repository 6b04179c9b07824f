#include "AddressBookPage.h"

#include "platform/TranslateNoop.h"
#include "vantelo/core/CRSAddressList.h"
#include "vantelo/pages/PhoneIds.h"

namespace vantelo::pages {

namespace {

using A = ContactPage::Action;

ContactPage::Design AddressBookDesign() {
    return {IDD_ADDRESSBOOK,
            1008,
            {{QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "이름"), 70, 0},
             {QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "회사"), 120, 5},
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
             {QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "회사명"), 2},
             {QT_TRANSLATE_NOOP("vantelo::pages::ContactPage", "전화번호"), 3}},
            IDB_ADDRESSBOOK_NORMAL,
            IDB_ADDRESSBOOK_PRESSED,
            IDB_ADDRESSBOOK_HOVER,
            IDB_ADDRESSBOOK_BACK,
            /*blockItem=*/true};
}

}  // namespace

AddressBookPage::AddressBookPage(PageOwner& owner, const vt::widgets::SkinImages& skin,
                                 QWidget* parent)
    : ContactPage(owner, std::make_unique<CRSAddressList>(), AddressBookDesign(), skin, parent) {}

}  // namespace vantelo::pages
