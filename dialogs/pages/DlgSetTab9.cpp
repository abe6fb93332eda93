#include "dialogs/pages/DlgSetTab9.h"

#include <urlmon.h>

#include "dialogs/core/FormsetApp.h"
#include "dialogs/pages/DlgSetTab9Res.h"
#include "framework/core/File.h"

namespace {

const PageField kFields[] = {
    CheckField(IDC_DEF_DELCACHE, "bDelCache"),
    CheckField(IDC_DEF_DELCOOKIE, "bDelCookie"),
    CheckField(IDC_DEF_DELHISTORY, "bDelHistory"),
    CheckField(IDC_DEF_RECOMPFAV, "bReCompFav"),
    CheckField(IDC_DEF_RECOMPFAVALL, "bReCompFavAll"),
    CheckField(IDC_DEF_RECOMPIEHISTORY, "bReCompIEHistory"),
    // Empty: the main program takes the system's agent at its next start.
    TrimmedTextField(IDC_DEF_AGENT, "strUserAgent", 500),
    CheckField(IDC_DEF_LIGHTREFRESH, "bLightRefresh"),
    CheckField(IDC_DEF_STATUSSHOW, "bStatusShow"),
    // Rebuilt from the ten checks; bits without a check are cleared. 0x1 is
    // the program's own Flash bit, the others the browser control's
    // download-control flags.
    WholeWordField("dwDLControlFlags"),
    BitField(IDC_DEF_IMAGES, "dwDLControlFlags", 4),
    BitField(IDC_DEF_SOUNDS, "dwDLControlFlags", 6),
    BitField(IDC_DEF_VIDEOS, "dwDLControlFlags", 5),
    BitField(IDC_DEF_FLASH, "dwDLControlFlags", 0),
    InvertedBitField(IDC_DEF_SCRIPTS, "dwDLControlFlags", 7),
    InvertedBitField(IDC_DEF_JAVA, "dwDLControlFlags", 8),
    InvertedBitField(IDC_DEF_ACTIVEX, "dwDLControlFlags", 9),
    InvertedBitField(IDC_DEF_ACTIVEXDL, "dwDLControlFlags", 10),
    BitField(IDC_DEF_NOCACHE, "dwDLControlFlags", 14),
    BitField(IDC_DEF_SILENT, "dwDLControlFlags", 30),
};

const int kHidden[] = {
    IDC_DEF_DELHISTORY, IDC_DEF_DELCACHE, IDC_DEF_DELCOOKIE, IDC_DEF_RECOMPFAV,
    IDC_DEF_RECOMPFAVALL, IDC_DEF_RECOMPIEHISTORY, IDC_DEF_STATUSSHOW,
};

void AddComboItem(HWND hCombo, const CString& text)
{
    ::SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(text)));
}

} // namespace

IMPLEMENT_DYNCREATE(CDlgSetTab9, CSettingsPage)

BEGIN_MESSAGE_MAP(CDlgSetTab9, CSettingsPage)
    ON_COMMAND(IDC_DEF_AGENTRESET, OnResetAgent)
END_MESSAGE_MAP()

CDlgSetTab9::CDlgSetTab9()
    : CSettingsPage(IDD_SETTAB9, kFields, static_cast<int>(sizeof(kFields) / sizeof(kFields[0])))
{
}

BOOL CDlgSetTab9::OnInitDialog()
{
    // The current agent first, then every line of "String\UserAgent.dat"
    // (empty lines too); the field table then puts the current agent into
    // the list's edit.
    HWND hCombo = ::GetDlgItem(m_hWnd, IDC_DEF_AGENT);
    AddComboItem(hCombo, Settings().strUserAgent);
    CStdioFile file;
    const CString path = FormsetApp().GetFolders().StringFile("UserAgent.dat");
    if (file.Open(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeText)) {
        CString line;
        while (file.ReadString(line))
            AddComboItem(hCombo, line);
    }
    CSettingsPage::OnInitDialog();
    HideDlgItems(m_hWnd, kHidden, static_cast<int>(sizeof(kHidden) / sizeof(kHidden[0])));
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_DEF_EXITGROUP), SW_HIDE);
    return FALSE;
}

void CDlgSetTab9::OnResetAgent()
{
    // Nothing is saved until the dialog is confirmed; a failed query (the
    // agent longer than the buffer) leaves the field as it is.
    char agent[kAgentBufferSize] = {};
    DWORD size = sizeof(agent);
    if (FAILED(::ObtainUserAgentString(0, agent, &size)))
        return;
    agent[sizeof(agent) - 1] = '\0';
    ::SetDlgItemTextA(m_hWnd, IDC_DEF_AGENT, agent);
}
