// The travel log of the test WebBrowser control: the pages it visited in
// order, with the current one, reachable as ITravelLogStg.
#ifndef VA_TESTS_SUPPORT_TESTTRAVELLOG_H
#define VA_TESTS_SUPPORT_TESTTRAVELLOG_H

#include <windows.h>
#include <ole2.h>
#include <tlogstg.h>

#include <string>
#include <vector>

class TestTravelEntry;

class TestTravelLog : public ITravelLogStg
{
public:
    struct Page
    {
        std::wstring url;
        std::wstring title;
    };

    TestTravelLog() = default;
    virtual ~TestTravelLog();
    TestTravelLog(const TestTravelLog&) = delete;
    TestTravelLog& operator=(const TestTravelLog&) = delete;

    // What navigation does to the log.
    void Push(const std::wstring& url, const std::wstring& title);
    void SetCurrentTitle(const std::wstring& title);
    // Moves the current position by offset; FALSE when out of range.
    bool Move(int offset);
    bool CanGoBack() const { return m_current > 0; }
    bool CanGoForward() const { return m_current + 1 < static_cast<int>(m_entries.size()); }
    // The page offset entries from the current one, or null.
    const Page* PageAt(int offset) const;

    // Every page, oldest first, and the current index (-1 when empty).
    std::vector<Page> GetPages() const;
    int GetCurrentIndex() const { return m_current; }
    // Back pages, nearest first.
    std::vector<std::wstring> GetBackUrls() const;

    // IUnknown (the control owns the log; counts do not end it)
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override { return ++m_cRef; }
    STDMETHOD_(ULONG, Release)() override { return m_cRef > 0 ? --m_cRef : 0; }
    // ITravelLogStg
    STDMETHOD(CreateEntry)(LPCWSTR pszUrl, LPCWSTR pszTitle, ITravelLogEntry* ptleRelativeTo,
                           WINBOOL fPrepend, ITravelLogEntry** pptle) override;
    STDMETHOD(TravelTo)(ITravelLogEntry* ptle) override;
    STDMETHOD(EnumEntries)(TLENUMF flags, IEnumTravelLogEntry** ppenum) override;
    STDMETHOD(FindEntries)(TLENUMF flags, LPCWSTR pszUrl, IEnumTravelLogEntry** ppenum) override;
    STDMETHOD(GetCount)(TLENUMF flags, DWORD* pcEntries) override;
    STDMETHOD(RemoveEntry)(ITravelLogEntry* ptle) override;
    STDMETHOD(GetRelativeEntry)(int iOffset, ITravelLogEntry** ptle) override;

    // While on, every log's EnumEntries and CreateEntry write through a null
    // pointer: a fault inside the host's saving or restoring of a history.
    static void SetFaulting(bool bFaulting);

    // Called by TravelTo: the owner navigates by offset.
    typedef HRESULT (*TravelFn)(void* pOwner, int offset);
    void SetTravelHandler(TravelFn pfn, void* pOwner) { m_pfnTravel = pfn; m_pTravelOwner = pOwner; }

private:
    std::vector<TestTravelEntry*> Select(TLENUMF flags) const;
    int IndexOf(ITravelLogEntry* pEntry) const;

    std::vector<TestTravelEntry*> m_entries;  // each holds one reference
    int m_current = -1;
    TravelFn m_pfnTravel = nullptr;
    void* m_pTravelOwner = nullptr;
    ULONG m_cRef = 0;
};

#endif // VA_TESTS_SUPPORT_TESTTRAVELLOG_H
