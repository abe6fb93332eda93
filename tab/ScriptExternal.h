// CScriptExternal: the program's automation object, which every hosted page
// and user script reaches as window.external. A plain IDispatch without type
// information; nearly every method becomes a private message to the main
// window. Methods named "Vantorel_..." act only for the program's own
// pages, files inside the program folder; a call that is refused or
// malformed returns S_OK with the default result.
//
// Classes in this file:
//   CScriptExternal   the object (one, a member of the main frame)
#ifndef VA_TAB_SCRIPTEXTERNAL_H
#define VA_TAB_SCRIPTEXTERNAL_H

#include <string>

#include "framework/core/Collections.h"
#include "framework/core/CString.h"
#include "framework/ole/OleObject.h"

class ITabHost;

class CScriptExternal : public CDispatchNoTypeInfo<IDispatch>
{
public:
    CScriptExternal() = default;
    virtual ~CScriptExternal() = default;
    CScriptExternal(const CScriptExternal&) = delete;
    CScriptExternal& operator=(const CScriptExternal&) = delete;

    // The main window the methods talk to.
    void SetMainWindow(HWND hWnd) { m_hMain = hWnd; }
    // The frame whose tabs the methods may name.
    void SetHost(ITabHost* host) { m_pHost = host; }

    // IUnknown: the owner's lifetime bounds the object; Release never frees.
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    // IDispatch
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo** ppTInfo) override;
    STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override;
    STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                             DISPID* ids) override;
    STDMETHOD(Invoke)(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) override;

    // The id of a name (without regard to case), -1 when unknown; fills the
    // cache of the five names found last.
    DISPID LookUp(const CString& name);
    const CString& GetCachedName(int slot) const { return m_cacheNames[slot]; }

    // Whether a page's address names a file inside the program folder: a
    // "file:" address without a host, or an "mk:@MSITStore:" address of a
    // store file there, read after its percent escapes are decoded.
    static bool IsProgramPage(const std::wstring& href, const std::wstring& programFolder);
    // The text formatted once with one value: the format's one conversion
    // is checked against the value's type first; a pass that does not fit
    // (no or several live conversions, "*", "%n", "%p", another type)
    // leaves the text as it was, as does one whose text would pass 64 KiB.
    static CString FormatOnePass(const CString& format, const VARIANT& value);
    // "Version " + the program's file version + " Build 13014 ".
    static CString VersionText();
    // The items of a comma list: "a,,b" gives "a", "" and "b"; no more
    // than the menu takes (VA_SHOWMENU_MAX_ENTRIES).
    static void SplitMenuItems(const CString& items, CStringArray& list);
    // The download-control word of the seven switches of SetSecurity.
    static DWORD SecurityWord(const bool switches[7]);

    static const int kMethodCount = 55;

private:
    void BuildNameTable();
    bool IsLocalPage(const VARIANT& document) const;
    void Act(DISPID id, DISPPARAMS& params, VARIANT* result);
    void ActProgram(DISPID id, DISPPARAMS& params, VARIANT* result);
    void ActTabs(DISPID id, DISPPARAMS& params, VARIANT* result);
    void ActText(DISPID id, DISPPARAMS& params, VARIANT* result);
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) const;

    LONG m_cRef = 0;
    CStringArray m_names;
    DISPID m_ids[kMethodCount] = {};
    CString m_cacheNames[5];
    DISPID m_cacheIds[5] = {};
    BOOL m_bTableBuilt = FALSE;
    HWND m_hMain = nullptr;
    ITabHost* m_pHost = nullptr;
};

#endif // VA_TAB_SCRIPTEXTERNAL_H
