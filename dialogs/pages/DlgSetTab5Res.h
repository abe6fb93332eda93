/* Resource ids of the general page. Strings of a page take the ids of its
   template times 16 onwards, so that pages never share a string block. */
#ifndef VA_DIALOGS_PAGES_DLGSETTAB5RES_H
#define VA_DIALOGS_PAGES_DLGSETTAB5RES_H

#define IDD_SETTAB5              214
#define IDC_GEN_MAILTO           1001
#define IDC_GEN_TASKTRAY         1002
#define IDC_GEN_WINDOWLOOP       1003
#define IDC_GEN_CLIPBOARD        1004
#define IDC_GEN_DOUBLEINSTANCE   1005
#define IDC_GEN_WINDOWMAX        1006
#define IDC_GEN_WINDOWMAXLABEL   1007
#define IDC_GEN_WINDOWMAXCNT     1008
#define IDC_GEN_WINDOWMAXSPIN    1009
#define IDC_GEN_CLICKOPEN        1010
#define IDC_GEN_DOMAINLOCK       1011
#define IDC_GEN_STATUSURL        1012
#define IDC_GEN_POPUPSTYLE       1013
#define IDC_GEN_POPUPALPHALABEL  1014
#define IDC_GEN_POPUPALPHA       1015
#define IDC_GEN_POPUPALPHASPIN   1016
#define IDC_GEN_TABMODE          1017
#define IDC_GEN_TARGETNAME       1018
#define IDC_GEN_PARAMACTIVATE    1019
#define IDC_GEN_FOCUSMOVE        1020
#define IDC_GEN_FOCUSADDRESS     1021
#define IDC_GEN_FOCUSSEARCH      1022
#define IDC_GEN_MENUIMAGE        1023
#define IDC_GEN_MENUSHORTCUT     1024
#define IDC_GEN_WORKINGSET       1025
#define IDC_GEN_RELOADLABEL      1026
#define IDC_GEN_RELOAD           1027
#define IDC_GEN_RELOADSPIN       1028
#define IDC_GEN_RELOADUNIT       1029
#define IDC_GEN_INITMODELABEL    1030
#define IDC_GEN_INITMODE         1031
#define IDC_GEN_MENUSTYLELABEL   1032
#define IDC_GEN_MENUSTYLE        1033

/* The start-up actions (3 items), then the menu styles (6 items). */
#define IDS_GEN_INITMODE         3424
#define IDS_GEN_MENUSTYLE        3427

#endif
