#include "config/about_page.h"

#include "resources/velmora_exe_ids.h"

CAbout::CAbout() : CToolkitPage(IDD_ABOUT) {}
