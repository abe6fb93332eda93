// The answer a browser host gives its control's ambient property
// DISPID_AMBIENT_DLCONTROL: what the control may download and run.
//
// Classes in this file:
//   CAmbientDispatch   an IDispatch holding the download-control word, on or
//                      off; embedded by value in every window that hosts a
//                      browser control
//
// The host's control site routes only the DLCONTROL query here and falls
// back to the standard answer unless this one answers S_OK. The object is
// not reference counted: it lives and dies with its host.
#ifndef VA_TAB_AMBIENTDISPATCH_H
#define VA_TAB_AMBIENTDISPATCH_H

#include "framework/ole/OleObject.h"

class CAmbientDispatch : public CDispatchNoTypeInfo<IDispatch>
{
public:
    CAmbientDispatch() = default;
    virtual ~CAmbientDispatch() { SetControl(nullptr); }
    CAmbientDispatch(const CAmbientDispatch&) = delete;
    CAmbientDispatch& operator=(const CAmbientDispatch&) = delete;

    // Off: the query is declined (S_FALSE) and the control uses its default.
    void SetOff(bool bOff) { m_bOff = bOff ? 1 : 0; }
    bool IsOff() const { return m_bOff != 0; }
    // The hosted control (held), told when the word changes; null releases.
    void SetControl(IUnknown* pControl);
    DWORD Get() const { return m_flags; }

    // IUnknown
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override { return 1; }
    STDMETHOD_(ULONG, Release)() override { return 0; }
    // IDispatch: every id gets the ambient answer.
    STDMETHOD(GetTypeInfoCount)(UINT*) override { return E_NOTIMPL; }
    STDMETHOD(Invoke)(DISPID dispid, REFIID riid, LCID lcid, WORD wFlags,
                      DISPPARAMS* pParams, VARIANT* pResult, EXCEPINFO* pExcepInfo,
                      UINT* puArgErr) override;

    // Off: S_FALSE, the variant untouched; else VT_I4 with the word, S_OK.
    virtual HRESULT GetAmbient(VARIANT* pResult);
    // Stores the word and has a held control read it again; always S_OK.
    virtual HRESULT SetDownloadControl(DWORD flags);
    virtual HRESULT GetDownloadControl(DWORD* pFlags);

private:
    DWORD m_bOff = 1;
    DWORD m_flags = 0x71;
    IUnknown* m_pControl = nullptr;
};

#endif // VA_TAB_AMBIENTDISPATCH_H
