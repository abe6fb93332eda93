// The site of one hosted control.
//
// Classes in this file:
//   COleControlSite   the client site, in-place site, control site and
//                     ambient-property dispatch of one control
//
// A site belongs to its container (COleControlContainer), which makes it
// through the control-container manager (COccManager::CreateSite) so that a
// program can hand out sites of its own class. A COM object with a real
// reference count: made with new holding the container's reference, it goes
// on its last Release. The control (or whoever it handed the site to) may
// hold it past the control's window, so the container only detaches it
// (Detach: control closed, container forgotten; every method then fails
// cleanly) and releases its reference.
#ifndef VA_FRAMEWORK_OLE_OLECONTROLSITE_H
#define VA_FRAMEWORK_OLE_OLECONTROLSITE_H

#include "framework/core/CString.h"
#include "framework/ole/OleEvents.h"
#include "framework/ole/OleObject.h"
#include "framework/ole/OleUtil.h"

class COleControlContainer;
class COleControlWnd;

class COleControlSite : public IOleClientSite,
                        public IOleInPlaceSite,
                        public IOleControlSite,
                        public CDispatchNoTypeInfo<IDispatch>
{
public:
    explicit COleControlSite(COleControlContainer* pCtrlCont);
    COleControlSite(const COleControlSite&) = delete;
    COleControlSite& operator=(const COleControlSite&) = delete;

    // Creates the control and activates it in place in the container's
    // window at rect (client coordinates) with id nID; WS_VISIBLE in dwStyle
    // decides whether its window shows. iidEvents names the events to sink;
    // IID_NULL takes the control's default source when it names one.
    virtual HRESULT CreateControl(REFCLSID clsid, LPCSTR lpszName, DWORD dwStyle,
                                  const RECT& rect, UINT nID, REFIID iidEvents);
    // Deactivates, closes and releases the control. Safe to call twice.
    virtual void DestroyControl();
    // The container lets go: the control is destroyed and the container
    // forgotten. Its reference is released by the container afterwards.
    void Detach();
    BOOL IsDetached() const { return m_pCtrlCont == nullptr; }

    IUnknown* GetControlUnknown() const { return m_pObject; }
    HWND GetControlWindow() const { return m_hWnd; }
    UINT GetID() const { return m_nID; }
    COleControlContainer* GetControlContainer() const { return m_pCtrlCont; }
    const CString& GetName() const { return m_strName; }
    const RECT& GetRect() const { return m_rect; }

    // Moves the control (container client coordinates) through its
    // in-place object, which moves its window.
    BOOL SetObjectRects(const RECT& rect);

    // The answer of this site alone to the download-control ambient property
    // (DISPID_AMBIENT_DLCONTROL); without one the property is unknown.
    void SetAmbientDlControl(DWORD dwFlags);
    // Tells the control that an ambient property changed, so it reads it again.
    HRESULT NotifyAmbientChange(DISPID dispid);

    // Who gets the control's events: the container window's object when it
    // is a COleEventHandler.
    COleEventHandler* GetEventHandler() const;
    BOOL IsEventSinkConnected() const { return m_pEventSink->IsConnected(); }

    // Fills *pvar (initialised by the caller) with an ambient property;
    // FALSE when the site does not know it.
    virtual BOOL GetAmbientProperty(DISPID dispid, VARIANT* pvar);

    // IUnknown
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override { return ++m_cRef; }
    STDMETHOD_(ULONG, Release)() override;

    // IOleClientSite
    STDMETHOD(SaveObject)() override { return E_NOTIMPL; }
    STDMETHOD(GetMoniker)(DWORD, DWORD, IMoniker** ppmk) override;
    STDMETHOD(GetContainer)(IOleContainer** ppContainer) override;
    STDMETHOD(ShowObject)() override { return S_OK; }
    STDMETHOD(OnShowWindow)(BOOL) override { return S_OK; }
    STDMETHOD(RequestNewObjectLayout)() override { return E_NOTIMPL; }

    // IOleWindow
    STDMETHOD(GetWindow)(HWND* phwnd) override;
    STDMETHOD(ContextSensitiveHelp)(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHOD(CanInPlaceActivate)() override { return S_OK; }
    STDMETHOD(OnInPlaceActivate)() override;
    STDMETHOD(OnUIActivate)() override { return S_OK; }
    STDMETHOD(GetWindowContext)(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                LPRECT lprcPosRect, LPRECT lprcClipRect,
                                LPOLEINPLACEFRAMEINFO lpFrameInfo) override;
    STDMETHOD(Scroll)(SIZE) override { return E_NOTIMPL; }
    STDMETHOD(OnUIDeactivate)(BOOL) override { return S_OK; }
    STDMETHOD(OnInPlaceDeactivate)() override
    {
        return VaRunComMethod("OnInPlaceDeactivate", [&]() -> HRESULT {
            m_bInPlaceActive = FALSE;
            return S_OK;
        });
    }
    STDMETHOD(DiscardUndoState)() override { return E_NOTIMPL; }
    STDMETHOD(DeactivateAndUndo)() override { return E_NOTIMPL; }
    STDMETHOD(OnPosRectChange)(LPCRECT lprcPosRect) override;

    // IOleControlSite
    STDMETHOD(OnControlInfoChanged)() override { return S_OK; }
    STDMETHOD(LockInPlaceActive)(BOOL) override { return S_OK; }
    STDMETHOD(GetExtendedControl)(IDispatch** ppDisp) override;
    STDMETHOD(TransformCoords)(POINTL* pPtlHimetric, POINTF* pPtfContainer, DWORD dwFlags) override;
    STDMETHOD(TranslateAccelerator)(MSG*, DWORD) override { return S_FALSE; }
    STDMETHOD(OnFocus)(BOOL) override { return S_OK; }
    STDMETHOD(ShowPropertyFrame)() override { return E_NOTIMPL; }

    // IDispatch: the ambient properties
    STDMETHOD(Invoke)(DISPID dispid, REFIID riid, LCID lcid, WORD wFlags,
                      DISPPARAMS* pParams, VARIANT* pResult, EXCEPINFO* pExcepInfo,
                      UINT* puArgErr) override;

protected:
    // Only the last Release deletes.
    virtual ~COleControlSite();

    // Interfaces a derived site adds: fill *ppv with an AddRef'ed pointer and
    // return S_OK, or return E_NOINTERFACE (the default).
    virtual HRESULT QueryExtraInterface(REFIID riid, void** ppv);

    COleControlContainer* m_pCtrlCont;
    IOleObject* m_pObject = nullptr;
    IOleInPlaceObject* m_pInPlaceObject = nullptr;
    HWND m_hWnd = nullptr;
    UINT m_nID = 0;
    RECT m_rect = {};
    CString m_strName;
    BOOL m_bInPlaceActive = FALSE;

private:
    HRESULT ConnectEvents(REFIID iidEvents);

    COleEventSink* m_pEventSink;  // one reference held
    COleControlWnd* m_pWndCtrl = nullptr;  // the window object holding this site
    BOOL m_bDlControl = FALSE;
    DWORD m_dwDlControl = 0;
    BOOL m_bInSetObjectRects = FALSE;
    ULONG m_cRef = 1;  // the container's

    friend class COleControlWnd;
};

#endif // VA_FRAMEWORK_OLE_OLECONTROLSITE_H
