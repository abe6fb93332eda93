// Draw modes: the registry, the colour helpers, gradients and the set-up
// object.
#include "menulib/MenuTheme.h"

#include <algorithm>
#include <vector>

#include "menulib/MenuHook.h"
#include "menulib/NewMenu.h"

namespace {

std::vector<CMenuTheme*>* g_pModes = nullptr;
CMenuTheme* g_pCurrentMode = nullptr;
GradientFillFn g_pfnGradientFill = nullptr;
bool g_gradientFillLookedUp = false;
MenuLibBuild g_build = MenuLibBuild::DialogsLibrary;

int ScaleChannel(int nFrom, int nTo, int n, int nExtent)
{
    return nFrom + ::MulDiv(nTo - nFrom, n, nExtent);
}

// GradientFill of msimg32 for the dialogs library's copy (the main
// program's draws bands), looked up when a gradient is first drawn: never
// while a module loads (under the loader lock), where loading another
// module is unsafe. Once loaded, msimg32 stays with the process, so a
// library loaded for each call finds it again without loading it anew.
GradientFillFn GetGradientFill()
{
    if (!g_gradientFillLookedUp)
    {
        g_gradientFillLookedUp = true;
        if (g_build != MenuLibBuild::DialogsLibrary)
            return nullptr;
        HMODULE hMsimg32 = ::GetModuleHandleA("Msimg32.dll");
        if (hMsimg32 == nullptr)
            hMsimg32 = ::LoadLibraryA("Msimg32.dll");
        if (hMsimg32 != nullptr)
            g_pfnGradientFill = reinterpret_cast<GradientFillFn>(
                reinterpret_cast<void*>(::GetProcAddress(hMsimg32, "GradientFill")));
    }
    return g_pfnGradientFill;
}

} // namespace

//--- CMenuTheme

CMenuTheme::CMenuTheme(int nMode, int nOwnFrame, MenuMeasureFn pfnMeasure, MenuDrawFn pfnDraw,
                       MenuDrawFn pfnTitle)
    : m_nMode(nMode), m_nOwnFrame(nOwnFrame), m_pfnMeasure(pfnMeasure), m_pfnDraw(pfnDraw),
      m_pfnTitle(pfnTitle)
{
    BOOL bShadow = IsSystemMenuShadow();
    m_nRightMargin = bShadow ? 2 : 5;
    m_nBottomMargin = bShadow ? 2 : 6;
}

//--- Registry

BOOL RegisterMenuDrawMode(CMenuTheme* pMode)
{
    if (pMode == nullptr)
        return FALSE;
    if (g_pModes == nullptr)
        g_pModes = new std::vector<CMenuTheme*>;
    if (std::find(g_pModes->begin(), g_pModes->end(), pMode) != g_pModes->end())
        return FALSE;
    g_pModes->push_back(pMode);
    return TRUE;
}

CMenuTheme* FindMenuDrawMode(int nMode)
{
    if (g_pModes == nullptr)
        return nullptr;
    for (CMenuTheme* pMode : *g_pModes)
        if (pMode->m_nMode == nMode)
            return pMode;
    return nullptr;
}

CMenuTheme* GetCurrentMenuDrawMode()
{
    return g_pCurrentMode;
}

CMenuTheme* SetCurrentMenuDrawMode(int nMode)
{
    CMenuTheme* pMode = FindMenuDrawMode(nMode);
    if (pMode != nullptr)
        g_pCurrentMode = pMode;
    return pMode;
}

void UnregisterAllMenuDrawModes()
{
    g_pCurrentMode = nullptr;
    if (g_pModes == nullptr)
        return;
    for (CMenuTheme* pMode : *g_pModes)
        delete pMode;
    delete g_pModes;
    g_pModes = nullptr;
}

//--- Colours

COLORREF GetMenuBackColor()
{
    BOOL bFlat = FALSE;
    if (!::SystemParametersInfoA(SPI_GETFLATMENU, 0, &bFlat, 0))
        bFlat = FALSE;
    // The main program's copy takes the menu-bar colour only on systems whose
    // flat menus use it.
    if (bFlat && g_build == MenuLibBuild::MainProgram)
    {
        int nClass = GetWindowsVersionClass();
        bFlat = nClass >= 7 && nClass <= 9;
    }
    return ::GetSysColor(bFlat ? COLOR_MENUBAR : COLOR_MENU);
}

BOOL IsSystemMenuShadow()
{
    BOOL bShadow = FALSE;
    if (!::SystemParametersInfoA(SPI_GETDROPSHADOW, 0, &bShadow, 0))
        return FALSE;
    return bShadow != FALSE;
}

COLORREF DarkenColor(int nAmount, COLORREF cr)
{
    int nKeep = 255 - nAmount;
    return RGB(::MulDiv(GetRValue(cr), nKeep, 255), ::MulDiv(GetGValue(cr), nKeep, 255),
               ::MulDiv(GetBValue(cr), nKeep, 255));
}

namespace {

COLORREF Mix(COLORREF a, COLORREF b, int nPercentA)
{
    int nPercentB = 100 - nPercentA;
    return RGB(::MulDiv(GetRValue(a), nPercentA, 100) + ::MulDiv(GetRValue(b), nPercentB, 100),
               ::MulDiv(GetGValue(a), nPercentA, 100) + ::MulDiv(GetGValue(b), nPercentB, 100),
               ::MulDiv(GetBValue(a), nPercentA, 100) + ::MulDiv(GetBValue(b), nPercentB, 100));
}

} // namespace

