#include "dialogs/pages/BindingDialog.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include <windowsx.h>

#include "dialogs/core/FormsetApp.h"
#include "dialogs/pages/BindingDialogsRes.h"
#include "framework/app/FaultGuard.h"
#include "framework/win/RedrawGuard.h"
#include "shared/GestureAngle.h"
#include "shared/KeyText.h"
#include "shared/TextFormat.h"

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

bool StartsWith(const CString& line, const char* prefix)
{
    return strncmp(line, prefix, strlen(prefix)) == 0;
}

HTREEITEM InsertNode(HWND hTree, HTREEITEM hParent, const CString& text, int nImage, int nSelected, LPARAM data)
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = hParent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(text));
    insert.item.iImage = nImage;
    insert.item.iSelectedImage = nSelected;
    insert.item.lParam = data;
    return reinterpret_cast<HTREEITEM>(::SendMessageA(hTree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

CString WindowText(HWND hWnd)
{
    const int n = ::GetWindowTextLengthA(hWnd);
    CString text;
    if (n > 0) {
        std::vector<char> buffer(static_cast<size_t>(n) + 1);
        ::GetWindowTextA(hWnd, buffer.data(), n + 1);
        text = buffer.data();
    }
    return text;
}

// The duplicate question when "message.dat" line 22 is not a text with
// two "%s".
const char kDuplicateFallback[] =
    "%s \x82\xCD\x8A\xF9\x82\xC9\x81\x75%s\x81\x76\x82\xC9\x8A\x84\x82\xE8\x93\x96\x82\xC4\x82\xE7\x82\xEA\x82\xC4\x82\xA2"
    "\x82\xDC\x82\xB7\x81\x42\x82\xBB\x82\xBF\x82\xE7\x82\xF0\x8D\xED\x8F\x9C\x82\xB5\x82\xC4\x93\x6F\x98\x5E\x82\xB5\x82\xDC"
    "\x82\xB7\x82\xA9\x81\x48";

} // namespace

//--- The command catalogue

bool ParseCommandFolder(CStdioFile& file, HWND hTree, HTREEITEM hParent,
                        std::vector<std::unique_ptr<CommandEntry>>& entries, bool bSelect, int nSelectId, int nDepth)
{
    HTREEITEM hCurrent = hParent;
    std::unique_ptr<CommandEntry> entry;
    CString line;
    while (file.ReadString(line)) {
        line.Trim();
        if (entry) {
            if (StartsWith(line, "LABEL:")) {
                entry->label = line.Mid(6);
            } else if (StartsWith(line, "COMMAND:")) {
                entry->kind = 0;
                entry->id = atoi(line.Mid(8));
            } else if (StartsWith(line, "KEYEVENT:")) {
                entry->kind = 1;
                entry->id = atoi(line.Mid(9));
            } else if (line == "ENDENTRY:") {
                HTREEITEM hItem =
                    InsertNode(hTree, hCurrent, entry->label, 2, 2, reinterpret_cast<LPARAM>(entry.get()));
                if (bSelect && entry->id == nSelectId && hItem != nullptr) {
                    ::SendMessageA(hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hItem));
                    ::SendMessageA(hTree, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(hItem));
                }
                entries.push_back(std::move(entry));
            }
            continue;
        }
        if (line == "FOLDER:") {
            if (!ParseCommandFolder(file, hTree, hCurrent, entries, bSelect, nSelectId, nDepth + 1))
                return false;
        } else if (StartsWith(line, "LABEL:")) {
            hCurrent = InsertNode(hTree, hCurrent, line.Mid(6), 0, 1, 0);
        } else if (line == "ENDFOLDER:") {
            // Closes this scope; at the top level it ends the whole load.
            return nDepth > 0;
        } else if (line == "ENTRY:") {
            entry.reset(new CommandEntry);
        }
    }
    return false;
}

void LoadCommandTree(CStdioFile& file, HWND hTree, std::vector<std::unique_ptr<CommandEntry>>& entries,
                     bool bSelect, int nSelectId)
{
    ParseCommandFolder(file, hTree, TVI_ROOT, entries, bSelect, nSelectId, 0);
}

