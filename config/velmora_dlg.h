#pragma once
#include "config/about_page.h"
#include "config/donations_page.h"
#include "config/options_page.h"
#include "config/rotation_page.h"
#include "config/screensavers_page.h"
#include "toolkit/flat_button.h"
#include "toolkit/picture_bar_sheet.h"

// The main window of Velmora.exe: a picture-bar sheet with the program's
// pages, no Apply button, and OK, Cancel and Help restyled with pictures.
class CVelmoraDlg : public CPictureBarSheet {
    VELMORA_RUNTIME_CLASS(CVelmoraDlg)
public:
    CVelmoraDlg();

    // Every help request opens the help file at its start.
    void WinHelp(DWORD_PTR data, UINT command) override;

protected:
    BOOL OnInitDialog() override;

private:
    CScreensavers m_screensavers;
    COptions m_options;
    CRotation m_rotation{m_screensavers, m_options};
    CDonations m_donations;
    CAbout m_about;
    CFlatButton m_ok;
    CFlatButton m_cancel;
    CFlatButton m_help;
};
