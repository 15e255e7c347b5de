// Resource and command ids of the library, shared by the resource script and the code.
#pragma once

#define IDS_APP_TITLE          103
#define IDC_MOLTAVIS           109
#define IDI_VADERUR            129
#define IDR_MAINMENU           109
#define IDR_ACCELERATORS       109
#define IDD_ABOUTBOX           103
#define IDC_ABOUT_TITLE        1000

#define IDM_ABOUT              104
#define IDM_EXIT               105
#define IDM_USE_BARS           32771
#define IDM_USE_LINE           32772
#define IDM_CLEAR_HISTORY      32773
#define IDM_RELOAD_COLORS      32774
#define IDM_CREATE_PNG         32778
#define IDM_OPEN_FOLDER        32779
#define IDM_TRAY_ICON          32780
#define IDM_START_MINIMIZED    32781