//--- CBindingDialog

BEGIN_MESSAGE_MAP(CBindingDialog, CDialog)
    ON_NOTIFY(TVN_SELCHANGEDA, IDC_BIND_TREE, OnTreeSelChanged)
    ON_COMMAND(IDC_BIND_RESET, OnReset)
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

CBindingDialog::CBindingDialog(UINT nIDTemplate, int nTextID) : CDialog(nIDTemplate), m_nTextID(nTextID)
{
}

BOOL CBindingDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_strPresetText = m_strText;
    m_strPresetLabel = m_strLabel;
    m_tree.SubclassDlgItem(IDC_BIND_TREE, this);

    if (m_images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 3, 1)) {
        HBITMAP hBitmap = static_cast<HBITMAP>(::LoadImageA(nullptr, FormsetApp().GetFolders().ResFile("mjr.bmp"),
                                                             IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
        if (hBitmap != nullptr) {
            m_images.Add(hBitmap, kMagenta);
            ::DeleteObject(hBitmap);
        }
        m_tree.SetImageList(m_images, TVSIL_NORMAL);
    }
    ::SetDlgItemTextA(m_hWnd, m_nTextID, m_strText);
    ::SetDlgItemTextA(m_hWnd, IDC_BIND_COMMAND, m_strLabel);

    RedrawGuard redraw(m_tree.m_hWnd);
    CStdioFile file;
    const bool bOpened = file.Open(FormsetApp().GetFolders().ProgramFile("Vantorelcom.def"),
                                   CFile::modeRead | CFile::shareDenyNone | CFile::typeText) != FALSE;
    if (bOpened)
        LoadCommandTree(file, m_tree.m_hWnd, m_entries, m_bHasCommand, m_nCommand);
    // The tree draws again before anything shows over it.
    redraw.End();
    if (!bOpened)
        ::MessageBoxA(m_hWnd, FormsetApp().GetMessageString(29), FormsetApp().GetProductName(), MB_OK);

    ::CheckDlgButton(m_hWnd, IDC_BIND_CONTINUOUS, m_nContinuous == 1 ? BST_CHECKED : BST_UNCHECKED);
    if (m_nContinuous == 2) {
        ::EnableWindow(::GetDlgItem(m_hWnd, IDC_BIND_CONTINUOUS), FALSE);
        ::ShowWindow(::GetDlgItem(m_hWnd, IDC_BIND_CONTINUOUS), SW_HIDE);
    }
    PlaceWindow();
    return TRUE;
}

BOOL CBindingDialog::CheckAutoCenter()
{
    return !m_bPositionKnown && (m_pList == nullptr || m_pList->m_hWnd == nullptr);
}

void CBindingDialog::PlaceWindow()
{
    RECT rc = {};
    ::GetWindowRect(m_hWnd, &rc);
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (m_bPositionKnown) {
        rc = m_rcWindow;
    } else if (m_pList != nullptr && m_pList->m_hWnd != nullptr) {
        RECT rcList = {};
        RECT rcOwner = {};
        ::GetWindowRect(m_pList->m_hWnd, &rcList);
        HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
        if (hOwner == nullptr)
            hOwner = ::GetAncestor(m_pList->m_hWnd, GA_ROOT);
        ::GetWindowRect(hOwner, &rcOwner);
        rc.left = rcList.left - width - 6;
        rc.top = rcOwner.top;
        rc.right = rc.left + width;
        rc.bottom = rc.top + height;
    }
    // The list may stand at the screen's left edge: keep the whole dialog
    // on the monitor it would mostly be on.
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoA(::MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST), &info)) {
        const RECT& work = info.rcWork;
        int x = rc.left;
        int y = rc.top;
        if (x + width > work.right)
            x = work.right - width;
        if (y + height > work.bottom)
            y = work.bottom - height;
        if (x < work.left)
            x = work.left;
        if (y < work.top)
            y = work.top;
        rc = RECT{ x, y, x + width, y + height };
    }
    ::SetWindowPos(m_hWnd, nullptr, rc.left, rc.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

const CommandEntry* CBindingDialog::SelectedEntry() const
{
    HTREEITEM hItem = m_tree.GetSelectedItem();
    return hItem != nullptr ? reinterpret_cast<const CommandEntry*>(m_tree.GetItemData(hItem)) : nullptr;
}

void CBindingDialog::OnTreeSelChanged(NMHDR*, LRESULT* pResult)
{
    const CommandEntry* entry = SelectedEntry();
    ::SetDlgItemTextA(m_hWnd, IDC_BIND_COMMAND, entry != nullptr ? static_cast<LPCSTR>(entry->label) : "");
    *pResult = 0;
}

void CBindingDialog::OnReset()
{
    ::SetDlgItemTextA(m_hWnd, m_nTextID, m_strPresetText);
    ::SetDlgItemTextA(m_hWnd, IDC_BIND_COMMAND, m_strPresetLabel);
    ::SetFocus(::GetDlgItem(m_hWnd, m_nTextID));
}

BOOL CBindingDialog::OnMouseWheel(UINT, short zDelta, CPoint)
{
    if (m_pList != nullptr && m_pList->m_hWnd != nullptr)
        ::SendMessageA(m_pList->m_hWnd, WM_VSCROLL, zDelta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    return TRUE;
}

CString CBindingDialog::ReadBindingText()
{
    return WindowText(::GetDlgItem(m_hWnd, m_nTextID));
}

int CBindingDialog::FindDuplicateRow(const CString& text) const
{
    if (m_pList == nullptr || m_pList->m_hWnd == nullptr)
        return -1;
    const int nCount = m_pList->GetItemCount();
    for (int nRow = 0; nRow < nCount; ++nRow) {
        if (nRow != m_nEditedRow && m_pList->GetItemText(nRow, 1) == text)
            return nRow;
    }
    return -1;
}

bool CBindingDialog::CheckDuplicateBinding(const CString& text, int& nDeleteRow)
{
    nDeleteRow = FindDuplicateRow(text);
    if (nDeleteRow < 0)
        return true;
    const CString question = TextFormat::FormatStrings(FormsetApp().GetMessageString(22),
                                                       { text, m_pList->GetItemText(nDeleteRow, 0) },
                                                       kDuplicateFallback);
    if (::MessageBoxA(m_hWnd, question, FormsetApp().GetProductName(), MB_YESNO | MB_ICONEXCLAMATION) == IDYES)
        return true;
    nDeleteRow = -1;
    return false;
}

void CBindingDialog::OnOK()
{
    ::GetWindowRect(m_hWnd, &m_rcWindow);
    const CString text = ReadBindingText();
    const CString label = WindowText(::GetDlgItem(m_hWnd, IDC_BIND_COMMAND));
    HWND hText = ::GetDlgItem(m_hWnd, m_nTextID);
    if (text.IsEmpty()) {
        const bool bKey = m_nTextID == IDC_BIND_KEY;
        ::MessageBoxA(m_hWnd, FormsetApp().GetMessageString(bKey ? 18 : 13), FormsetApp().GetProductName(), MB_OK);
        if (bKey)
            ::SetFocus(hText);
        return;
    }
    if (label.IsEmpty()) {
        ::MessageBoxA(m_hWnd, FormsetApp().GetMessageString(6), FormsetApp().GetProductName(), MB_OK);
        ::SetFocus(m_tree.m_hWnd);
        return;
    }
    const CommandEntry* entry = SelectedEntry();
    if (entry == nullptr || entry->label != label)
        return;
    // The question comes last, so that Yes always ends the dialog with OK
    // and the row it deletes never goes while the dialog may be cancelled.
    int nDeleteRow = -1;
    if (!CheckDuplicateBinding(text, nDeleteRow))
        return;
    if (nDeleteRow >= 0) {
        m_pList->DeleteItem(nDeleteRow);
        if (m_nEditedRow > nDeleteRow)
            --m_nEditedRow;
    }
    m_nCommand = entry->id;
    m_bHasCommand = true;
    m_nKind = entry->kind;
    m_strText = text;
    m_strLabel = label;
    m_nContinuous = ::IsDlgButtonChecked(m_hWnd, IDC_BIND_CONTINUOUS) == BST_CHECKED ? 1 : 0;
    EndDialog(IDOK);
}

//--- CKeyCaptureEdit

BEGIN_MESSAGE_MAP(CKeyCaptureEdit, CEdit)
    ON_WM_SETFOCUS()
    ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

CKeyCaptureEdit::CKeyCaptureEdit()
{
    // One rule with the frame's key capture.
    m_nKeyboardType = DetectKeyboardType();
}

void CKeyCaptureEdit::OnSetFocus(CWnd* pOldWnd)
{
    CEdit::OnSetFocus(pOldWnd);
    HIMC hImc = ::ImmGetContext(m_hWnd);
    if (hImc != nullptr) {
        ::ImmSetOpenStatus(hImc, FALSE);
        ::ImmReleaseContext(m_hWnd, hImc);
    }
}

void CKeyCaptureEdit::OnContextMenu(CWnd*, CPoint)
{
}

BOOL CKeyCaptureEdit::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->hwnd != m_hWnd)
        return CEdit::PreTranslateMessage(pMsg);
    switch (pMsg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        ::SetWindowTextA(m_hWnd, FormatKeyText(static_cast<unsigned>(pMsg->wParam), m_nKeyboardType));
        ::HideCaret(m_hWnd);
        return TRUE;
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        // Only modifiers held, or a key without a name: nothing to keep.
        const CString text = WindowText(m_hWnd);
        const int n = text.GetLength();
        static const char kNone[] = "\x82\xC8\x82\xB5";
        if (text.Find('+') >= 0 &&
            ((n > 0 && text[n - 1] == '+') || (n >= 4 && strcmp(static_cast<LPCSTR>(text) + n - 4, kNone) == 0)))
            ::SetWindowTextA(m_hWnd, "");
        return TRUE;
    }
    default:
        return CEdit::PreTranslateMessage(pMsg);
    }
}

