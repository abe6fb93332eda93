// Three small option pages of the settings dialog: the favorites window
// (CDlgSetTab3, template 210), the address bar (CDlgSetTab4, template 212)
// and the browser control's messages (CDlgSetTab17, template 268).
#ifndef VA_DIALOGS_PAGES_SIMPLEPAGES_H
#define VA_DIALOGS_PAGES_SIMPLEPAGES_H

#include "dialogs/pages/SettingsPage.h"

class CDlgSetTab3 : public CSettingsPage
{
    DECLARE_DYNCREATE(CDlgSetTab3)

public:
    CDlgSetTab3();

protected:
    BOOL OnInitDialog() override;

    DECLARE_MESSAGE_MAP()
    // The three enabling rules: "open in a new tab" enables "do not
    // activate", the same for the wheel click, and auto-hide enables the
    // delay and the two click checks and disables "always show the bar".
    void OnNewTabRule();
    void OnWheelNewTabRule();
    void OnAutoHideRule();
};

class CDlgSetTab4 : public CSettingsPage
{
    DECLARE_DYNCREATE(CDlgSetTab4)

public:
    CDlgSetTab4();

protected:
    BOOL OnInitDialog() override;

    DECLARE_MESSAGE_MAP()
    void OnNewTab();
};

class CDlgSetTab17 : public CSettingsPage
{
    DECLARE_DYNCREATE(CDlgSetTab17)

public:
    CDlgSetTab17();

protected:
    BOOL OnInitDialog() override;
};

#endif // VA_DIALOGS_PAGES_SIMPLEPAGES_H
