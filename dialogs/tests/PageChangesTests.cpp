// Pages that write back only what the user changed and keep their own
// rules: the page-source editor's registry value, the favorites page's
// enabling rules, and the proxy list typed as one text.
#include "dialogs/tests/PageHarness.h"

#include "dialogs/pages/DlgSetTab10.h"
#include "dialogs/pages/DlgSetTab10Res.h"
#include "dialogs/pages/ProxyPage.h"
#include "dialogs/pages/ProxyPageRes.h"
#include "dialogs/pages/SimplePages.h"
#include "dialogs/pages/SimplePagesRes.h"
#include "shared/ExternalEditor.h"
#include "shared/RegKey.h"
#include "shared/WidePath.h"

namespace {

const char kEditorParent[] = "Software\\VantorelArcoTests\\Editor Changes";
const char kEditorKey[] = "Software\\VantorelArcoTests\\Editor Changes\\Editor Name";

// A registry value as it is stored: its type and its bytes.
struct RawValue
{
    LONG result = ERROR_FILE_NOT_FOUND;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
    bool operator==(const RawValue& other) const
    {
        return result == other.result && type == other.type && bytes == other.bytes;
    }
};

RawValue MachineDefaultValue(const char* keyPath)
{
    RawValue raw;
    CRegKey key;
    if ((raw.result = key.Open(HKEY_LOCAL_MACHINE, keyPath)) != ERROR_SUCCESS)
        return raw;
    DWORD size = 0;
    raw.result = ::RegQueryValueExW(key, nullptr, nullptr, &raw.type, nullptr, &size);
    raw.bytes.resize(size);
    if (raw.result == ERROR_SUCCESS && size > 0)
        raw.result = ::RegQueryValueExW(key, nullptr, nullptr, &raw.type, raw.bytes.data(), &size);
    return raw;
}

// The default editor: Notepad from the system folder, by its full path.
std::wstring SystemNotepad()
{
    wchar_t folder[MAX_PATH] = {};
    ::GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\notepad.exe";
}

std::string Expanded(const char* text)
{
    char buffer[MAX_PATH * 2] = {};
    ::ExpandEnvironmentStringsA(text, buffer, sizeof(buffer));
    return buffer;
}

bool IsEnabled(HWND hPage, int nID)
{
    return ::IsWindowEnabled(::GetDlgItem(hPage, nID)) != FALSE;
}

// The favorites page's auto-hide group, which stays disabled while the
// page shows (the arrows of its edits are not in it).
const int kAutoHideGroup[] = { IDC_FAV_AUTOHIDE, IDC_FAV_HIDECLICK, IDC_FAV_HIDERCLICK,
                               IDC_FAV_HIDEBARSHOW, IDC_FAV_DELAY, IDC_FAV_BARWIDTH };

std::string EnabledAutoHideControls(HWND hPage)
{
    std::string enabled;
    for (int nID : kAutoHideGroup) {
        if (IsEnabled(hPage, nID))
            enabled += std::to_string(nID) + " enabled;";
    }
    return enabled;
}

} // namespace

// A value the edit field cannot show as it is stored (an unexpanded path,
// an empty or unreadable value, a path beyond the code page) is left as it
// is, type and bytes, by an OK that did not change the text; both keys stay.
TEST_F(PageTest, UnchangedEditorTextLeavesTheRegistryValueAsItWas)
{
    m_folder->WriteBytes("String/reg.dat",
                         std::string("a\r\nb\r\n") + kEditorKey + "\r\n" + kEditorParent + "\r\n");
    theApp.GetEtcString(1);  // the line cache holds one file: reg.dat is read anew
    const std::wstring beyond = L"C:\\Tools\\\u00E9diteur\\ed.exe";  // "é" is not in cp932
    const DWORD number = 7;
    const struct
    {
        const char* name;
        DWORD type;
        const void* data;
        DWORD size;
        std::string shown;
        std::wstring started;  // the program the editor commands start
    } kValues[] = {
        { "REG_EXPAND_SZ", REG_EXPAND_SZ, L"%SystemRoot%\\ed.exe", sizeof(L"%SystemRoot%\\ed.exe"),
          Expanded("%SystemRoot%\\ed.exe"), WidePath::FromAnsi(Expanded("%SystemRoot%\\ed.exe").c_str()) },
        { "empty REG_SZ", REG_SZ, L"", sizeof(L""), "notepad.exe", SystemNotepad() },
        { "REG_DWORD", REG_DWORD, &number, sizeof(number), "notepad.exe", SystemNotepad() },
        { "beyond cp932", REG_SZ, beyond.c_str(), static_cast<DWORD>((beyond.size() + 1) * sizeof(wchar_t)), "",
          beyond },
    };
    for (const auto& value : kValues) {
        CRegKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_LOCAL_MACHINE, kEditorKey, KEY_ALL_ACCESS));
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExW(key, nullptr, 0, value.type, static_cast<const BYTE*>(value.data),
                                                  value.size));
        key.Close();
        const RawValue before = MachineDefaultValue(kEditorKey);
        EXPECT_TRUE(value.started == ReadEditorCommand(kEditorKey).program) << value.name;
        std::string shown;
        RunPage(RUNTIME_CLASS(CDlgSetTab10), IDD_SETTAB10, { [&](HWND hPage) {
            shown = Text(hPage, IDC_TABOP_EDITOR);
        } });
        if (!value.shown.empty()) {
            EXPECT_EQ(value.shown, shown) << value.name;
        }
        EXPECT_TRUE(before == MachineDefaultValue(kEditorKey)) << value.name;
        CRegKey parent;
        EXPECT_EQ(ERROR_SUCCESS, parent.Open(HKEY_LOCAL_MACHINE, kEditorParent)) << value.name;
    }

    CRegKey software;
    if (software.Open(HKEY_LOCAL_MACHINE, "Software", KEY_ALL_ACCESS) == ERROR_SUCCESS)
        (void)software.DeleteSubKeyTree("VantorelArcoTests");
}

