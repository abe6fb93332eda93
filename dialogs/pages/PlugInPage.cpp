#include "dialogs/pages/PlugInPage.h"

#include <algorithm>
#include <memory>
#include <string>

#include "dialogs/core/DlgSetting.h"
#include "dialogs/core/FileFailure.h"
#include "dialogs/core/FormsetApp.h"
#include "dialogs/pages/ListPage.h"
#include "dialogs/pages/PlugInPageRes.h"
#include "dialogs/pages/SettingsPage.h"
#include "framework/core/AtomicFile.h"
#include "framework/core/File.h"
#include "framework/gdi/DC.h"
#include "framework/win/RedrawGuard.h"
#include "lists/PlugInItem.h"
#include "lists/ScriptItem.h"
#include "shared/FileFailureText.h"
#include "shared/FrameMessages.h"
#include "shared/MenuText.h"
#include "shared/WidePath.h"

namespace {

// Lines of dlg.dat: the five column titles, and the script page's caption
// of the register button.
const int kDlgColumnTitle = 33;
const int kDlgScriptRegister = 63;
// Lines of etc.dat: the open dialog's title and the two file filters.
const int kEtcOpenTitle = 48;
const int kEtcPlugInFilter = 51;
const int kEtcScriptFilter = 52;
// Line of message.dat: replace the file of the same name?
const int kMsgReplace = 33;

const int kColumnWidths[5] = { 150, 300, 80, 170, 400 };
const int kButtons[] = { IDC_PLG_REGISTER, IDC_PLG_UP, IDC_PLG_DELETE, IDC_PLG_DOWN };
const int kPlugInSwitches[] = { IDC_PLG_ENABLE, IDC_PLG_ACTIVATE };

const CString& PlugInFolder()
{
    return FormsetApp().GetFolders().GetPluginFolder();
}

const CString& ScriptFolder()
{
    return FormsetApp().GetFolders().GetScriptFolder();
}

CString FileNameOf(const CString& path)
{
    const int slash = std::max(path.ReverseFind('\\'), path.ReverseFind('/'));
    return slash >= 0 ? path.Mid(slash + 1) : path;
}

bool HasExtension(const CString& fileName, LPCTSTR extension)
{
    const int dot = fileName.ReverseFind('.');
    return dot >= 0 && fileName.Mid(dot).CompareNoCase(extension) == 0;
}

bool IsListed(const std::vector<CString>& paths, const CString& path)
{
    for (const CString& listed : paths) {
        if (listed.CompareNoCase(path) == 0)
            return true;
    }
    return false;
}

// The width a header item needs to show its title whole: the text in the
// header's font and the header's margin on either side of it.
int HeaderTitleWidth(HWND hHeader, int nColumn)
{
    char text[256] = {};
    HDITEMA item = {};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    if (hHeader == nullptr || !::SendMessageA(hHeader, HDM_GETITEMA, static_cast<WPARAM>(nColumn),
                                              reinterpret_cast<LPARAM>(&item)) || text[0] == '\0')
        return 0;
    int nMargin = static_cast<int>(::SendMessageA(hHeader, HDM_GETBITMAPMARGIN, 0, 0));
    if (nMargin <= 0)
        nMargin = 3 * ::GetSystemMetrics(SM_CXEDGE);
    CClientDC dc(hHeader);
    dc.SelectObject(reinterpret_cast<HGDIOBJ>(::SendMessageA(hHeader, WM_GETFONT, 0, 0)));
    return dc.GetTextExtent(text).cx + 2 * nMargin;
}

bool FileExists(const CString& path)
{
    return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// The path in full from the current folder as it is now: a relative path
// names another file once the current folder moves.
CString AnsiFullPath(const CString& path)
{
    char full[MAX_PATH * 2] = {};
    const DWORD n = ::GetFullPathNameA(path, sizeof(full), full, nullptr);
    return n > 0 && n < sizeof(full) ? CString(full) : path;
}

// A full path as the system names it: in long form where the file exists.
std::wstring LongPath(const CString& full)
{
    const std::wstring wide = WidePath::FromAnsi(full);
    std::wstring longer(MAX_PATH * 2, L'\0');
    const DWORD nLong = ::GetLongPathNameW(wide.c_str(), &longer[0], static_cast<DWORD>(longer.size()));
    if (nLong == 0 || nLong >= longer.size())
        return wide;
    longer.resize(nLong);
    return longer;
}

// The path in full, for the ANSI functions: in long form where the code
// page holds it; else as the ANSI functions name it.
CString FullPath(const CString& path)
{
    const CString full = AnsiFullPath(path);
    CString exact;
    return WidePath::ToExactAnsi(LongPath(full), exact) ? exact : full;
}

// The name by which the file system knows a file: full, in long form where
// it exists, upper-cased as the file system folds letters (in UTF-16, so a
// cp932 trail byte is never taken for a letter or a separator).
std::wstring FileKey(const CString& path)
{
    std::wstring key = LongPath(AnsiFullPath(path));
    if (!key.empty())
        ::CharUpperBuffW(&key[0], static_cast<DWORD>(key.size()));
    while (!key.empty() && (key.back() == L'\\' || key.back() == L'/'))
        key.pop_back();
    return key;
}

// Whether the file lies in the folder itself, not below it nor elsewhere.
bool IsInFolder(const CString& path, const CString& folder)
{
    const std::wstring file = FileKey(path);
    const std::wstring parent = FileKey(folder);
    return !parent.empty() && file.size() > parent.size() + 1 && file.compare(0, parent.size(), parent) == 0 &&
           file[parent.size()] == L'\\' && file.find(L'\\', parent.size() + 1) == std::wstring::npos;
}

// "登録済みの項目はそのまま残します。": a failed replacement keeps the row.
const char kRowKept[] = "\x93\x6F\x98\x5E\x8D\xCF\x82\xDD\x82\xCC\x8D\x80\x96\xDA\x82\xCD\x82\xBB\x82\xCC"
                        "\x82\xDC\x82\xDC\x8E\x63\x82\xB5\x82\xDC\x82\xB7\x81\x42";
// "プラグインとして使えるファイルではありません。"
const char kNotAPlugIn[] = "\x83\x76\x83\x89\x83\x4F\x83\x43\x83\x93\x82\xC6\x82\xB5\x82\xC4\x8E\x67\x82\xA6"
                           "\x82\xE9\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC"
                           "\x82\xB9\x82\xF1\x81\x42";

// The whole file, or empty when it cannot be read.
std::string ReadFileBytes(const CString& path)
{
    std::string bytes;
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone))
        return bytes;
    char buffer[4096];
    UINT n = 0;
    while ((n = file.Read(buffer, sizeof(buffer))) > 0)
        bytes.append(buffer, n);
    return bytes;
}

} // namespace

