// A data object for drop tests: fixed blocks of bytes in global memory, one
// per clipboard format, as a drag from a page or the shell offers them.
// Made with new and released like any COM object.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "framework/ole/OleObject.h"

class CTestDataObject : public CHeapObject<IDataObject, IID_IDataObject>
{
public:
    void Add(CLIPFORMAT format, const std::string& bytes) { m_data.emplace_back(format, bytes); }
    void AddText(const char* text) { Add(CF_TEXT, std::string(text) + '\0'); }
    void AddUrl(const char* url)
    {
        Add(static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("UniformResourceLocator")), std::string(url) + '\0');
    }
    void AddFiles(const std::vector<std::string>& files)
    {
        DROPFILES header = {};
        header.pFiles = sizeof(DROPFILES);
        std::string bytes(reinterpret_cast<const char*>(&header), sizeof(header));
        for (const std::string& f : files)
            bytes += f + '\0';
        bytes += '\0';
        Add(CF_HDROP, bytes);
    }
    // A list of wide names, as the shell offers it.
    void AddWideFiles(const std::vector<std::wstring>& files)
    {
        DROPFILES header = {};
        header.pFiles = sizeof(DROPFILES);
        header.fWide = TRUE;
        std::wstring names;
        for (const std::wstring& f : files)
            names += f + L'\0';
        names += L'\0';
        std::string bytes(reinterpret_cast<const char*>(&header), sizeof(header));
        bytes.append(reinterpret_cast<const char*>(names.data()), names.size() * sizeof(wchar_t));
        Add(CF_HDROP, bytes);
    }

    STDMETHOD(GetData)(FORMATETC* fe, STGMEDIUM* medium) override
    {
        for (const auto& d : m_data) {
            if (d.first != fe->cfFormat)
                continue;
            HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, d.second.size());
            if (h == nullptr)
                return E_OUTOFMEMORY;
            std::memcpy(::GlobalLock(h), d.second.data(), d.second.size());
            ::GlobalUnlock(h);
            medium->tymed = TYMED_HGLOBAL;
            medium->hGlobal = h;
            medium->pUnkForRelease = nullptr;
            return S_OK;
        }
        return DV_E_FORMATETC;
    }
    STDMETHOD(GetDataHere)(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHOD(QueryGetData)(FORMATETC* fe) override
    {
        for (const auto& d : m_data)
            if (d.first == fe->cfFormat)
                return S_OK;
        return DV_E_FORMATETC;
    }
    STDMETHOD(GetCanonicalFormatEtc)(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    STDMETHOD(SetData)(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHOD(EnumFormatEtc)(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHOD(DAdvise)(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(DUnadvise)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(EnumDAdvise)(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    std::vector<std::pair<CLIPFORMAT, std::string>> m_data;
};
