/* Resource ids of the file associations page. */
#ifndef VA_DIALOGS_PAGES_ASSOCPAGERES_H
#define VA_DIALOGS_PAGES_ASSOCPAGERES_H

#define IDD_SETTAB11             190
/* The eight type checks, in the page's order. */
#define IDC_ASSOC_FIRST          1001
#define IDC_ASSOC_CHECKALL       1011
#define IDC_ASSOC_UNCHECKALL     1012
#define IDC_ASSOC_NOTE           1013
#define IDC_ASSOC_UNINSTALL      1014

#endif /* VA_DIALOGS_PAGES_ASSOCPAGERES_H */
