// Whether the visible controls of a dialog keep out of each other's way: two
// controls overlap unless one is a frame (a group box or a frame static)
// that holds the other whole, or an up-down control on its buddy.
#ifndef VA_TESTS_LAYOUT_CONTROLOVERLAP_H
#define VA_TESTS_LAYOUT_CONTROLOVERLAP_H

#include <windows.h>

#include <utility>
#include <vector>

// The ids of each pair of hDlg's visible controls that overlap.
std::vector<std::pair<int, int>> FindOverlappingControls(HWND hDlg);

// The ids of hDlg's visible controls that reach past its client area.
std::vector<int> FindControlsOutside(HWND hDlg);

#endif // VA_TESTS_LAYOUT_CONTROLOVERLAP_H