//--- CDlgSetTab12

IMPLEMENT_DYNCREATE(CDlgSetTab12, CDialog)

BEGIN_MESSAGE_MAP(CDlgSetTab12, CDialog)
    ON_WM_SIZE()
    ON_MESSAGE(WM_SAVE_SETTINGS, OnSaveSettingsMessage)
    ON_COMMAND(IDC_PLG_REGISTER, OnRegister)
    ON_COMMAND(IDC_PLG_DELETE, OnDelete)
    ON_COMMAND(IDC_PLG_UP, OnMoveUp)
    ON_COMMAND(IDC_PLG_DOWN, OnMoveDown)
    ON_NOTIFY(LVN_COLUMNCLICK, IDC_PLG_LIST, OnColumnClick)
    ON_NOTIFY(NM_DBLCLK, IDC_PLG_LIST, OnDoubleClick)
END_MESSAGE_MAP()

CDlgSetTab12::CDlgSetTab12() : CDialog(IDD_SETTAB12)
{
}

BOOL CDlgSetTab12::OnInitDialog()
{
    m_bSortDescending = TRUE;
    CDialog::OnInitDialog();
    SettingsRecord& settings = FormsetApp().m_settings;
    ::CheckDlgButton(m_hWnd, IDC_PLG_ENABLE, settings.bPlgEnable() ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_PLG_ACTIVATE, settings.bTabActivate_PL() ? BST_CHECKED : BST_UNCHECKED);
    m_bScriptsChanged = FALSE;

    m_list.SubclassDlgItem(IDC_PLG_LIST, this);
    m_layout.AddControl(&m_list, CAnchorLayout::kLeft | CAnchorLayout::kTop | CAnchorLayout::kRight |
                                     CAnchorLayout::kBottom);
    for (int nID : kButtons) {
        m_layout.AddControl(GetDlgItem(nID), CAnchorLayout::kLeft | CAnchorLayout::kKeepWidth |
                                                 CAnchorLayout::kBottom | CAnchorLayout::kKeepHeight);
    }
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    CFormsetApp& app = FormsetApp();
    for (int i = 0; i < kColumns; ++i)
        m_list.InsertColumn(i, app.GetDlgString(kDlgColumnTitle + i), LVCFMT_LEFT, kColumnWidths[i]);
    m_hImages = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 0);
    m_list.SetImageList(m_hImages, LVSIL_SMALL);
    LoadList();
    return TRUE;
}

