/* Resource ids of the dialogs library. */
#ifndef VA_DIALOGS_RES_RESOURCE_H
#define VA_DIALOGS_RES_RESOURCE_H

/* Settings dialog. */
#define IDD_SETTING           163
#define IDC_SETTING_TREE      1013
#define IDC_SETTING_PAGEAREA  1005
#define IDC_SETTING_CAPTION   1011
#define IDC_SETTING_HELP      1277
#define IDC_SETTING_HELPTIP   1235

/* About dialog. */
#define IDD_ABOUT             100
#define IDC_ABOUT_ICON        1000
#define IDC_ABOUT_TEXT1       1012
#define IDC_ABOUT_TEXT2       1015
#define IDC_ABOUT_TEXT3       1010
#define IDC_ABOUT_LINK        1042
#define IDC_ABOUT_COPY        1032
#define IDC_ABOUT_VERSIONS    213
#define IDC_ABOUT_TRACE       1267
#define IDC_LINKHAND          1002

/* Open-location dialog. */
#define IDD_OPENLOCATION      161
#define IDC_OPEN_TEXT         1085
#define IDC_OPEN_BROWSE       1086

/* Keyword dialog. */
#define IDD_KEYWORD           156
#define IDC_KEYWORD_TEXT      213
#define IDC_KEYWORD_CLEAR     3

/* Window-size dialog. */
#define IDD_WINDOWSIZE        159
#define IDC_SIZE_WIDTH        1053
#define IDC_SIZE_WIDTHSPIN    1051
#define IDC_SIZE_HEIGHT       1055
#define IDC_SIZE_HEIGHTSPIN   1057

/* Posted-data window. */
#define IDD_POSTED            143
#define IDC_POSTED_TEXT       213

#endif
