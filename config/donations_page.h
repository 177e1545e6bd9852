#pragma once
#include "toolkit/toolkit_page.h"

// The Donations page: its template and place in the sheet. Its picture, texts
// and link come with their own work.
class CDonations : public CToolkitPage {
    VELMORA_RUNTIME_CLASS(CDonations)
public:
    CDonations();
};
