/* Resource ids of the start-up URL page and its entry dialog. */
#ifndef VA_DIALOGS_PAGES_STARTUPPAGERES_H
#define VA_DIALOGS_PAGES_STARTUPPAGERES_H

#define IDD_SETTAB7              218
#define IDD_STARTUPADD           220
#define IDC_START_LIST           1003
#define IDC_START_ADDACTIVE      1029
#define IDC_START_DELETE         1030
#define IDC_START_NEW            1031
#define IDC_START_UP             1033
#define IDC_START_DOWN           1035
#define IDC_START_URL            1039
#define IDC_START_ENABLED        1040

#endif /* VA_DIALOGS_PAGES_STARTUPPAGERES_H */