void CDlgSetTab12::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (m_layout.GetCount() > 0)
        m_layout.Relayout(this);
}

LRESULT CDlgSetTab12::OnSaveSettingsMessage(WPARAM, LPARAM)
{
    SaveList();
    return 0;
}

LRESULT CDlgSetTab12::SendMain(UINT nMsg)
{
    return ::SendMessageA(FormsetApp().m_hMainWnd, nMsg, 0, 0);
}

int CDlgSetTab12::AppendRow(const RowCells& cells, HICON hIcon, bool bChecked)
{
    // The title shows as the menus show it, without its access-key marker.
    const CString title = MenuText::WithoutMnemonic(cells[0]);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = m_list.GetItemCount();
    item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(title));
    item.iImage = hIcon != nullptr ? ImageList_AddIcon(m_hImages, hIcon) : I_IMAGENONE;
    if (item.iImage < 0)
        item.iImage = I_IMAGENONE;
    const int nRow = m_list.InsertItem(&item);
    if (nRow < 0)
        return -1;
    m_list.SetCheck(nRow, bChecked ? TRUE : FALSE);
    for (int i = 1; i < kColumns; ++i)
        m_list.SetItemText(nRow, i, cells[i]);
    return nRow;
}

void CDlgSetTab12::LoadCatalogRows(const CString& folder, LPCTSTR listFile, std::initializer_list<LPCTSTR> patterns,
                                   LPCTSTR skippedExtension, const RowAdder& add)
{
    std::vector<CString> known;
    CStdioFile file;
    FileReadState state =
        file.OpenToRead(folder + listFile, CFile::modeRead | CFile::shareDenyNone | CFile::typeText);
    if (state.IsOpened()) {
        CString line, path, found;
        bool bEnabled = false;
        while (file.ReadString(line)) {
            if (ParseCatalogEntry(line, path, bEnabled) && FindCatalogFile(path, found) &&
                add(path, found, bEnabled))
                known.push_back(path);
        }
        // A list cut short by a failed read is not shown, and never written.
        file.NoteReadFailure(state);
        file.Close();
        if (state.IsUnreadable()) {
            m_list.DeleteAllItems();
            known.clear();
        }
    }
    m_bKeepListFile = TellIfUnreadable(m_hWnd, state);
    ScanCatalogFolder(folder, patterns, [&](const CString& path, const CString& fileName, LPCTSTR) {
        if (skippedExtension != nullptr && HasExtension(fileName, skippedExtension))
            return false;
        return !IsListed(known, path) && add(path, fileName, true);
    });
    SizeColumns();
}

void CDlgSetTab12::SizeColumns()
{
    // Each column as wide as the wider of its texts and its title: a column
    // of empty texts would otherwise shrink to a few pixels and hide it.
    // The title is measured here because the header-sized width of some
    // list controls leaves the title a pixel short of its margins, which
    // cuts it to an ellipsis.
    HWND hHeader = reinterpret_cast<HWND>(::SendMessageA(m_list.m_hWnd, LVM_GETHEADER, 0, 0));
    for (int i = 0; i < kColumns; ++i) {
        m_list.SetColumnWidth(i, LVSCW_AUTOSIZE);
        const int nTitle = HeaderTitleWidth(hHeader, i);
        if (m_list.GetColumnWidth(i) < nTitle)
            m_list.SetColumnWidth(i, nTitle);
    }
}

bool CDlgSetTab12::WriteCatalogRows(const CString& listPath)
{
    if (m_bKeepListFile)
        return false;
    CAtomicTextFile file;
    DWORD error = 0;
    if (file.Begin(listPath)) {
        const int nCount = m_list.GetItemCount();
        for (int nRow = 0; nRow < nCount; ++nRow)
            file.WriteString(RowPath(nRow) + "?" + (m_list.GetCheck(nRow) ? "1" : "0") + "\n");
        if (file.Commit(&error))
            return true;
    }
    TellNotSaved(m_hWnd, listPath, error);
    return false;
}

