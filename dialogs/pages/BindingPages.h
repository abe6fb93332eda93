// The key page (CDlgSetTab13, "KEYCONF.dat") and the mouse page
// (CDlgSetTab6: the mouse options and "MGC.dat") of the settings dialog.
#ifndef VA_DIALOGS_PAGES_BINDINGPAGES_H
#define VA_DIALOGS_PAGES_BINDINGPAGES_H

#include "dialogs/pages/BindingPage.h"

class CDlgSetTab13 : public CBindingListPage
{
    DECLARE_DYNCREATE(CDlgSetTab13)

public:
    CDlgSetTab13();

protected:
    CBindingDialog* NewBindingDialog() const override;
};

class CDlgSetTab6 : public CBindingListPage
{
    DECLARE_DYNCREATE(CDlgSetTab6)

public:
    CDlgSetTab6();

protected:
    BOOL OnInitDialog() override;
    CBindingDialog* NewBindingDialog() const override;
};

#endif // VA_DIALOGS_PAGES_BINDINGPAGES_H
