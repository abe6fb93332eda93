#include "dialogs/pages/PageFields.h"


#include "framework/app/FaultGuard.h"
#include "framework/core/Cp932.h"

namespace {

int32_t KeyNumber(const SettingsRecord& settings, int key)
{
    return ParseSettingsNumber(settings.GetKeyValue(key));
}

void SetKeyNumber(SettingsRecord& settings, int key, int32_t value)
{
    CString text;
    text.Format("%d", static_cast<int>(value));
    settings.SetKeyValue(key, text);
}

bool IsChecked(HWND hPage, int nID)
{
    return ::IsDlgButtonChecked(hPage, nID) == BST_CHECKED;
}

void SetChecked(HWND hPage, int nID, bool bChecked)
{
    ::CheckDlgButton(hPage, nID, bChecked ? BST_CHECKED : BST_UNCHECKED);
}

CString ControlText(HWND hControl)
{
    CString text;
    const int length = ::GetWindowTextLengthA(hControl);
    if (length <= 0)
        return text;
    LPSTR buffer = text.GetBuffer(length + 1);
    const int got = ::GetWindowTextA(hControl, buffer, length + 1);
    text.ReleaseBuffer(got > 0 ? got : 0);
    return text;
}

struct UpDownSearch
{
    HWND hBuddy;
    HWND hFound;
};

BOOL CALLBACK FindUpDownOf(HWND hWnd, LPARAM lParam)
{
    return AfxRunEntry("FindUpDownOf", FALSE, [&]() -> BOOL {
        UpDownSearch* search = reinterpret_cast<UpDownSearch*>(lParam);
        char name[32] = {};
        ::GetClassNameA(hWnd, name, sizeof(name));
        if (lstrcmpiA(name, UPDOWN_CLASSA) != 0 ||
            reinterpret_cast<HWND>(::SendMessageA(hWnd, UDM_GETBUDDY, 0, 0)) != search->hBuddy)
            return TRUE;
        search->hFound = hWnd;
        return FALSE;
    });
}

// The up-down control attached to an edit, or null.
HWND UpDownOf(HWND hPage, HWND hEdit)
{
    UpDownSearch search = { hEdit, nullptr };
    ::EnumChildWindows(hPage, FindUpDownOf, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

void LoadRow(HWND hPage, const PageField& row, int key, const SettingsRecord& settings)
{
    HWND hControl = ::GetDlgItem(hPage, row.nID);
    const int32_t value = KeyNumber(settings, key);
    switch (row.kind) {
    case PageFieldKind::Check: SetChecked(hPage, row.nID, value != 0); break;
    case PageFieldKind::InvertedCheck: SetChecked(hPage, row.nID, value == 0); break;
    case PageFieldKind::Bit:
    case PageFieldKind::InvertedBit:
        SetChecked(hPage, row.nID,
                   (((static_cast<uint32_t>(value) >> row.arg1) & 1u) != 0) == (row.kind == PageFieldKind::Bit));
        break;
    case PageFieldKind::WholeWord: break;
    case PageFieldKind::Index:
        // A value without an item selects nothing.
        ::SendMessageA(hControl, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
        break;
    case PageFieldKind::Radio:
        for (int i = 0; i < row.arg1; ++i)
            SetChecked(hPage, row.nID + i, i == value);
        break;
    case PageFieldKind::Number:
    case PageFieldKind::NumberOrZero:
        if (HWND hUpDown = UpDownOf(hPage, hControl))
            ::SendMessageA(hUpDown, UDM_SETRANGE32, static_cast<WPARAM>(row.arg1), row.arg2);
        ::SetWindowTextA(hControl, settings.GetKeyValue(key));
        break;
    case PageFieldKind::Text: ::SetWindowTextA(hControl, settings.GetKeyValue(key)); break;
    }
}

void SaveRow(HWND hPage, const PageField& row, int key, SettingsRecord& settings)
{
    HWND hControl = ::GetDlgItem(hPage, row.nID);
    switch (row.kind) {
    case PageFieldKind::Check: SetKeyNumber(settings, key, IsChecked(hPage, row.nID) ? 1 : 0); break;
    case PageFieldKind::InvertedCheck: SetKeyNumber(settings, key, IsChecked(hPage, row.nID) ? 0 : 1); break;
    case PageFieldKind::Bit:
    case PageFieldKind::InvertedBit: {
        uint32_t word = static_cast<uint32_t>(KeyNumber(settings, key));
        SettingsRecord::SetOptionBit(word, row.arg1, IsChecked(hPage, row.nID) == (row.kind == PageFieldKind::Bit));
        SetKeyNumber(settings, key, static_cast<int32_t>(word));
        break;
    }
    case PageFieldKind::WholeWord: break;
    case PageFieldKind::Index: {
        const LRESULT index = ::SendMessageA(hControl, CB_GETCURSEL, 0, 0);
        if (index != CB_ERR)
            SetKeyNumber(settings, key, static_cast<int32_t>(index));
        break;
    }
    case PageFieldKind::Radio:
        for (int i = 0; i < row.arg1; ++i) {
            if (IsChecked(hPage, row.nID + i)) {
                SetKeyNumber(settings, key, i);
                break;
            }
        }
        break;
    case PageFieldKind::Number:
    case PageFieldKind::NumberOrZero:
        SetKeyNumber(settings, key, PageFieldNumber(row, ControlText(hControl)));
        break;
    case PageFieldKind::Text: {
        CString text = ControlText(hControl);
        if (row.arg2 != 0)
            text.Trim();
        int length = text.GetLength();
        if (length > row.arg1)
            length = Cp932FloorBoundary(text, length, row.arg1 < 0 ? 0 : row.arg1);
        settings.SetKeyValue(key, text.Left(length));
        break;
    }
    }
}

bool HasControl(HWND hPage, const PageField& row)
{
    return row.kind == PageFieldKind::WholeWord || ::GetDlgItem(hPage, row.nID) != nullptr;
}

} // namespace

int PageNumberValue(const char* text, int minimum, int maximum, int fallback)
{
    const int32_t value = ParseSettingsNumber(text);
    return value < minimum || value > maximum ? fallback : value;
}

int PageFieldNumber(const PageField& row, const char* text)
{
    if (row.kind == PageFieldKind::NumberOrZero && ParseSettingsNumber(text) == 0)
        return 0;
    return PageNumberValue(text, row.arg1, row.arg2, row.arg3);
}

void LoadPageFields(HWND hPage, const PageField* rows, int count, const SettingsRecord& settings)
{
    for (int i = 0; i < count; ++i) {
        const int key = SettingsRecord::FindKey(rows[i].key);
        if (key >= 0 && HasControl(hPage, rows[i]))
            LoadRow(hPage, rows[i], key, settings);
    }
}

void SavePageFields(HWND hPage, const PageField* rows, int count, SettingsRecord& settings)
{
    // Words written whole start from their kept bits; their Bit rows follow.
    for (int i = 0; i < count; ++i) {
        const int key = SettingsRecord::FindKey(rows[i].key);
        if (rows[i].kind == PageFieldKind::WholeWord && key >= 0)
            SetKeyNumber(settings, key, KeyNumber(settings, key) & rows[i].arg1);
    }
    for (int i = 0; i < count; ++i) {
        const int key = SettingsRecord::FindKey(rows[i].key);
        if (key >= 0 && HasControl(hPage, rows[i]))
            SaveRow(hPage, rows[i], key, settings);
    }
}