bool CDlgSetTab12::PickRegistration(int nFilterLine, const CString& folder, UINT nUnloadMsg, CString& chosen,
                                    CString& destination, bool& bReplace)
{
    CFormsetApp& app = FormsetApp();
    bReplace = false;
    if (!AfxPromptOpenFile(m_hWnd, app.GetEtcString(nFilterLine), app.GetEtcString(kEtcOpenTitle),
                           OFN_HIDEREADONLY, chosen) ||
        chosen.IsEmpty())
        return false;
    destination = folder + FileNameOf(chosen);
    // The rows stay until the new file is in place (DropRowsAt): a failed
    // replacement keeps them.
    for (int nRow = 0; nRow < m_list.GetItemCount(); ++nRow) {
        if (RowPath(nRow).CompareNoCase(destination) != 0)
            continue;
        if (::MessageBoxA(m_hWnd, app.GetMessageString(kMsgReplace), app.GetProductName(), MB_YESNO) != IDYES)
            return false;
        bReplace = true;
        m_bScriptsChanged = TRUE;
        SendMain(nUnloadMsg);
    }
    return true;
}

void CDlgSetTab12::PlaceRegistered(const CString& chosen, const CString& destination, bool bReplace,
                                   bool bWithIcon, const RowCells& cells, HICON hIcon)
{
    DWORD error = 0;
    if (!CopyRegistered(chosen, destination, bReplace, bWithIcon, error)) {
        // A failed replacement says why; a failed new registration stays silent.
        if (bReplace)
            TellNotReplaced(true, destination, FileErrorReason(error));
        return;
    }
    DropRowsAt(destination);
    AppendRow(cells, hIcon, true);
}

void CDlgSetTab12::DropRowsAt(const CString& destination)
{
    for (int nRow = m_list.GetItemCount() - 1; nRow >= 0; --nRow) {
        if (RowPath(nRow).CompareNoCase(destination) == 0)
            m_list.DeleteItem(nRow);
    }
}

void CDlgSetTab12::TellNotReplaced(bool bWrite, const CString& path, const CString& reason)
{
    ShowFileFailure(m_hWnd, bWrite, path, reason, kRowKept);
}

bool CDlgSetTab12::IsQueued(const CString& path) const
{
    const std::wstring key = FileKey(path);
    for (const CString& queued : m_filesToDelete) {
        if (FileKey(queued) == key)
            return true;
    }
    return false;
}

bool CDlgSetTab12::TakeOffQueue(const CString& path)
{
    const std::wstring key = FileKey(path);
    bool bQueued = false;
    for (size_t i = m_filesToDelete.size(); i-- > 0;) {
        if (FileKey(m_filesToDelete[i]) == key) {
            m_filesToDelete.erase(m_filesToDelete.begin() + static_cast<std::ptrdiff_t>(i));
            bQueued = true;
        }
    }
    return bQueued;
}

bool CDlgSetTab12::CopyRegistered(const CString& chosen, const CString& destination, bool bReplace, bool bWithIcon,
                                  DWORD& error)
{
    error = 0;
    const bool bQueued = IsQueued(destination);
    const bool bOverwrite = bReplace || bQueued;
    // Picked from the folder itself: the file is already in place.
    const bool bInPlace = chosen.CompareNoCase(destination) == 0;
    if (!bInPlace) {
        const BOOL bCopied = bOverwrite ? CAtomicTextFile::CopyOver(chosen, destination, &error)
                                        : ::CopyFileA(chosen, destination, TRUE);
        if (!bCopied) {
            if (!bOverwrite)
                error = ::GetLastError();
            return false;
        }
    }
    TakeOffQueue(destination);
    if (!bWithIcon || bInPlace)
        return true;
    // The script is in place whatever becomes of its icon; a failed icon
    // copy or delete is told, and an icon queued for deletion stays queued
    // unless the new one took its place.
    const CString icon = destination + ".ico";
    if (FileExists(chosen + ".ico")) {
        DWORD iconError = 0;
        BOOL bIconCopied = FALSE;
        if (bOverwrite || IsQueued(icon)) {
            bIconCopied = CAtomicTextFile::CopyOver(chosen + ".ico", icon, &iconError);
        } else {
            bIconCopied = ::CopyFileA(chosen + ".ico", icon, TRUE);
            iconError = bIconCopied ? 0 : ::GetLastError();
        }
        if (bIconCopied)
            TakeOffQueue(icon);
        else
            ShowFileFailure(m_hWnd, true, icon, FileErrorReason(iconError));
    } else if (bOverwrite && FileExists(icon)) {
        // The replaced script is gone already: its icon goes with it now,
        // or it would stay with the new one (the new row names it).
        if (::DeleteFileA(icon))
            TakeOffQueue(icon);
        else
            TellNotDeleted(m_hWnd, icon, ::GetLastError());
    }
    return true;
}

