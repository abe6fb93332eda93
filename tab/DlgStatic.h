// CDlgStatic: the busy dialog, a small captioned window with an endlessly
// playing animation and one line of text, shown while long work runs on the
// user-interface thread and taken down by its destructor.
#ifndef VA_TAB_DLGSTATIC_H
#define VA_TAB_DLGSTATIC_H

#include "framework/dialog/Dialog.h"
#include "framework/win/AnimateCtrl.h"

class CDlgStatic : public CDialog
{
public:
    static constexpr UINT kTemplateId = 144;
    static constexpr UINT kAnimationId = 1048;
    static constexpr UINT kTextId = 1006;

    explicit CDlgStatic(CWnd* pParent) : m_pParent(pParent) {}
    ~CDlgStatic() override;

    // Modeless from the template, over the parent given at construction.
    BOOL Create() { return CDialog::Create(kTemplateId, m_pParent); }
    BOOL OnInitDialog() override;
    CAnimateCtrl& GetAnimation() { return m_animation; }

    CString m_text;  // set before Create

private:
    CWnd* m_pParent;
    CAnimateCtrl m_animation;
};

#endif // VA_TAB_DLGSTATIC_H
