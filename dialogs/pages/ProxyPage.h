// The proxy page (CDlgSetTab8): the list of proxy servers of "Proxy.ini",
// with the one-server dialog CDlgProxyEntry and the whole-list dialog
// CDlgProxyBatch.
#ifndef VA_DIALOGS_PAGES_PROXYPAGE_H
#define VA_DIALOGS_PAGES_PROXYPAGE_H

#include "dialogs/pages/ListPage.h"
#include "framework/dialog/Dialog.h"

class CDlgSetTab8 : public CSettingsListPage
{
    DECLARE_DYNCREATE(CDlgSetTab8)

public:
    CDlgSetTab8();

    // Appends a row for the server text; false (nothing added) when it has
    // no host or no port.
    bool AppendServer(const CString& text);
    // Replaces the rows by the lines of text (ended by CR LF, LF or CR), at
    // most 200.
    void SetServersFromText(const CString& text);

protected:
    BOOL OnInitDialog() override;
    void OnSaveSettings() override;

    DECLARE_MESSAGE_MAP()
    void OnNew();
    void OnBatch();
    void OnDblClick(NMHDR* pNMHDR, LRESULT* pResult);
};

// One server text.
class CDlgProxyEntry : public CDialog
{
public:
    CDlgProxyEntry();
    CString m_strText;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};

// Every server, one a line.
class CDlgProxyBatch : public CDialog
{
public:
    CDlgProxyBatch();
    CString m_strText;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    DECLARE_MESSAGE_MAP()
    void OnPaint();

    bool m_bCaretToEnd = false;
};

#endif // VA_DIALOGS_PAGES_PROXYPAGE_H
