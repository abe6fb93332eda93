// Events of hosted controls: the arguments of one event, the interface of
// whoever handles them, and event-sink maps.
//
// Classes in this file:
//   VaEventArgs        typed access to an event's DISPPARAMS
//   COleEventHandler   what a control's container window implements to get
//                      its controls' events (by control id and DISPID)
//   COleEventSink      the IDispatch a site connects to the control's event
//                      connection point
//
// Declaring an event-sink map in the window that contains the controls:
//   class CMyView : public CView, public COleEventHandler {
//       void OnTitleChange(VaEventArgs& args);
//       DECLARE_EVENTSINK_MAP()
//   };
//   BEGIN_EVENTSINK_MAP(CMyView, COleEventHandler)
//       ON_EVENT(CMyView, 0xE900, DISPID_TITLECHANGE, OnTitleChange)
//   END_EVENTSINK_MAP()
// The second argument of BEGIN_EVENTSINK_MAP is the class whose map comes
// next (COleEventHandler ends the chain).
#ifndef VA_FRAMEWORK_OLE_OLEEVENTS_H
#define VA_FRAMEWORK_OLE_OLEEVENTS_H

#include "framework/core/CString.h"
#include "framework/ole/OleCompat.h"
#include "framework/ole/OleObject.h"

//--- VaEventArgs
// Arguments are numbered in the event's declared order (0 = first), which is
// the reverse of their order in DISPPARAMS. Named arguments are not used by
// events. A missing argument or one of another type gives a safe default
// (null, 0, "").
class VaEventArgs
{
public:
    explicit VaEventArgs(DISPPARAMS* pParams) : m_pParams(pParams) {}

    UINT GetCount() const { return m_pParams != nullptr ? m_pParams->cArgs : 0; }
    // The argument as passed (VT_BYREF ones not followed), or null.
    VARIANT* GetRaw(UINT i) const;
    // The argument with VT_BYREF | VT_VARIANT references followed, or null.
    const VARIANT* Get(UINT i) const;

    IDispatch* GetDispatch(UINT i) const;      // VT_DISPATCH (or by reference)
    CString GetString(UINT i) const;           // text of a BSTR or a variant
    LONG GetLong(UINT i) const;                // VT_I4 and other integers
    BOOL GetBool(UINT i) const;                // VT_BOOL
    // Out-parameters: where the event wants its answer written, or null.
    VARIANT_BOOL* GetBoolRef(UINT i) const;    // VT_BYREF | VT_BOOL (Cancel)
    IDispatch** GetDispatchRef(UINT i) const;  // VT_BYREF | VT_DISPATCH (ppDisp)
    VARIANT* GetVariantRef(UINT i) const;      // VT_BYREF | VT_VARIANT

private:
    DISPPARAMS* m_pParams;
};

//--- COleEventHandler
class COleEventHandler
{
public:
    virtual ~COleEventHandler() = default;
    // TRUE when a handler took the event.
    virtual BOOL OnOleEvent(UINT nCtrlID, DISPID dispid, VaEventArgs& args)
    {
        return FALSE;
    }
};

template <class T>
struct VaEventSinkEntry
{
    UINT nCtrlID;
    DISPID dispid;
    void (T::*pfn)(VaEventArgs& args);
};

#define DECLARE_EVENTSINK_MAP() \
public:                         \
    BOOL OnOleEvent(UINT nCtrlID, DISPID dispid, VaEventArgs& args) override;

#define BEGIN_EVENTSINK_MAP(theClass, baseClass)                                \
    BOOL theClass::OnOleEvent(UINT nCtrlID, DISPID dispid, VaEventArgs& args)   \
    {                                                                           \
        typedef baseClass VaEventBase_;                                         \
        static const VaEventSinkEntry<theClass> entries_[] = {

// Handler: void (VaEventArgs& args)
#define ON_EVENT(theClass, id, dispid, memberFxn) \
            { static_cast<UINT>(id), static_cast<DISPID>(dispid), &theClass::memberFxn },

#define END_EVENTSINK_MAP()                                                     \
        };                                                                      \
        for (const auto& entry_ : entries_)                                     \
        {                                                                       \
            if (entry_.nCtrlID == nCtrlID && entry_.dispid == dispid)           \
            {                                                                   \
                (this->*entry_.pfn)(args);                                      \
                return TRUE;                                                    \
            }                                                                   \
        }                                                                       \
        return VaEventBase_::OnOleEvent(nCtrlID, dispid, args);                 \
    }

class COleControlSite;

//--- COleEventSink
// Made by its site (which holds the first reference) and reference counted,
// so that a control still firing an event may keep it past its site: once
// the site lets go (DetachSite) events are dropped. Advise and Unadvise pair
// up: the destructor unadvises.
class COleEventSink : public CDispatchNoTypeInfo<IDispatch>
{
public:
    explicit COleEventSink(COleControlSite* pSite) : m_pSite(pSite) {}
    COleEventSink(const COleEventSink&) = delete;
    COleEventSink& operator=(const COleEventSink&) = delete;

    // Connects to the control's connection point for iidEvents.
    HRESULT Connect(IUnknown* pControl, REFIID iidEvents);
    void Disconnect();
    BOOL IsConnected() const { return m_pConnPt != nullptr; }
    REFIID GetEventsIID() const { return m_iidEvents; }
    // The site is going: no event reaches it any more.
    void DetachSite() { m_pSite = nullptr; }

    // IUnknown
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override { return ++m_cRef; }
    STDMETHOD_(ULONG, Release)() override;
    // IDispatch
    STDMETHOD(Invoke)(DISPID dispid, REFIID riid, LCID lcid, WORD wFlags,
                      DISPPARAMS* pParams, VARIANT* pResult, EXCEPINFO* pExcepInfo,
                      UINT* puArgErr) override;

private:
    virtual ~COleEventSink() { Disconnect(); }

    COleControlSite* m_pSite;
    IConnectionPoint* m_pConnPt = nullptr;
    DWORD m_dwCookie = 0;
    IID m_iidEvents = IID_NULL;
    ULONG m_cRef = 1;
};

#endif // VA_FRAMEWORK_OLE_OLEEVENTS_H
