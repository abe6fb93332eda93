/* Resource ids of the plug-in and script list pages (one template). */
#ifndef VA_DIALOGS_PAGES_PLUGINPAGERES_H
#define VA_DIALOGS_PAGES_PLUGINPAGERES_H

#define IDD_SETTAB12             196
#define IDC_PLG_LIST             1003
#define IDC_PLG_UP               1033
#define IDC_PLG_DOWN             1035
#define IDC_PLG_ENABLE           1205
#define IDC_PLG_ACTIVATE         1206
#define IDC_PLG_REGISTER         1209
#define IDC_PLG_DELETE           1211

#endif /* VA_DIALOGS_PAGES_PLUGINPAGERES_H */
