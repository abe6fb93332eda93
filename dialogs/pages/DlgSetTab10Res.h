/* Resource ids of the tab operations page. */
#ifndef VA_DIALOGS_PAGES_DLGSETTAB10RES_H
#define VA_DIALOGS_PAGES_DLGSETTAB10RES_H

#define IDD_SETTAB10             228
#define IDC_TABOP_APPENDPOS      1001
#define IDC_TABOP_CLOSEPOS       1002
#define IDC_TABOP_CTRLN          1003
#define IDC_TABOP_CTRLF          1004
#define IDC_TABOP_CONTEXT        1005
#define IDC_TABOP_INHERIT        1006
#define IDC_TABOP_INHERITDL      1007
#define IDC_TABOP_DOMAINLOCK     1008
#define IDC_TABOP_WHEELLOCK      1009
#define IDC_TABOP_LINKLOCK       1010
#define IDC_TABOP_EDITOR         1011
#define IDC_TABOP_BROWSE         1032

/* The items of the five lists, in their order. */
#define IDS_TABOP_APPENDPOS      (IDD_SETTAB10 * 16)
#define IDS_TABOP_CLOSEPOS       (IDS_TABOP_APPENDPOS + 6)
#define IDS_TABOP_CTRLN          (IDS_TABOP_CLOSEPOS + 5)
#define IDS_TABOP_CTRLF          (IDS_TABOP_CTRLN + 4)
#define IDS_TABOP_CONTEXT        (IDS_TABOP_CTRLF + 3)

#endif /* VA_DIALOGS_PAGES_DLGSETTAB10RES_H */
