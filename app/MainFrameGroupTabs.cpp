// CMainFrame: group-tab templates and the commands that change one group:
// the File menu's template submenu, new groups from definitions, the
// definition editor, customising, renaming and re-imaging the current group
// and the switches of its tabs.
#include "app/MainFrame.h"

#include <windows.h>

#include "shared/DialogsLibrary.h"
#include "app/VantorelApp.h"
#include "app/resource.h"
#include "bars/GroupTabBar.h"
#include "lists/SearchEngineMenu.h"
#include "shared/GroupImageMenu.h"
#include "tab/TabGroup.h"

namespace {

// etc.dat: the caption of the definition editor's item.
const int kEtcEditTemplates = 66;
// The picker offers images 0 to 29; commands up to 36530 are taken.
const int kPickerImages = 30;
const int kLastGroupImage = 30;
// Group commands without an action, always disabled.
const UINT kCmdGroupUnusedFirst = 36454;
const UINT kCmdGroupUnusedLast = 36457;

} // namespace

void CMainFrame::LoadGroupTabImages()
{
    LoadGroupImages(m_groupTabImages, theApp.m_folders);
}

void CMainFrame::LoadGroupTabDefs(CNewMenu* menu)
{
    if (menu == nullptr)
        return;
    m_groupTabDefs.clear();
    while (menu->GetMenuItemCount() > 1 && menu->DeleteMenu(1, MF_BYPOSITION)) {
    }
    LoadGroupTabImages();
    std::vector<GroupTabDef> defs;
    if (!ReadGroupTabDefs(theApp.ProgramFile("GroupTab.dat"),
                          theApp.ProgramFile("GroupTabDefdefault.dat"), defs))
        return;
    const BOOL withImages = theApp.m_settings.bMenuImage();
    const int imageCount = m_groupTabImages.GetImageCount();
    UINT id = ID_GROUPTEMPLATE_FIRST;
    for (const GroupTabDef& def : defs) {
        // "&" shows as itself; the group keeps the name as written.
        const CString caption = MakeMenuCaption(def.name, -1);
        const UINT position = id - ID_GROUPTEMPLATE_FIRST + 1;
        if (withImages && def.image >= 0 && def.image < imageCount)
            menu->InsertMenuWithImageList(position, MF_BYPOSITION | MF_STRING, id, caption,
                                          &m_groupTabImages, def.image);
        else
            menu->InsertMenu(position, MF_BYPOSITION | MF_STRING, id, caption);
        m_groupTabDefs.push_back(def);
        ++id;
    }
    if (!m_groupTabDefs.empty()) {
        menu->AppendMenu(MF_SEPARATOR);
        menu->AppendMenu(MF_STRING, ID_GROUPTEMPLATE_EDIT, theApp.GetEtcText(kEtcEditTemplates));
    }
}

void CMainFrame::OnNewGroupTab()
{
    NewGroupWithDefaultPage(nullptr);
}

void CMainFrame::OnGroupTemplate(UINT nID)
{
    const size_t index = nID > ID_GROUPTEMPLATE_FIRST ? nID - ID_GROUPTEMPLATE_FIRST : 0;
    if (index >= m_groupTabDefs.size())
        return;
    const GroupTabDef def = m_groupTabDefs[index];
    CTabGroup* group = CreateGroup(def.name, def.switches, static_cast<BYTE>(def.image));
    if (group != nullptr)
        theApp.OpenGroupDefaultPage(group, 0);
}

void CMainFrame::OnEditGroupTemplates()
{
    // The editor rewrites "GroupTab.dat"; the menu is rebuilt when File next
    // opens.
    if (RunSettingsExport("ShowPtabTempDlg") == 1)
        m_stateWord &= ~static_cast<DWORD>(kStateTemplateMenuBuilt);
}

void CMainFrame::OnGroupTabSwitches()
{
    RunSettingsExport("ShowPtabSCDlg");
}

void CMainFrame::RunGroupExport(LPCSTR exportName, bool bWritesGroup)
{
    CTabGroup* group = theApp.GetActiveGroup();
    if (group == nullptr)
        return;
    // Both group exports take the group the same way; rename only reads it.
    CDialogsLibrary library(theApp.GetProgramFolder());
    auto show = library.Get<FormbayExports::ShowPtabCustomFn>(exportName);
    if (show == nullptr)
        return;
    HICON icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    const int number = group->m_number;
    int result = 0;
    const char* text = show(icon, group, &result);
    // The library's text goes with the library: copied at once.
    const CString caption = text != nullptr ? CString(text) : CString();
    // The dialog ran a modal loop: the group may have been closed meanwhile,
    // and another made at its address (with a number of its own).
    if (result != 1 || !theApp.IsGroupListed(group) || group->m_number != number)
        return;
    // The customise dialog writes nothing into a group that is no longer
    // the current one at its OK: the caption is not half of a change.
    if (bWritesGroup && theApp.GetActiveGroup() != group)
        return;
    group->m_captionTemplate = caption;
    // The bar's refresh shows the caption and the image the dialog may have
    // set.
    UpdateGroupCaption(group);
}

void CMainFrame::OnCustomizeGroup()
{
    RunGroupExport("ShowPtabCustom", true);
}

void CMainFrame::OnRenameGroup()
{
    RunGroupExport("ShowPtabRename", false);
}

void CMainFrame::OnPickGroupImage()
{
    // Images 0 to 29 of the strip as a popup at the cursor; the chosen
    // command (36500 + image) comes back as an ordinary command.
    CNewMenu picker;
    if (!picker.CreatePopupMenu())
        return;
    if (m_groupTabImages.GetSafeHandle() == nullptr)
        LoadGroupTabImages();
    AppendGroupImageItems(picker, m_groupTabImages, kPickerImages, ID_GROUP_IMAGE_FIRST);
    POINT point = {};
    ::GetCursorPos(&point);
    picker.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
    picker.DestroyMenu();
}

void CMainFrame::OnGroupImage(UINT nID)
{
    int image = static_cast<int>(nID) - ID_GROUP_IMAGE_FIRST;
    if (image < 0 || image > kLastGroupImage)
        image = 0;
    CTabGroup* group = theApp.GetActiveGroup();
    if (group == nullptr)
        return;
    group->m_image = static_cast<BYTE>(image);
    if (IsGroupBarReady())
        m_pGroupTabBar->UpdateGroupItem(group, -1);
}

void CMainFrame::OnUpdateGroupTabCommand(CCmdUI* pCmdUI)
{
    const UINT id = pCmdUI->m_nID;
    if (id == ID_GROUP_NEW)
        pCmdUI->Enable(TRUE);
    else if (id >= kCmdGroupUnusedFirst && id <= kCmdGroupUnusedLast)
        pCmdUI->Enable(FALSE);
    else
        pCmdUI->Enable(theApp.GetGroupCount() > 0);
}
