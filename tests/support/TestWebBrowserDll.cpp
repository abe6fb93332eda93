// The test WebBrowser control as an in-process COM server, registered in
// the test prefix as the server of CLSID_WebBrowser so that the real program
// hosts it unchanged.
#include "tests/support/TestWebBrowser.h"

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    return TestWebBrowserGetClassObject(rclsid, riid, ppv);
}

// The control's windows and objects may outlive any count kept here.
extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return S_FALSE;
}
