#include "dialogs/tests/PageHarness.h"

#include <memory>
#include <set>
#include <utility>

#include "dialogs/core/DlgSetting.h"
#include "dialogs/pages/SettingsPage.h"
#include "lists/PopupRules.h"
#include "shared/FrameMessages.h"

namespace {

const char kMainClass[] = "VaPageTestMain";

// The shell with the one page under test.
class CPageRunDialog : public CDlgSetting
{
public:
    CPageRunDialog()
    {
        SetTitle("PageRun");
        SetProductName("Product");
    }
    HWND PageWindow() const
    {
        CWnd* pPage = GetPageCount() > 0 ? GetPage(0).pPage : nullptr;
        return pPage != nullptr ? pPage->m_hWnd : nullptr;
    }
};

bool IsCheckBox(HWND hWnd)
{
    char name[16] = {};
    ::GetClassNameA(hWnd, name, sizeof(name));
    if (lstrcmpiA(name, "Button") != 0)
        return false;
    const LONG_PTR type = ::GetWindowLongPtrA(hWnd, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}

BOOL CALLBACK CollectChild(HWND hWnd, LPARAM lParam)
{
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

} // namespace

std::vector<HWND> PageTest::Children(HWND hParent)
{
    std::vector<HWND> children;
    ::EnumChildWindows(hParent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

namespace {

int32_t KeyNumber(const SettingsRecord& settings, const char* key)
{
    return ParseSettingsNumber(settings.GetKeyValue(SettingsRecord::FindKey(key)));
}

} // namespace

//--- RecordingMainWindow

RecordingMainWindow::RecordingMainWindow()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kMainClass;
    ::RegisterClassA(&wc);  // fails harmlessly once registered
    m_hWnd = ::CreateWindowExA(0, kMainClass, "main", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                               wc.hInstance, this);
}

RecordingMainWindow::~RecordingMainWindow()
{
    if (m_hWnd != nullptr)
        ::DestroyWindow(m_hWnd);
}

std::string RecordingMainWindow::SentLog() const
{
    std::string log;
    for (const Sent& sent : m_sent)
        log += std::to_string(sent.nMsg) + ";";
    return log;
}

LRESULT CALLBACK RecordingMainWindow::WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_NCCREATE) {
        const CREATESTRUCTA* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        ::SetPropA(hWnd, kMainClass, cs->lpCreateParams);
    }
    RecordingMainWindow* self = static_cast<RecordingMainWindow*>(::GetPropA(hWnd, kMainClass));
    if (nMsg == WM_NCDESTROY)
        ::RemovePropA(hWnd, kMainClass);
    if (self == nullptr)
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    switch (nMsg) {
    case WM_FRAME_GETACTIVEURL: return reinterpret_cast<LRESULT>(self->m_activeUrl.c_str());
    case WM_FRAME_GETACTIVETITLE: return reinterpret_cast<LRESULT>(self->m_activeTitle.c_str());
    case WM_FRAME_GETMENUSTYLE: return self->m_menuStyle;
    case WM_FRAME_NEWWINDOW: {
        const char* text = reinterpret_cast<const char*>(wParam);
        self->m_opened.push_back(std::string(text != nullptr ? text : "") + (lParam == 1 ? "|1" : ""));
        return text != nullptr && *text != '\0' ? 1 : 0;
    }
    case WM_FRAME_GETCURRENTGROUP: return reinterpret_cast<LRESULT>(self->m_pCurrentGroup);
    case WM_FRAME_ADDPOPUPENTRY:
        if (const PopupRule* rule = reinterpret_cast<const PopupRule*>(wParam)) {
            self->m_addedRules.push_back(std::string(rule->title) + "|" + static_cast<LPCSTR>(rule->url) + "|" +
                                         std::to_string(rule->flags));
        }
        self->m_sent.push_back(Sent{ nMsg, wParam, lParam });
        return 0;
    default:
        if (nMsg >= WM_FRAME_ADDPOPUPENTRY && nMsg <= WM_FRAME_RELOADSCRIPTS) {
            self->m_sent.push_back(Sent{ nMsg, wParam, lParam });
            return 0;
        }
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    }
}

//--- PageTest

void PageTest::SetUp()
{
    DialogsTest::SetUp();
    m_pMain = new RecordingMainWindow();
    theApp.m_hMainWnd = m_pMain->Handle();
}

void PageTest::TearDown()
{
    theApp.m_hMainWnd = m_hMain;
    delete m_pMain;
    m_pMain = nullptr;
    DialogsTest::TearDown();
}

int PageTest::RunPage(const CRuntimeClass* pClass, UINT nIDTemplate, std::vector<Step> steps, int nEnd)
{
    CPageRunDialog dialog;
    dialog.AddPage(pClass, "page", nIDTemplate, "page");
    std::vector<std::function<void()>> wrapped;
    for (Step& step : steps)
        wrapped.push_back([&dialog, step] { step(dialog.PageWindow()); });
    if (nEnd != 0)
        wrapped.push_back([&dialog, nEnd] { Click(dialog.m_hWnd, nEnd); });
    WhileModal(std::move(wrapped));
    const int nResult = static_cast<int>(dialog.DoModal());
    EXPECT_TRUE(AllStepsRan());
    return nResult;
}

void PageTest::SetCheck(HWND hPage, int nID, bool bOn)
{
    ::CheckDlgButton(hPage, nID, bOn ? BST_CHECKED : BST_UNCHECKED);
    ::SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(hPage, nID)));
}

