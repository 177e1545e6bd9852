#pragma once
#include "toolkit/toolkit_page.h"

// The About page: its template and place in the sheet. Its picture, credits
// and link come with their own work.
class CAbout : public CToolkitPage {
    VELMORA_RUNTIME_CLASS(CAbout)
public:
    CAbout();
};