//--- CDlgKeyCustom

CDlgKeyCustom::CDlgKeyCustom() : CBindingDialog(IDD_KEYCUSTOM, IDC_BIND_KEY)
{
}

BOOL CDlgKeyCustom::OnInitDialog()
{
    m_edit.SubclassDlgItem(IDC_BIND_KEY, this);
    return CBindingDialog::OnInitDialog();
}

//--- Strokes and the gesture pad

namespace {

const char kArrowUp[] = "\x81\xAA";
const char kArrowDown[] = "\x81\xAB";
const char kArrowLeft[] = "\x81\xA9";
const char kArrowRight[] = "\x81\xA8";

const char* ArrowOf(int angle)
{
    switch (GestureAngle::DirectionOf(angle)) {
    case GestureAngle::kUp: return kArrowUp;
    case GestureAngle::kLeft: return kArrowLeft;
    case GestureAngle::kDown: return kArrowDown;
    case GestureAngle::kRight: break;
    }
    return kArrowRight;
}

} // namespace

int StrokeAngle(int dx, int dy)
{
    return GestureAngle::Of(dx, dy);
}

bool StrokeStep(StrokeState& state, POINT pt, DWORD now, int nSensitivity)
{
    const double dx = static_cast<double>(pt.x - state.anchor.x);
    const double dy = static_cast<double>(pt.y - state.anchor.y);
    if (static_cast<int>(std::sqrt(dx * dx + dy * dy)) < nSensitivity)
        return false;
    const char* arrow = ArrowOf(StrokeAngle(pt.x - state.anchor.x, state.anchor.y - pt.y));
    state.anchor = pt;
    if (state.lastArrow == arrow && now - state.lastTick > kStrokeRepeatMs)
        state.lastArrow.Empty();
    const bool bAppended = state.lastArrow != arrow;
    if (bAppended) {
        state.gesture += arrow;
        state.lastArrow = arrow;
    }
    state.lastTick = now;
    return bAppended;
}

