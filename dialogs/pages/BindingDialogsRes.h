/* Resource ids of the key and gesture dialogs. */
#ifndef VA_DIALOGS_PAGES_BINDINGDIALOGSRES_H
#define VA_DIALOGS_PAGES_BINDINGDIALOGSRES_H

#define IDD_GESTURESETTING       245
#define IDD_KEYCUSTOM            248
#define IDC_BIND_CLEAR           1032
#define IDC_BIND_LEFT            1225
#define IDC_BIND_UP              1226
#define IDC_BIND_RIGHT           1227
#define IDC_BIND_DOWN            1228
#define IDC_BIND_BACKSPACE       1229
#define IDC_BIND_GESTURE         1230
#define IDC_BIND_COMMAND         1231
#define IDC_BIND_RESET           1233
#define IDC_BIND_TREE            1234
#define IDC_BIND_CONTINUOUS      1235
#define IDC_BIND_PAD             1236
#define IDC_BIND_KEY             1250

#endif /* VA_DIALOGS_PAGES_BINDINGDIALOGSRES_H */