void PageTest::SetText(HWND hPage, int nID, const char* text)
{
    ::SetDlgItemTextA(hPage, nID, text);
}

void PageTest::SetItem(HWND hPage, int nID, int nIndex)
{
    HWND hControl = ::GetDlgItem(hPage, nID);
    char name[32] = {};
    ::GetClassNameA(hControl, name, sizeof(name));
    if (lstrcmpiA(name, WC_LISTVIEWA) == 0) {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageA(hControl, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageA(hControl, LVM_SETITEMSTATE, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&item));
        return;
    }
    ::SendMessageA(hControl, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
    ::SendMessageA(hPage, WM_COMMAND, MAKEWPARAM(nID, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hControl));
}

void PageTest::SelectRows(HWND hList, std::initializer_list<int> rows)
{
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    for (int nRow : rows) {
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageA(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&item));
    }
}

void PageTest::DoubleClick(HWND hList)
{
    NMITEMACTIVATE info = {};
    info.hdr.hwndFrom = hList;
    info.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(hList));
    info.hdr.code = static_cast<UINT>(NM_DBLCLK);
    ::SendMessageA(::GetParent(hList), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
}

void PageTest::ClickHeader(HWND hList, int nColumn, bool bShift)
{
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    const BYTE saved = keys[VK_SHIFT];
    keys[VK_SHIFT] = bShift ? 0x80 : 0;
    ::SetKeyboardState(keys);
    NMLISTVIEW info = {};
    info.hdr.hwndFrom = hList;
    info.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(hList));
    info.hdr.code = LVN_COLUMNCLICK;
    info.iItem = -1;
    info.iSubItem = nColumn;
    ::SendMessageA(::GetParent(hList), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
    keys[VK_SHIFT] = saved;
    ::SetKeyboardState(keys);
}

std::string PageTest::Text(HWND hPage, int nID)
{
    char text[1024] = {};
    ::GetDlgItemTextA(hPage, nID, text, sizeof(text));
    return text;
}

std::string PageTest::BoxText(HWND hBox)
{
    std::string text;
    for (HWND h = ::GetWindow(hBox, GW_CHILD); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
        char cls[16] = {};
        char buffer[1024] = {};
        ::GetClassNameA(h, cls, sizeof(cls));
        ::GetWindowTextA(h, buffer, sizeof(buffer));
        if (lstrcmpiA(cls, "Static") == 0)
            text += buffer;
    }
    return text;
}

bool PageTest::IsChecked(HWND hPage, int nID)
{
    return ::IsDlgButtonChecked(hPage, nID) == BST_CHECKED;
}

std::vector<std::string> PageTest::DifferentKeys(const SettingsRecord& a, const SettingsRecord& b)
{
    std::vector<std::string> keys;
    for (int i = 0; i < SettingsRecord::GetKeyCount(); ++i) {
        if (a.GetKeyValue(i) != b.GetKeyValue(i))
            keys.push_back(SettingsRecord::GetKeyName(i));
    }
    return keys;
}

