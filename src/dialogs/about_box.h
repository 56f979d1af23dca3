#pragma once
// `frmAbout`: title, version, requirements, rights and the maker's links.

#include "platform/ui/form.h"
#include "platform/host.h"

namespace dalvo {

class AboutBox {
public:
    // Builds the controls at their places; nothing is shown yet.
    explicit AboutBox(platform::Host& host);
    // Takes the window off the desktop if it is still shown.
    ~AboutBox();
    AboutBox(const AboutBox&) = delete;
    AboutBox& operator=(const AboutBox&) = delete;

    platform::Form form{"frmAbout", "ﾊﾞｰｼﾞｮﾝ情報", 338, 194};

    platform::Control* Shape3 = nullptr;  // panels behind the labels
    platform::Control* Shape1 = nullptr;
    platform::Control* Shape2 = nullptr;
    platform::Control* Label5 = nullptr;  // title
    platform::Control* Label6 = nullptr;  // version
    platform::Control* cmdOK = nullptr;
    platform::Control* Label1 = nullptr;  // requirements
    platform::Control* Label2 = nullptr;  // rights
    platform::Control* Label3 = nullptr;  // mail link
    platform::Control* Label4 = nullptr;  // web link

private:
    platform::Host& host_;
};

}  // namespace dalvo
