#pragma once
// Resource ids of Velmora.scr.

// Strings
#define IDS_DESCRIPTION 1

// Icons
#define IDI_VELMORA 128

// Bitmaps
#define IDB_PREVIEW 129
