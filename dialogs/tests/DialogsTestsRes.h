/* Resource ids of the dialogs library's tests. */
#ifndef VA_DIALOGS_TESTS_DIALOGSTESTSRES_H
#define VA_DIALOGS_TESTS_DIALOGSTESTSRES_H

#define IDD_TESTPAGE        9000
#define IDC_TESTPAGE_EDIT   9001
#define IDC_TESTPAGE_COMBO  9002
#define IDC_TESTPAGE_BOX    9003

/* A page with a field of every kind. */
#define IDD_TESTFIELDS      9100
#define IDC_FIELDS_CHECK    9101
#define IDC_FIELDS_INVERTED 9102
#define IDC_FIELDS_BIT1     9103
#define IDC_FIELDS_BIT2     9104
#define IDC_FIELDS_HIDDEN   9105
#define IDC_FIELDS_LIST     9106
#define IDC_FIELDS_RADIO0   9107
#define IDC_FIELDS_RADIO1   9108
#define IDC_FIELDS_RADIO2   9109
#define IDC_FIELDS_NUMBER   9110
#define IDC_FIELDS_SPIN     9111
#define IDC_FIELDS_TEXT     9112

#endif
