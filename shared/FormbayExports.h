// The dialogs library's exports as the main program calls them: one type a
// function, found by its undecorated name in "Formbay.dll". The library
// checks its own definitions against these types, so a caller and the
// library cannot disagree about an argument.
#ifndef VA_SHARED_FORMBAYEXPORTS_H
#define VA_SHARED_FORMBAYEXPORTS_H

#include <windows.h>

class CTabGroup;
class SettingsRecord;

namespace FormbayExports {

// ShowSettingDlg and the five single-page settings exports.
using ShowSettingDlgFn = SettingsRecord*(WINAPI*)(HICON icon, HWND mainWnd, const char* productName,
                                                  const char* dataFolder, SettingsRecord* settings,
                                                  int* dlgResult);
using ShowOpenDlgFn = const char*(WINAPI*)(int titleMode, const char* initialText, int* dlgResult);
using ShowPFindDlgFn = const char*(WINAPI*)(HICON icon, int* reserved, int* cleared, int* dlgResult);
using ShowPtabCustomFn = const char*(WINAPI*)(HICON icon, CTabGroup* group, int* dlgResult);
using ShowPtabRenameFn = const char*(WINAPI*)(HICON icon, const CTabGroup* group, int* dlgResult);
using ShowAboutDlgFn = int(WINAPI*)(HICON icon, HWND mainWnd, const char* dataFolder, const char* text1,
                                    const char* text2, const char* text3, int debugTrace);
using ShowDlgWideFn = int(WINAPI*)(HICON icon, RECT* rect);
using ShowPostedDlgFn = void(WINAPI*)(HICON icon, const char* extraText, const char* bodyText);
using ShowAddPopupFn = int(WINAPI*)(HWND mainWnd, const char* dataFolder);
using StartupAddDlgFn = void(WINAPI*)(HWND mainWnd, const char* productName, const char* dataFolder,
                                      const char* url);

} // namespace FormbayExports

#endif // VA_SHARED_FORMBAYEXPORTS_H
