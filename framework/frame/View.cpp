#include "framework/frame/View.h"

#include "framework/frame/FrameWnd.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

BOOL CView::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    return CWnd::PreCreateWindow(cs);
}

void CView::PostNcDestroy()
{
    delete this;
}

void CView::OnInitialUpdate()
{
}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView*)
{
    if (!bActivate || pActivateView != this || m_hWnd == nullptr)
        return;
    if (::GetActiveWindow() == ::GetAncestor(m_hWnd, GA_ROOT))
        SetFocus();
}

void CView::OnDestroy()
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != nullptr && pFrame->GetActiveView() == this)
        pFrame->SetActiveView(nullptr, FALSE);
    Default();
}
