// The holder of a tab's download-control word, as the control's ambient
// property DISPID_AMBIENT_DLCONTROL.
//
// Classes in this file:
//   CPageOptionsAmbient   an IDispatch answering the one ambient property
//                         from the word it holds
//
// The view owns it (it is not reference counted and must not outlive the
// view) and hands it to its control site, which answers the control's
// question from it.
#ifndef VA_TAB_PAGEOPTIONSAMBIENT_H
#define VA_TAB_PAGEOPTIONSAMBIENT_H

#include "framework/ole/OleObject.h"

class CPageOptionsAmbient : public CDispatchNoTypeInfo<IDispatch>
{
public:
    explicit CPageOptionsAmbient(DWORD dwOptions = 0x71) : m_dwOptions(dwOptions) {}
    virtual ~CPageOptionsAmbient() = default;
    CPageOptionsAmbient(const CPageOptionsAmbient&) = delete;
    CPageOptionsAmbient& operator=(const CPageOptionsAmbient&) = delete;

    DWORD Get() const { return m_dwOptions; }
    // Stores the word and, with a control, tells it to read the property
    // again so that the change takes effect at once.
    void Set(DWORD dwOptions, IUnknown* pControl = nullptr);

    // IUnknown: lives as long as its owner.
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override { return 1; }
    STDMETHOD_(ULONG, Release)() override { return 0; }
    // IDispatch
    STDMETHOD(Invoke)(DISPID dispid, REFIID riid, LCID lcid, WORD wFlags,
                      DISPPARAMS* pParams, VARIANT* pResult, EXCEPINFO* pExcepInfo,
                      UINT* puArgErr) override;

private:
    DWORD m_dwOptions;
};

#endif // VA_TAB_PAGEOPTIONSAMBIENT_H
