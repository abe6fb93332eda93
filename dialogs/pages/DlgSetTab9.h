// CDlgSetTab9: the page defaults page of the settings dialog (template
// 226): the download controls new pages get, the user agent, and the
// clean-up-on-exit options it keeps hidden.
#ifndef VA_DIALOGS_PAGES_DLGSETTAB9_H
#define VA_DIALOGS_PAGES_DLGSETTAB9_H

#include "dialogs/pages/SettingsPage.h"

class CDlgSetTab9 : public CSettingsPage
{
    DECLARE_DYNCREATE(CDlgSetTab9)

public:
    CDlgSetTab9();

    // The size of the buffer the system's default user agent is asked into.
    static constexpr DWORD kAgentBufferSize = 500;

protected:
    BOOL OnInitDialog() override;

    DECLARE_MESSAGE_MAP()
    void OnResetAgent();
};

#endif // VA_DIALOGS_PAGES_DLGSETTAB9_H
