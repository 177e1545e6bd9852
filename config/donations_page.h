#pragma once
#include "config/controls/animated_picture.h"
#include "config/controls/styled_label.h"
#include "toolkit/link_button.h"
#include "toolkit/toolkit_page.h"

// The Donations page: two paragraphs in a large serif face asking for a
// donation, an animated picture, and a link to the maker's web site. It reads
// and writes no settings. The picture plays from the page's dialog
// initialisation until the page's window goes.
class CDonations : public CToolkitPage {
    VELMORA_RUNTIME_CLASS(CDonations)
public:
    CDonations();

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

private:
    CAnimatedPicture m_picture;
    CStyledLabel m_lblText1;
    CStyledLabel m_lblText2;
    CLinkButton m_btnLink;
};
