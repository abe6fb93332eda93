// CDlgSetTab11: the file associations page (template 190). It makes the
// program the handler of eight URL schemes and file types through a shell
// verb of its own, and removes that verb again. The registry is its state:
// read when the page opens, written on WM_SAVE_SETTINGS.
#ifndef VA_DIALOGS_PAGES_ASSOCPAGE_H
#define VA_DIALOGS_PAGES_ASSOCPAGE_H

#include "dialogs/pages/SettingsPage.h"

class CDlgSetTab11 : public CSettingsPage
{
    DECLARE_DYNCREATE(CDlgSetTab11)

public:
    CDlgSetTab11();

protected:
    BOOL OnInitDialog() override;
    void OnSaveSettings() override;

    DECLARE_MESSAGE_MAP()
    void OnCheckAll();
    void OnUncheckAll();
};

// The registry side, for the page and its tests. The type key is
// SOFTWARE\Classes\<type> under HKEY_CURRENT_USER (HKEY_LOCAL_MACHINE on
// the Windows 9x family); the verb is the product name.
namespace FileAssociation {

// The eight type names, in the page's order.
extern const char* const kTypes[8];

// "\"" + folder + product + ".exe\" \"%1\"".
CString CommandText(const CString& folder, const CString& productName);
// Whether the type's default verb is exactly the verb and the verb's
// command equals the command text without regard to case.
bool IsAssociated(LPCSTR typeName, LPCSTR verb, LPCSTR command);
// Makes the verb the type's default verb with the command.
bool Associate(LPCSTR typeName, LPCSTR verb, LPCSTR command);
// Removes the verb and, when it is the default verb, clears the default.
// A type key that does not exist is left missing.
void Remove(LPCSTR typeName, LPCSTR verb);

} // namespace FileAssociation

#endif // VA_DIALOGS_PAGES_ASSOCPAGE_H
