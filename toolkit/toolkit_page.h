#pragma once
#include "framework/property_page.h"

// The property page every page of the program derives from: a framework page
// that takes the theme's page texture where the look follows the theme.
class CToolkitPage : public CPropertyPage {
    VELMORA_RUNTIME_CLASS(CToolkitPage)
public:
    explicit CToolkitPage(UINT templateId) : CPropertyPage(templateId) {}

protected:
    // Data exchange towards the controls; pages call it first.
    BOOL OnInitDialog() override;
};
