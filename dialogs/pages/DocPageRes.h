/* Resource ids of the document window page. */
#ifndef VA_DIALOGS_PAGES_DOCPAGERES_H
#define VA_DIALOGS_PAGES_DOCPAGERES_H

#define IDD_SETTAB2              208
#define IDC_DOC_ENABLE           1001
#define IDC_DOC_NEWTAB           1002
#define IDC_DOC_NOACTIVATE       1003
#define IDC_DOC_LIMIT            1004
#define IDC_DOC_LIMITCNT         1005
#define IDC_DOC_LIMITSPIN        1006
#define IDC_DOC_APPENDTOP        1007
#define IDC_DOC_HISTORY          1008
#define IDC_DOC_SHOWLIST         1009
#define IDC_DOC_AUTOHIDE         1010
#define IDC_DOC_HIDECLICK        1011
#define IDC_DOC_DELAYLABEL       1012
#define IDC_DOC_DELAY            1013
#define IDC_DOC_DELAYSPIN        1014
#define IDC_DOC_DELAYUNIT        1015
#define IDC_DOC_WIDTHLABEL       1016
#define IDC_DOC_WIDTH            1017
#define IDC_DOC_WIDTHSPIN        1018
#define IDC_DOC_WIDTHUNIT        1019
#define IDC_DOC_HIDEBAR          1020
#define IDC_DOC_RIGHTLABEL       1021
#define IDC_DOC_RIGHT            1022
#define IDC_DOC_DBLCLKLABEL      1023
#define IDC_DOC_DBLCLK           1024
#define IDC_DOC_DETAILS          1025
/* The seven detail columns, bits 0x1 to 0x40 of wDocListViewState. */
#define IDC_DOC_COLUMN_FIRST     1026

/* The five mouse actions of both lists. */
#define IDS_DOC_MOUSE            3328

#endif /* VA_DIALOGS_PAGES_DOCPAGERES_H */
