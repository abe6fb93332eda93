// The group-tab list page CDlgPTabSC and the two group-tab dialogs.
//
// The page has two modes. Definitions (1): the named templates of
// "GroupTab.dat" with their icon and ten download-control switches, written
// back on OK. Live (0): the tabs of the main window's current group with
// their switches, written into those tabs on OK. The dialogs edit one
// group's name (CDlgPTabRename) or its name, icon and switches in place
// (CDlgPTabCustom).
#ifndef VA_DIALOGS_PAGES_GROUPTABPAGE_H
#define VA_DIALOGS_PAGES_GROUPTABPAGE_H

#include <vector>

#include "dialogs/pages/ListPage.h"
#include "framework/dialog/Dialog.h"
#include "framework/win/ImageList.h"
#include "menulib/NewFrame.h"

class CTabGroup;

// The ten switch columns: bit of the download-control word and whether "on"
// means the bit is set.
struct GroupTabSwitch
{
    DWORD bit;
    bool bOnWhenSet;
};
extern const GroupTabSwitch kGroupTabSwitches[10];

// The word of ten switch states (every other bit clear).
DWORD GroupTabWordOf(const bool on[10]);
bool IsGroupTabSwitchOn(DWORD word, int nSwitch);

// Loads "Res\ptab.bmp" of the program folder into a 16 x 16 image list.
bool LoadGroupTabImages(CImageList& images);
// The group images 0 to 29 as a menu at the cursor; the chosen image's
// command (36500 + image) goes to the owner.
void TrackGroupImagePicker(CWnd* pOwner, CImageList& images);

class CDlgPTabSC : public CSettingsListPage
{
    DECLARE_DYNCREATE(CDlgPTabSC)

public:
    CDlgPTabSC();
    int m_nMode = 1;  // 1 definitions, 0 live

    // The configure steps of the settings exports.
    static void ConfigureDefinitions(CWnd* pPage);
    static void ConfigureLive(CWnd* pPage);

protected:
    BOOL OnInitDialog() override;
    void OnSaveSettings() override;

    DECLARE_MESSAGE_MAP()
    void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnDblClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnAddCurrentGroup();
    void OnNew();
    void OnDelete();
    void OnMoveUp();
    void OnMoveDown();
    void OnPickImage(UINT nID);

    int FirstSwitchColumn() const { return 2; }
    int AppendRow(const CString& text0, const CString& text1, DWORD word, int nImage, LPARAM data);
    DWORD RowWord(int nRow) const;
    int RowImage(int nRow) const;
    void SaveDefinitions();
    void SaveLive();

    CImageList m_images;
    // Live mode: the group the rows came from.
    CTabGroup* m_pGroup = nullptr;
};

class CDlgPTabRename : public CDialog
{
public:
    CDlgPTabRename();
    CString m_strName;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};

// A menu-library dialog: the image picker's owner-drawn items are measured
// and drawn by the window that tracks them.
class CDlgPTabCustom : public CNewDialog
{
public:
    CDlgPTabCustom();
    ~CDlgPTabCustom() override;
    CTabGroup* m_pGroup = nullptr;
    int m_nImage = 0;
    CString m_strTitle;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    DECLARE_MESSAGE_MAP()
    void OnChangeImage();
    void OnPickImage(UINT nID);
    void ShowImage();
    // The main window that holds the group: the one the library was given,
    // else the top window of one of the group's tabs, else the dialog's
    // owner; null when none is a window of this thread.
    HWND FindMainWindow() const;
    // The group, when that main window still has it as its current group,
    // else null.
    CTabGroup* LiveGroup() const;

    HWND m_hMain = nullptr;
    // The group's number as the dialog opened: a group made at the freed
    // one's address meanwhile has another.
    int m_nGroupNumber = 0;

    CImageList m_images;
    HICON m_hPreview = nullptr;
};

#endif // VA_DIALOGS_PAGES_GROUPTABPAGE_H
