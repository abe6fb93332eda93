#include "tab/DropTargets.h"

#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>

#include <cmath>
#include <string>
#include <vector>

#include "framework/ole/OleUtil.h"
#include "lists/SearchEngineTree.h"
#include "shared/AppSettings.h"
#include "shared/FrameMessages.h"
#include "shared/FrameSend.h"
#include "shared/GestureAngle.h"
#include "tab/BrowserView.h"
#include "tab/DroppedFiles.h"
#include "tab/PageFrames.h"
#include "tab/TabHost.h"

namespace {

CLIPFORMAT UrlFormat()
{
    static const CLIPFORMAT s_format =
        static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("UniformResourceLocator"));
    return s_format;
}

bool Offers(IDataObject* pData, CLIPFORMAT format)
{
    FORMATETC fe = { format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL };
    return pData != nullptr && pData->QueryGetData(&fe) == S_OK;
}

// The text of a global-memory format, read no further than the block.
bool ReadText(IDataObject* pData, CLIPFORMAT format, CString& text)
{
    FORMATETC fe = { format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL };
    STGMEDIUM medium = {};
    if (pData == nullptr || FAILED(pData->GetData(&fe, &medium)))
        return false;
    bool bRead = false;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal != nullptr)
    {
        const char* p = static_cast<const char*>(::GlobalLock(medium.hGlobal));
        if (p != nullptr)
        {
            text = CString(p, static_cast<int>(strnlen(p, ::GlobalSize(medium.hGlobal))));
            ::GlobalUnlock(medium.hGlobal);
            bRead = true;
        }
    }
    ::ReleaseStgMedium(&medium);
    return bRead;
}

// A drop from another program arrives inside a message another thread
// sent: the send is marked as the program's own so the window takes it.
// True when the window opened or searched something.
bool SendDropText(HWND hMain, int mode, const CString& text)
{
    return hMain != nullptr && !text.IsEmpty()
           && SendOwnFrameMessage(hMain, WM_FRAME_DROPTEXT, static_cast<WPARAM>(mode),
                                  reinterpret_cast<LPARAM>(static_cast<LPCSTR>(text))) != 0;
}

// Sends a real file list as WM_DROPFILES; the handle stays the sender's and
// is freed here, after the call.
bool SendDropFiles(IDataObject* pData, HWND hTo)
{
    FORMATETC fe = { CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL };
    STGMEDIUM medium = {};
    if (pData == nullptr || FAILED(pData->GetData(&fe, &medium)))
        return false;
    bool bSent = false;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal != nullptr && hTo != nullptr)
    {
        ::SendMessageA(hTo, WM_DROPFILES, reinterpret_cast<WPARAM>(medium.hGlobal), 0);
        bSent = true;
    }
    ::ReleaseStgMedium(&medium);
    return bSent;
}

// The address a dropped file stands for: an Internet shortcut's "URL=",
// else the path (with "h" put before "ttp://"), URLs without line breaks.
// Empty for a name no path for the ANSI functions reaches.
CString DroppedFileTarget(const DroppedFile& file)
{
    CString path = file.path;
    AsDroppedAddress(path);
    CString url;
    if (IsShortcutName(file) && ReadDroppedShortcut(file, url))
        return url;
    return path;
}

bool IsEditableAt(IHTMLElement* pElement)
{
    const CString name = TagName(pElement);
    if (name == "OBJECT")
        return true;
    CComPtr<IHTMLInputElement> input;
    CBstr type;
    if (name == "INPUT"
        && SUCCEEDED(pElement->QueryInterface(IID_IHTMLInputElement, reinterpret_cast<void**>(&input)))
        && input != nullptr && SUCCEEDED(input->get_type(&type)))
    {
        CString kind = type.ToAnsi();
        kind.MakeLower();
        return kind == "text" || kind == "file" || kind == "password" || kind == "search";
    }
    return name == "TEXTAREA";
}

} // namespace

int DropModeOfMove(int dx, int dy)
{
    switch (GestureAngle::DirectionOf(GestureAngle::Of(dx, -dy))) {
    case GestureAngle::kUp: return kDropUp;
    case GestureAngle::kLeft: return kDropLeft;
    case GestureAngle::kDown: return kDropDown;
    default: return kDropRight;
    }
}

bool ReadDroppedText(IDataObject* pData, CString& text)
{
    return ReadText(pData, CF_TEXT, text) || ReadText(pData, UrlFormat(), text);
}

