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
