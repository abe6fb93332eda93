#include "framework/ole/OleObject.h"

#include <gtest/gtest.h>

namespace {

// An item whose references the enumerator's are counted on.
struct CountedItem : IUnknown
{
    ULONG refs = 1;
    STDMETHOD(QueryInterface)(REFIID, void** ppv) override { *ppv = nullptr; return E_NOINTERFACE; }
    STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
    STDMETHOD_(ULONG, Release)() override { return --refs; }
};

using UnknownEnum = CSnapshotEnum<IEnumUnknown, IID_IEnumUnknown, IUnknown>;

TEST(OleSnapshotEnum, HandsOutItemsInOrderAndHoldsThemUntilReleased)
{
    CountedItem a, b, c;
    IEnumUnknown* pEnum = nullptr;
    ASSERT_EQ(S_OK, UnknownEnum::Create({&a, &b, &c}, &pEnum));
    EXPECT_EQ(2u, a.refs);

    IUnknown* got[3] = {};
    ULONG fetched = 99;
    EXPECT_EQ(S_OK, pEnum->Next(1, got, nullptr));  // one item needs no count
    EXPECT_EQ(&a, got[0]);
    EXPECT_EQ(3u, a.refs);  // the caller's reference
    got[0]->Release();
    EXPECT_EQ(E_POINTER, pEnum->Next(2, got, nullptr));
    EXPECT_EQ(S_FALSE, pEnum->Next(3, got, &fetched));
    EXPECT_EQ(2u, fetched);
    EXPECT_EQ(&b, got[0]);
    EXPECT_EQ(&c, got[1]);
    got[0]->Release();
    got[1]->Release();
    EXPECT_EQ(S_FALSE, pEnum->Next(1, got, &fetched));
    EXPECT_EQ(0u, fetched);

    EXPECT_EQ(S_OK, pEnum->Reset());
    EXPECT_EQ(S_OK, pEnum->Skip(2));
    EXPECT_EQ(S_FALSE, pEnum->Skip(2));  // past the end stops at the end
    EXPECT_EQ(S_FALSE, pEnum->Next(1, got, &fetched));
    EXPECT_EQ(0u, fetched);

    // A clone starts where its original stands and holds its own references.
    pEnum->Reset();
    pEnum->Skip(1);
    IEnumUnknown* pClone = nullptr;
    ASSERT_EQ(S_OK, pEnum->Clone(&pClone));
    EXPECT_EQ(E_POINTER, pEnum->Clone(nullptr));
    EXPECT_EQ(3u, a.refs);
    EXPECT_EQ(0u, pEnum->Release());
    EXPECT_EQ(2u, a.refs);
    EXPECT_EQ(S_OK, pClone->Next(1, got, nullptr));
    EXPECT_EQ(&b, got[0]);
    got[0]->Release();
    EXPECT_EQ(0u, pClone->Release());
    EXPECT_EQ(1u, a.refs);
    EXPECT_EQ(1u, b.refs);
    EXPECT_EQ(1u, c.refs);
}

TEST(OleHeapObject, AnswersItsInterfaceAndDeletesItselfAtZero)
{
    static int s_destroyed = 0;
    struct Sink : CHeapObject<CDispatchNoTypeInfo<IDispatch>, IID_IDispatch>
    {
        ~Sink() override { ++s_destroyed; }
        STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                          UINT*) override
        {
            return S_OK;
        }
    };
    IDispatch* p = new Sink;
    void* pv = nullptr;
    EXPECT_EQ(S_OK, p->QueryInterface(IID_IUnknown, &pv));
    EXPECT_EQ(static_cast<void*>(p), pv);
    EXPECT_EQ(E_NOINTERFACE, p->QueryInterface(IID_IEnumUnknown, &pv));
    EXPECT_EQ(nullptr, pv);
    EXPECT_EQ(E_POINTER, p->QueryInterface(IID_IDispatch, nullptr));
    UINT count = 5;
    EXPECT_EQ(S_OK, p->GetTypeInfoCount(&count));
    EXPECT_EQ(0u, count);
    EXPECT_EQ(1u, p->Release());
    EXPECT_EQ(0, s_destroyed);
    EXPECT_EQ(0u, p->Release());
    EXPECT_EQ(1, s_destroyed);
}

} // namespace
