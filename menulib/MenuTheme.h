// Menu draw modes: the registry, the colour helpers and the painters.
//
// Classes in this file:
//   CMenuTheme          one draw mode: measurer, item and title painters, and
//                       the popup-window operations of the menu hook
//   CMenuThemeFlat      the flat look (its own frame and background)
//   CMenuThemeGradient  the gradient look
//   CNewMenuHook        the library's set-up object: modes and, for the
//                       dialogs library, the popup-menu hook
//
// Mode numbers: 0 classic own frame, 1 classic system frame, 2 flat own frame,
// 3 flat system frame, 4 gradient own frame, 5 gradient system frame.
#ifndef VA_MENULIB_MENUTHEME_H
#define VA_MENULIB_MENUTHEME_H

#include "framework/win/WinDefs.h"

class CNewMenu;
struct MenuPopupRecord;

typedef void (*MenuMeasureFn)(CNewMenu* pMenu, LPMEASUREITEMSTRUCT lpMis, BOOL bMenuBar);
typedef void (*MenuDrawFn)(CNewMenu* pMenu, LPDRAWITEMSTRUCT lpDis, BOOL bMenuBar);

//--- CMenuTheme
class CMenuTheme
{
public:
    CMenuTheme(int nMode, int nOwnFrame, MenuMeasureFn pfnMeasure, MenuDrawFn pfnDraw,
               MenuDrawFn pfnTitle);
    virtual ~CMenuTheme() = default;
    CMenuTheme(const CMenuTheme&) = delete;
    CMenuTheme& operator=(const CMenuTheme&) = delete;

    // Popup-window operations (see MenuHook.cpp); modes without their own
    // frame answer FALSE and change nothing.
    virtual void OnSubclass(HWND hWnd);
    virtual void OnUnsubclass(HWND hWnd);
    virtual BOOL HasOwnFrame() const { return (m_nOwnFrame & 1) != 0; }
    virtual BOOL PaintFrame(HWND hWnd, HDC hDC);
    virtual BOOL EraseBackground(HWND hWnd, HDC hDC);
    virtual BOOL CalcFrameSize(HWND hWnd, LPRECT lpRect);
    virtual BOOL AdjustWindowPos(HWND hWnd, WINDOWPOS* lpPos);

    int m_nMode;
    int m_nOwnFrame;
    MenuMeasureFn m_pfnMeasure;
    MenuDrawFn m_pfnDraw;
    MenuDrawFn m_pfnTitle;
    int m_nLeftMargin = 2;
    int m_nTopMargin = 2;
    int m_nRightMargin;
    int m_nBottomMargin;

protected:
    // The inner fill, frame and shadow every own-frame look shares.
    BOOL PaintFrameWith(HWND hWnd, HDC hDC, COLORREF crInner, COLORREF crFrame, BOOL bJoin);
    BOOL EraseWith(HWND hWnd, HDC hDC, COLORREF crBack);
};

//--- CMenuThemeFlat
class CMenuThemeFlat : public CMenuTheme
{
public:
    using CMenuTheme::CMenuTheme;
    BOOL PaintFrame(HWND hWnd, HDC hDC) override;
    BOOL EraseBackground(HWND hWnd, HDC hDC) override;
};

//--- CMenuThemeGradient
class CMenuThemeGradient : public CMenuTheme
{
public:
    using CMenuTheme::CMenuTheme;
    BOOL PaintFrame(HWND hWnd, HDC hDC) override;
    BOOL EraseBackground(HWND hWnd, HDC hDC) override;
};

//--- Registry
BOOL RegisterMenuDrawMode(CMenuTheme* pMode);
CMenuTheme* FindMenuDrawMode(int nMode);
CMenuTheme* GetCurrentMenuDrawMode();
// Makes a registered mode current; an unknown number changes nothing (null).
CMenuTheme* SetCurrentMenuDrawMode(int nMode);
// Takes every mode off the list and deletes it.
void UnregisterAllMenuDrawModes();

//--- Colours
COLORREF GetMenuBackColor();
BOOL IsSystemMenuShadow();
COLORREF DarkenColor(int nAmount, COLORREF cr);
COLORREF MixColors86(COLORREF a, COLORREF b);
COLORREF MixColors70(COLORREF a, COLORREF b);
COLORREF ShadeMenuColor(COLORREF cr);
void FillGradient(HDC hDC, const RECT& rc, COLORREF crFrom, COLORREF crTo, BOOL bHorizontal);
// GradientFill of msimg32 (looked up at the first gradient), or null for the
// band fallback; a test sets it to choose.
typedef BOOL (WINAPI* GradientFillFn)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
void SetGradientFillFunction(GradientFillFn pfn);

//--- Measurers and painters
void MeasureItemClassic(CNewMenu* pMenu, LPMEASUREITEMSTRUCT lpMis, BOOL bMenuBar);
void MeasureItemFlat(CNewMenu* pMenu, LPMEASUREITEMSTRUCT lpMis, BOOL bMenuBar);
void MeasureItemGradient(CNewMenu* pMenu, LPMEASUREITEMSTRUCT lpMis, BOOL bMenuBar);
void DrawItemClassic(CNewMenu* pMenu, LPDRAWITEMSTRUCT lpDis, BOOL bMenuBar);
void DrawItemFlat(CNewMenu* pMenu, LPDRAWITEMSTRUCT lpDis, BOOL bMenuBar);
void DrawItemGradient(CNewMenu* pMenu, LPDRAWITEMSTRUCT lpDis, BOOL bMenuBar);
void DrawMenuTitle(CNewMenu* pMenu, LPDRAWITEMSTRUCT lpDis, BOOL bMenuBar);

//--- CNewMenuHook
// Which module this copy of the library is built into.
enum class MenuLibBuild
{
    DialogsLibrary,  // six modes, mode 2 current, the popup-menu hook
    MainProgram,     // mode 0 only, no hook
};

class CNewMenuHook
{
public:
    explicit CNewMenuHook(MenuLibBuild build);
    ~CNewMenuHook();
    CNewMenuHook(const CNewMenuHook&) = delete;
    CNewMenuHook& operator=(const CNewMenuHook&) = delete;

    // FALSE when the hook could not be installed (the library then runs
    // without it) or was not asked for.
    BOOL IsHookInstalled() const;
};

// The build set by the live CNewMenuHook (DialogsLibrary when none).
MenuLibBuild GetMenuLibBuild();

#endif // VA_MENULIB_MENUTHEME_H
