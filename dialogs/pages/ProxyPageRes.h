/* Resource ids of the proxy page and its two dialogs. */
#ifndef VA_DIALOGS_PAGES_PROXYPAGERES_H
#define VA_DIALOGS_PAGES_PROXYPAGERES_H

#define IDD_PROXYBATCH           194
#define IDD_SETTAB8              222
#define IDD_PROXYENTRY           224
#define IDC_PROXY_BATCHTEXT      213
#define IDC_PROXY_LIST           1003
#define IDC_PROXY_UP             1033
#define IDC_PROXY_DOWN           1035
#define IDC_PROXY_TEXT           1039
#define IDC_PROXY_NEW            1162
#define IDC_PROXY_DELETE         1163
#define IDC_PROXY_BATCH          1165

#endif /* VA_DIALOGS_PAGES_PROXYPAGERES_H */