void CDlgSetTab12::DeleteSelectedRows(UINT nUnloadMsg, bool bWithIcon, const CString& folder)
{
    if (m_list.GetSelectedCount() == 0)
        return;
    RedrawGuard redraw(m_list.m_hWnd);
    SendMain(nUnloadMsg);
    for (int nRow = m_list.GetItemCount() - 1; nRow >= 0; --nRow) {
        if ((m_list.GetItemState(nRow, LVIS_SELECTED) & LVIS_SELECTED) == 0)
            continue;
        // A list line may name a file anywhere: only the folder's own files
        // are the page's to delete; the row goes either way. The file is the
        // one the row names now, queued by its full path, since the current
        // folder may move before the save.
        const CString path = RowPath(nRow);
        if (IsInFolder(path, folder)) {
            if (bWithIcon)
                m_filesToDelete.push_back(FullPath(path + ".ico"));
            m_filesToDelete.push_back(FullPath(path));
        }
        m_list.DeleteItem(nRow);
    }
}

bool CDlgSetTab12::IsNamedByARow(const CString& path) const
{
    const std::wstring key = FileKey(path);
    for (int nRow = 0; nRow < m_list.GetItemCount(); ++nRow) {
        const CString named = RowPath(nRow);
        if (FileKey(named) == key || FileKey(named + ".ico") == key)
            return true;
    }
    return false;
}

void CDlgSetTab12::DeleteQueuedFiles()
{
    // Two rows may name one file: it stays while a row still names it (a
    // script's icon with it). One already gone is as good as deleted; any
    // other failure is told, and the file shows again at the next opening.
    for (const CString& path : m_filesToDelete) {
        if (IsNamedByARow(path) || ::DeleteFileA(path))
            continue;
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            TellNotDeleted(m_hWnd, path, error);
    }
    m_filesToDelete.clear();
}

void CDlgSetTab12::OnMoveUp()
{
    MoveSelectedListRow(m_list, -1);
}

void CDlgSetTab12::OnMoveDown()
{
    MoveSelectedListRow(m_list, 1);
}

void CDlgSetTab12::OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    m_nSortColumn = reinterpret_cast<NMLISTVIEW*>(pNMHDR)->iSubItem;
    SortListByColumn(m_list, m_nSortColumn, m_bSortDescending);
    *pResult = 0;
}

void CDlgSetTab12::OnDoubleClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (GetSingleSelectedListRow(m_list) < 0)
        return;
    const int nRow = m_list.GetNextItem(-1, LVNI_FOCUSED);
    if (nRow >= 0)
        m_list.SetCheck(nRow, !m_list.GetCheck(nRow));
}

void CDlgSetTab12::LoadList()
{
    CStringFiles& strings = FormsetApp().GetStringFiles();
    LoadCatalogRows(PlugInFolder(), "plugin.dat", { "*.dll", "*.vap", "*.exe" }, nullptr,
                    [&](const CString& path, const CString&, bool bChecked) {
                        // Loaded only while it is read; its icon is copied
                        // into the list first.
                        std::unique_ptr<CPlugInItem> item(new CPlugInItem);
                        item->Load(path, strings);
                        if (!item->IsShown())
                            return false;
                        const RowCells cells = { item->m_caption, item->m_version3, item->m_version1,
                                                 item->m_version2, path };
                        return AppendRow(cells, item->m_hIcon, bChecked) >= 0;
                    });
}

void CDlgSetTab12::RegisterNew()
{
    CString chosen, destination;
    bool bReplace = false;
    if (!PickRegistration(kEtcPlugInFilter, PlugInFolder(), WM_FRAME_UNLOADPLUGINS, chosen, destination, bReplace))
        return;
    std::unique_ptr<CPlugInItem> item(new CPlugInItem);
    item->Load(chosen, FormsetApp().GetStringFiles());
    // A failed replacement says why; a failed new registration stays silent.
    if (!item->IsShown()) {
        if (bReplace)
            TellNotReplaced(false, chosen, kNotAPlugIn);
        return;
    }
    const RowCells cells = { item->m_caption, item->m_version3, item->m_version1, item->m_version2, destination };
    PlaceRegistered(chosen, destination, bReplace, false, cells, item->m_hIcon);
}

