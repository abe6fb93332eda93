#include "bars/tests/BarFixture.h"

#include <algorithm>

#include "shared/AppData.h"
#include "shared/AppSettings.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"

CTabGroup* StandInBarHost::GetGroupAt(int index) const
{
    return index >= 0 && index < GetGroupCount() ? m_groups[static_cast<size_t>(index)] : nullptr;
}

int StandInBarHost::GetGroupIndex(const CTabGroup* group) const
{
    auto it = std::find(m_groups.begin(), m_groups.end(), group);
    return it == m_groups.end() ? -1 : static_cast<int>(it - m_groups.begin());
}

bool StandInBarHost::IsTabListed(const CTabItem* tab) const
{
    for (const CTabGroup* group : m_groups)
        if (group->IndexOf(tab) >= 0)
            return true;
    return false;
}

CTabGroup* StandInBarHost::CreateDefaultGroup(LPCTSTR name)
{
    m_log.push_back(std::string("CreateDefaultGroup ") + name);
    return nullptr;
}

void StandInBarHost::MoveTabToGroup(CTabItem* tab, CTabGroup* target)
{
    Log((std::string("MoveTabToGroup ") + static_cast<LPCSTR>(tab->m_title)).c_str(), target);
}

void StandInBarHost::CloseTab(CTabItem* tab)
{
    m_log.push_back(std::string("CloseTab ") + static_cast<LPCSTR>(tab->m_title));
}

void StandInBarHost::GetTabUrlAt(int index, CString& url) const
{
    CTabItem* tab = m_active != nullptr ? m_active->GetTab(index) : nullptr;
    if (tab != nullptr)
        url = tab->m_url;
}

void StandInBarHost::OpenUrl(CTabGroup* group, LPCTSTR url, WORD)
{
    Log((std::string("OpenUrl ") + url).c_str(), group);
}

void StandInBarHost::Log(const char* what, const CTabGroup* group, int to)
{
    std::string line = what;
    if (group != nullptr)
        line += " " + std::to_string(GetGroupIndex(group));
    if (to >= 0)
        line += " " + std::to_string(to);
    m_log.push_back(line);
}

std::vector<std::string> StandInBarHost::TakeLog()
{
    std::vector<std::string> log;
    log.swap(m_log);
    return log;
}

void BarTest::SetUp()
{
    m_folder.reset(new ProgramFolder);
    AppSettings() = SettingsRecord();
    ASSERT_TRUE(AppFolders().CreateDataFolders(m_folder->File("VantorelArco.exe").c_str()));
    AppStrings().SetFolder(AppFolders().GetStringFolder());
    m_pFrame = new CFrameWnd;
    ASSERT_TRUE(m_pFrame->Create(nullptr, "bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 700, 500)));
    m_hFrame = m_pFrame->m_hWnd;
    CLIENTCREATESTRUCT client = {nullptr, 0xFF00};
    m_host.m_hMdiClient = ::CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                            600, 400, m_hFrame, nullptr, ::GetModuleHandleA(nullptr), &client);
    ASSERT_NE(nullptr, m_host.m_hMdiClient);
}

void BarTest::TearDown()
{
    if (::IsWindow(m_hFrame))
        ::DestroyWindow(m_hFrame);
    m_folder.reset();
}
