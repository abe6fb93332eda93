// CChildFrame: editing the page body's HTML in an external editor.
#include "tab/ChildFrame.h"

#include <windows.h>
#include <mshtml.h>

#include "app/VantorelApp.h"
#include "framework/core/File.h"
#include "framework/ole/OleUtil.h"
#include "shared/WidePath.h"
#include "tab/BrowserView.h"

namespace {

// The body's text range of the view's document, or null.
IHTMLTxtRange* BodyRange(CBrowserView* view)
{
    IDispatch* dispatch = view->GetHtmlDocument();
    if (dispatch == nullptr)
        return nullptr;
    IHTMLTxtRange* range = nullptr;
    IHTMLDocument2* document = nullptr;
    if (SUCCEEDED(dispatch->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&document)))) {
        IHTMLElement* body = nullptr;
        if (SUCCEEDED(document->get_body(&body)) && body != nullptr) {
            IHTMLBodyElement* bodyElement = nullptr;
            if (SUCCEEDED(body->QueryInterface(IID_IHTMLBodyElement, reinterpret_cast<void**>(&bodyElement)))) {
                if (FAILED(bodyElement->createTextRange(&range)))
                    range = nullptr;
                bodyElement->Release();
            }
            body->Release();
        }
        document->Release();
    }
    dispatch->Release();
    return range;
}

// The editor of HTML sources named in the registry, else Notepad.

// Blocks until the process ends, with the main window disabled so that the
// user waits, while messages other threads and processes send (a second
// start's hand-over, incoming COM calls) are still answered; nothing posted
// is dispatched.
void WaitForProcess(HANDLE process)
{
    HWND main = AfxGetMainWnd() != nullptr ? AfxGetMainWnd()->GetSafeHwnd() : nullptr;
    const bool disabled = main != nullptr && ::IsWindowEnabled(main) && !::EnableWindow(main, FALSE);
    while (::MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        // Peeking delivers the pending sent messages and removes nothing.
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    if (disabled && ::IsWindow(main))
        ::EnableWindow(main, TRUE);
}

// Runs the editor on the file and waits for it; false when it cannot start.
bool RunEditor(const CString& editor, const CString& file)
{
    CString commandLine = editor.Left(1) == "\"" ? editor : "\"" + editor + "\"";
    commandLine += " \"" + file + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    CString mutableLine = commandLine;
    if (!::CreateProcessA(nullptr, mutableLine.GetBuffer(commandLine.GetLength() + 1), nullptr, nullptr,
                          FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    mutableLine.ReleaseBuffer();
    WaitForProcess(process.hProcess);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

} // namespace

CString EditorPath()
{
    std::wstring value;
    HKEY key = nullptr;
    // An empty path would open the root of the hive itself.
    const CString keyPath = theApp.GetRegText(3);
    if (!keyPath.IsEmpty() &&
        ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        wchar_t buffer[260] = {};
        DWORD size = sizeof(buffer) - sizeof(wchar_t);
        DWORD type = 0;
        if (::RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) ==
                ERROR_SUCCESS &&
            type == REG_SZ)
            value = buffer;
        ::RegCloseKey(key);
    }
    if (value.empty())
        return CString("notepad.exe");
    // Read wide, so that an editor in a folder beyond the code page is still
    // reached: by its short name. A quoted path keeps its quotes and the rest.
    const bool quoted = value[0] == L'"';
    const size_t end = quoted ? value.find(L'"', 1) : std::wstring::npos;
    const std::wstring path = quoted ? value.substr(1, end == std::wstring::npos ? end : end - 1) : value;
    CString ansi;
    WidePath::ToAnsiPath(path, ansi);
    if (!quoted)
        return ansi;
    return "\"" + ansi + "\"" +
           (end == std::wstring::npos ? CString() : WidePath::ToBestFitAnsi(value.substr(end + 1)));
}

void CChildFrame::EditPageSource()
{
    if (m_pView == nullptr)
        return;
    // Each message box runs a loop that may close this tab: from there on
    // only the handle and what this function holds are used.
    const HWND self = m_hWnd;
    if (::MessageBoxA(self, theApp.GetMessageText(31), theApp.GetMainClassName(), MB_YESNO) != IDYES ||
        !IsStillAttached(this, self) || m_pView == nullptr)
        return;
    IHTMLTxtRange* range = BodyRange(m_pView);
    CString html;
    if (range != nullptr) {
        CBstr text;
        if (SUCCEEDED(range->get_htmlText(&text)))
            html = text.ToAnsi();
    }
    if (html.IsEmpty()) {
        if (range != nullptr)
            range->Release();
        ::MessageBoxA(self, theApp.GetMessageText(27), theApp.GetMainClassName(), MB_OK);
        return;
    }

    CString name;
    name.Format("PageEdit%08llu.htm", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(m_pView)));
    CString path = theApp.ProgramFile(name);
    CFile out;
    if (out.Open(path, CFile::modeCreate | CFile::modeWrite)) {
        out.Write(static_cast<LPCSTR>(html), static_cast<UINT>(html.GetLength()));
        out.Close();
        // The page keeps its text when the editor does not start.
        if (RunEditor(EditorPath(), path)) {
            CFile in;
            if (in.Open(path, CFile::modeRead | CFile::shareDenyNone)) {
                CString edited;
                UINT length = static_cast<UINT>(in.GetLength());
                UINT read = in.Read(edited.GetBuffer(static_cast<int>(length) + 1), length);
                edited.ReleaseBuffer(static_cast<int>(read <= length ? read : 0));
                in.Close();
                range->pasteHTML(CBstr::FromAnsi(edited));
            }
        } else {
            ::MessageBoxA(self, theApp.GetMessageText(27), theApp.GetMainClassName(), MB_OK);
        }
        ::DeleteFileA(path);
    }
    range->Release();
}
