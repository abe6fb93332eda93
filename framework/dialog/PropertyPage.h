// CPropertyPage: a dialog template shown as a page inside a host window
// (CDialog::CreateAsChild makes its window).
#ifndef VA_FRAMEWORK_DIALOG_PROPERTYPAGE_H
#define VA_FRAMEWORK_DIALOG_PROPERTYPAGE_H

#include "framework/dialog/Dialog.h"

class CPropertyPage : public CDialog
{
    DECLARE_DYNAMIC(CPropertyPage)

public:
    CPropertyPage() = default;
    explicit CPropertyPage(UINT nIDTemplate) : CDialog(nIDTemplate) {}

    UINT GetTemplateID() const { return m_nIDTemplate; }
};

#endif // VA_FRAMEWORK_DIALOG_PROPERTYPAGE_H
