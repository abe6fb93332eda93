// The parts every small COM object here would otherwise write again.
//
// VaQueryInterface answers QueryInterface for an object with one interface.
//
// Classes in this file:
//   CDispatchNoTypeInfo<I>  IDispatch (or an interface derived from it) with
//                           no type information; Invoke is the class's own
//   CHeapObject<I, iid>     one interface on a heap object: QueryInterface
//                           for IUnknown and iid, a reference count that
//                           starts at one (the creator's), delete at zero
//   CSnapshotEnum<IEnum, iid, Item>
//                           an IEnumXxx over a copy of a list of interface
//                           pointers, each held (AddRef'ed) by the enumerator
//
// Header only: the test control, which links no framework library, uses them.
#ifndef VA_FRAMEWORK_OLE_OLEOBJECT_H
#define VA_FRAMEWORK_OLE_OLEOBJECT_H

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "framework/ole/OleCompat.h"

// *ppv = pThis, AddRef'ed, when riid is IUnknown or iid; otherwise null and
// E_NOINTERFACE.
template <class I>
HRESULT VaQueryInterface(I* pThis, REFIID riid, REFIID iid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == iid)
    {
        *ppv = pThis;
        pThis->AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

//--- CDispatchNoTypeInfo
template <class I = IDispatch>
class CDispatchNoTypeInfo : public I
{
public:
    STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override
    {
        if (pctinfo == nullptr)
            return E_POINTER;
        *pctinfo = 0;
        return S_OK;
    }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo** ppTInfo) override
    {
        if (ppTInfo != nullptr)
            *ppTInfo = nullptr;
        return E_NOTIMPL;
    }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override
    {
        return E_NOTIMPL;
    }
};

//--- CHeapObject
template <class I, const IID& iid>
class CHeapObject : public I
{
public:
    CHeapObject(const CHeapObject&) = delete;
    CHeapObject& operator=(const CHeapObject&) = delete;

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        return VaQueryInterface(static_cast<I*>(this), riid, iid, ppv);
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++m_cRef; }
    STDMETHOD_(ULONG, Release)() override
    {
        ULONG n = --m_cRef;
        if (n == 0)
            delete this;
        return n;
    }

protected:
    CHeapObject() = default;
    virtual ~CHeapObject() = default;

private:
    ULONG m_cRef = 1;
};

//--- CSnapshotEnum
template <class IEnum, const IID& iid, class Item>
class CSnapshotEnum : public CHeapObject<IEnum, iid>
{
public:
    // Makes an enumerator over the items into *ppEnum (one reference, the
    // caller's); E_OUTOFMEMORY leaves *ppEnum null.
    static HRESULT Create(std::vector<Item*> items, IEnum** ppEnum, size_t pos = 0)
    {
        if (ppEnum == nullptr)
            return E_POINTER;
        *ppEnum = new (std::nothrow) CSnapshotEnum(std::move(items), pos);
        return *ppEnum != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    STDMETHOD(Next)(ULONG celt, Item** rgelt, ULONG* pceltFetched) override
    {
        // Without a count only one item may be asked for.
        if (rgelt == nullptr || (celt > 1 && pceltFetched == nullptr))
            return E_POINTER;
        ULONG n = 0;
        for (; n < celt && m_pos < m_items.size(); ++n, ++m_pos)
        {
            rgelt[n] = m_items[m_pos];
            rgelt[n]->AddRef();
        }
        if (pceltFetched != nullptr)
            *pceltFetched = n;
        return n == celt ? S_OK : S_FALSE;
    }
    STDMETHOD(Skip)(ULONG celt) override
    {
        size_t left = m_items.size() - m_pos;
        m_pos += std::min<size_t>(celt, left);
        return celt <= left ? S_OK : S_FALSE;
    }
    STDMETHOD(Reset)() override { m_pos = 0; return S_OK; }
    STDMETHOD(Clone)(IEnum** ppEnum) override { return Create(m_items, ppEnum, m_pos); }

private:
    CSnapshotEnum(std::vector<Item*> items, size_t pos) : m_items(std::move(items)), m_pos(pos)
    {
        for (Item* p : m_items)
            p->AddRef();
    }
    ~CSnapshotEnum() override
    {
        for (Item* p : m_items)
            p->Release();
    }

    std::vector<Item*> m_items;
    size_t m_pos;
};

#endif // VA_FRAMEWORK_OLE_OLEOBJECT_H
