/* Resource ids of the dialogs library's tests. */
#ifndef VA_DIALOGS_TESTS_DIALOGSTESTSRES_H
#define VA_DIALOGS_TESTS_DIALOGSTESTSRES_H

#define IDD_TESTPAGE      9000
#define IDC_TESTPAGE_EDIT 9001

#endif
