// The popup-block rules: the page CDlgPop (registered in no settings
// dialog) that edits "PopClose.dat", and the rule dialog CDlgAddPopup that
// the page and the export ShowAddPopup run.
#ifndef VA_DIALOGS_PAGES_POPUPPAGE_H
#define VA_DIALOGS_PAGES_POPUPPAGE_H

#include "dialogs/pages/ListPage.h"
#include "framework/dialog/Dialog.h"
#include "lists/PopupRules.h"

class CDlgPop : public CSettingsListPage
{
    DECLARE_DYNCREATE(CDlgPop)

public:
    CDlgPop();

    void AppendRule(const PopupRule& rule);
    void SetRule(int nRow, const PopupRule& rule);
    PopupRule GetRule(int nRow) const;

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    void OnSaveSettings() override;

    DECLARE_MESSAGE_MAP()
    void OnAddActiveTab();
    void OnNewRule();
    void OnEditRule(NMHDR* pNMHDR, LRESULT* pResult);
};

class CDlgAddPopup : public CDialog
{
public:
    CDlgAddPopup();
    PopupRule m_rule;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    DECLARE_MESSAGE_MAP()
    void OnTitleOn();
    void OnUrlOn();
};

// The active tab's URL or title from the main window (38001, 38002); empty
// for a null answer.
CString AskMainWindowText(UINT nMsg);
// URL history, recently used URLs and Tab completion for a URL edit, when
// the shell offers it.
void AutoCompleteUrl(HWND hEdit);

#endif // VA_DIALOGS_PAGES_POPUPPAGE_H
