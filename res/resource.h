// Resource identifiers. Windows and dialogs find their templates, icons
// and controls by these numbers; other programs and tests find the
// controls by them too.
#pragma once

#define IDI_KOPIWELL 101  // the normal icon
#define IDD_SETTINGS 102
#define IDD_ABOUT 103
#define IDD_FIRSTRUN 110
#define IDI_PAUSED 122  // the icon while capturing is paused
#define IDD_VIEWER 127
#define IDD_LIST 999

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDC_VIEWER_UPDATE 3
#define IDC_LISTVIEW 1016
#define IDC_VIEWER_EDIT 1032

// The settings dialog.
#define IDC_LIST_HOTKEY 1003
#define IDC_CURSOR_TOP 1004
#define IDC_CURSOR_LAST 1006
#define IDC_DATA_NEW 1007
#define IDC_DATA_OLD 1011
#define IDC_INYO 1014
#define IDC_FOOT 1015
#define IDC_LFBYTE 1016
#define IDC_PAUSE_HOTKEY 1021
#define IDC_KEY_NORMAL 1022
#define IDC_KEY_VILIKE 1023
#define IDC_KEY_VILIKE19 1024
#define IDC_LF_NONE 1026
#define IDC_LF_OK 1027
#define IDC_LF_INYO 1028
#define IDC_SUSSAVE 1029
#define IDC_ACTV_HIDE 1030
#define IDC_TOPMOST 1031
#define IDC_KEEP_RECT 1032
#define IDC_STDEL 1034
#define IDC_PLACE_LAST 1035
#define IDC_PLACE_CARET 1036
#define IDC_PLACE_MOUSE 1037
#define IDC_DBLCTRL 1038
#define IDC_IGNORE 1039
#define IDC_PHRASE_HOTKEY 1040
#define IDC_SIGNIN 1050
#define IDC_SIGNIN_NOTE 1051
