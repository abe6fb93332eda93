#include "tests/support/TestTravelLog.h"

#include <algorithm>
#include <new>

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
class TestTravelEntry : public ITravelLogEntry
{
public:
    TestTravelEntry(const std::wstring& url, const std::wstring& title)
    {
        page.url = url;
        page.title = title;
    }
    virtual ~TestTravelEntry() = default;

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_ITravelLogEntry)
        {
            *ppv = static_cast<ITravelLogEntry*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++m_cRef; }
    STDMETHOD_(ULONG, Release)() override
    {
        ULONG n = --m_cRef;
        if (n == 0)
            delete this;
        return n;
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

private:
    ULONG m_cRef = 1;
};

namespace {

class TestTravelEnum : public IEnumTravelLogEntry
{
public:
    explicit TestTravelEnum(std::vector<TestTravelEntry*> items, size_t pos = 0)
        : m_items(std::move(items)), m_pos(pos)
    {
        for (TestTravelEntry* p : m_items)
            p->AddRef();
    }
    virtual ~TestTravelEnum()
    {
        for (TestTravelEntry* p : m_items)
            p->Release();
    }
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IEnumTravelLogEntry)
        {
            *ppv = static_cast<IEnumTravelLogEntry*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++m_cRef; }
    STDMETHOD_(ULONG, Release)() override
    {
        ULONG n = --m_cRef;
        if (n == 0)
            delete this;
        return n;
    }
    STDMETHOD(Next)(ULONG cElt, ITravelLogEntry** rgElt, ULONG* pcEltFetched) override
    {
        if (rgElt == nullptr)
            return E_POINTER;
        ULONG n = 0;
        for (; n < cElt && m_pos < m_items.size(); ++n, ++m_pos)
        {
            rgElt[n] = m_items[m_pos];
            rgElt[n]->AddRef();
        }
        if (pcEltFetched != nullptr)
            *pcEltFetched = n;
        return n == cElt ? S_OK : S_FALSE;
    }
    STDMETHOD(Skip)(ULONG cElt) override
    {
        size_t left = m_items.size() - m_pos;
        m_pos += std::min<size_t>(cElt, left);
        return cElt <= left ? S_OK : S_FALSE;
    }
    STDMETHOD(Reset)() override { m_pos = 0; return S_OK; }
    STDMETHOD(Clone)(IEnumTravelLogEntry** ppEnum) override
    {
        if (ppEnum == nullptr)
            return E_POINTER;
        *ppEnum = new TestTravelEnum(m_items, m_pos);
        (*ppEnum)->AddRef();
        return S_OK;
    }

private:
    std::vector<TestTravelEntry*> m_items;
    size_t m_pos;
    ULONG m_cRef = 0;
};

} // namespace

TestTravelLog::~TestTravelLog()
{
    Clear();
}

void TestTravelLog::Clear()
{
    for (TestTravelEntry* p : m_entries)
        p->Release();
    m_entries.clear();
    m_current = -1;
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

bool TestTravelLog::OffsetOf(ITravelLogEntry* pEntry, int& offset) const
{
    int index = IndexOf(pEntry);
    if (index < 0)
        return false;
    offset = index - m_current;
    return true;
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

std::vector<std::wstring> TestTravelLog::GetForwardUrls() const
{
    std::vector<std::wstring> urls;
    for (TestTravelEntry* p : Select(TLEF_RELATIVE_FORE))
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
    if (ppv == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_ITravelLogStg)
    {
        *ppv = static_cast<ITravelLogStg*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP TestTravelLog::CreateEntry(LPCWSTR pszUrl, LPCWSTR pszTitle,
                                        ITravelLogEntry* ptleRelativeTo, WINBOOL fPrepend,
                                        ITravelLogEntry** pptle)
{
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
    int offset = 0;
    if (!OffsetOf(ptle, offset))
        return E_INVALIDARG;
    return m_pfnTravel != nullptr ? m_pfnTravel(m_pTravelOwner, offset) : E_FAIL;
}

STDMETHODIMP TestTravelLog::EnumEntries(TLENUMF flags, IEnumTravelLogEntry** ppenum)
{
    if (ppenum == nullptr)
        return E_POINTER;
    *ppenum = new TestTravelEnum(Select(flags));
    (*ppenum)->AddRef();
    return S_OK;
}

STDMETHODIMP TestTravelLog::FindEntries(TLENUMF flags, LPCWSTR pszUrl, IEnumTravelLogEntry** ppenum)
{
    if (ppenum == nullptr)
        return E_POINTER;
    std::vector<TestTravelEntry*> found;
    for (TestTravelEntry* p : Select(flags))
        if (pszUrl != nullptr && p->page.url == pszUrl)
            found.push_back(p);
    *ppenum = new TestTravelEnum(found);
    (*ppenum)->AddRef();
    return S_OK;
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
