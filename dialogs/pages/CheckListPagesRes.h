/* Resource ids of the two check-list pages: the new group tab triggers and
   the full-screen items. */
#ifndef VA_DIALOGS_PAGES_CHECKLISTPAGESRES_H
#define VA_DIALOGS_PAGES_CHECKLISTPAGESRES_H

#define IDD_SETTAB14             255
#define IDD_SETTAB16             257
#define IDC_CHECKLIST_LIST       1001
#define IDC_CHECKLIST_ALL        1002
#define IDC_CHECKLIST_NONE       1003

#endif /* VA_DIALOGS_PAGES_CHECKLISTPAGESRES_H */
