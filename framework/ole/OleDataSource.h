// COleDataSource: the source side of an OLE drag that carries no data.
//
// The drag's meaning travels elsewhere (the target knows its source by
// other means); the data object offers no format at all, so that no other
// program's target can take anything from it.
#ifndef VA_FRAMEWORK_OLE_OLEDATASOURCE_H
#define VA_FRAMEWORK_OLE_OLEDATASOURCE_H

#include "framework/ole/OleCompat.h"

class COleDataSource : public IDataObject, public IDropSource
{
public:
    // Made with new holding its creator's reference; goes on its last Release.
    COleDataSource() = default;
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;

    // Runs the drag until the mouse button is released (drop) or Esc is
    // pressed (cancel); the effect performed, DROPEFFECT_NONE when none.
    DWORD DoDragDrop(DWORD dwAllowed);

    // IUnknown
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override { return ++m_cRef; }
    STDMETHOD_(ULONG, Release)() override;
    // IDataObject: no format is offered.
    STDMETHOD(GetData)(FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
    STDMETHOD(GetDataHere)(FORMATETC*, STGMEDIUM*) override { return DV_E_FORMATETC; }
    STDMETHOD(QueryGetData)(FORMATETC*) override { return DV_E_FORMATETC; }
    STDMETHOD(GetCanonicalFormatEtc)(FORMATETC*, FORMATETC* pOut) override;
    STDMETHOD(SetData)(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHOD(EnumFormatEtc)(DWORD, IEnumFORMATETC** ppEnum) override;
    STDMETHOD(DAdvise)(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHOD(DUnadvise)(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHOD(EnumDAdvise)(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }
    // IDropSource
    STDMETHOD(QueryContinueDrag)(BOOL fEscapePressed, DWORD grfKeyState) override;
    STDMETHOD(GiveFeedback)(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

protected:
    virtual ~COleDataSource() = default;

private:
    ULONG m_cRef = 1;  // the creator's
};

#endif // VA_FRAMEWORK_OLE_OLEDATASOURCE_H