void PageTest::CheckOptionPage(const CRuntimeClass* pClass, UINT nIDTemplate)
{
    std::unique_ptr<CSettingsPage> probe(dynamic_cast<CSettingsPage*>(pClass->CreateObject()));
    ASSERT_NE(nullptr, probe.get());
    const PageField* rows = probe->GetFields();
    const int nRows = probe->GetFieldCount();
    std::set<std::string> whole;
    for (int i = 0; i < nRows; ++i) {
        EXPECT_GE(SettingsRecord::FindKey(rows[i].key), 0) << rows[i].key;
        if (rows[i].kind == PageFieldKind::WholeWord)
            whole.insert(rows[i].key);
    }
    auto changedKeys = [&](const SettingsRecord& a, const SettingsRecord& b) {
        std::string changed;
        for (const std::string& key : DifferentKeys(a, b)) {
            if (whole.count(key) == 0)
                changed += key + ";";
        }
        return changed;
    };

    // From the defaults: the boxes, the numbers, then OK without changes.
    SettingsRecord& settings = theApp.m_settings;
    const SettingsRecord before = settings;
    std::set<std::pair<std::string, int>> flips;
    RunPage(pClass, nIDTemplate, { [&](HWND hPage) {
        ::SendMessageA(hPage, WM_SAVE_SETTINGS, 0, 0);
        const SettingsRecord saved = settings;
        for (HWND hControl : Children(hPage)) {
            if (!IsCheckBox(hControl) || !::IsWindowVisible(hControl))
                continue;
            const int nID = ::GetDlgCtrlID(hControl);
            SetCheck(hPage, nID, !IsChecked(hPage, nID));
            ::SendMessageA(hPage, WM_SAVE_SETTINGS, 0, 0);
            const std::vector<std::string> diff = DifferentKeys(saved, settings);
            EXPECT_EQ(1u, diff.size()) << "check box " << nID;
            if (diff.size() == 1) {
                const uint32_t x = static_cast<uint32_t>(KeyNumber(saved, diff[0].c_str()) ^
                                                         KeyNumber(settings, diff[0].c_str()));
                EXPECT_TRUE(x != 0 && (x & (x - 1)) == 0) << "check box " << nID << " changes " << x;
                int bit = 0;
                while (bit < 31 && ((x >> bit) & 1u) == 0)
                    ++bit;
                EXPECT_TRUE(flips.insert(std::make_pair(diff[0], bit)).second)
                    << "check box " << nID << " shares " << diff[0] << " bit " << bit;
            }
            SetCheck(hPage, nID, !IsChecked(hPage, nID));
            settings = saved;
        }
        for (int i = 0; i < nRows; ++i) {
            const PageField& row = rows[i];
            if (row.kind != PageFieldKind::Number && row.kind != PageFieldKind::NumberOrZero)
                continue;
            const std::string original = Text(hPage, row.nID);
            for (int value : { 0, 1, 255, 256, 300, row.arg1, row.arg2, row.arg1 - 1, row.arg2 + 1 }) {
                SetText(hPage, row.nID, std::to_string(value).c_str());
                ::SendMessageA(hPage, WM_SAVE_SETTINGS, 0, 0);
                SettingsRecord expected = saved;
                const int key = SettingsRecord::FindKey(row.key);
                expected.SetKeyValue(key, std::to_string(PageFieldNumber(row, std::to_string(value).c_str())).c_str());
                EXPECT_STREQ(expected.GetKeyValue(key), settings.GetKeyValue(key)) << row.key << " typed " << value;
            }
            SetText(hPage, row.nID, original.c_str());
            settings = saved;
        }
    } });
    EXPECT_EQ("", changedKeys(before, settings));

    // From a record with every field changed: hidden controls carry theirs.
    SettingsRecord changed = before;
    for (int i = 0; i < nRows; ++i) {
        const PageField& row = rows[i];
        const int key = SettingsRecord::FindKey(row.key);
        const int32_t value = KeyNumber(changed, row.key);
        std::string next;
        switch (row.kind) {
        case PageFieldKind::Check:
        case PageFieldKind::InvertedCheck: next = value != 0 ? "0" : "1"; break;
        case PageFieldKind::Bit:
        case PageFieldKind::InvertedBit: next = std::to_string(static_cast<int32_t>(value ^ (1 << row.arg1))); break;
        case PageFieldKind::Index:
        case PageFieldKind::Radio: next = value == 1 ? "0" : "1"; break;
        case PageFieldKind::Number:
        case PageFieldKind::NumberOrZero:
            next = std::to_string(value == row.arg1 + 1 ? row.arg1 : row.arg1 + 1);
            break;
        case PageFieldKind::Text: next = "changed"; break;
        case PageFieldKind::WholeWord: continue;
        }
        changed.SetKeyValue(key, next.c_str());
    }
    settings = changed;
    RunPage(pClass, nIDTemplate, {});
    EXPECT_EQ("", changedKeys(changed, settings));
}

int PageTest::RowCount(HWND hList)
{
    return static_cast<int>(::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0));
}

std::string PageTest::Cell(HWND hList, int nRow, int nColumn)
{
    char text[512] = {};
    LVITEMA item = {};
    item.iSubItem = nColumn;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    ::SendMessageA(hList, LVM_GETITEMTEXTA, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&item));
    return text;
}
