// Tab-set files through the frame: the open tabs saved with their history
// and opened again, crafted files, the semaphore and a failed write.
#include <windows.h>

#include <string>

#include "app/MainFrame.h"
#include "app/VantorelApp.h"
#include "framework/core/AtomicFile.h"
#include "tab/BrowserView.h"
#include "tab/ChildFrame.h"
#include "tab/TabGroup.h"
#include "tab/TabItem.h"
#include "app/tests/TabFixture.h"

namespace {

void Navigate(CTabItem* tab, const char* url)
{
    tab->m_pView->Navigate(url);
    TestWebBrowser::Settle();
}

std::string Sep() { return "\x81\x4D"; }

} // namespace

TEST_F(TabTest, TabSetSavedAndOpenedAgainKeepsGroupsTabsAndHistoryInOrder)
{
    CTabItem* a = Open(nullptr, "http://a.example/1?va-title=A1");
    Navigate(a, "http://a.example/2?va-title=A2");
    Navigate(a, "http://a.example/3?va-title=A3");
    a->m_pView->GoBack();
    TabTest::Pump();
    theApp.GetActiveGroup()->m_captionTemplate = "First";
    CTabGroup* second = m_frame->CreateGroup("Second[%c]", 0x71, 2);
    theApp.OpenUrl(second, "http://b.example/?va-title=B", kReasonLink);
    Pump();

    const CString path = m_folder->File("Exception.dat").c_str();
    m_frame->SaveTabSet(path);
    ASSERT_TRUE(m_folder->Exists("Exception.dat"));
    m_frame->CloseAllGroupsNow();
    Pump();
    ASSERT_EQ(0, theApp.GetGroupCount());

    m_frame->LoadTabSet(path);
    Pump();
    ASSERT_EQ(2, theApp.GetGroupCount());
    CTabGroup* first = theApp.GetGroupAt(0);
    EXPECT_STREQ("First", first->m_captionTemplate);
    ASSERT_EQ(1, first->GetTabCount());
    CTabItem* restored = first->GetTab(0);
    EXPECT_STREQ("http://a.example/2?va-title=A2", restored->m_url);
    SavedHistory back, forward;
    restored->m_pView->SaveBackHistory(back);
    restored->m_pView->SaveForwardHistory(forward);
    ASSERT_EQ(1, back.GetCount());
    EXPECT_STREQ("http://a.example/1?va-title=A1", back.m_urls[0]);
    ASSERT_EQ(1, forward.GetCount());
    EXPECT_STREQ("http://a.example/3?va-title=A3", forward.m_urls[0]);
    EXPECT_STREQ("A3", forward.m_titles[0]);
    CTabGroup* reopened = theApp.GetGroupAt(1);
    EXPECT_STREQ("Second[%c]", reopened->m_captionTemplate);
    EXPECT_EQ(0x71u, reopened->m_options);
    EXPECT_EQ(2, reopened->m_image);
    ASSERT_EQ(1, reopened->GetTabCount());
    EXPECT_STREQ("http://b.example/?va-title=B", reopened->GetTab(0)->m_url);
    EXPECT_EQ(0u, m_frame->m_stateWord & kStateOpeningTabSet);
}

TEST_F(TabTest, TabSetWriterSkipsWhileTheSemaphoreIsHeldAndKeepsTheOldFileOnFailure)
{
    Open(nullptr, "http://a.example/");
    HANDLE semaphore = ::CreateSemaphoreA(nullptr, 1, 1, nullptr);
    ASSERT_NE(nullptr, semaphore);
    theApp.m_hSemaphore = semaphore;
    const CString path = m_folder->File("Exception.dat").c_str();
    // Another writer holds it: nothing is written.
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(semaphore, 0));
    m_frame->SaveTabSet(path);
    EXPECT_FALSE(m_folder->Exists("Exception.dat"));
    ::ReleaseSemaphore(semaphore, 1, nullptr);
    m_frame->SaveTabSet(path);
    const std::string good = m_folder->ReadBytes("Exception.dat");
    EXPECT_EQ(0u, good.find("VADatFileVer003\r\n"));
    // The writer gave the semaphore back.
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(semaphore, 0));
    ::ReleaseSemaphore(semaphore, 1, nullptr);

    Open(nullptr, "http://b.example/");
    CAtomicTextFile::InjectFault(CAtomicTextFile::kFailMove);
    m_frame->SaveTabSet(path);
    CAtomicTextFile::InjectFault(CAtomicTextFile::kNoFault);
    EXPECT_EQ(good, m_folder->ReadBytes("Exception.dat"));
    theApp.m_hSemaphore = nullptr;
    ::CloseHandle(semaphore);
}

