// COM pointers, BSTR, VARIANT and SAFEARRAY helpers, and cp932 <-> UTF-16.
//
// Classes in this file:
//   CComPtr<T>  an owning interface pointer (Release in the destructor)
//   CBstr       an owning BSTR
//   CVariant    an owning VARIANT (VariantClear in the destructor)
//
// Text of the program is cp932; COM text is UTF-16. The conversions use code
// page 932 explicitly unless told otherwise, so they do not depend on the
// thread's locale.
#ifndef VA_FRAMEWORK_OLE_OLEUTIL_H
#define VA_FRAMEWORK_OLE_OLEUTIL_H

#include <memory>
#include <string>

#include "framework/app/FaultGuard.h"
#include "framework/core/CString.h"
#include "framework/ole/OleCompat.h"

const UINT kVaCodePage = 932;

// cp932 (len bytes, or up to NUL when -1) to UTF-16; null gives "".
std::wstring VaWideFromAnsi(LPCSTR psz, int len = -1, UINT codePage = kVaCodePage);
// UTF-16 (len units, or up to NUL when -1) to cp932; null gives "".
CString VaAnsiFromWide(LPCWSTR psz, int len = -1, UINT codePage = kVaCodePage);

//--- CComPtr
template <class T>
class CComPtr
{
public:
    CComPtr() = default;
    // Takes its own reference.
    explicit CComPtr(T* p) : m_p(p) { if (m_p != nullptr) m_p->AddRef(); }
    CComPtr(const CComPtr& other) : CComPtr(other.m_p) {}
    CComPtr(CComPtr&& other) noexcept : m_p(other.m_p) { other.m_p = nullptr; }
    ~CComPtr() { Release(); }
    CComPtr& operator=(const CComPtr& other)
    {
        if (other.m_p != nullptr)
            other.m_p->AddRef();
        Release();
        m_p = other.m_p;
        return *this;
    }
    CComPtr& operator=(CComPtr&& other) noexcept
    {
        if (this != std::addressof(other))
        {
            Release();
            m_p = other.m_p;
            other.m_p = nullptr;
        }
        return *this;
    }

    T* operator->() const { return m_p; }
    operator T*() const { return m_p; }
    T* Get() const { return m_p; }
    // For out-parameters: releases what is held first.
    T** operator&() { Release(); return &m_p; }

    void Release()
    {
        if (m_p != nullptr)
        {
            T* p = m_p;
            m_p = nullptr;
            p->Release();
        }
    }
    // Takes over a reference the caller owns.
    void Attach(T* p) { Release(); m_p = p; }
    T* Detach() { T* p = m_p; m_p = nullptr; return p; }
    // QueryInterface into another smart pointer.
    template <class Q>
    HRESULT QueryInterface(REFIID iid, CComPtr<Q>& out) const
    {
        if (m_p == nullptr)
            return E_POINTER;
        return m_p->QueryInterface(iid, reinterpret_cast<void**>(&out));
    }

private:
    T* m_p = nullptr;
};

//--- CBstr
class CBstr
{
public:
    CBstr() = default;
    explicit CBstr(LPCWSTR psz) : m_bstr(psz != nullptr ? ::SysAllocString(psz) : nullptr) {}
    CBstr(const CBstr&) = delete;
    CBstr& operator=(const CBstr&) = delete;
    CBstr(CBstr&& other) noexcept : m_bstr(other.m_bstr) { other.m_bstr = nullptr; }
    CBstr& operator=(CBstr&& other) noexcept
    {
        if (this != std::addressof(other))
            Attach(other.Detach());
        return *this;
    }
    ~CBstr() { Empty(); }

    static CBstr FromAnsi(LPCSTR psz, UINT codePage = kVaCodePage);

    operator BSTR() const { return m_bstr; }
    BSTR* operator&() { Empty(); return &m_bstr; }
    UINT Length() const { return ::SysStringLen(m_bstr); }
    CString ToAnsi(UINT codePage = kVaCodePage) const;

    void Empty() { ::SysFreeString(m_bstr); m_bstr = nullptr; }
    void Attach(BSTR bstr) { Empty(); m_bstr = bstr; }
    BSTR Detach() { BSTR b = m_bstr; m_bstr = nullptr; return b; }

private:
    BSTR m_bstr = nullptr;
};

//--- CVariant
class CVariant : public VARIANT
{
public:
    CVariant() { ::VariantInit(this); }
    CVariant(const CVariant&) = delete;
    CVariant& operator=(const CVariant&) = delete;
    ~CVariant() { ::VariantClear(this); }

    void Clear() { ::VariantClear(this); }
    void SetLong(LONG n) { Clear(); vt = VT_I4; lVal = n; }
    void SetBool(bool b) { Clear(); vt = VT_BOOL; boolVal = b ? VARIANT_TRUE : VARIANT_FALSE; }
    // A BSTR from cp932 text; E_OUTOFMEMORY when it cannot be made.
    HRESULT SetString(LPCSTR psz);
    HRESULT SetWideString(LPCWSTR psz);
    // Takes its own reference.
    void SetDispatch(IDispatch* p);
    // A VT_ARRAY | VT_UI1 safe array holding a copy of the bytes.
    HRESULT SetBytes(const void* pData, ULONG nBytes);
};

// A VT_UI1 safe array holding a copy of the bytes (null on failure).
SAFEARRAY* VaCreateByteArray(const void* pData, ULONG nBytes);
// The bytes of a VT_ARRAY | VT_UI1 variant (also through VT_BYREF); FALSE for
// anything else.
BOOL VaBytesFromVariant(const VARIANT* pvar, std::string& bytes);
// The text of a variant: a BSTR (also through VT_BYREF), or what
// VariantChangeType makes of it; "" when it has none.
CString VaStringFromVariant(const VARIANT* pvar);
// The variant a VT_BYREF | VT_VARIANT one refers to, or pvar itself.
const VARIANT* VaDerefVariant(const VARIANT* pvar);

// A COM method's body, run as an entry point of its own (AfxRunEntry): its
// result, or E_UNEXPECTED when it threw or faulted. A control calls its
// host's methods from its own window procedures, so a fault in the body must
// end here.
template <class Body>
HRESULT VaRunComMethod(const char* method, Body&& body)
{
    HRESULT hr = E_UNEXPECTED;
    if (!AfxRunEntry(method, [&] { hr = body(); }))
        return E_UNEXPECTED;
    return hr;
}

#endif // VA_FRAMEWORK_OLE_OLEUTIL_H
