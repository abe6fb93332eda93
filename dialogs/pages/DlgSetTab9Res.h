/* Resource ids of the page defaults page. */
#ifndef VA_DIALOGS_PAGES_DLGSETTAB9RES_H
#define VA_DIALOGS_PAGES_DLGSETTAB9RES_H

#define IDD_SETTAB9              226
#define IDC_DEF_LIGHTREFRESH     1001
#define IDC_DEF_STATUSSHOW       1002
#define IDC_DEF_MEDIAGROUP       1003
#define IDC_DEF_IMAGES           1004
#define IDC_DEF_SOUNDS           1005
#define IDC_DEF_VIDEOS           1006
#define IDC_DEF_FLASH            1007
#define IDC_DEF_SECURITYGROUP    1008
#define IDC_DEF_SCRIPTS          1009
#define IDC_DEF_JAVA             1010
#define IDC_DEF_ACTIVEX          1011
#define IDC_DEF_ACTIVEXDL        1012
#define IDC_DEF_OTHERGROUP       1013
#define IDC_DEF_NOCACHE          1014
#define IDC_DEF_SILENT           1015
#define IDC_DEF_EXITGROUP        1016
#define IDC_DEF_DELCACHE         1017
#define IDC_DEF_DELCOOKIE        1018
#define IDC_DEF_DELHISTORY       1019
#define IDC_DEF_RECOMPFAV        1020
#define IDC_DEF_RECOMPFAVALL     1021
#define IDC_DEF_RECOMPIEHISTORY  1022
#define IDC_DEF_AGENTGROUP       1023
#define IDC_DEF_AGENT            1024
#define IDC_DEF_AGENTNOTE        1025
#define IDC_DEF_AGENTRESET       1233

#endif /* VA_DIALOGS_PAGES_DLGSETTAB9RES_H */
