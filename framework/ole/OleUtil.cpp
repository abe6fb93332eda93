#include "framework/ole/OleUtil.h"

#include <cstring>
#include <vector>

std::wstring VaWideFromAnsi(LPCSTR psz, int len, UINT codePage)
{
    if (psz == nullptr)
        return std::wstring();
    if (len < 0)
        len = static_cast<int>(std::strlen(psz));
    if (len == 0)
        return std::wstring();
    int n = ::MultiByteToWideChar(codePage, 0, psz, len, nullptr, 0);
    if (n <= 0)
        return std::wstring();
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(codePage, 0, psz, len, &out[0], n);
    return out;
}

CString VaAnsiFromWide(LPCWSTR psz, int len, UINT codePage)
{
    if (psz == nullptr)
        return CString();
    if (len < 0)
        len = static_cast<int>(::lstrlenW(psz));
    if (len == 0)
        return CString();
    int n = ::WideCharToMultiByte(codePage, 0, psz, len, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return CString();
    std::vector<char> buf(static_cast<size_t>(n) + 1, '\0');
    ::WideCharToMultiByte(codePage, 0, psz, len, buf.data(), n, nullptr, nullptr);
    return CString(buf.data(), n);
}

//--- CBstr

CBstr CBstr::FromAnsi(LPCSTR psz, UINT codePage)
{
    CBstr result;
    if (psz == nullptr)
        return result;
    std::wstring wide = VaWideFromAnsi(psz, -1, codePage);
    result.m_bstr = ::SysAllocStringLen(wide.c_str(), static_cast<UINT>(wide.size()));
    return result;
}

CString CBstr::ToAnsi(UINT codePage) const
{
    return VaAnsiFromWide(m_bstr, static_cast<int>(Length()), codePage);
}

//--- CVariant

HRESULT CVariant::SetString(LPCSTR psz)
{
    std::wstring wide = VaWideFromAnsi(psz);
    Clear();
    BSTR b = ::SysAllocStringLen(wide.c_str(), static_cast<UINT>(wide.size()));
    if (b == nullptr)
        return E_OUTOFMEMORY;
    vt = VT_BSTR;
    bstrVal = b;
    return S_OK;
}

HRESULT CVariant::SetWideString(LPCWSTR psz)
{
    Clear();
    BSTR b = ::SysAllocString(psz != nullptr ? psz : L"");
    if (b == nullptr)
        return E_OUTOFMEMORY;
    vt = VT_BSTR;
    bstrVal = b;
    return S_OK;
}

void CVariant::SetDispatch(IDispatch* p)
{
    Clear();
    vt = VT_DISPATCH;
    pdispVal = p;
    if (p != nullptr)
        p->AddRef();
}

HRESULT CVariant::SetBytes(const void* pData, ULONG nBytes)
{
    Clear();
    SAFEARRAY* psa = VaCreateByteArray(pData, nBytes);
    if (psa == nullptr)
        return E_OUTOFMEMORY;
    vt = VT_ARRAY | VT_UI1;
    parray = psa;
    return S_OK;
}

//--- Free helpers

SAFEARRAY* VaCreateByteArray(const void* pData, ULONG nBytes)
{
    SAFEARRAY* psa = ::SafeArrayCreateVector(VT_UI1, 0, nBytes);
    if (psa == nullptr || nBytes == 0)
        return psa;
    void* pDest = nullptr;
    if (FAILED(::SafeArrayAccessData(psa, &pDest)))
    {
        ::SafeArrayDestroy(psa);
        return nullptr;
    }
    if (pData != nullptr)
        std::memcpy(pDest, pData, nBytes);
    else
        std::memset(pDest, 0, nBytes);
    ::SafeArrayUnaccessData(psa);
    return psa;
}

const VARIANT* VaDerefVariant(const VARIANT* pvar)
{
    // A chain of references is followed a few steps at most.
    for (int i = 0; i < 4 && pvar != nullptr && pvar->vt == (VT_BYREF | VT_VARIANT); ++i)
        pvar = pvar->pvarVal;
    return pvar;
}

BOOL VaBytesFromVariant(const VARIANT* pvar, std::string& bytes)
{
    bytes.clear();
    pvar = VaDerefVariant(pvar);
    if (pvar == nullptr)
        return FALSE;
    SAFEARRAY* psa = nullptr;
    if (pvar->vt == (VT_ARRAY | VT_UI1))
        psa = pvar->parray;
    else if (pvar->vt == (VT_BYREF | VT_ARRAY | VT_UI1) && pvar->pparray != nullptr)
        psa = *pvar->pparray;
    if (psa == nullptr || ::SafeArrayGetDim(psa) != 1 || ::SafeArrayGetElemsize(psa) != 1)
        return FALSE;
    LONG lo = 0, hi = -1;
    if (FAILED(::SafeArrayGetLBound(psa, 1, &lo)) || FAILED(::SafeArrayGetUBound(psa, 1, &hi)))
        return FALSE;
    if (hi < lo)
        return TRUE;
    void* pData = nullptr;
    if (FAILED(::SafeArrayAccessData(psa, &pData)))
        return FALSE;
    bytes.assign(static_cast<const char*>(pData), static_cast<size_t>(hi - lo) + 1);
    ::SafeArrayUnaccessData(psa);
    return TRUE;
}

CString VaStringFromVariant(const VARIANT* pvar)
{
    pvar = VaDerefVariant(pvar);
    if (pvar == nullptr)
        return CString();
    if (pvar->vt == VT_BSTR)
        return VaAnsiFromWide(pvar->bstrVal, static_cast<int>(::SysStringLen(pvar->bstrVal)));
    if (pvar->vt == (VT_BYREF | VT_BSTR) && pvar->pbstrVal != nullptr)
        return VaAnsiFromWide(*pvar->pbstrVal, static_cast<int>(::SysStringLen(*pvar->pbstrVal)));
    if (pvar->vt == VT_EMPTY || pvar->vt == VT_NULL)
        return CString();
    CVariant converted;
    if (FAILED(::VariantChangeType(&converted, const_cast<VARIANT*>(pvar), 0, VT_BSTR)))
        return CString();
    return VaAnsiFromWide(converted.bstrVal, static_cast<int>(::SysStringLen(converted.bstrVal)));
}