COLORREF MixColors86(COLORREF a, COLORREF b)
{
    return Mix(a, b, 86);
}

COLORREF MixColors70(COLORREF a, COLORREF b)
{
    return Mix(a, b, 70);
}

COLORREF ShadeMenuColor(COLORREF cr)
{
    // The blue channel may pass 255 before scaling; the result stays below.
    return RGB(::MulDiv(GetRValue(cr), 7, 10), ::MulDiv(GetGValue(cr), 7, 10),
               ::MulDiv(GetBValue(cr) + 55, 7, 10));
}

void SetGradientFillFunction(GradientFillFn pfn)
{
    g_pfnGradientFill = pfn;
    g_gradientFillLookedUp = true;
}

void FillGradient(HDC hDC, const RECT& rc, COLORREF crFrom, COLORREF crTo, BOOL bHorizontal)
{
    const GradientFillFn pfnGradientFill = GetGradientFill();
    if (pfnGradientFill != nullptr)
    {
        TRIVERTEX vertices[2] = {};
        vertices[0].x = rc.left;
        vertices[0].y = rc.top;
        vertices[0].Red = static_cast<COLOR16>(GetRValue(crFrom) << 8);
        vertices[0].Green = static_cast<COLOR16>(GetGValue(crFrom) << 8);
        vertices[0].Blue = static_cast<COLOR16>(GetBValue(crFrom) << 8);
        vertices[1].x = rc.right;
        vertices[1].y = rc.bottom;
        vertices[1].Red = static_cast<COLOR16>(GetRValue(crTo) << 8);
        vertices[1].Green = static_cast<COLOR16>(GetGValue(crTo) << 8);
        vertices[1].Blue = static_cast<COLOR16>(GetBValue(crTo) << 8);
        GRADIENT_RECT rect = { 0, 1 };
        pfnGradientFill(hDC, vertices, 2, &rect, 1, bHorizontal ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
        return;
    }
    // Bands of 4 pixels over a fill with the end colour.
    HBRUSH hEnd = ::CreateSolidBrush(crTo);
    ::FillRect(hDC, &rc, hEnd);
    ::DeleteObject(hEnd);
    int nExtent = (bHorizontal ? rc.right - rc.left : rc.bottom - rc.top) - 4;
    if (nExtent <= 0)
        return;  // also no division by an empty extent
    for (int n = 0; n <= nExtent; n += 4)
    {
        COLORREF cr = RGB(ScaleChannel(GetRValue(crFrom), GetRValue(crTo), n, nExtent),
                          ScaleChannel(GetGValue(crFrom), GetGValue(crTo), n, nExtent),
                          ScaleChannel(GetBValue(crFrom), GetBValue(crTo), n, nExtent));
        RECT band = rc;
        if (bHorizontal)
        {
            band.left = rc.left + n;
            band.right = band.left + 4;
        }
        else
        {
            band.top = rc.top + n;
            band.bottom = band.top + 4;
        }
        HBRUSH hBrush = ::CreateSolidBrush(cr);
        ::FillRect(hDC, &band, hBrush);
        ::DeleteObject(hBrush);
    }
}

//--- The set-up object

MenuLibBuild GetMenuLibBuild()
{
    return g_build;
}

// Made when the module that holds this copy of the library loads, gone when
// it unloads. Nothing here may throw: a failure leaves a feature out (no
// GradientFill, no hook) instead of failing the module's load.
CNewMenuHook::CNewMenuHook(MenuLibBuild build)
{
    g_build = build;
    try
    {
        if (build == MenuLibBuild::MainProgram)
        {
            RegisterMenuDrawMode(new CMenuTheme(0, 1, MeasureItemClassic, DrawItemClassic, DrawMenuTitle));
            SetCurrentMenuDrawMode(0);
            return;
        }
        for (int nMode = 0; nMode < 6; ++nMode)
        {
            int nOwnFrame = (nMode % 2 == 0) ? 1 : 0;
            CMenuTheme* pMode = nullptr;
            if (nMode < 2)
                pMode = new CMenuTheme(nMode, nOwnFrame, MeasureItemClassic, DrawItemClassic, DrawMenuTitle);
            else if (nMode < 4)
                pMode = new CMenuThemeFlat(nMode, nOwnFrame, MeasureItemFlat, DrawItemFlat, DrawMenuTitle);
            else
                pMode = new CMenuThemeGradient(nMode, nOwnFrame, MeasureItemGradient, DrawItemGradient,
                                               DrawMenuTitle);
            RegisterMenuDrawMode(pMode);
        }
        SetCurrentMenuDrawMode(2);
        InstallMenuHook();
    }
    catch (...)
    {
        // Out of memory while registering: the modes made so far stay usable.
    }
}

CNewMenuHook::~CNewMenuHook()
{
    RemoveMenuHook();
    UnregisterAllMenuDrawModes();
    // Looked up again by the next set-up's first gradient.
    g_pfnGradientFill = nullptr;
    g_gradientFillLookedUp = false;
}

BOOL CNewMenuHook::IsHookInstalled() const
{
    return IsMenuHookInstalled();
}
