/* Resource ids of the favorites window page, the address bar page and the
   messages page. */
#ifndef VA_DIALOGS_PAGES_SIMPLEPAGESRES_H
#define VA_DIALOGS_PAGES_SIMPLEPAGESRES_H

#define IDD_SETTAB3              210
#define IDD_SETTAB4              212
#define IDD_SETTAB17             268

#define IDC_FAV_DISPTYPELABEL    1001
#define IDC_FAV_DISPTYPE         1002
#define IDC_FAV_DISPTYPENOTE     1003
#define IDC_FAV_NEWTAB           1004
#define IDC_FAV_NOACTIVATE       1005
#define IDC_FAV_WCNEWTAB         1006
#define IDC_FAV_WCNOACTIVATE     1007
#define IDC_FAV_IEORDER          1008
#define IDC_FAV_CACHE            1009
#define IDC_FAV_OPENALL          1010
#define IDC_FAV_TITLEMAX         1011
#define IDC_FAV_TITLEMAXSPIN     1012
#define IDC_FAV_ROWMAX           1013
#define IDC_FAV_ROWMAXSPIN       1014
#define IDC_FAV_AUTOHIDE         1015
#define IDC_FAV_HIDECLICK        1016
#define IDC_FAV_HIDERCLICK       1017
#define IDC_FAV_DELAY            1018
#define IDC_FAV_DELAYSPIN        1019
#define IDC_FAV_BARWIDTH         1020
#define IDC_FAV_BARWIDTHSPIN     1021
#define IDC_FAV_HIDEBARSHOW      1022

#define IDC_ADDR_NEWTAB          1001
#define IDC_ADDR_NOACTIVATE      1002
#define IDC_ADDR_AUTOCOMP        1003
#define IDC_ADDR_OPENAUTOCOMP    1004
#define IDC_ADDR_LABEL           1005

#define IDC_MSG_SCRIPTERR        1001
#define IDC_MSG_OFFLINE          1002
#define IDC_MSG_ACTIVEX          1003
#define IDC_MSG_REFRESH          1004
#define IDC_MSG_HISTORYMAX       1005
#define IDC_MSG_HISTORYMAXSPIN   1006
#define IDC_MSG_SUPERDND         1007

#define IDS_FAV_DISPTYPE         (IDD_SETTAB3 * 16)

#endif /* VA_DIALOGS_PAGES_SIMPLEPAGESRES_H */
