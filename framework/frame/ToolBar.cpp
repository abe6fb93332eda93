#include "framework/frame/ToolBar.h"

#include <algorithm>
#include <vector>

#include "framework/frame/FrameWnd.h"

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
END_MESSAGE_MAP()

namespace {

// A toolbar button as an update handler sees it.
class CToolCmdUI : public CCmdUI
{
public:
    explicit CToolCmdUI(CToolBar* pBar) : m_pBar(pBar) {}

    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        m_pBar->EnableButton(static_cast<int>(m_nID), bOn);
    }
    void SetCheck(int nCheck) override { m_pBar->CheckButton(static_cast<int>(m_nID), nCheck != 0); }
    void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }
    void SetText(LPCSTR) override {}

private:
    CToolBar* m_pBar;
};

} // namespace

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    dwCtrlStyle |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (!CreateBar(0, GetWndClassName(), pParentWnd, dwStyle, nID, dwCtrlStyle, CRect(0, 0, 100, 22)))
        return FALSE;
    SetButtonStructSize(sizeof(TBBUTTON));
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    DeleteAllButtons();
    std::vector<TBBUTTON> buttons;
    int nImage = 0;
    for (int i = 0; i < nIDCount; ++i)
    {
        TBBUTTON button = {};
        if (lpIDArray == nullptr || lpIDArray[i] == ID_SEPARATOR)
            button.fsStyle = TBSTYLE_SEP;
        else
        {
            button.idCommand = static_cast<int>(lpIDArray[i]);
            button.iBitmap = nImage++;
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = TBSTYLE_BUTTON;
        }
        buttons.push_back(button);
    }
    return buttons.empty() || AddButtons(static_cast<int>(buttons.size()), buttons.data());
}

CSize CToolBar::GetButtonsExtent() const
{
    CSize extent;
    for (int i = 0, n = GetButtonCount(); i < n; ++i)
    {
        CRect rc;
        if (!GetItemRect(i, &rc) || rc.Width() <= 0)
            continue;  // hidden buttons have no rectangle
        extent.cx = std::max<LONG>(extent.cx, rc.right);
        extent.cy = std::max<LONG>(extent.cy, rc.bottom);
    }
    return extent;
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize size = GetButtonsExtent();
    if (bStretch)
    {
        // Across its whole side; the layout clips to the free rectangle.
        if (bHorz)
            size.cx = 32767;
        else
            size.cy = 32767;
    }
    return size;
}

CSize CToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    CSize size = CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
    if (nLength > 0 && !(dwMode & LM_STRETCH))
    {
        if (dwMode & LM_LENGTHY)
            size.cy = nLength;
        else
            size.cx = nLength;
    }
    return size;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler)
{
    CToolCmdUI state(this);
    state.m_nIndexMax = static_cast<UINT>(GetButtonCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex)
    {
        TBBUTTON button = {};
        if (!GetButton(static_cast<int>(state.m_nIndex), &button) || (button.fsStyle & TBSTYLE_SEP) ||
            button.idCommand == 0)
            continue;
        state.m_nID = static_cast<UINT>(button.idCommand);
        state.DoUpdate(pTarget, bDisableIfNoHandler);
    }
}