bool IsDropOnEditable(IHTMLDocument2* pDoc, long x, long y, int depth)
{
    if (pDoc == nullptr || depth > kMaxFrameDepth)
        return false;
    CComPtr<IHTMLElement> element;
    if (SUCCEEDED(pDoc->elementFromPoint(x, y, &element)) && IsEditableAt(element))
        return true;
    return ForEachFrame(pDoc, [&](IWebBrowser2* frame, IHTMLDocument2* frameDoc) {
        LONG left = 0, top = 0;
        frame->get_Left(&left);
        frame->get_Top(&top);
        if (left == 0 && top == 0)
            return false;
        return IsDropOnEditable(frameDoc, x - left, y - top, depth + 1);
    });
}

//--- CFrameDropTarget

DWORD CFrameDropTarget::OnDragEnter(IDataObject* pData, DWORD, POINTL, DWORD)
{
    m_enterEffect = Offers(pData, CF_TEXT) || Offers(pData, CF_HDROP) || Offers(pData, UrlFormat())
                        ? DROPEFFECT_LINK
                        : DROPEFFECT_NONE;
    return m_enterEffect;
}

DWORD CFrameDropTarget::OnDragOver(IDataObject*, DWORD, POINTL, DWORD)
{
    return m_enterEffect;
}

DWORD CFrameDropTarget::OnDrop(IDataObject* pData, DWORD, POINTL, DWORD)
{
    CString text;
    if (ReadDroppedText(pData, text))
        return SendDropText(m_hOwner, kDropNone, text) ? DROPEFFECT_LINK : DROPEFFECT_NONE;
    return SendDropFiles(pData, GetWindow()) ? DROPEFFECT_LINK : DROPEFFECT_NONE;
}

//--- CPageDropTarget

ITabHost& CPageDropTarget::Host() const
{
    return TabHostOr(m_pHost, GetWindow());
}

void CPageDropTarget::ForgetPageTarget()
{
    if (m_pPageTarget == nullptr)
        return;
    IDropTarget* p = m_pPageTarget;
    m_pPageTarget = nullptr;
    p->Release();
}

void CPageDropTarget::OfferPageTarget(IDropTarget* pTarget)
{
    if (m_pPageTarget != nullptr || pTarget == nullptr || pTarget == this)
        return;
    m_pPageTarget = pTarget;
    m_pPageTarget->AddRef();
}

DWORD CPageDropTarget::OneEffect(DWORD dwAllowed)
{
    if (dwAllowed & DROPEFFECT_COPY)
        return DROPEFFECT_COPY;
    return dwAllowed & DROPEFFECT_LINK;
}

void CPageDropTarget::Reset()
{
    m_start = {0, 0};
    m_dropMode = kDropNone;
    m_bLinkOffered = false;
    m_bPageEntered = false;
}

DWORD CPageDropTarget::OnDragEnter(IDataObject* pData, DWORD dwKeyState, POINTL pt, DWORD dwAllowed)
{
    m_start = {pt.x, pt.y};
    m_bLinkOffered = (dwAllowed & DROPEFFECT_LINK) != 0;
    DWORD effect = DROPEFFECT_NONE;
    if (m_pPageTarget != nullptr)
    {
        effect = dwAllowed;
        m_bPageEntered = SUCCEEDED(m_pPageTarget->DragEnter(pData, dwKeyState, pt, &effect));
    }
    return AppSettings().bSuperDnD() ? OneEffect(dwAllowed) : effect;
}

DWORD CPageDropTarget::OnDragOver(IDataObject*, DWORD dwKeyState, POINTL pt, DWORD dwAllowed)
{
    DWORD effect = DROPEFFECT_NONE;
    if (m_pPageTarget != nullptr && m_bPageEntered)
    {
        effect = dwAllowed;
        m_pPageTarget->DragOver(dwKeyState, pt, &effect);
    }
    if (!AppSettings().bSuperDnD())
        return effect;
    if (!m_bLinkOffered)
    {
        const int dx = pt.x - m_start.x;
        const int dy = pt.y - m_start.y;
        const int distance = static_cast<int>(std::sqrt(static_cast<double>(dx) * dx
                                                        + static_cast<double>(dy) * dy));
        if (distance >= AppSettings().iMouseGSence)
        {
            m_dropMode = DropModeOfMove(dx, dy);
            m_start = {pt.x, pt.y};
            ShowDirection(m_dropMode);
        }
    }
    return OneEffect(dwAllowed);
}

