// CDlgSetTab5: the general page of the settings dialog (template 214):
// options of the whole program, from mail links to the start-up action.
#ifndef VA_DIALOGS_PAGES_DLGSETTAB5_H
#define VA_DIALOGS_PAGES_DLGSETTAB5_H

#include "dialogs/pages/SettingsPage.h"

class CDlgSetTab5 : public CSettingsPage
{
    DECLARE_DYNCREATE(CDlgSetTab5)

public:
    CDlgSetTab5();

protected:
    BOOL OnInitDialog() override;

    DECLARE_MESSAGE_MAP()
    void OnWindowMax();
    void OnFocusMove();
    void OnPopUpStyle();
};

#endif // VA_DIALOGS_PAGES_DLGSETTAB5_H
