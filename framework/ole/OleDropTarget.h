// A drop target bound to one window.
//
// Classes in this file:
//   COleDropTarget   IDropTarget with overridable handlers; registers with
//                    its window and revokes again
//
// A COM object with a real reference count: it is made with new holding its
// creator's reference, and goes on its last Release. OLE holds it while it
// is registered, and a drag in progress may hold it past its owner, so the
// owner only detaches it (Detach: revoked, no handler runs any more, every
// method fails cleanly) and then releases its reference.
#ifndef VA_FRAMEWORK_OLE_OLEDROPTARGET_H
#define VA_FRAMEWORK_OLE_OLEDROPTARGET_H

#include "framework/ole/OleCompat.h"

class COleDropTarget : public IDropTarget
{
public:
    COleDropTarget() = default;
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    // RegisterDragDrop for hWnd; FALSE when it failed or the target is
    // already registered.
    BOOL Register(HWND hWnd);
    // RevokeDragDrop; nothing when not registered.
    void Revoke();
    HWND GetWindow() const { return m_hWnd; }
    BOOL IsRegistered() const { return m_hWnd != nullptr; }
    // The owner lets go: revoked, and from then on no handler runs and every
    // IDropTarget method answers E_UNEXPECTED. The owner then releases.
    void Detach();
    BOOL IsDetached() const { return m_bDetached; }

    // Whether the data offers a format in global memory (a drag's text, file
    // list or URL).
    static BOOL OffersFormat(IDataObject* pDataObject, CLIPFORMAT cfFormat);

    // Handlers: the effect to show or perform (DROPEFFECT_NONE refuses).
    // Points are in screen coordinates; dwKeyState holds MK_ flags.
    virtual DWORD OnDragEnter(IDataObject* pDataObject, DWORD dwKeyState, POINTL pt,
                              DWORD dwAllowed);
    virtual DWORD OnDragOver(IDataObject* pDataObject, DWORD dwKeyState, POINTL pt,
                             DWORD dwAllowed);
    virtual void OnDragLeave();
    virtual DWORD OnDrop(IDataObject* pDataObject, DWORD dwKeyState, POINTL pt,
                         DWORD dwAllowed);

    // IUnknown
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override { return ++m_cRef; }
    STDMETHOD_(ULONG, Release)() override;
    // IDropTarget
    STDMETHOD(DragEnter)(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                         DWORD* pdwEffect) override;
    STDMETHOD(DragOver)(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
    STDMETHOD(DragLeave)() override;
    STDMETHOD(Drop)(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                    DWORD* pdwEffect) override;

protected:
    // Only the last Release deletes.
    virtual ~COleDropTarget();
    ULONG GetRefCount() const { return m_cRef; }

private:
    void ReleaseDataObject();

    HWND m_hWnd = nullptr;
    IDataObject* m_pDataObject = nullptr;  // the one of the drag in progress
    BOOL m_bDetached = FALSE;
    ULONG m_cRef = 1;  // the creator's
};

#endif // VA_FRAMEWORK_OLE_OLEDROPTARGET_H
