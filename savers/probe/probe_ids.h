#pragma once
#define IDS_PROBE_NAME 1
#define IDI_PROBE 128
#define IDD_PROBE_SETTINGS 200
