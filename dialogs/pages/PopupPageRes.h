/* Resource ids of the popup-block rules page and the rule dialog. */
#ifndef VA_DIALOGS_PAGES_POPUPPAGERES_H
#define VA_DIALOGS_PAGES_POPUPPAGERES_H

#define IDD_POP                  146
#define IDD_ADDPOPUP             147
#define IDC_POP_LIST             1003
#define IDC_POP_ADDACTIVE        1029
#define IDC_POP_DELETE           1030
#define IDC_POP_NEW              1031
#define IDC_POP_UP               1033
#define IDC_POP_DOWN             1035
#define IDC_POP_TITLE            1037
#define IDC_POP_URL              1039
#define IDC_POP_TITLEON          1041
#define IDC_POP_TITLEREGEX       1042
#define IDC_POP_URLON            1043
#define IDC_POP_URLREGEX         1044
#define IDC_POP_ENABLE           1256

#endif /* VA_DIALOGS_PAGES_POPUPPAGERES_H */
