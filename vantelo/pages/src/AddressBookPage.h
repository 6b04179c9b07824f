#pragma once
// The address book page: the contact page over [AddressList].

#include "ContactPage.h"

namespace vantelo::pages {

class AddressBookPage : public ContactPage {
    Q_OBJECT
public:
    AddressBookPage(PageOwner& owner, const vt::widgets::SkinImages& skin,
                    QWidget* parent = nullptr);
};

}  // namespace vantelo::pages
