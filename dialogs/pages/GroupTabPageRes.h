/* Resource ids of the group-tab list page and the group-tab dialogs. */
#ifndef VA_DIALOGS_PAGES_GROUPTABPAGERES_H
#define VA_DIALOGS_PAGES_GROUPTABPAGERES_H

#define IDD_PTABSC               259
#define IDD_PTABRENAME           260
#define IDD_PTABCUSTOM           262
#define IDC_PTAB_LIST            1003
#define IDC_PTAB_ADDCURRENT      1029
#define IDC_PTAB_DELETE          1030
#define IDC_PTAB_NEW             1031
#define IDC_PTAB_UP              1033
#define IDC_PTAB_DOWN            1035
#define IDC_PTAB_HELP            1036
#define IDC_PTAB_NAME            1039
#define IDC_PTAB_CHANGEIMAGE     1032
#define IDC_PTAB_IMAGES          1185
#define IDC_PTAB_VIDEOS          1189
#define IDC_PTAB_SOUNDS          1187
#define IDC_PTAB_SCRIPTS         1190
#define IDC_PTAB_FLASH           1192
#define IDC_PTAB_JAVA            1193
#define IDC_PTAB_ACTIVEX         1194
#define IDC_PTAB_ACTIVEXDL       1195
#define IDC_PTAB_NOCACHE         1197
#define IDC_PTAB_SILENT          1198
#define IDC_PTAB_PREVIEW         1266
#define ID_PTAB_IMAGE_FIRST      36500

#endif /* VA_DIALOGS_PAGES_GROUPTABPAGERES_H */
