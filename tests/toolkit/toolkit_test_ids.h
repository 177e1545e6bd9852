#pragma once
// Resource ids of the toolkit tests.

// A strip of three 24 x 24 pictures, solid red, green and blue, each with its
// top-left 10 x 10 corner in the transparent colour RGB(255,0,255).
#define IDB_TEST_STRIP 300
#define TEST_STRIP_PICTURE 24
#define TEST_STRIP_CORNER 10

#define IDI_TEST_PICTURE 301

#define IDD_TEST_PAGE_ALPHA 310
#define IDD_TEST_PAGE_BETA 311
#define IDD_TEST_PAGE_GAMMA 312
#define IDD_TEST_BUTTONS 320

#define IDC_TEST_ALPHA_EDIT 330
#define IDC_TEST_TEXT_BUTTON 331
#define IDC_TEST_ICON_BUTTON 332
