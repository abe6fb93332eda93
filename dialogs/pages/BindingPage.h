// CBindingListPage: the key and mouse pages' list of bindings, each a
// command label, a shortcut or gesture text, a command id and a kind, kept
// in a binding file of the data folder ("KEYCONF.dat", "MGC.dat").
//
// The list is the page's only store. New bindings come from the page's
// binding dialog, run again at once while its continuous-entry check is on;
// a double click edits the focused row. Saving sorts the rows by their text
// and replaces the file whole, unless the file was there but could not be
// read when the page opened. The list can be written as an HTML page that
// the main program opens in a tab.
#ifndef VA_DIALOGS_PAGES_BINDINGPAGE_H
#define VA_DIALOGS_PAGES_BINDINGPAGE_H

#include <vector>

#include "dialogs/pages/ListPage.h"
#include "shared/BindingFile.h"

class CBindingDialog;

// What differs between the key page and the mouse page.
struct BindingPageKind
{
    const char* fileName;      // "KEYCONF.dat"
    const char* defaultName;   // read when the file is missing
    const char* htmlName;      // in the Favorite folder
    int nTextTitleLine;        // "dlg.dat" line of the text column's title
    int nLabelWidth;
    int nTextWidth;
    int nHtmlTitleLine;        // "etc.dat": the header's first two texts
    int nHtmlSubtitleLine;     // and its third
};

class CBindingListPage : public CSettingsListPage
{
    DECLARE_DYNAMIC(CBindingListPage)

public:
    CBindingListPage(UINT nIDTemplate, const BindingPageKind& kind, const PageField* fields = nullptr,
                     int nFields = 0);

    void AppendRow(const BindingFile::Line& line);
    void SetRow(int nRow, const BindingFile::Line& line);
    BindingFile::Line GetRow(int nRow) const;

    // The HTML list of the rows: "config.dat" line 1 as the header (three
    // "%s"), a table row per binding with its texts escaped, line 2 as the
    // footer.
    CString BuildBindingListHtml() const;

protected:
    BOOL OnInitDialog() override;
    void OnSaveSettings() override;
    // A new dialog of the page's kind.
    virtual CBindingDialog* NewBindingDialog() const = 0;

    DECLARE_MESSAGE_MAP()
    void OnNewBinding();
    void OnEditBinding(NMHDR* pNMHDR, LRESULT* pResult);
    void DeleteSelectedBindings();
    void ExportBindingListHtml();

    const BindingPageKind& m_kind;
};

// Text made safe for an HTML page: "&", "<", ">" and '"' as entities.
CString EscapeHtml(const CString& text);

#endif // VA_DIALOGS_PAGES_BINDINGPAGE_H
