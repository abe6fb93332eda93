// The plug-in list page CDlgSetTab12 (template 196) and the script list page
// CDlgScriptSetting on it: the modules of the Plugin folder and the scripts
// of the Script folder with their enabled checks, "plugin.dat" and
// "script.dat".
//
// Unlike the other pages this one is a plain dialog hosted as a page; it
// never ends itself. Rows live in the list until WM_SAVE_SETTINGS, which
// removes the deleted files and rewrites the list file; a registration
// copies its file at once. A module is loaded only while it is read: no row
// keeps one, and the main program unloads its own copies when told
// (WM_FRAME_UNLOADPLUGINS) by its safe unloading.
//
// Classes in this file:
//   CDlgSetTab12        the plug-in page and the four list operations
//   CDlgScriptSetting   the script page: the operations replaced
#ifndef VA_DIALOGS_PAGES_PLUGINPAGE_H
#define VA_DIALOGS_PAGES_PLUGINPAGE_H

#include <functional>
#include <initializer_list>
#include <vector>

#include "dialogs/core/AnchorLayout.h"
#include "dialogs/core/DragListCtrl.h"
#include "framework/dialog/Dialog.h"

//--- CDlgSetTab12
class CDlgSetTab12 : public CDialog
{
    DECLARE_DYNCREATE(CDlgSetTab12)

public:
    CDlgSetTab12();

    // The list operations, replaced by the script page.
    virtual void LoadList();
    virtual void SaveList();
    virtual void DeleteSelected();
    virtual void RegisterNew();

    CDragListCtrl& GetList() { return m_list; }
    const std::vector<CString>& GetFilesToDelete() const { return m_filesToDelete; }

    // Set when a registration replaced a listed script (script page only).
    BOOL m_bScriptsChanged = FALSE;
    int m_nSortColumn = -1;
    BOOL m_bSortDescending = TRUE;

protected:
    enum { kColumns = 5, kPathColumn = 4 };
    typedef CString RowCells[kColumns];
    // Adds the row for a file: path, the name the file was found by, and
    // whether it is checked; false when the file gives no row.
    typedef std::function<bool(const CString& path, const CString& fileName, bool bChecked)> RowAdder;

    // The rows of a catalog: the file's lines whose file exists, then every
    // file of the folder matching a pattern that is not listed yet, checked.
    // Files whose extension is skippedExtension are never listed.
    void LoadCatalogRows(const CString& folder, LPCTSTR listFile, std::initializer_list<LPCTSTR> patterns,
                         LPCTSTR skippedExtension, const RowAdder& add);
    // Sizes every column to the wider of its texts and its title.
    void SizeColumns();
    // Writes every row, "path?1" or "path?0", whole or not at all; never
    // over a list file that was there but could not be read. A failed write
    // is told to the user.
    [[nodiscard]] bool WriteCatalogRows(const CString& listPath);
    // cells[0], the title, shows without its access-key marker.
    int AppendRow(const RowCells& cells, HICON hIcon, bool bChecked);
    CString RowPath(int nRow) const { return m_list.GetItemText(nRow, kPathColumn); }

    // The first steps of a registration: the file the user picks, its place
    // in folder, and for each row already at that place the question (No
    // ends the command; Yes sends nUnloadMsg, and the row goes once the new
    // file is in place: DropRowsAt). bReplace says whether a Yes was given.
    bool PickRegistration(int nFilterLine, const CString& folder, UINT nUnloadMsg, CString& chosen,
                          CString& destination, bool& bReplace);
    // Copies the chosen file (and its ".ico" beside it when bWithIcon) to
    // destination. The file there is replaced only after a Yes or when a
    // deletion queued it (then it leaves the queue); otherwise an existing
    // file fails the copy. False, with the system's code, when the file was
    // not copied.
    [[nodiscard]] bool CopyRegistered(const CString& chosen, const CString& destination, bool bReplace, bool bWithIcon,
                        DWORD& error);
    // The last steps: the copy, then the rows at destination replaced by one
    // row of cells, checked; a failed replacement is told.
    void PlaceRegistered(const CString& chosen, const CString& destination, bool bReplace, bool bWithIcon,
                         const RowCells& cells, HICON hIcon);
    // Deletes the rows of the file at destination, replaced by a new one.
    void DropRowsAt(const CString& destination);
    // Says that a replacement failed, why, and that the listed row stays.
    void TellNotReplaced(bool bWrite, const CString& path, const CString& reason);
    // Sends nUnloadMsg, then queues the selected rows' files that lie in
    // folder (with their ".ico" first when bWithIcon) by their full paths,
    // and deletes the rows, last to first.
    void DeleteSelectedRows(UINT nUnloadMsg, bool bWithIcon, const CString& folder);
    // Deletes the queued files but those a row still names.
    void DeleteQueuedFiles();
    // Whether a row names the file, or the file is a row's ".ico".
    bool IsNamedByARow(const CString& path) const;
    LRESULT SendMain(UINT nMsg);

    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

    DECLARE_MESSAGE_MAP()
    void OnSize(UINT nType, int cx, int cy);
    void OnRegister() { RegisterNew(); }
    void OnDelete() { DeleteSelected(); }
    void OnMoveUp();
    void OnMoveDown();
    void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnDoubleClick(NMHDR* pNMHDR, LRESULT* pResult);
    LRESULT OnSaveSettingsMessage(WPARAM wParam, LPARAM lParam);

    CDragListCtrl m_list;
    CAnchorLayout m_layout;
    HIMAGELIST m_hImages = nullptr;  // the list's: destroyed with it
    std::vector<CString> m_filesToDelete;
    // The list file was there but could not be read: it is left as it is.
    bool m_bKeepListFile = false;

private:
    // Whether the file is queued for deletion, whatever form of its path;
    // taking it off the queue, whether it was.
    bool IsQueued(const CString& path) const;
    bool TakeOffQueue(const CString& path);
};

//--- CDlgScriptSetting
class CDlgScriptSetting : public CDlgSetTab12
{
    DECLARE_DYNCREATE(CDlgScriptSetting)

public:
    void LoadList() override;
    void SaveList() override;
    void DeleteSelected() override;
    void RegisterNew() override;
};

#endif // VA_DIALOGS_PAGES_PLUGINPAGE_H
