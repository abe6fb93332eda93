// CScriptRunDlg: runs one user script in a browser control nobody sees. A
// ".htm" script is loaded as it is; a ".js" or ".vbs" script is loaded from
// a page made from the template String\scriptrun.dat. The modal loop ends
// when the page's own document is complete, or after a time limit, which the
// status bar then reports.
#ifndef VA_TAB_SCRIPTRUNDLG_H
#define VA_TAB_SCRIPTRUNDLG_H

#include "framework/dialog/Dialog.h"
#include "framework/ole/OleEvents.h"
#include "tab/AmbientDispatch.h"
#include "tab/DocHostHandler.h"

// The runner's dialog template and its browser control.
class ITabHost;

const UINT kScriptRunTemplate = 263;
const UINT kScriptRunBrowser = 1008;

class CScriptRunDlg : public CDialog, public CDocHostHandler, public COleEventHandler
{
public:
    // host: the frame whose status bar reports a stopped run; without one,
    // that of the runner's owner.
    explicit CScriptRunDlg(CWnd* pParent = nullptr, ITabHost* host = nullptr);
    ~CScriptRunDlg() override;

    // The page text for a script: the template's first "%s" filled with the
    // language, the next with the path (filled, never used as a format).
    static CString FillTemplate(const CString& pattern, const CString& language,
                                const CString& path);

    CString m_scriptPath;
    // A run whose page never completes ends after this long, with a word in
    // the status bar.
    UINT m_timeLimitMs = 30000;

protected:
    BOOL OnInitDialog() override;
    IDispatch* GetExternalObject() override;
    void OnTimer(UINT_PTR nIDEvent);
    void OnNewWindow2(VaEventArgs& args);
    void OnDocumentComplete(VaEventArgs& args);

    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()

private:
    // Where the control goes: the script itself or the generated page.
    CString PreparePage();
    ITabHost& Host() const;

    ITabHost* m_pHost = nullptr;
    CAmbientDispatch m_ambient;
    IDispatch* m_pBrowser = nullptr;
};

#endif // VA_TAB_SCRIPTRUNDLG_H
