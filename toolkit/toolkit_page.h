#pragma once
#include "framework/property_page.h"

// The property page every page of the program derives from: a framework page
// that takes the theme's page texture where the look follows the theme, and
// keeps the columns of its list views in proportion when the display scaling
// changes.
class CToolkitPage : public CPropertyPage {
    VELMORA_RUNTIME_CLASS(CToolkitPage)
public:
    explicit CToolkitPage(UINT templateId) : CPropertyPage(templateId) {}

    // A label drawn in a font of its own names it in this window property
    // (the text fit measures with it).
    static constexpr const char* kDrawingFontProperty = "Velmora.DrawingFont";

protected:
    // Data exchange towards the controls; pages call it first.
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The page moved to a monitor of another dpi; the base scales the list
    // views' columns.
    virtual void OnDpiChanged(UINT from, UINT to);
    // Gives each text label the room its text needs in its own font where
    // the template's does not hold it (see the definition).
    void FitTexts();

    UINT m_dpi = 96;
    bool m_bTextsFitted = false;
};
