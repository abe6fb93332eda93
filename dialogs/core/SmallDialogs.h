// The small dialogs the exports run.
//
// Classes in this file:
//   CDlgOpenLocation       a URL or path to open (ShowOpenDlg)
//   CDlgKeywordHighlight   a keyword to highlight or search (ShowPFindDlg)
//   CDlgWindowSize         a window width and height (ShowDlgWide)
//   CDlgPosted             the modeless, resizable window of a long text
//   CToolTipCtrlEx         a tool tip that reports its background erased
#ifndef VA_DIALOGS_CORE_SMALLDIALOGS_H
#define VA_DIALOGS_CORE_SMALLDIALOGS_H

#include "dialogs/core/AnchorLayout.h"
#include "framework/dialog/Dialog.h"
#include "framework/win/ToolTipCtrl.h"

//--- CDlgOpenLocation
class CDlgOpenLocation : public CDialog
{
public:
    CDlgOpenLocation();

    // 1: the title is line 47 of "etc.dat"; else the template's.
    int m_nTitleMode = 0;
    // In: the initial text; out: the entered text on OK, else the initial
    // text or a browsed path.
    CString m_text;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    DECLARE_MESSAGE_MAP()
    void OnPaint();
    void OnBrowse();

private:
    int m_bCaretToEnd = 1;
};

//--- CDlgKeywordHighlight
class CDlgKeywordHighlight : public CDialog
{
public:
    CDlgKeywordHighlight();

    CString m_keyword;
    // The clear button ended the dialog (with IDOK and no keyword).
    BYTE m_bCleared = 0;
    int m_nReserved = 0;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    DECLARE_MESSAGE_MAP()
    void OnClear();
};

//--- CDlgWindowSize
class CDlgWindowSize : public CDialog
{
public:
    static constexpr int kMinSize = 1;
    static constexpr int kMaxSize = 5000;

    CDlgWindowSize();

    // In: the rectangle; out on OK: right = left + width, bottom = top + height.
    RECT m_rect = {};

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    // The edit's signed number when it lies in the range; else reports the
    // range, focuses the edit and gives false.
    bool ReadSize(int nID, int& value);
};

//--- CDlgPosted
class CDlgPosted : public CDialog
{
public:
    explicit CDlgPosted(LPCSTR text);

    // The modeless window, visible, without owner.
    BOOL Create();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    DECLARE_MESSAGE_MAP()
    void OnSize(UINT nType, int cx, int cy);
    void OnShowWindow(BOOL bShow, UINT nStatus);

private:
    CAnchorLayout m_layout;
    CString m_text;
};

//--- CToolTipCtrlEx
class CToolTipCtrlEx : public CToolTipCtrl
{
    DECLARE_DYNAMIC(CToolTipCtrlEx)

protected:
    DECLARE_MESSAGE_MAP()
    BOOL OnEraseBkgnd(HDC hdc);
};

// Switches the shell's URL auto-completion on for an edit (history, typed
// URLs, Tab completion), through "shlwapi.dll" looked up at run time;
// without it nothing happens.
void EnableUrlAutoComplete(HWND hEdit);

// Sets the application's icon as the window's big and small icon.
void SetLibraryIcons(CWnd* pWnd);

#endif // VA_DIALOGS_CORE_SMALLDIALOGS_H
