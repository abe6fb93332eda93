// A window object bound to a hosted control's window.
//
// Classes in this file:
//   COleControlWnd   creates a control by class id in a parent window and
//                    holds the control's window
//
// The control makes its own window when it is activated in place; this
// object subclasses it, so its message map and PreTranslateMessage see the
// control's messages. Moving or sizing the window goes through the
// control's in-place object; destroying it (by DestroyWindow, with the
// parent, or with this object) closes the control and frees its site.
#ifndef VA_FRAMEWORK_OLE_OLECONTROLWND_H
#define VA_FRAMEWORK_OLE_OLECONTROLWND_H

#include "framework/ole/OleCompat.h"
#include "framework/win/Wnd.h"

class COleControlSite;

class COleControlWnd : public CWnd
{
    DECLARE_DYNAMIC(COleControlWnd)
public:
    COleControlWnd() = default;
    ~COleControlWnd() override;

    // iidEvents: the events the parent's event-sink map receives (IID_NULL:
    // the control's default source).
    BOOL CreateControl(REFCLSID clsid, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, UINT nID, REFIID iidEvents = IID_NULL);
    BOOL CreateControl(REFCLSID clsid, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       HWND hWndParent, UINT nID, REFIID iidEvents = IID_NULL);

    IUnknown* GetControlUnknown() const;
    COleControlSite* GetControlSite() const { return m_pCtrlSite; }
    // The result of the last CreateControl.
    HRESULT GetCreateResult() const { return m_hrCreate; }
    // Closes the control (which takes its window with it), then destroys the
    // window if it is still there.
    BOOL DestroyWindow() override;

    // Deletes the object when its window has gone.
    BOOL m_bAutoDelete = FALSE;

protected:
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    friend class COleControlSite;
    void ReleaseSite();

    COleControlSite* m_pCtrlSite = nullptr;
    HRESULT m_hrCreate = S_OK;
};

#endif // VA_FRAMEWORK_OLE_OLECONTROLWND_H
