#include "tab/DlgStatic.h"

#include "shared/AppData.h"

CDlgStatic::~CDlgStatic()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        DestroyWindow();
}

BOOL CDlgStatic::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_animation.SubclassDlgItem(kAnimationId, this))
    {
        // A missing clip leaves the control empty; the text still shows.
        CString clip = AppFolders().ResFile("Torv.avi");
        if (m_animation.Open(clip))
            m_animation.Play(0, static_cast<UINT>(-1), static_cast<UINT>(-1));
    }
    ::SetDlgItemTextA(m_hWnd, kTextId, m_text);
    // Centred over the parent window.
    HWND hParent = ::GetParent(m_hWnd);
    if (hParent == nullptr)
        hParent = ::GetWindow(m_hWnd, GW_OWNER);
    if (hParent != nullptr)
    {
        CRect over, own;
        ::GetWindowRect(hParent, &over);
        GetWindowRect(&own);
        int x = over.left + (over.Width() - own.Width()) / 2;
        int y = over.top + (over.Height() - own.Height()) / 2;
        ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return TRUE;
}
