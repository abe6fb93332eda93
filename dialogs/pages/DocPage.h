// CDlgSetTab2: the document window page (template 208), registered in no
// settings dialog: the closed-tab history pane, its Hide bar, its mouse
// actions and the columns of its detail view.
#ifndef VA_DIALOGS_PAGES_DOCPAGE_H
#define VA_DIALOGS_PAGES_DOCPAGE_H

#include "dialogs/pages/SettingsPage.h"

class CDlgSetTab2 : public CSettingsPage
{
    DECLARE_DYNCREATE(CDlgSetTab2)

public:
    CDlgSetTab2();

protected:
    BOOL OnInitDialog() override;

    DECLARE_MESSAGE_MAP()
    void OnEnable();
    void OnNewTab();
    void OnLimit();
    void OnAutoHide();
};

#endif // VA_DIALOGS_PAGES_DOCPAGE_H
