#pragma once
#include <memory>
#include <vector>

#include "framework/icon.h"
#include "framework/property_sheet.h"
#include "toolkit/picture_bar.h"

// A property sheet whose pages are chosen from a bar of pictures with
// captions at its left instead of tabs. The tab control stays (comctl32 places
// the pages from it) but is hidden; the sheet grows by the bar's width and
// loses the height of the tab row.
class CPictureBarSheet : public CPropertySheet {
    VELMORA_RUNTIME_CLASS(CPictureBarSheet)
public:
    CPictureBarSheet(const char* caption, CWnd* parent = nullptr, UINT selectPage = 0)
        : CPropertySheet(caption, parent, selectPage) {}
    ~CPictureBarSheet() override;

    // barWidth pixels wide at 96 dpi; picture i of bitmap bitmapId
    // (pictureWidth pixels each) for page i; transparent is the strip's
    // background colour.
    void SetPictureBar(int barWidth, UINT bitmapId, int pictureWidth, COLORREF transparent);
    // The same strip drawn larger, for higher display scaling.
    void AddPictureStrip(UINT bitmapId, int pictureWidth);
    // The dots per inch the sheet is laid out for.
    UINT GetDpi() const { return m_dpi; }

    CPictureBar* GetPictureBar() { return m_bar.get(); }
    // The window's icons (caption and task switcher), loaded from the icon
    // resource at the sizes for the sheet's dpi, and again when it changes.
    void SetWindowIcon(UINT iconId);

protected:
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The hidden tab control. comctl32 selects its tab whenever it changes
    // the page, however the change was asked for (PSM_SETCURSEL, or Ctrl+Tab
    // and Ctrl+PgDn inside the sheet's own keyboard handling, which sends no
    // message to the sheet), so the bar follows its TCM_SETCURSEL.
    class CTabFollower : public CWnd {
    public:
        explicit CTabFollower(CPictureBarSheet& sheet) : m_sheet(sheet) {}

    protected:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        CPictureBarSheet& m_sheet;
    };

    void Relayout();
    // A move to a monitor of another dpi (WM_DPICHANGED): the suggested
    // window rectangle, children and fonts scaled, our own drawing told.
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    void ScaleChildren(UINT from, UINT to);
    void LoadWindowIcons();
    // Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn and Ctrl+PgUp anywhere in the
    // sheet step through the pages (see the hook procedure).
    bool StepPageForKey(const MSG& message);
    static LRESULT CALLBACK KeyHook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK m_keyHook = nullptr;

    std::unique_ptr<CPictureBar> m_bar;
    int m_barWidth = 0;
    std::vector<CPictureBar::Strip> m_strips;
    UINT m_dpi = 96;
    CFont m_scaledFont;
    COLORREF m_transparent = RGB(255, 0, 255);
    CTabFollower m_tabFollower{*this};
    UINT m_iconId = 0;
    CIcon m_smallIcon;
    CIcon m_bigIcon;
};
