// The test document: IHTMLDocument2 with only get_URL, plus IMarshal. Written
// in C so that the interface's table names the one method used and leaves
// the others null; nothing calls them.
#define COBJMACROS
#include "plugin-ie/tests/TestHtmlDocument.h"

#include <mshtml.h>
#include <objbase.h>
#include <stddef.h>

// {6E1B2A53-8C0D-4F35-9B71-3A40C1D2E5F7}
static const CLSID kUnmarshalClass = {
    0x6e1b2a53, 0x8c0d, 0x4f35, {0x9b, 0x71, 0x3a, 0x40, 0xc1, 0xd2, 0xe5, 0xf7}};

typedef struct TestDocument
{
    IHTMLDocument2 document;
    IMarshal marshal;
    LONG refs;
    BSTR url;  // null: get_URL fails
} TestDocument;

static LONG g_liveDocuments;
static DWORD g_registration;

static TestDocument* FromDocument(IHTMLDocument2* p)
{
    return (TestDocument*)p;
}

static TestDocument* FromMarshal(IMarshal* p)
{
    return (TestDocument*)((char*)p - offsetof(TestDocument, marshal));
}

static ULONG STDMETHODCALLTYPE DocAddRef(IHTMLDocument2* self)
{
    return (ULONG)InterlockedIncrement(&FromDocument(self)->refs);
}

static ULONG STDMETHODCALLTYPE DocRelease(IHTMLDocument2* self)
{
    TestDocument* doc = FromDocument(self);
    LONG refs = InterlockedDecrement(&doc->refs);
    if (refs == 0) {
        SysFreeString(doc->url);
        CoTaskMemFree(doc);
        InterlockedDecrement(&g_liveDocuments);
    }
    return (ULONG)refs;
}

