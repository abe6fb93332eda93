// CChildFrame: editing the page body's HTML in an external editor.
#include "tab/ChildFrame.h"

#include <windows.h>
#include <mshtml.h>

#include "framework/core/File.h"
#include "framework/ole/OleUtil.h"
#include "shared/AppData.h"
#include "shared/ExternalEditor.h"
#include "shared/FileFailureText.h"
#include "tab/BrowserView.h"
#include "tab/TabHost.h"

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

} // namespace

EditorCommand AppEditorCommand()
{
    return ReadEditorCommand(AppStrings().GetRegText(3));
}

void CChildFrame::EditPageSource()
{
    if (m_pView == nullptr)
        return;
    // Each message box runs a loop that may close this tab: from there on
    // only the handle and what this function holds are used.
    const HWND self = m_hWnd;
    if (::MessageBoxA(self, AppStrings().GetMessageText(31), AppClassName(), MB_YESNO) != IDYES ||
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
        ::MessageBoxA(self, AppStrings().GetMessageText(27), AppClassName(), MB_OK);
        return;
    }

    CString name;
    name.Format("PageEdit%08llu.htm", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(m_pView)));
    CString path = AppFolders().ProgramFile(name);
    CFile out;
    if (out.Open(path, CFile::modeCreate | CFile::modeWrite)) {
        // A text that did not all reach the file is not handed to the
        // editor: what came back would replace the selection with part of it.
        const BOOL bWritten = out.Write(static_cast<LPCSTR>(html), static_cast<UINT>(html.GetLength()));
        out.Close();
        // The page keeps its text when the editor does not start.
        if (!bWritten) {
            ::MessageBoxA(self, FileFailureText(FileFailureKind::kWrite, path), AppClassName(),
                          MB_OK | MB_ICONEXCLAMATION);
        } else if (RunEditorAndWait(AppEditorCommand(), path, Host().GetFrameWindow())) {
            CFile in;
            if (in.Open(path, CFile::modeRead | CFile::shareDenyNone)) {
                CString edited;
                UINT length = static_cast<UINT>(in.GetLength());
                UINT read = in.Read(edited.GetBuffer(static_cast<int>(length) + 1), length);
                edited.ReleaseBuffer(static_cast<int>(read <= length ? read : 0));
                in.Close();
                // Only the whole edited text replaces the selection.
                if (read == length)
                    range->pasteHTML(CBstr::FromAnsi(edited));
            }
        } else {
            ::MessageBoxA(self, AppStrings().GetMessageText(27), AppClassName(), MB_OK);
        }
        // The temporary copy only: a leftover holds nothing the page lacks.
        (void)::DeleteFileA(path);
    }
    range->Release();
}
