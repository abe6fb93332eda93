#include "dialogs/pages/SettingsPage.h"

#include <vector>

#include "dialogs/core/DlgSetting.h"
#include "dialogs/core/FormsetApp.h"

IMPLEMENT_DYNAMIC(CSettingsPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CSettingsPage, CNewFrame<CPropertyPage>)
    ON_WM_SIZE()
    ON_MESSAGE(WM_SAVE_SETTINGS, OnSaveSettingsMessage)
END_MESSAGE_MAP()

CSettingsPage::CSettingsPage(UINT nIDTemplate, const PageField* fields, int nFields)
    : CNewFrame<CPropertyPage>(nIDTemplate), m_pFields(fields), m_nFields(fields != nullptr ? nFields : 0)
{
}

SettingsRecord& CSettingsPage::Settings()
{
    return FormsetApp().m_settings;
}

int CSettingsPage::MessageBoxLine(int nLine, UINT nType)
{
    return MessageBoxText(FormsetApp().GetMessageString(nLine), nType);
}

int CSettingsPage::MessageBoxText(LPCSTR text, UINT nType)
{
    return ::MessageBoxA(m_hWnd, text, FormsetApp().GetProductName(), nType);
}

BOOL CSettingsPage::OnInitDialog()
{
    CNewFrame<CPropertyPage>::OnInitDialog();
    LoadPageFields(m_hWnd, m_pFields, m_nFields, Settings());
    return TRUE;
}

void CSettingsPage::OnSaveSettings()
{
    SavePageFields(m_hWnd, m_pFields, m_nFields, Settings());
}

LRESULT CSettingsPage::OnSaveSettingsMessage(WPARAM, LPARAM)
{
    OnSaveSettings();
    return 0;
}

void CSettingsPage::OnSize(UINT nType, int cx, int cy)
{
    CNewFrame<CPropertyPage>::OnSize(nType, cx, cy);
    if (m_layout.GetCount() > 0)
        m_layout.Relayout(this);
}

void EnableDlgItem(HWND hDlg, int nID, bool bEnable)
{
    ::EnableWindow(::GetDlgItem(hDlg, nID), bEnable ? TRUE : FALSE);
}

void HideDlgItems(HWND hDlg, const int* ids, int count)
{
    for (int i = 0; i < count; ++i) {
        HWND hControl = ::GetDlgItem(hDlg, ids[i]);
        ::EnableWindow(hControl, FALSE);
        ::ShowWindow(hControl, SW_HIDE);
    }
}

void FillComboStrings(HWND hCombo, UINT nFirstString, int count)
{
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        ::LoadStringA(AfxGetResourceHandle(), nFirstString + static_cast<UINT>(i), text, sizeof(text));
        ::SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
}

CString PageItemText(HWND hDlg, int nID)
{
    HWND hItem = ::GetDlgItem(hDlg, nID);
    const int n = ::GetWindowTextLengthA(hItem);
    CString text;
    if (n > 0) {
        std::vector<char> buffer(static_cast<size_t>(n) + 1);
        ::GetWindowTextA(hItem, buffer.data(), n + 1);
        text = buffer.data();
    }
    return text;
}

void SetPageIcons(HWND hDlg)
{
    ::SendMessageA(hDlg, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FormsetApp().m_hIcon));
    ::SendMessageA(hDlg, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(FormsetApp().m_hIcon));
}
