#include "dialogs/pages/AssocPage.h"

#include "dialogs/core/FormsetApp.h"
#include "dialogs/pages/AssocPageRes.h"
#include "shared/RegKey.h"

namespace FileAssociation {

const char* const kTypes[8] = { "file", "ftp", "htmlfile", "mhtmlfile", "shtmlfile", "http", "https",
                                "InternetShortcut" };

namespace {

// The Windows 9x family keeps the classes per machine.
HKEY Root()
{
    return (::GetVersion() & 0x80000000u) != 0 ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

CString TypeKeyPath(LPCSTR typeName)
{
    return CString("SOFTWARE\\Classes\\") + typeName;
}

} // namespace

CString CommandText(const CString& folder, const CString& productName)
{
    return "\"" + folder + productName + ".exe\" \"%1\"";
}

bool IsAssociated(LPCSTR typeName, LPCSTR verb, LPCSTR command)
{
    CRegKey type, shell, verbCommand;
    CString defaultVerb, text;
    if (type.Open(Root(), TypeKeyPath(typeName), KEY_ALL_ACCESS) != ERROR_SUCCESS ||
        shell.Open(type, "shell", KEY_ALL_ACCESS) != ERROR_SUCCESS ||
        shell.QueryString(nullptr, defaultVerb) != ERROR_SUCCESS || defaultVerb != verb)
        return false;
    return verbCommand.Open(type, CString("shell\\") + verb + "\\command", KEY_ALL_ACCESS) == ERROR_SUCCESS &&
           verbCommand.QueryString(nullptr, text) == ERROR_SUCCESS && text.CompareNoCase(command) == 0;
}

bool Associate(LPCSTR typeName, LPCSTR verb, LPCSTR command)
{
    // Without a verb the command would land on the shell key itself.
    if (verb == nullptr || *verb == '\0')
        return false;
    CRegKey type, shell, verbKey, verbCommand;
    return type.Create(Root(), TypeKeyPath(typeName), KEY_ALL_ACCESS) == ERROR_SUCCESS &&
           shell.Create(type, "shell", KEY_ALL_ACCESS) == ERROR_SUCCESS &&
           shell.SetString(nullptr, verb) == ERROR_SUCCESS &&
           verbKey.Create(shell, verb, KEY_ALL_ACCESS) == ERROR_SUCCESS &&
           verbKey.SetString(nullptr, verb) == ERROR_SUCCESS &&
           verbCommand.Create(verbKey, "command", KEY_ALL_ACCESS) == ERROR_SUCCESS &&
           verbCommand.SetString(nullptr, command) == ERROR_SUCCESS;
}

void Remove(LPCSTR typeName, LPCSTR verb)
{
    if (verb == nullptr || *verb == '\0')
        return;
    // Opened, never created: a type the program never touched stays absent.
    CRegKey type, shell;
    CString defaultVerb;
    if (type.Open(Root(), TypeKeyPath(typeName), KEY_ALL_ACCESS) != ERROR_SUCCESS ||
        shell.Open(type, "shell", KEY_ALL_ACCESS) != ERROR_SUCCESS ||
        shell.QueryString(nullptr, defaultVerb) != ERROR_SUCCESS)
        return;
    if (defaultVerb == verb && shell.SetString(nullptr, "") != ERROR_SUCCESS)
        return;
    shell.Close();
    type.Close();
    // Key names end without a backslash, which RegDeleteKey does not take.
    const CString verbPath = TypeKeyPath(typeName) + "\\shell\\" + verb;
    if (::RegDeleteKeyA(Root(), verbPath + "\\command") == ERROR_SUCCESS)
        ::RegDeleteKeyA(Root(), verbPath);
}

} // namespace FileAssociation

IMPLEMENT_DYNCREATE(CDlgSetTab11, CSettingsPage)

BEGIN_MESSAGE_MAP(CDlgSetTab11, CSettingsPage)
    ON_COMMAND(IDC_ASSOC_CHECKALL, OnCheckAll)
    ON_COMMAND(IDC_ASSOC_UNCHECKALL, OnUncheckAll)
END_MESSAGE_MAP()

CDlgSetTab11::CDlgSetTab11() : CSettingsPage(IDD_SETTAB11)
{
}

namespace {

CString ProgramCommand()
{
    CFormsetApp& app = FormsetApp();
    return FileAssociation::CommandText(app.GetDataFolder(), app.GetProductName());
}

} // namespace

BOOL CDlgSetTab11::OnInitDialog()
{
    CSettingsPage::OnInitDialog();
    const CString command = ProgramCommand();
    for (int i = 0; i < 8; ++i) {
        const bool bOn = FileAssociation::IsAssociated(FileAssociation::kTypes[i], FormsetApp().GetProductName(),
                                                       command);
        ::CheckDlgButton(m_hWnd, IDC_ASSOC_FIRST + i, bOn ? BST_CHECKED : BST_UNCHECKED);
    }
    return TRUE;
}

void CDlgSetTab11::OnCheckAll()
{
    for (int i = 0; i < 8; ++i)
        ::CheckDlgButton(m_hWnd, IDC_ASSOC_FIRST + i, BST_CHECKED);
}

void CDlgSetTab11::OnUncheckAll()
{
    for (int i = 0; i < 8; ++i)
        ::CheckDlgButton(m_hWnd, IDC_ASSOC_FIRST + i, BST_UNCHECKED);
}

void CDlgSetTab11::OnSaveSettings()
{
    const CString command = ProgramCommand();
    const char* verb = FormsetApp().GetProductName();
    for (int i = 0; i < 8; ++i) {
        if (::IsDlgButtonChecked(m_hWnd, IDC_ASSOC_FIRST + i) == BST_CHECKED)
            FileAssociation::Associate(FileAssociation::kTypes[i], verb, command);
        else
            FileAssociation::Remove(FileAssociation::kTypes[i], verb);
    }
}