void CDlgSetTab12::DeleteSelected()
{
    DeleteSelectedRows(WM_FRAME_UNLOADPLUGINS, false, PlugInFolder());
}

void CDlgSetTab12::SaveList()
{
    SettingsRecord& settings = FormsetApp().m_settings;
    settings.bPlgEnable(::IsDlgButtonChecked(m_hWnd, IDC_PLG_ENABLE) == BST_CHECKED);
    settings.bTabActivate_PL(::IsDlgButtonChecked(m_hWnd, IDC_PLG_ACTIVATE) == BST_CHECKED);
    // The deleted rows' files go only once the list no longer names them: a
    // list that could not be written still does.
    if (WriteCatalogRows(FormsetApp().GetFolders().PluginFile("plugin.dat")))
        DeleteQueuedFiles();
    SendMain(WM_FRAME_PLUGINSSAVED);
}

//--- CDlgScriptSetting

IMPLEMENT_DYNCREATE(CDlgScriptSetting, CDlgSetTab12)

void CDlgScriptSetting::LoadList()
{
    // This page neither shows nor writes the plug-in switches; the list
    // takes their place at the next layout.
    HideDlgItems(m_hWnd, kPlugInSwitches, 2);
    ::SetDlgItemTextA(m_hWnd, IDC_PLG_REGISTER, FormsetApp().GetDlgString(kDlgScriptRegister));
    RECT rcList = {}, rcClient = {};
    m_list.GetWindowRect(&rcList);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rcList), 2);
    GetClientRect(&rcClient);
    const RECT offsets = { rcList.left, 3, rcClient.right - rcList.right, rcClient.bottom - rcList.bottom };
    m_layout.AddControl(&m_list, offsets, CAnchorLayout::kLeft | CAnchorLayout::kTop | CAnchorLayout::kRight |
                                              CAnchorLayout::kBottom);

    LoadCatalogRows(ScriptFolder(), "script.dat", { "*.js", "*.vbs", "*.htm" }, ".html",
                    [&](const CString& path, const CString& fileName, bool bChecked) {
                        std::unique_ptr<CScriptItem> item(new CScriptItem);
                        item->SetPath(path);
                        item->ReadHeader(fileName);
                        if (!item->IsShown())
                            return false;
                        const RowCells cells = { item->m_name, item->m_comment, item->m_version,
                                                 item->m_copyright, path };
                        return AppendRow(cells, item->m_hIcon, bChecked) >= 0;
                    });
}

void CDlgScriptSetting::RegisterNew()
{
    CString chosen, destination;
    bool bReplace = false;
    if (!PickRegistration(kEtcScriptFilter, ScriptFolder(), WM_FRAME_UNLOADSCRIPTS, chosen, destination, bReplace))
        return;
    std::unique_ptr<CScriptItem> item(new CScriptItem);
    item->SetPath(chosen);
    item->ReadHeader(FileNameOf(chosen));
    // A script without a name is one whose file would not open.
    if (!item->IsShown()) {
        if (bReplace) {
            CFile probe;
            TellNotReplaced(false, chosen, FileErrorReason(probe.OpenToRead(chosen, CFile::modeRead).error));
        }
        return;
    }
    const RowCells cells = { item->m_name, item->m_comment, item->m_version, item->m_copyright, destination };
    PlaceRegistered(chosen, destination, bReplace, true, cells, item->m_hIcon);
}

void CDlgScriptSetting::DeleteSelected()
{
    DeleteSelectedRows(WM_FRAME_UNLOADSCRIPTS, true, ScriptFolder());
}

void CDlgScriptSetting::SaveList()
{
    const CString listPath = FormsetApp().GetFolders().ScriptFile("script.dat");
    const std::string before = ReadFileBytes(listPath);
    if (WriteCatalogRows(listPath))
        DeleteQueuedFiles();
    const bool bChanged = ReadFileBytes(listPath) != before;
    if (m_bScriptsChanged || bChanged) {
        m_bScriptsChanged = FALSE;
        SendMain(WM_FRAME_RELOADSCRIPTS);
    }
}