static HRESULT STDMETHODCALLTYPE DocQueryInterface(IHTMLDocument2* self, REFIID riid, void** out)
{
    if (out == NULL)
        return E_POINTER;
    if (IsEqualIID(riid, &IID_IUnknown) || IsEqualIID(riid, &IID_IDispatch) ||
        IsEqualIID(riid, &IID_IHTMLDocument) || IsEqualIID(riid, &IID_IHTMLDocument2))
        *out = self;
    else if (IsEqualIID(riid, &IID_IMarshal))
        *out = &FromDocument(self)->marshal;
    else {
        *out = NULL;
        return E_NOINTERFACE;
    }
    DocAddRef(self);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE DocGetUrl(IHTMLDocument2* self, BSTR* p)
{
    TestDocument* doc = FromDocument(self);
    if (p == NULL)
        return E_POINTER;
    *p = NULL;
    if (doc->url == NULL)
        return E_FAIL;
    *p = SysAllocStringLen(doc->url, SysStringLen(doc->url));
    return *p != NULL ? S_OK : E_OUTOFMEMORY;
}

static const IHTMLDocument2Vtbl kDocumentTable = {
    .QueryInterface = DocQueryInterface,
    .AddRef = DocAddRef,
    .Release = DocRelease,
    .get_URL = DocGetUrl,
};

//--- IMarshal of a document: the stream carries the document's address.
static HRESULT STDMETHODCALLTYPE MarQueryInterface(IMarshal* self, REFIID riid, void** out)
{
    return DocQueryInterface(&FromMarshal(self)->document, riid, out);
}

static ULONG STDMETHODCALLTYPE MarAddRef(IMarshal* self)
{
    return DocAddRef(&FromMarshal(self)->document);
}

static ULONG STDMETHODCALLTYPE MarRelease(IMarshal* self)
{
    return DocRelease(&FromMarshal(self)->document);
}

static HRESULT STDMETHODCALLTYPE MarGetUnmarshalClass(IMarshal* self, REFIID riid, void* pv,
                                                      DWORD context, void* reserved,
                                                      DWORD flags, CLSID* clsid)
{
    *clsid = kUnmarshalClass;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE MarGetMarshalSizeMax(IMarshal* self, REFIID riid, void* pv,
                                                      DWORD context, void* reserved,
                                                      DWORD flags, DWORD* size)
{
    *size = sizeof(void*);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE MarMarshalInterface(IMarshal* self, IStream* stream,
                                                     REFIID riid, void* pv, DWORD context,
                                                     void* reserved, DWORD flags)
{
    TestDocument* doc = FromMarshal(self);
    HRESULT hr = IStream_Write(stream, &doc, sizeof(doc), NULL);
    if (SUCCEEDED(hr))
        DocAddRef(&doc->document);  // held by the stream until unmarshalled
    return hr;
}

static HRESULT ReadDocument(IStream* stream, TestDocument** doc)
{
    ULONG read = 0;
    HRESULT hr = IStream_Read(stream, doc, sizeof(*doc), &read);
    return SUCCEEDED(hr) && read == sizeof(*doc) && *doc != NULL ? S_OK : E_FAIL;
}

static HRESULT STDMETHODCALLTYPE MarUnmarshalInterface(IMarshal* self, IStream* stream,
                                                       REFIID riid, void** out)
{
    TestDocument* doc = NULL;
    HRESULT hr = ReadDocument(stream, &doc);
    if (FAILED(hr))
        return hr;
    hr = DocQueryInterface(&doc->document, riid, out);
    DocRelease(&doc->document);  // the stream's reference
    return hr;
}

static HRESULT STDMETHODCALLTYPE MarReleaseMarshalData(IMarshal* self, IStream* stream)
{
    TestDocument* doc = NULL;
    HRESULT hr = ReadDocument(stream, &doc);
    if (SUCCEEDED(hr))
        DocRelease(&doc->document);
    return hr;
}

static HRESULT STDMETHODCALLTYPE MarDisconnectObject(IMarshal* self, DWORD reserved)
{
    return S_OK;
}

static const IMarshalVtbl kMarshalTable = {
    MarQueryInterface,    MarAddRef,             MarRelease,
    MarGetUnmarshalClass, MarGetMarshalSizeMax,  MarMarshalInterface,
    MarUnmarshalInterface, MarReleaseMarshalData, MarDisconnectObject,
};

//--- The unmarshaller: a stateless IMarshal the class factory hands out.
static HRESULT STDMETHODCALLTYPE UnmQueryInterface(IMarshal* self, REFIID riid, void** out)
{
    if (IsEqualIID(riid, &IID_IUnknown) || IsEqualIID(riid, &IID_IMarshal)) {
        *out = self;
        return S_OK;
    }
    *out = NULL;
    return E_NOINTERFACE;
}

static ULONG STDMETHODCALLTYPE UnmAddRef(IMarshal* self)
{
    return 2;
}

static ULONG STDMETHODCALLTYPE UnmRelease(IMarshal* self)
{
    return 1;
}

static const IMarshalVtbl kUnmarshalTable = {
    UnmQueryInterface,    UnmAddRef,             UnmRelease,
    MarGetUnmarshalClass, MarGetMarshalSizeMax,  NULL,
    MarUnmarshalInterface, MarReleaseMarshalData, MarDisconnectObject,
};

static IMarshal g_unmarshaller = {(IMarshalVtbl*)&kUnmarshalTable};

static HRESULT STDMETHODCALLTYPE FacQueryInterface(IClassFactory* self, REFIID riid, void** out)
{
    if (IsEqualIID(riid, &IID_IUnknown) || IsEqualIID(riid, &IID_IClassFactory)) {
        *out = self;
        return S_OK;
    }
    *out = NULL;
    return E_NOINTERFACE;
}

static ULONG STDMETHODCALLTYPE FacAddRef(IClassFactory* self)
{
    return 2;
}

static ULONG STDMETHODCALLTYPE FacRelease(IClassFactory* self)
{
    return 1;
}

static HRESULT STDMETHODCALLTYPE FacCreateInstance(IClassFactory* self, IUnknown* outer,
                                                   REFIID riid, void** out)
{
    if (outer != NULL)
        return CLASS_E_NOAGGREGATION;
    return UnmQueryInterface(&g_unmarshaller, riid, out);
}

static HRESULT STDMETHODCALLTYPE FacLockServer(IClassFactory* self, BOOL lock)
{
    return S_OK;
}

static const IClassFactoryVtbl kFactoryTable = {
    FacQueryInterface, FacAddRef, FacRelease, FacCreateInstance, FacLockServer,
};

static IClassFactory g_factory = {(IClassFactoryVtbl*)&kFactoryTable};

IUnknown* TestHtmlDocumentCreate(const wchar_t* url)
{
    TestDocument* doc = (TestDocument*)CoTaskMemAlloc(sizeof(TestDocument));
    if (doc == NULL)
        return NULL;
    doc->document.lpVtbl = (IHTMLDocument2Vtbl*)&kDocumentTable;
    doc->marshal.lpVtbl = (IMarshalVtbl*)&kMarshalTable;
    doc->refs = 1;
    doc->url = url != NULL ? SysAllocString(url) : NULL;
    InterlockedIncrement(&g_liveDocuments);
    return (IUnknown*)&doc->document;
}

HRESULT TestHtmlDocumentRegister(void)
{
    if (g_registration != 0)
        return S_OK;
    return CoRegisterClassObject(&kUnmarshalClass, (IUnknown*)&g_factory, CLSCTX_INPROC_SERVER,
                                 REGCLS_MULTIPLEUSE, &g_registration);
}

void TestHtmlDocumentRevoke(void)
{
    if (g_registration != 0)
        CoRevokeClassObject(g_registration);
    g_registration = 0;
}

LONG TestHtmlDocumentLiveCount(void)
{
    return g_liveDocuments;
}
