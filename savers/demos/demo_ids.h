#pragma once
// Resource ids shared by both demo savers' resource scripts.

// String 1 is the name Windows shows for a screensaver.
#define IDS_DESCRIPTION 1
#define IDI_SAVER 1

#define IDD_SETTINGS 100
#define IDC_SETTING 101
#define IDC_SETTING_VALUE 102

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
