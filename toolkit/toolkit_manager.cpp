#include "toolkit/toolkit_manager.h"

#include "toolkit/contrast.h"
#include "toolkit/visual_style.h"

namespace {
CToolkitManager* g_manager = nullptr;
}

CToolkitManager* CToolkitManager::Get() { return g_manager; }

bool CToolkitManager::DrawThemed() const {
    // A high-contrast theme is drawn in its system colours, not through the
    // visual style's pictures (Windows itself leaves visual styles then).
    return m_style == Style::FollowSystemTheme && CVisualStyle::Instance().IsThemed() &&
           !velmora::toolkit::HighContrastOn();
}

CToolkitApp::~CToolkitApp() { ReleaseToolkit(); }

void CToolkitApp::InitToolkit() {
    if (!g_manager) g_manager = new CToolkitManager;
}

void CToolkitApp::SetVisualStyleFollowsTheme() {
    InitToolkit();
    g_manager->SetStyle(CToolkitManager::Style::FollowSystemTheme);
}

void CToolkitApp::ReleaseToolkit() {
    delete g_manager;
    g_manager = nullptr;
    CVisualStyle::Instance().Unload();
}