// The status bar names the engine the drop would search with.
void CPageDropTarget::ShowDirection(int mode)
{
    const char* prefix = mode == kDropUp      ? "\x81\xaa\x8c\x9f\x8d\xf5\x81\x46"
                         : mode == kDropRight ? "\x81\xa8\x8c\x9f\x8d\xf5\x81\x46"
                         : mode == kDropDown  ? "\x81\xab\x8c\x9f\x8d\xf5\x81\x46"
                                              : "\x81\xa9\x8c\x9f\x8d\xf5\x81\x46";
    const CSearchEngineTree& engines = Host().GetSearchEngines();
    const CSearchEngineNode* engine = engines.GetRoleHolder(mode);
    if (engine == nullptr)
        engine = engines.GetCurrentEngine();
    if (engine == nullptr)
        return;
    Host().SetStatusText(CString(prefix) + engine->m_label + "\x81\x40URL\x81\x46"
                                + engine->m_url);
}

void CPageDropTarget::OnDragLeave()
{
    if (m_pPageTarget != nullptr && m_bPageEntered)
        m_pPageTarget->DragLeave();
    m_bPageEntered = false;
}

DWORD CPageDropTarget::OnDrop(IDataObject* pData, DWORD dwKeyState, POINTL pt, DWORD dwAllowed)
{
    if (!AppSettings().bSuperDnD())
    {
        DWORD effect = dwAllowed;
        if (m_pPageTarget == nullptr || !m_bPageEntered
            || FAILED(m_pPageTarget->Drop(pData, dwKeyState, pt, &effect)))
            effect = DROPEFFECT_NONE;
        Reset();
        return effect;
    }
    CBrowserView* pView = Host().GetActiveTabView();
    const bool bViewShown = pView != nullptr && ::IsWindow(pView->GetSafeHwnd());
    if (bViewShown && dwAllowed != DROPEFFECT_LINK && m_pPageTarget != nullptr && m_bPageEntered)
    {
        CComPtr<IDispatch> disp;
        disp.Attach(pView->GetHtmlDocument());
        CComPtr<IHTMLDocument2> doc;
        doc.Attach(AsHtmlDocument(disp));
        POINT client = {pt.x, pt.y};
        ::ScreenToClient(pView->GetSafeHwnd(), &client);
        DWORD effect = dwAllowed;
        if (IsDropOnEditable(doc, client.x, client.y)
            && m_pPageTarget->Drop(pData, dwKeyState, pt, &effect) == S_OK)
        {
            Reset();
            return effect;
        }
    }
    // The program takes the drop: the page hears that the drag left it.
    if (m_pPageTarget != nullptr && m_bPageEntered)
        m_pPageTarget->DragLeave();
    std::vector<std::wstring> unreachable;
    const HWND hFrame = Host().GetFrameWindow();
    const DWORD done = ProgramDrop(pData, dwAllowed, unreachable);
    Reset();
    // Said after the drop has returned to its sender; the box's loop may
    // also close the tab.
    ReportUnreachableFiles(hFrame, unreachable);
    return done;
}

DWORD CPageDropTarget::ProgramDrop(IDataObject* pData, DWORD dwAllowed,
                                   std::vector<std::wstring>& unreachable)
{
    CString text;
    if (ReadDroppedText(pData, text))
        return SendDropText(Host().GetFrameWindow(), m_dropMode, text) ? OneEffect(dwAllowed) : DROPEFFECT_NONE;
    if (!Offers(pData, CF_HDROP))
        return DROPEFFECT_NONE;
    CBrowserView* pView = Host().GetActiveTabView();
    const DWORD kAll = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    if (dwAllowed != kAll || pView == nullptr || !::IsWindow(pView->GetSafeHwnd()))
        return SendDropFiles(pData, Host().GetFrameWindow()) ? OneEffect(dwAllowed) : DROPEFFECT_NONE;
    FORMATETC fe = { CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL };
    STGMEDIUM medium = {};
    if (FAILED(pData->GetData(&fe, &medium)))
        return DROPEFFECT_NONE;
    std::vector<DroppedFile> files;
    if (medium.tymed == TYMED_HGLOBAL)
        ReadDroppedFiles(medium.hGlobal, files);
    ::ReleaseStgMedium(&medium);
    CString target;
    for (size_t i = 0; i < files.size() && target.IsEmpty(); ++i)
    {
        target = DroppedFileTarget(files[i]);
        if (target.IsEmpty() && IsUnreachable(files[i]))
            unreachable.push_back(files[i].name);
    }
    if (target.IsEmpty())
        return DROPEFFECT_NONE;
    pView->Navigate(target);
    return OneEffect(dwAllowed);
}
