// The container of the controls hosted in one window.
//
// Classes in this file:
//   COleControlContainer   the sites of one window's controls; the in-place
//                          frame (and UI window) and the OLE container the
//                          controls see
//
// A window gets its container on its first hosted control (FromWindow), made
// through the control-container manager; the container lets go of its window
// when its last site has gone, and at the latest when its window is
// destroyed: after the window's own WM_DESTROY handling (which may still use
// the controls), while the controls' windows still exist. A COM object with
// a real reference count: the window's reference is released then, and a
// control that still holds the container (from GetContainer or
// GetWindowContext) finds it detached, every method failing cleanly, until
// its last Release deletes it.
#ifndef VA_FRAMEWORK_OLE_OLECONTROLCONTAINER_H
#define VA_FRAMEWORK_OLE_OLECONTROLCONTAINER_H

#include <vector>

#include "framework/ole/OleCompat.h"

class COleControlSite;

class COleControlContainer : public IOleInPlaceFrame, public IOleContainer
{
public:
    explicit COleControlContainer(HWND hWnd);
    COleControlContainer(const COleControlContainer&) = delete;
    COleControlContainer& operator=(const COleControlContainer&) = delete;

    // The container of hWnd; with bCreate one is made when it has none.
    static COleControlContainer* FromWindow(HWND hWnd, BOOL bCreate);

    HWND GetContainerWindow() const { return m_hWnd; }

    // A new site (from the manager) holding the control, or null when the
    // control could not be created and activated (*phr tells why).
    COleControlSite* CreateControl(REFCLSID clsid, LPCSTR lpszName, DWORD dwStyle,
                                   const RECT& rect, UINT nID, REFIID iidEvents,
                                   HRESULT* phr = nullptr);
    // Closes the site's control and lets go of the site; the container lets
    // go of its window with its last site.
    void DestroySite(COleControlSite* pSite);
    // Its window's container no more: forgotten by the window, every site
    // detached; the window's reference is released by the caller.
    BOOL IsDetached() const { return m_hWnd == nullptr; }

    COleControlSite* FindSite(UINT nID) const;
    COleControlSite* FindSiteByWindow(HWND hWndCtrl) const;
    size_t GetSiteCount() const { return m_sites.size(); }
    // The object the in-place active control named (for key translation).
    IOleInPlaceActiveObject* GetActiveObject() const { return m_pActiveObject; }

    // IUnknown
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override { return ++m_cRef; }
    STDMETHOD_(ULONG, Release)() override;

    // IOleWindow
    STDMETHOD(GetWindow)(HWND* phwnd) override;
    STDMETHOD(ContextSensitiveHelp)(BOOL) override { return E_NOTIMPL; }
    // IOleInPlaceUIWindow
    STDMETHOD(GetBorder)(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHOD(RequestBorderSpace)(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHOD(SetBorderSpace)(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    STDMETHOD(SetActiveObject)(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR) override;
    // IOleInPlaceFrame
    STDMETHOD(InsertMenus)(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHOD(SetMenu)(HMENU, HOLEMENU, HWND) override { return E_NOTIMPL; }
    STDMETHOD(RemoveMenus)(HMENU) override { return E_NOTIMPL; }
    STDMETHOD(SetStatusText)(LPCOLESTR) override { return S_OK; }
    STDMETHOD(EnableModeless)(BOOL) override { return S_OK; }
    STDMETHOD(TranslateAccelerator)(LPMSG, WORD) override { return S_FALSE; }
    // IParseDisplayName, IOleContainer
    STDMETHOD(ParseDisplayName)(IBindCtx*, LPOLESTR, ULONG*, IMoniker** ppmkOut) override;
    STDMETHOD(EnumObjects)(DWORD grfFlags, IEnumUnknown** ppenum) override;
    STDMETHOD(LockContainer)(BOOL) override { return S_OK; }

protected:
    // Only the last Release deletes.
    virtual ~COleControlContainer();

private:
    // Lets go of the window and the sites (Detach), then of the window's
    // reference.
    void Detach();
    void DetachAndRelease();
    void ReleaseActiveObject();
    static LRESULT CALLBACK ContainerWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR uIdSubclass, DWORD_PTR dwRefData);

    HWND m_hWnd;
    std::vector<COleControlSite*> m_sites;
    IOleInPlaceActiveObject* m_pActiveObject = nullptr;
    ULONG m_cRef = 1;  // the window's
};

#endif // VA_FRAMEWORK_OLE_OLECONTROLCONTAINER_H
