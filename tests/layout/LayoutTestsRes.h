// Resource ids of the layout tests' own template.
#ifndef VA_TESTS_LAYOUT_LAYOUTTESTSRES_H
#define VA_TESTS_LAYOUT_LAYOUTTESTSRES_H

#define IDD_LAYOUTPAGE            9500
#define IDC_FIT_MISSINGCLASS      9501
#define IDC_FIT_PLACEHOLDER       9502
#define IDC_FIT_FIRSTROW          9510

#endif // VA_TESTS_LAYOUT_LAYOUTTESTSRES_H
