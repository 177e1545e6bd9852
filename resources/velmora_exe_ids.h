#pragma once
// Resource ids of Velmora.exe.

// Icons
#define IDI_VELMORA 128             // window icon of the sheet
#define IDI_SAVER_FILE 131          // a screensaver file without an icon of its own
#define IDI_ADD_SELECTED 132
#define IDI_ADD_ALL 133
#define IDI_REMOVE_SELECTED 134
#define IDI_REMOVE_ALL 135
#define IDI_MOVE_UP 136
#define IDI_MOVE_DOWN 137
#define IDI_SAVER_SETTINGS 138
#define IDI_SAVER_PREVIEW 139
#define IDI_BUTTON_OK 144
#define IDI_BUTTON_CANCEL 145
#define IDI_BUTTON_HELP 147

// Bitmaps
#define IDB_PAGE_PICTURES 129       // five 32 x 32 pictures, one per page, in page order
#define IDB_ABOUT 143               // the About page's picture
#define IDB_PAGE_PICTURES_150 150  // five 48 x 48 pictures
#define IDB_PAGE_PICTURES_200 151  // five 64 x 64 pictures
#define IDB_ABOUT_200 152  // the About picture at twice the size
#define IDB_PAGE_PICTURE_SIZE 32
#define IDB_PAGE_PICTURES_KEY 0xFF00FF  // transparent colour, RGB(255,0,255)

// Dialogs (property pages)
#define IDD_SCREENSAVERS 130
#define IDD_OPTIONS 140
#define IDD_DONATIONS 141
#define IDD_ABOUT 142
#define IDD_ROTATION 148

// Other resources
#define IDR_DONATIONS_GIF 146       // type "BINARY"
#define IDR_DONATIONS_GIF_200 153  // the animated picture at twice the size, type "BINARY"

// Controls
#ifndef IDC_STATIC
#define IDC_STATIC (-1)             // labels and frames the program never addresses
#endif
// Screensavers page
#define IDC_SELECTED_LIST 1001
#define IDC_AVAILABLE_LIST 1002
#define IDC_ADD_SELECTED 1003
#define IDC_ADD_ALL 1004
#define IDC_REMOVE_SELECTED 1005
#define IDC_REMOVE_ALL 1006
#define IDC_SAVER_SETTINGS 1007
#define IDC_SAVER_PREVIEW 1008
#define IDC_MOVE_UP 1009
#define IDC_MOVE_DOWN 1010
// Options page
#define IDC_LIST_ORDER 1011
#define IDC_RANDOM_ORDER 1012
#define IDC_SHOW_INFINITE 1013
#define IDC_SHOW_MINUTES 1014
#define IDC_SHOW_TIME 1015
#define IDC_SHOW_TIME_SPIN 1016
#define IDC_ADDITIONAL_PATHS 1017
#define IDC_MINUTES_LABEL 1021
#define IDC_PASSWORD_NOTE 1026
// Rotation page
#define IDC_ROTATION_LIST 1030
#define IDC_PLAY_EACH_ONCE 1031
#define IDC_GO_ON_WHEN_QUITS 1032
#define IDC_MONITORS 1033
#define IDC_ROTATE_WHEN_LOCKED 1034
#define IDC_ROTATE_WHEN_LOCKED_NOTE 1035
// About page
#define IDC_ABOUT_PICTURE 1018
// Donations page
#define IDC_DONATIONS_PICTURE 1020
#define IDC_DONATIONS_TEXT1 1021
#define IDC_DONATIONS_TEXT2 1022
// About and Donations pages
#define IDC_HOME_PAGE_LINK 1023

// Strings: tooltips of the buttons between the two lists
#define IDS_TIP_ADD_SELECTED 1
#define IDS_TIP_ADD_ALL 2
#define IDS_TIP_REMOVE_SELECTED 3
#define IDS_TIP_REMOVE_ALL 4
// Strings: the Rotation page's choices for several monitors, consecutive in
// the order of their stored numbers
#define IDS_MONITORS_AS_DRAWN 5
#define IDS_MONITORS_BLACK 6
#define IDS_MONITORS_EACH 7
