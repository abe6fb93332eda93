#include "tab/DocHostHandler.h"

#include "framework/ole/OleControlWnd.h"
#include "tab/AmbientDispatch.h"

#include <cstdlib>
#include <vector>

#include "framework/ole/OleUtil.h"
#include "tab/BrowserControlSite.h"
#include "tab/PageSelection.h"

namespace {

// Context-menu ids (CONTEXT_MENU_) on which a text selection is looked for.
bool IsSelectionMenu(DWORD dwID)
{
    return dwID == CONTEXT_MENU_CONTROL || dwID == CONTEXT_MENU_TEXTSELECT
        || dwID == CONTEXT_MENU_ANCHOR;
}

// The engine's ActiveX and resend warnings, by string id in its module.
const UINT kStringActiveXWarning = 8033;
const UINT kStringRefreshWarning = 8032;

} // namespace

double GetIEMajorVersion()
{
    static double s_version = 0;
    if (s_version >= 1)
        return s_version;
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Internet Explorer", 0,
                        KEY_READ, &hKey) != ERROR_SUCCESS)
        return 0;
    char buf[64] = {};
    DWORD cb = sizeof(buf) - 1;
    DWORD type = 0;
    double version = 0;
    if (::RegQueryValueExA(hKey, "Version", nullptr, &type, reinterpret_cast<BYTE*>(buf), &cb)
            == ERROR_SUCCESS
        && type == REG_SZ)
    {
        buf[sizeof(buf) - 1] = '\0';
        // The decimal prefix ("9.11.9600" gives 9.11), whatever the locale.
        version = std::strtod(buf, nullptr);
    }
    ::RegCloseKey(hKey);
    if (version >= 1)
        s_version = version;
    return version;
}

CDocHostHandler::CDocHostHandler() : m_showUI(this), m_commandTarget(this)
{
}

BOOL CDocHostHandler::AttachToSite(COleControlSite* pSite, IDispatch* pAmbient)
{
    CBrowserControlSite* pBrowserSite = dynamic_cast<CBrowserControlSite*>(pSite);
    if (pBrowserSite == nullptr)
        return FALSE;
    pBrowserSite->SetHostObjects(GetUIHandler(), pAmbient, GetCommandTarget(), GetShowUI());
    return TRUE;
}

//--- IUnknown

STDMETHODIMP CDocHostHandler::QueryInterface(REFIID, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    return E_NOINTERFACE;
}

//--- IDocHostUIHandler

STDMETHODIMP CDocHostHandler::ShowContextMenu(DWORD dwID, POINT* ppt, IUnknown*, IDispatch*)
{
    return VaRunComMethod("ShowContextMenu", [&]() -> HRESULT {
        POINT pt = { 0, 0 };
        if (ppt != nullptr)
            pt = *ppt;
        else
            ::GetCursorPos(&pt);
        RememberContextMenu(pt, dwID);

        if (m_contextMenuMode <= 1 && IsSelectionMenu(dwID))
        {
            CPageSelection selection;
            CComPtr<IDispatch> document;
            document.Attach(GetHostDocument());
            if (selection.Read(document, CPageSelection::kText))
            {
                if (m_contextMenuMode == 1)
                    ShowEngineMenu();
                else
                    ShowPageMenu(pt, selection);
                return S_OK;
            }
        }
        // With the primary button held (a gesture under way) no menu shows.
        int primary = ::GetSystemMetrics(SM_SWAPBUTTON) == 1 ? VK_RBUTTON : VK_LBUTTON;
        if ((::GetAsyncKeyState(primary) & 0x8000) == 0 && m_bIEMenuAllowed)
            return S_FALSE;
        return S_OK;
    });
}

STDMETHODIMP CDocHostHandler::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    return VaRunComMethod("GetHostInfo", [&]() -> HRESULT {
        if (pInfo == nullptr)
            return E_POINTER;
        // Only the flags and the double-click mode are given.
        pInfo->cbSize = 12;
        pInfo->dwFlags = m_dwHostFlags | DOCHOSTUIFLAG_NO3DBORDER;
        pInfo->dwDoubleClick = m_dwDoubleClick;
        return S_OK;
    });
}

STDMETHODIMP CDocHostHandler::GetOptionKeyPath(LPOLESTR* pchKey, DWORD)
{
    return VaRunComMethod("GetOptionKeyPath", [&]() -> HRESULT {
        if (pchKey != nullptr)
            *pchKey = nullptr;
        return E_NOTIMPL;
    });
}

STDMETHODIMP CDocHostHandler::GetDropTarget(IDropTarget*, IDropTarget** ppDropTarget)
{
    return VaRunComMethod("GetDropTarget", [&]() -> HRESULT {
        if (ppDropTarget != nullptr)
            *ppDropTarget = nullptr;
        return E_NOTIMPL;
    });
}

STDMETHODIMP CDocHostHandler::GetExternal(IDispatch** ppDispatch)
{
    return VaRunComMethod("GetExternal", [&]() -> HRESULT {
        if (ppDispatch == nullptr)
            return E_POINTER;
        *ppDispatch = GetExternalObject();
        if (*ppDispatch == nullptr)
            return E_NOTIMPL;
        (*ppDispatch)->AddRef();
        return S_OK;
    });
}

STDMETHODIMP CDocHostHandler::TranslateUrl(DWORD, LPWSTR pchURLIn, LPWSTR* ppchURLOut)
{
    return VaRunComMethod("TranslateUrl", [&]() -> HRESULT {
        if (ppchURLOut != nullptr)
            *ppchURLOut = nullptr;
        m_strLastUrl = VaAnsiFromWide(pchURLIn);
        return E_NOTIMPL;
    });
}

