#pragma once
// The inner-line page: the contact page over [InnerLineList].

#include "ContactPage.h"

namespace vantelo::pages {

class InnerLinePage : public ContactPage {
    Q_OBJECT
public:
    InnerLinePage(PageOwner& owner, const vt::widgets::SkinImages& skin, QWidget* parent = nullptr);
};

}  // namespace vantelo::pages
