/* Resource ids of the menu library's tests. */
#ifndef VA_MENULIB_TESTS_MENUTESTSRES_H
#define VA_MENULIB_TESTS_MENUTESTSRES_H

#define IDR_TESTMENU        200  /* a menu bar: File (with a submenu), Edit */
#define IDR_TESTFRAME       201  /* a frame's menu and title */
#define IDR_NOMENU          202  /* a title without a menu */
#define IDD_TESTDIALOG      203
#define IDR_TESTTOOLBAR     204  /* a toolbar resource */

#define ID_TEST_OPEN        1001
#define ID_TEST_SAVE        1002
#define ID_TEST_DEEP        1003
#define ID_TEST_CUT         1004
#define ID_TEST_COPY        1005
#define ID_TEST_PASTE       1006

#endif
