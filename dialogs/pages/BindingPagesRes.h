/* Resource ids of the key page and the mouse page. */
#ifndef VA_DIALOGS_PAGES_BINDINGPAGESRES_H
#define VA_DIALOGS_PAGES_BINDINGPAGESRES_H

#define IDD_SETTAB6              216
#define IDD_SETTAB13             247
#define IDC_BINDING_LIST         1003
#define IDC_BINDING_NEW          1231
#define IDC_BINDING_DELETE       1232
#define IDC_BINDING_EXPORT       1233
#define IDC_MOUSE_SENSE          1145
#define IDC_MOUSE_INTERVAL       1146
#define IDC_MOUSE_GESTURE        1147
#define IDC_MOUSE_GESTUREMENU    1148
#define IDC_MOUSE_RL             1149
#define IDC_MOUSE_LR             1151
#define IDC_MOUSE_SENSESPIN      1158
#define IDC_MOUSE_INTERVALSPIN   1159
#define IDC_MOUSE_DC             1160
#define IDS_MOUSE_ACTION         (IDD_SETTAB6 * 16)

#endif /* VA_DIALOGS_PAGES_BINDINGPAGESRES_H */
