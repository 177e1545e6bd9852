#pragma once
// The application object both demo savers share: reads the command line
// with the project's grammar and runs the mode it names.
#include <windows.h>

#include <memory>

#include "framework/win_app.h"
#include "savers/demos/saver_kind.h"
#include "savers/demos/saver_window.h"

class CDemoApp : public CWinApp {
public:
    explicit CDemoApp(const SaverKind& kind) : m_kind(kind) {}
    BOOL InitInstance() override;

private:
    const SaverKind& m_kind;
    std::unique_ptr<CSaverWnd> m_window;
};
