#include "tab/PageScript.h"

#include <mshtml.h>

#include <vector>

#include "framework/ole/OleUtil.h"

BOOL CallPageScript(IUnknown* pDocument, LPCSTR name, const CStringArray& args)
{
    CComPtr<IHTMLDocument2> doc;
    CComPtr<IDispatch> script;
    if (pDocument == nullptr
        || FAILED(pDocument->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&doc)))
        || FAILED(doc->get_Script(&script)) || script == nullptr)
        return FALSE;
    return CallScriptFunction(script, name, args);
}

BOOL CallScriptFunction(IDispatch* pScript, LPCSTR name, const CStringArray& args)
{
    if (pScript == nullptr || name == nullptr)
        return FALSE;
    CBstr member = CBstr::FromAnsi(name);
    LPOLESTR names[1] = { member };
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(pScript->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)))
        return FALSE;
    // DISPPARAMS hold the arguments last first.
    std::vector<VARIANT> values(static_cast<size_t>(args.GetSize()));
    for (INT_PTR i = 0; i < args.GetSize(); ++i)
    {
        VARIANT& v = values[static_cast<size_t>(args.GetSize() - 1 - i)];
        ::VariantInit(&v);
        v.vt = VT_BSTR;
        v.bstrVal = CBstr::FromAnsi(args[i]).Detach();
    }
    DISPPARAMS params = { values.empty() ? nullptr : values.data(), nullptr,
                          static_cast<UINT>(values.size()), 0 };
    CVariant result;
    const HRESULT hr = pScript->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                      &result, nullptr, nullptr);
    for (VARIANT& v : values)
        ::VariantClear(&v);
    return SUCCEEDED(hr) ? TRUE : FALSE;
}
