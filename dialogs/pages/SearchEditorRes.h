/* Resource ids of the search-engine list editor and its entry dialog. */
#ifndef VA_DIALOGS_PAGES_SEARCHEDITORRES_H
#define VA_DIALOGS_PAGES_SEARCHEDITORRES_H

#define IDD_SEARCHEDIT              1006
#define IDD_SEARCHENGINE            1007

/* The list editor. */
#define IDC_SEARCHEDIT_NEWITEM      1006
#define IDC_SEARCHEDIT_DELETE       1007
#define IDC_SEARCHEDIT_EDITOR       1008
#define IDC_SEARCHEDIT_EDIT         1009
#define IDC_SEARCHEDIT_NEWFOLDER    1010
#define IDC_SEARCHEDIT_TREE         1234

/* The entry dialog. */
#define IDC_ENGINE_TITLE            1007
#define IDC_ENGINE_URL              1008
#define IDC_ENGINE_DEFAULT          1009
#define IDC_ENGINE_ICONPATH         1010
#define IDC_ENGINE_ADDTOOL          1011
#define IDC_ENGINE_UP               1012
#define IDC_ENGINE_RIGHT            1013
#define IDC_ENGINE_DOWN             1014
#define IDC_ENGINE_LEFT             1015
#define IDC_ENGINE_BROWSE           1032
#define IDC_ENGINE_ICON             1276

#endif /* VA_DIALOGS_PAGES_SEARCHEDITORRES_H */
