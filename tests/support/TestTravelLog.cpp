#include "tests/support/TestTravelLog.h"

#include <algorithm>

#include "framework/ole/OleObject.h"

namespace {

LPOLESTR CoTaskCopy(const std::wstring& s)
{
    size_t bytes = (s.size() + 1) * sizeof(wchar_t);
    LPOLESTR p = static_cast<LPOLESTR>(::CoTaskMemAlloc(bytes));
    if (p != nullptr)
        std::copy(s.c_str(), s.c_str() + s.size() + 1, p);
    return p;
}

} // namespace

// One page of the log as the log's users see it.
class TestTravelEntry : public CHeapObject<ITravelLogEntry, IID_ITravelLogEntry>
{
public:
    TestTravelEntry(const std::wstring& url, const std::wstring& title)
    {
        page.url = url;
        page.title = title;
    }

    STDMETHOD(GetTitle)(LPOLESTR* ppszTitle) override
    {
        if (ppszTitle == nullptr)
            return E_POINTER;
        *ppszTitle = CoTaskCopy(page.title);
        return *ppszTitle != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    STDMETHOD(GetURL)(LPOLESTR* ppszURL) override
    {
        if (ppszURL == nullptr)
            return E_POINTER;
        *ppszURL = CoTaskCopy(page.url);
        return *ppszURL != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    TestTravelLog::Page page;
};

namespace {

using TestTravelEnum = CSnapshotEnum<IEnumTravelLogEntry, IID_IEnumTravelLogEntry, ITravelLogEntry>;

// The entries as the interface the enumerator hands out.
std::vector<ITravelLogEntry*> AsEntries(const std::vector<TestTravelEntry*>& entries)
{
    return std::vector<ITravelLogEntry*>(entries.begin(), entries.end());
}

} // namespace

TestTravelLog::~TestTravelLog()
{
    for (TestTravelEntry* p : m_entries)
        p->Release();
}

void TestTravelLog::Push(const std::wstring& url, const std::wstring& title)
{
    // A new page drops the forward pages, as a browser does.
    while (static_cast<int>(m_entries.size()) > m_current + 1)
    {
        m_entries.back()->Release();
        m_entries.pop_back();
    }
    m_entries.push_back(new TestTravelEntry(url, title));
    m_current = static_cast<int>(m_entries.size()) - 1;
}

void TestTravelLog::SetCurrentTitle(const std::wstring& title)
{
    if (m_current >= 0)
        m_entries[static_cast<size_t>(m_current)]->page.title = title;
}

bool TestTravelLog::Move(int offset)
{
    int target = m_current + offset;
    if (m_current < 0 || target < 0 || target >= static_cast<int>(m_entries.size()))
        return false;
    m_current = target;
    return true;
}

const TestTravelLog::Page* TestTravelLog::PageAt(int offset) const
{
    int index = m_current + offset;
    if (m_current < 0 || index < 0 || index >= static_cast<int>(m_entries.size()))
        return nullptr;
    return &m_entries[static_cast<size_t>(index)]->page;
}

int TestTravelLog::IndexOf(ITravelLogEntry* pEntry) const
{
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (static_cast<ITravelLogEntry*>(m_entries[i]) == pEntry)
            return static_cast<int>(i);
    return -1;
}

std::vector<TestTravelLog::Page> TestTravelLog::GetPages() const
{
    std::vector<Page> pages;
    for (TestTravelEntry* p : m_entries)
        pages.push_back(p->page);
    return pages;
}

std::vector<std::wstring> TestTravelLog::GetBackUrls() const
{
    std::vector<std::wstring> urls;
    for (TestTravelEntry* p : Select(TLEF_RELATIVE_BACK))
        urls.push_back(p->page.url);
    return urls;
}

std::vector<TestTravelEntry*> TestTravelLog::Select(TLENUMF flags) const
{
    std::vector<TestTravelEntry*> items;
    const int count = static_cast<int>(m_entries.size());
    if ((flags & TLEF_ABSOLUTE) == TLEF_ABSOLUTE)
        return m_entries;
    if ((flags & TLEF_RELATIVE_INCLUDE_CURRENT) != 0 && m_current >= 0)
        items.push_back(m_entries[static_cast<size_t>(m_current)]);
    if ((flags & TLEF_RELATIVE_BACK) != 0)
        for (int i = m_current - 1; i >= 0; --i)
            items.push_back(m_entries[static_cast<size_t>(i)]);
    if ((flags & TLEF_RELATIVE_FORE) != 0)
        for (int i = m_current + 1; i < count; ++i)
            items.push_back(m_entries[static_cast<size_t>(i)]);
    return items;
}

STDMETHODIMP TestTravelLog::QueryInterface(REFIID riid, void** ppv)
{
    return VaQueryInterface(static_cast<ITravelLogStg*>(this), riid, IID_ITravelLogStg, ppv);
}

namespace {

bool s_faulting = false;
int* volatile s_nowhere = nullptr;

void FaultWhenAsked()
{
    if (s_faulting)
        *s_nowhere = 1;
}

} // namespace

void TestTravelLog::SetFaulting(bool bFaulting)
{
    s_faulting = bFaulting;
}

STDMETHODIMP TestTravelLog::CreateEntry(LPCWSTR pszUrl, LPCWSTR pszTitle,
                                        ITravelLogEntry* ptleRelativeTo, WINBOOL fPrepend,
                                        ITravelLogEntry** pptle)
{
    FaultWhenAsked();
    if (pszUrl == nullptr)
        return E_INVALIDARG;
    // Without an entry to place it by, the new one goes by the current one.
    int anchor = ptleRelativeTo != nullptr ? IndexOf(ptleRelativeTo) : m_current;
    if (ptleRelativeTo != nullptr && anchor < 0)
        return E_INVALIDARG;
    if (anchor < 0)
        anchor = 0;
    int index = fPrepend ? anchor : anchor + 1;
    index = std::min(index, static_cast<int>(m_entries.size()));
    TestTravelEntry* pEntry = new TestTravelEntry(pszUrl, pszTitle != nullptr ? pszTitle : L"");
    m_entries.insert(m_entries.begin() + index, pEntry);
    if (m_current < 0)
        m_current = 0;
    else if (index <= m_current)
        ++m_current;
    if (pptle != nullptr)
    {
        *pptle = pEntry;
        pEntry->AddRef();
    }
    return S_OK;
}

STDMETHODIMP TestTravelLog::TravelTo(ITravelLogEntry* ptle)
{
    int index = IndexOf(ptle);
    if (index < 0)
        return E_INVALIDARG;
    return m_pfnTravel != nullptr ? m_pfnTravel(m_pTravelOwner, index - m_current) : E_FAIL;
}

STDMETHODIMP TestTravelLog::EnumEntries(TLENUMF flags, IEnumTravelLogEntry** ppenum)
{
    FaultWhenAsked();
    if (ppenum == nullptr)
        return E_POINTER;
    return TestTravelEnum::Create(AsEntries(Select(flags)), ppenum);
}

STDMETHODIMP TestTravelLog::FindEntries(TLENUMF flags, LPCWSTR pszUrl, IEnumTravelLogEntry** ppenum)
{
    if (ppenum == nullptr)
        return E_POINTER;
    std::vector<TestTravelEntry*> found;
    for (TestTravelEntry* p : Select(flags))
        if (pszUrl != nullptr && p->page.url == pszUrl)
            found.push_back(p);
    return TestTravelEnum::Create(AsEntries(found), ppenum);
}

STDMETHODIMP TestTravelLog::GetCount(TLENUMF flags, DWORD* pcEntries)
{
    if (pcEntries == nullptr)
        return E_POINTER;
    *pcEntries = static_cast<DWORD>(Select(flags).size());
    return S_OK;
}

STDMETHODIMP TestTravelLog::RemoveEntry(ITravelLogEntry* ptle)
{
    int index = IndexOf(ptle);
    if (index < 0 || index == m_current)
        return E_INVALIDARG;
    m_entries[static_cast<size_t>(index)]->Release();
    m_entries.erase(m_entries.begin() + index);
    if (index < m_current)
        --m_current;
    return S_OK;
}

STDMETHODIMP TestTravelLog::GetRelativeEntry(int iOffset, ITravelLogEntry** ptle)
{
    if (ptle == nullptr)
        return E_POINTER;
    *ptle = nullptr;
    int index = m_current + iOffset;
    if (m_current < 0 || index < 0 || index >= static_cast<int>(m_entries.size()))
        return E_FAIL;
    *ptle = m_entries[static_cast<size_t>(index)];
    (*ptle)->AddRef();
    return S_OK;
}
