// A drop target bound to one window.
//
// Classes in this file:
//   COleDropTarget   IDropTarget with overridable handlers; registers with
//                    its window and revokes again (at the latest when the
//                    object goes)
//
// The object is meant to be a member of a window object. Reference counts
// are kept for OLE's sake but never end the object, so it must be revoked
// before its memory goes, which Revoke and the destructor do.
#ifndef VA_FRAMEWORK_OLE_OLEDROPTARGET_H
#define VA_FRAMEWORK_OLE_OLEDROPTARGET_H

#include "framework/ole/OleCompat.h"

class COleDropTarget : public IDropTarget
{
public:
    COleDropTarget() = default;
    virtual ~COleDropTarget() { Revoke(); }
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    // RegisterDragDrop for hWnd; FALSE when it failed or the target is
    // already registered.
    BOOL Register(HWND hWnd);
    // RevokeDragDrop; nothing when not registered.
    void Revoke();
    HWND GetWindow() const { return m_hWnd; }
    BOOL IsRegistered() const { return m_hWnd != nullptr; }

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
    STDMETHOD_(ULONG, Release)() override { return m_cRef > 0 ? --m_cRef : 0; }
    // IDropTarget
    STDMETHOD(DragEnter)(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                         DWORD* pdwEffect) override;
    STDMETHOD(DragOver)(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
    STDMETHOD(DragLeave)() override;
    STDMETHOD(Drop)(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                    DWORD* pdwEffect) override;

protected:
    ULONG GetRefCount() const { return m_cRef; }

private:
    void ReleaseDataObject();

    HWND m_hWnd = nullptr;
    IDataObject* m_pDataObject = nullptr;  // the one of the drag in progress
    ULONG m_cRef = 0;
};

#endif // VA_FRAMEWORK_OLE_OLEDROPTARGET_H
