#pragma once
#include <memory>

#include "config/controls/credits_thread.h"
#include "framework/dc.h"
#include "framework/gdi.h"
#include "framework/static.h"
#include "toolkit/link_button.h"
#include "toolkit/toolkit_page.h"

// The About page: the program's picture with the credits scrolling over its
// white right half on a drawing thread, a support note, and a link to the
// maker's home page. It writes no settings.
class CAbout : public CToolkitPage {
    VELMORA_RUNTIME_CLASS(CAbout)
public:
    CAbout();
    ~CAbout() override;

    // The running credits, or null (for inspection).
    const CCreditsThread* GetCreditsThread() const { return m_pCreditsThread.get(); }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;

private:
    // Starts the credits once per page window.
    void StartCredits();
    void StopCredits();
    void FitPictureToItsBitmap();
    // The dpi the picture and the credits are drawn for.
    UINT PictureDpi() const;

    std::unique_ptr<CCreditsThread> m_pCreditsThread;
    std::unique_ptr<CClientDC> m_pClientDC;
    CStatic m_picture;
    CLinkButton m_homePageLink;
    CBitmap m_background;  // the page's picture, which the credits scroll over
    CBitmap m_scaledPicture;  // the picture the page shows above 100 %
    UINT m_dpi = 96;
};
