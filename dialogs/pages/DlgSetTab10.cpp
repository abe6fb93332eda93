#include "dialogs/pages/DlgSetTab10.h"

#include "dialogs/core/FileFailure.h"
#include "dialogs/core/FormsetApp.h"
#include "dialogs/pages/DlgSetTab10Res.h"
#include "shared/ExternalEditor.h"
#include "shared/RegKey.h"

namespace {

const PageField kFields[] = {
    IndexField(IDC_TABOP_APPENDPOS, "iTabAppendPos"),
    IndexField(IDC_TABOP_CLOSEPOS, "iTabClosePos"),
    IndexField(IDC_TABOP_CTRLN, "CtrlN"),
    IndexField(IDC_TABOP_CTRLF, "CtrlF"),
    IndexField(IDC_TABOP_CONTEXT, "iIEContext"),
    CheckField(IDC_TABOP_INHERIT, "bLinkActivateSetting"),
    // 1 or 0 whatever the word held before: the main program reads it as a
    // switch.
    WholeWordField("dwDLControlFlags_LinkActivate"),
    CheckField(IDC_TABOP_INHERITDL, "dwDLControlFlags_LinkActivate"),
    WholeWordField("dwTool_LinkActivate"),
    BitField(IDC_TABOP_DOMAINLOCK, "dwTool_LinkActivate", 1),
    BitField(IDC_TABOP_WHEELLOCK, "dwTool_LinkActivate", 4),
    BitField(IDC_TABOP_LINKLOCK, "dwTool_LinkActivate", 5),
};

const int kInheritDependents[] = { IDC_TABOP_INHERITDL, IDC_TABOP_DOMAINLOCK, IDC_TABOP_WHEELLOCK,
                                   IDC_TABOP_LINKLOCK };

// "reg.dat": the editor's key and the key removed with it.
const int kRegEditorKey = 3;
const int kRegEditorParentKey = 4;
// "etc.dat": the browse dialog's title and filter.
const int kEtcOpenTitle = 48;
const int kEtcEditorFilter = 50;

} // namespace

IMPLEMENT_DYNCREATE(CDlgSetTab10, CSettingsPage)

BEGIN_MESSAGE_MAP(CDlgSetTab10, CSettingsPage)
    ON_COMMAND(IDC_TABOP_INHERIT, OnInherit)
    ON_COMMAND(IDC_TABOP_BROWSE, OnBrowse)
END_MESSAGE_MAP()

CDlgSetTab10::CDlgSetTab10()
    : CSettingsPage(IDD_SETTAB10, kFields, static_cast<int>(sizeof(kFields) / sizeof(kFields[0])))
{
}

BOOL CDlgSetTab10::OnInitDialog()
{
    FillComboStrings(::GetDlgItem(m_hWnd, IDC_TABOP_APPENDPOS), IDS_TABOP_APPENDPOS, 6);
    FillComboStrings(::GetDlgItem(m_hWnd, IDC_TABOP_CLOSEPOS), IDS_TABOP_CLOSEPOS, 5);
    FillComboStrings(::GetDlgItem(m_hWnd, IDC_TABOP_CTRLN), IDS_TABOP_CTRLN, 4);
    FillComboStrings(::GetDlgItem(m_hWnd, IDC_TABOP_CTRLF), IDS_TABOP_CTRLF, 3);
    FillComboStrings(::GetDlgItem(m_hWnd, IDC_TABOP_CONTEXT), IDS_TABOP_CONTEXT, 3);
    CSettingsPage::OnInitDialog();
    ::SendDlgItemMessageA(m_hWnd, IDC_TABOP_EDITOR, EM_LIMITTEXT, MAX_PATH - 1, 0);
    m_strEditorShown = ReadEditorPath(FormsetApp().GetRegString(kRegEditorKey));
    ::SetDlgItemTextA(m_hWnd, IDC_TABOP_EDITOR, m_strEditorShown);
    OnInherit();
    const int hidden[] = { IDC_TABOP_DOMAINLOCK };
    HideDlgItems(m_hWnd, hidden, 1);
    return FALSE;
}

void CDlgSetTab10::OnSaveSettings()
{
    CSettingsPage::OnSaveSettings();
    // The registry is written only for a text the user changed: the shown
    // text may stand for a value it cannot repeat (an empty or unreadable
    // value shows "notepad.exe", a path beyond the code page its short
    // form), which an unchanged OK must not remove or rewrite.
    const CString text = PageItemText(m_hWnd, IDC_TABOP_EDITOR);
    if (text != m_strEditorShown)
        SaveEditor(text);
}

void CDlgSetTab10::SaveEditor(const CString& text)
{
    CFormsetApp& app = FormsetApp();
    const CString editorKey = app.GetRegString(kRegEditorKey);
    CString lower = text;
    lower.MakeLower();
    if (lower == "notepad.exe") {
        // DeleteKey refuses an empty path. A key that is not there is as
        // good as deleted; the parent goes only when it has no other keys.
        const LONG result = CRegKey::DeleteKey(HKEY_LOCAL_MACHINE, editorKey);
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND && !editorKey.IsEmpty())
            TellEditorNotSaved(editorKey, static_cast<DWORD>(result));
        else
            (void)CRegKey::DeleteKey(HKEY_LOCAL_MACHINE, app.GetRegString(kRegEditorParentKey));
        return;
    }
    // An empty line would name HKEY_LOCAL_MACHINE itself.
    if (text.IsEmpty() || editorKey.IsEmpty())
        return;
    CRegKey key;
    LONG result = key.Create(HKEY_LOCAL_MACHINE, editorKey, KEY_ALL_ACCESS);
    if (result == ERROR_SUCCESS)
        result = key.SetString(nullptr, text);
    if (result != ERROR_SUCCESS)
        TellEditorNotSaved(editorKey, static_cast<DWORD>(result));
}

void CDlgSetTab10::TellEditorNotSaved(const CString& editorKey, DWORD error)
{
    ShowFileFailure(m_hWnd, FileFailureKind::kRegistryWrite, "HKEY_LOCAL_MACHINE\\" + editorKey,
                    FileErrorReason(error));
}

void CDlgSetTab10::OnInherit()
{
    const bool bOn = ::IsDlgButtonChecked(m_hWnd, IDC_TABOP_INHERIT) == BST_CHECKED;
    for (int nID : kInheritDependents)
        EnableDlgItem(m_hWnd, nID, bOn);
}

void CDlgSetTab10::OnBrowse()
{
    CFormsetApp& app = FormsetApp();
    CString path;
    if (AfxPromptOpenFile(m_hWnd, app.GetEtcString(kEtcEditorFilter), app.GetEtcString(kEtcOpenTitle),
                          OFN_HIDEREADONLY, path) &&
        !path.IsEmpty())
        ::SetDlgItemTextA(m_hWnd, IDC_TABOP_EDITOR, path);
}
