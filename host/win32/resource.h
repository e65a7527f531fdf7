#pragma once
// The resource numbers, shared by the resource script and the program.

#define IDS_APP_TITLE 103
#define IDC_ORVANTA 109 // the window class name (string), the menu and the accelerators

#define IDD_ABOUTBOX 103
#define IDI_ORVANTA 107 // the large icon, also shown in the About box
#define IDI_SMALL 108

#define IDM_ABOUT 104
#define IDM_EXIT 105
#define IDM_ZOOM_100 32771 // 32772..32774 for 200 % to 400 %
#define IDM_ZOOM_200 32772
#define IDM_ZOOM_300 32773
#define IDM_ZOOM_400 32774
#define IDM_LOOP 32775
#define IDM_RELOAD 32776
#define IDM_RESTART 32777
#define IDM_LOAD_NEXT 32778
#define IDM_PAUSE 32779
#define IDM_STEP 32780
#define IDM_SAVE_PICTURE 32781
#define IDM_FINDINGS 32782
#define IDM_SHOW_LINE 32783
#define IDM_OPEN_DESIGNER 32784
#define IDM_READINGS_DEVICE 32790 // 32791..32793: minimum, maximum, sweep
#define IDM_READINGS_MINIMUM 32791
#define IDM_READINGS_MAXIMUM 32792
#define IDM_READINGS_SWEEP 32793

#define DESIGN_MENU_POSITION 3 // the "&Design" popup, whose title also shows the findings

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