BOOL CGesturePad::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_RBUTTONDOWN && pMsg->hwnd == m_hWnd)
        TrackGesture(*pMsg);
    return CWnd::PreTranslateMessage(pMsg);
}

void CGesturePad::TrackGesture(const MSG& down)
{
    HWND hText = ::GetDlgItem(::GetParent(m_hWnd), IDC_BIND_GESTURE);
    const int nSensitivity = FormsetApp().m_settings.iMouseGSence;
    // A fault in the pad's code ends the stroke; the capture goes with the
    // loop, however it ends.
    CFaultLoop loop(m_hWnd);
    CFaultCapture capture(m_hWnd);
    StrokeState state;
    state.anchor = POINT{ GET_X_LPARAM(down.lParam), GET_Y_LPARAM(down.lParam) };
    ::ClientToScreen(down.hwnd, &state.anchor);
    POINT current = state.anchor;
    state.gesture = WindowText(hText);
    MSG msg;
    for (;;) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // The thread is quitting: the quit belongs to the loop outside.
            if (got == 0)
                ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (::GetCapture() != m_hWnd)
            break;
        if (msg.message == WM_MOUSEMOVE) {
            current = POINT{ GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam) };
            ::ClientToScreen(msg.hwnd, &current);
            if (StrokeStep(state, current, ::GetTickCount(), nSensitivity))
                ::SetWindowTextA(hText, state.gesture);
            continue;
        }
        if (msg.message == WM_LBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK)
            break;
        if (msg.message == WM_LBUTTONUP)
            continue;
        loop.Dispatch(msg);
        if (msg.message == WM_RBUTTONUP || loop.IsBroken())
            break;
    }
    ::ReleaseCapture();
    if (state.gesture.IsEmpty()) {
        POINT pt = current;
        ::ScreenToClient(m_hWnd, &pt);
        ::PostMessageA(m_hWnd, WM_RBUTTONUP, down.wParam, MAKELPARAM(pt.x, pt.y));
    }
}

