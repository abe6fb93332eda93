// A document that answers only its URL, for tests of code that reaches a
// page's document through "WM_HTML_GETOBJECT". It marshals itself by pointer
// (custom marshalling within the process), so the accessibility library's
// LresultFromObject and ObjectFromLresult hand the same object back.
#ifndef VA_PLUGIN_IE_TESTS_TESTHTMLDOCUMENT_H
#define VA_PLUGIN_IE_TESTS_TESTHTMLDOCUMENT_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// A new document with one reference; url null makes get_URL fail.
IUnknown* TestHtmlDocumentCreate(const wchar_t* url);
// Registers (and revokes) the class that unmarshals the documents in this
// process; while registered, LresultFromObject of a test document works.
HRESULT TestHtmlDocumentRegister(void);
void TestHtmlDocumentRevoke(void);
// Documents alive (created and not yet released to zero).
LONG TestHtmlDocumentLiveCount(void);

#ifdef __cplusplus
}
#endif

#endif // VA_PLUGIN_IE_TESTS_TESTHTMLDOCUMENT_H