// Each "open in a new tab" check enables its own "do not activate" check
// and nothing else: the auto-hide group stays disabled, whatever its
// stored state.
TEST_F(PageTest, FavoritesNewTabChecksKeepTheAutoHideGroupDisabled)
{
    const struct
    {
        int nCheck;
        int nDependent;
    } kRules[] = {
        { IDC_FAV_NEWTAB, IDC_FAV_NOACTIVATE },
        { IDC_FAV_WCNEWTAB, IDC_FAV_WCNOACTIVATE },
    };
    for (uint8_t autoHide : { 0, 1 }) {
        theApp.m_settings.bFavViewAutoHide = autoHide;
        RunPage(RUNTIME_CLASS(CDlgSetTab3), IDD_SETTAB3, { [&](HWND hPage) {
            EXPECT_EQ("", EnabledAutoHideControls(hPage)) << int(autoHide);
            for (const auto& rule : kRules) {
                for (bool bOn : { true, false, true }) {
                    SetCheck(hPage, rule.nCheck, bOn);
                    EXPECT_EQ(bOn, IsEnabled(hPage, rule.nDependent)) << rule.nCheck;
                    EXPECT_EQ("", EnabledAutoHideControls(hPage)) << rule.nCheck << " " << int(autoHide);
                }
            }
        } }, IDCANCEL);
    }
}

// Two servers typed in the batch dialog, apart by any line end, are two
// entries of "Proxy.ini" and two rows when the page reads the file again.
TEST_F(PageTest, ProxyBatchSplitsAtEveryKindOfLineEnd)
{
    for (const char* lineEnd : { "\r\n", "\n", "\r" }) {
        m_folder->Remove("Proxy.ini");
        const std::string text = std::string("a.example:80") + lineEnd + "b.example:8080";
        RunPage(RUNTIME_CLASS(CDlgSetTab8), IDD_SETTAB8, {
            [&](HWND hPage) { Click(hPage, IDC_PROXY_BATCH); },
            [&](HWND) {
                HWND hDlg = FindDialog();
                ::SetDlgItemTextA(hDlg, IDC_PROXY_BATCHTEXT, text.c_str());
                Click(hDlg, IDOK);
            },
        });
        const std::string ini = m_folder->File("Proxy.ini");
        char value[64] = {};
        ::GetPrivateProfileStringA("PROXY", "Proxy0", "", value, sizeof(value), ini.c_str());
        EXPECT_STREQ("a.example:80", value) << int(lineEnd[0]);
        ::GetPrivateProfileStringA("PROXY", "Proxy1", "", value, sizeof(value), ini.c_str());
        EXPECT_STREQ("b.example:8080", value) << int(lineEnd[0]);
        std::string rows;
        RunPage(RUNTIME_CLASS(CDlgSetTab8), IDD_SETTAB8, { [&](HWND hPage) {
            HWND hList = ::GetDlgItem(hPage, IDC_PROXY_LIST);
            for (int nRow = 0; nRow < RowCount(hList); ++nRow)
                rows += Cell(hList, nRow, 1) + ":" + Cell(hList, nRow, 2) + ";";
        } }, IDCANCEL);
        EXPECT_EQ("a.example:80;b.example:8080;", rows) << int(lineEnd[0]);
    }
}