TEST_F(TabTest, Version2FileGivenToTheVersion3ReaderOpensWithItsBackHistory)
{
    m_folder->WriteBytes("WindowCloseBack.dat",
                         "VADatFileVer002\r\nFOLDER:\r\n\tOld" + Sep() + "113" + Sep() +
                             "1\r\nENTRY:\r\n\t\t113" + Sep() +
                             "http://first.example/\x81\x4Fhttp://second.example/\x81\x4F"
                             "http://third.example/\r\n"
                             "\t\t0" + Sep() + "http://x.example/" + Sep() + "\x83\x81M\r\n"
                             "ENDENTRY:\r\nENDFOLDER:\r\n");
    m_frame->LoadTabSet(m_folder->File("WindowCloseBack.dat").c_str());
    Pump();
    ASSERT_EQ(1, theApp.GetGroupCount());
    CTabGroup* group = theApp.GetGroupAt(0);
    ASSERT_EQ(2, group->GetTabCount());
    CTabItem* first = group->GetTab(0);
    EXPECT_STREQ("http://first.example/", first->m_url);
    SavedHistory back;
    first->m_pView->SaveBackHistory(back);
    ASSERT_EQ(2, back.GetCount());
    EXPECT_STREQ("http://second.example/", back.m_urls[0]);
    EXPECT_STREQ("notitle", back.m_titles[0]);
    EXPECT_STREQ("http://third.example/", back.m_urls[1]);
    // The last tab of the set comes to the front.
    EXPECT_EQ(group->GetTab(1), Active());
}

TEST_F(TabTest, PlainClosedTabSetOpensEachAddressInTheActiveGroup)
{
    CTabItem* existing = Open(nullptr, "http://existing.example/");
    m_folder->WriteBytes("WindowClose.dat", "0" + Sep() + "http://a.example/\r\n\r\nbad line\r\n0" + Sep() +
                                                "http://b.example/\r\n");
    m_frame->LoadClosedTabSet(m_folder->File("WindowClose.dat").c_str());
    Pump();
    CTabGroup* group = existing->m_pGroup;
    ASSERT_EQ(3, group->GetTabCount());
    EXPECT_STREQ("http://a.example/", group->GetTab(1)->m_url);
    EXPECT_STREQ("http://b.example/", group->GetTab(2)->m_url);
    m_frame->LoadClosedTabSet(m_folder->File("missing.dat").c_str());
    EXPECT_EQ(3, group->GetTabCount());
}

// "＾" and "｀" in addresses split neither a history list nor a line.
TEST_F(TabTest, TabSetKeepsAddressesWithSeparatorsInTheirHistory)
{
    const char* memo = "file:///C:/\x83\x81\x83\x82\x81\x4F/a.htm";  // "メモ＾"
    CTabItem* a = Open(nullptr, "http://b.example/");
    Navigate(a, memo);
    Navigate(a, "http://c.example/?q=\x81\x4D");
    Open(nullptr, "http://d.example/");
    theApp.GetActiveGroup()->m_captionTemplate = "Memo";
    const CString path = m_folder->File("Exception.dat").c_str();
    m_frame->SaveTabSet(path);
    m_frame->CloseAllGroupsNow();
    Pump();

    m_frame->LoadTabSet(path);
    Pump();
    ASSERT_EQ(1, theApp.GetGroupCount());
    CTabGroup* group = theApp.GetGroupAt(0);
    ASSERT_EQ(2, group->GetTabCount());
    EXPECT_STREQ("http://c.example/?q=%81%4D", group->GetTab(0)->m_url);
    SavedHistory back;
    group->GetTab(0)->m_pView->SaveBackHistory(back);
    ASSERT_EQ(2, back.GetCount());
    EXPECT_STREQ("file:///C:/\x83\x81\x83\x82%81%4F/a.htm", back.m_urls[0]);
    EXPECT_STREQ("http://b.example/", back.m_urls[1]);
    EXPECT_STREQ("http://b.example/", back.m_titles[1]);
}
