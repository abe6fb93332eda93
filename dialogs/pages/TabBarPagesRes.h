/* Resource ids of the tab bar page and the group-tab bar page. The controls
   both pages have share their ids. */
#ifndef VA_DIALOGS_PAGES_TABBARPAGESRES_H
#define VA_DIALOGS_PAGES_TABBARPAGESRES_H

#define IDD_SETTAB1              165
#define IDD_SETTAB15             256

#define IDC_TABBAR_SHOW          1001
#define IDC_TABBAR_IMAGE         1002
#define IDC_TABBAR_GRADIENT      1003
#define IDC_TABBAR_BUTTON        1004
#define IDC_TABBAR_MLINE         1005
#define IDC_TABBAR_CLOSEBUTTON   1006
/* The position radios in the order of their stored values. */
#define IDC_TABBAR_POSDOWN       1007
#define IDC_TABBAR_POSUP         1008
#define IDC_TABBAR_POSLEFT       1009
#define IDC_TABBAR_POSRIGHT      1010
#define IDC_TABBAR_FIXEDWIDTH    1011
#define IDC_TABBAR_WIDTH         1012
#define IDC_TABBAR_WIDTHSPIN     1013
#define IDC_TABBAR_TITLELEN      1014
#define IDC_TABBAR_TITLELENSPIN  1015
#define IDC_TABBAR_MOUSEWC       1016
#define IDC_TABBAR_MOUSER        1017
#define IDC_TABBAR_MOUSEDC       1018
#define IDC_TABBAR_WHEELCHANGE   1019
#define IDC_TABBAR_POSNOTE       1020

/* The page tab bar only. */
#define IDC_TABBAR_LINKOPEN      1021
#define IDC_TABBAR_LINKLOCK      1022
#define IDC_TABBAR_WHEELOPEN     1023
#define IDC_TABBAR_WHEELLOCK     1024

/* The group-tab bar only. */
#define IDC_TABBAR_NEWACTION     1025
#define IDC_TABBAR_URL           1026
#define IDC_TABBAR_DEFAULTNAME   1027
#define IDC_TABBAR_IMAGEBOX      1028
#define IDC_TABBAR_MENUSHOW      1029
#define IDC_TABBAR_CLOSEEMPTY    1030
#define IDC_TABBAR_ACTIVEURL     1032
#define IDC_TABBAR_CHANGEIMAGE   1033
#define ID_TABBAR_IMAGE_FIRST    36500

/* The mouse actions of each bar, then the group bar's new-group actions. */
#define IDS_TABBAR_PAGEMOUSE     (IDD_SETTAB1 * 16)
#define IDS_TABBAR_GROUPMOUSE    (IDD_SETTAB15 * 16)
#define IDS_TABBAR_NEWACTION     (IDS_TABBAR_GROUPMOUSE + 5)

#endif /* VA_DIALOGS_PAGES_TABBARPAGESRES_H */
