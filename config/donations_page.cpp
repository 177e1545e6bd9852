#include "config/donations_page.h"

#include "config/maker_site.h"
#include "framework/data_exchange.h"
#include "resources/velmora_exe_ids.h"
#include "toolkit/dpi.h"

CDonations::CDonations() : CToolkitPage(IDD_DONATIONS) {}

void CDonations::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_DONATIONS_PICTURE, m_picture);
    DDX_Control(dx, IDC_DONATIONS_TEXT1, m_lblText1);
    DDX_Control(dx, IDC_DONATIONS_TEXT2, m_lblText2);
    DDX_Control(dx, IDC_HOME_PAGE_LINK, m_btnLink);
}

BOOL CDonations::OnInitDialog() {
    CToolkitPage::OnInitDialog();

    m_btnLink.SetURL(velmora::config::kMakerHomePage);
    m_btnLink.SizeToContent();
    m_btnLink.SetDrawFocusRect(FALSE);

    // The emboss colour shows only with embossing, which stays off.
    for (CStyledLabel* label : {&m_lblText1, &m_lblText2})
        label->SetEmbossColor(RGB(0, 0, 0))
            .SetFontName("Times New Roman", ANSI_CHARSET)
            .SetFontPointSize(13)
            .SetFontBold(TRUE);

    // Without its picture the page simply shows none.
    // Drawn for 100 and 200 percent: above 100 the larger one, at the
    // page's scaling.
    const UINT dpi = velmora::toolkit::WindowDpi(m_hWnd);
    const bool large = velmora::toolkit::PictureSetFor(dpi) > 100;
    m_picture.SetScale(static_cast<int>(dpi), large ? 192 : 96);
    if (m_picture.LoadFromResource(MAKEINTRESOURCEA(large ? IDR_DONATIONS_GIF_200 : IDR_DONATIONS_GIF),
                                   "BINARY"))
        m_picture.Start();
    return TRUE;
}