STDMETHODIMP CDocHostHandler::FilterDataObject(IDataObject*, IDataObject** ppDORet)
{
    return VaRunComMethod("FilterDataObject", [&]() -> HRESULT {
        if (ppDORet != nullptr)
            *ppDORet = nullptr;
        return E_NOTIMPL;
    });
}

//--- IDocHostShowUI

CString CDocHostHandler::GetEngineMessageModule()
{
    return GetIEMajorVersion() >= 7 ? CString("ieframe.dll.mui") : CString("SHDOCLC.DLL");
}

int CDocHostHandler::ShowMessageBox(HWND hwnd, LPCSTR pszText, LPCSTR pszCaption, UINT uType)
{
    return ::MessageBoxA(hwnd, pszText, pszCaption, uType);
}

bool CDocHostHandler::MatchesModuleString(HMODULE hModule, UINT nID, const CString& text)
{
    if (hModule == nullptr || text.IsEmpty())
        return false;
    char buf[1024] = {};
    int n = ::LoadStringA(hModule, nID, buf, sizeof(buf));
    return n > 0 && text == buf;
}

HRESULT CDocHostHandler::ShowMessage(HWND hwnd, LPOLESTR lpstrText, LPOLESTR lpstrCaption,
                                     DWORD dwType, LPOLESTR, DWORD, LRESULT* plResult)
{
    return VaRunComMethod("ShowMessage", [&]() -> HRESULT {
        const Options options = GetHostOptions();
        if (options.bShowActiveXErrMsg && options.bShowRefreshMsg)
            return E_NOTIMPL;

        const CString text = VaAnsiFromWide(lpstrText);
        const CString moduleName = GetEngineMessageModule();
        HMODULE hModule = ::GetModuleHandleA(moduleName);
        bool loadedHere = false;
        if (hModule == nullptr)
        {
            hModule = ::LoadLibraryExA(moduleName, nullptr, LOAD_LIBRARY_AS_DATAFILE);
            loadedHere = hModule != nullptr;
        }
        bool toStatusBar = (!options.bShowActiveXErrMsg
                            && MatchesModuleString(hModule, kStringActiveXWarning, text))
                        || (!options.bShowRefreshMsg
                            && MatchesModuleString(hModule, kStringRefreshWarning, text));
        if (loadedHere)
            ::FreeLibrary(hModule);

        if (toStatusBar)
        {
            SetStatusText(text);
            if (plResult != nullptr)
                *plResult = IDOK;
            return S_OK;
        }
        int result = ShowMessageBox(hwnd, text, VaAnsiFromWide(lpstrCaption), dwType);
        if (plResult != nullptr)
            *plResult = result;
        return S_OK;
    });
}

STDMETHODIMP CDocHostHandler::CDocHostShowUI::QueryInterface(REFIID, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CDocHostHandler::CDocHostShowUI::ShowMessage(HWND hwnd, LPOLESTR lpstrText,
                                                          LPOLESTR lpstrCaption, DWORD dwType,
                                                          LPOLESTR lpstrHelpFile,
                                                          DWORD dwHelpContext, LRESULT* plResult)
{
    return VaRunComMethod("ShowMessage", [&]() -> HRESULT {
        return m_pOwner->ShowMessage(hwnd, lpstrText, lpstrCaption, dwType, lpstrHelpFile,
                                     dwHelpContext, plResult);
    });
}

//--- IOleCommandTarget

HRESULT CDocHostHandler::Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD, VARIANT*,
                              VARIANT* pvaOut)
{
    if (pguidCmdGroup == nullptr || *pguidCmdGroup != CGID_DocHostCommandHandler)
        return OLECMDERR_E_UNKNOWNGROUP;
    if (nCmdID != OLECMDID_SHOWSCRIPTERROR)
        return OLECMDERR_E_NOTSUPPORTED;
    if (GetHostOptions().bShowScriptErr)
        return E_NOTIMPL;
    // Scripts keep running; the error goes to the status bar.
    if (pvaOut != nullptr)
    {
        pvaOut->vt = VT_BOOL;
        pvaOut->boolVal = VARIANT_TRUE;
    }
    SetStatusText(GetEtcText(kEtcLineScriptError));
    return S_OK;
}

STDMETHODIMP CDocHostHandler::CDocHostCommandTarget::QueryInterface(REFIID, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CDocHostHandler::CDocHostCommandTarget::Exec(const GUID* pguidCmdGroup, DWORD nCmdID,
                                                          DWORD nCmdexecopt, VARIANT* pvaIn,
                                                          VARIANT* pvaOut)
{
    return VaRunComMethod("Exec", [&]() -> HRESULT {
        return m_pOwner->Exec(pguidCmdGroup, nCmdID, nCmdexecopt, pvaIn, pvaOut);
    });
}

IDispatch* CDocHostHandler::HostDialogControl(HWND hDlg, UINT nID, CAmbientDispatch& ambient,
                                              DWORD dlControl)
{
    auto* pControl = dynamic_cast<COleControlWnd*>(CWnd::FromHandlePermanent(::GetDlgItem(hDlg, nID)));
    IUnknown* pUnknown = pControl != nullptr ? pControl->GetControlUnknown() : nullptr;
    if (pUnknown == nullptr)
        return nullptr;
    AttachToSite(pControl->GetControlSite(), &ambient);
    ambient.SetOff(false);
    ambient.SetControl(pUnknown);
    // The control reads the word again now that the site answers.
    ambient.SetDownloadControl(dlControl);
    IDispatch* pDisp = nullptr;
    if (FAILED(pUnknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&pDisp))))
        return nullptr;
    return pDisp;
}
