#pragma once
// Resource ids of probe.scr.

// String 1 is the name Windows (and the catalogue) show for a screensaver.
#define IDS_DESCRIPTION 1
#define IDI_PROBE 1

#define IDD_SETTINGS 100
#define IDC_SETTINGS_TEXT 101
