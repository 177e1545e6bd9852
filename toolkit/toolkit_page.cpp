#include "toolkit/toolkit_page.h"

#include "toolkit/toolkit_manager.h"
#include "toolkit/visual_style.h"

BOOL CToolkitPage::OnInitDialog() {
    BOOL result = CPropertyPage::OnInitDialog();
    CToolkitManager* manager = CToolkitManager::Get();
    if (manager && manager->DrawThemed()) CVisualStyle::Instance().EnableDialogTexture(m_hWnd);
    return result;
}
