// The about box and its link.
//
// Classes in this file:
//   CLinkLabel   a clickable link: opens its URL in a new tab of the main
//                window and closes its dialog
//   CDlgAbout    the three version texts, the link, and a copyable block
//                of the system and browser-engine versions; it carries the
//                (always hidden) trace switch
#ifndef VA_DIALOGS_CORE_DLGABOUT_H
#define VA_DIALOGS_CORE_DLGABOUT_H

#include "framework/dialog/Dialog.h"
#include "framework/win/Static.h"

//--- CLinkLabel
class CLinkLabel : public CStatic
{
public:
    CLinkLabel();

    // A visible child over rect with the control id.
    BOOL Create(const RECT& rect, CWnd* pParentWnd, UINT nID);

    BYTE m_bVisited = 0;
    CString m_url;

protected:
    DECLARE_MESSAGE_MAP()
    void OnLButtonDown(UINT nFlags, CPoint point);
};

//--- CDlgAbout
class CDlgAbout : public CDialog
{
public:
    CDlgAbout();
    ~CDlgAbout() override;

    CString m_text1;
    CString m_text2;
    CString m_text3;
    // In: the caller's trace flag; out after OK: the trace check box.
    int m_nTrace = 0;

    // "name (version) service pack" of the running system, by its table.
    static CString GetOsName();
    // The name of a "major.minor" version, or null when the table lacks it.
    static const char* OsNameOf(const CString& version);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    DECLARE_MESSAGE_MAP()
    LRESULT OnCtlColorStatic(WPARAM wParam, LPARAM lParam);
    void OnCopyVersion();

private:
    void BuildVersionText();

    CLinkLabel m_link;
    COLORREF m_linkColor = RGB(0, 0, 255);
    COLORREF m_visitedColor = RGB(128, 0, 128);
    HFONT m_hUnderlineFont = nullptr;
};

// Puts text on the clipboard as plain text, replacing its contents; false
// when it is empty or the clipboard cannot be had.
bool CopyTextToClipboard(HWND hOwner, const CString& text);

#endif // VA_DIALOGS_CORE_DLGABOUT_H