//--- CDlgGestureSetting

BEGIN_MESSAGE_MAP(CDlgGestureSetting, CBindingDialog)
    ON_COMMAND_RANGE(IDC_BIND_LEFT, IDC_BIND_DOWN, OnArrow)
    ON_COMMAND(IDC_BIND_BACKSPACE, OnBackSpace)
    ON_COMMAND(IDC_BIND_CLEAR, OnClear)
END_MESSAGE_MAP()

CDlgGestureSetting::CDlgGestureSetting() : CBindingDialog(IDD_GESTURESETTING, IDC_BIND_GESTURE)
{
}

BOOL CDlgGestureSetting::OnInitDialog()
{
    m_pad.SubclassDlgItem(IDC_BIND_PAD, this);
    return CBindingDialog::OnInitDialog();
}

CString CDlgGestureSetting::ReadBindingText()
{
    return WindowText(::GetDlgItem(m_hWnd, IDC_BIND_GESTURE));
}

void CDlgGestureSetting::AddArrow(const char* arrow)
{
    CString text = ReadBindingText();
    if (arrow != nullptr && *arrow != '\0')
        text += arrow;
    else
        text = text.GetLength() >= 2 ? text.Left(text.GetLength() - 2) : CString();
    ::SetDlgItemTextA(m_hWnd, IDC_BIND_GESTURE, text);
}

void CDlgGestureSetting::OnArrow(UINT nID)
{
    static const char* const kArrows[] = { kArrowLeft, kArrowUp, kArrowRight, kArrowDown };
    AddArrow(kArrows[nID - IDC_BIND_LEFT]);
}

void CDlgGestureSetting::OnBackSpace()
{
    AddArrow(nullptr);
}

void CDlgGestureSetting::OnClear()
{
    ::SetDlgItemTextA(m_hWnd, IDC_BIND_GESTURE, "");
}
